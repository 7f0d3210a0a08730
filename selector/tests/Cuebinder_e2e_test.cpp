// The real Cuebinder.exe, started under Wine and driven from outside: a list
// of two WAV files is loaded at start (or, from a first start, the game
// directory set in Options and the list put together through the Add dialog
// and saved), activated through the menu command, and real key presses
// (xdotool) while the stand-in game window holds the focus replace the game's
// voice_input.wav and show the sound in the status bar.
//
// Each case copies the program into a scratch folder of its own, beside a
// Cuebinder.ini that names a throw-away game directory (with the marker file
// and a mod folder) and the list to open, so the real dist stays untouched.
#include "Genericres.h"
#include "Mainres.h"
#include "Optionsres.h"
#include "TestFiles.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

using testfiles::ReadAll;
using testfiles::RemoveTree;
using testfiles::WinPath;
using testfiles::WriteOrFail;

// A small valid PCM WAV file: 16-bit mono at 22050 Hz, `dataBytes` of a pattern.
std::string Wav(std::uint32_t dataBytes, unsigned seed)
{
    auto u32 = [](std::string& s, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto u16 = [](std::string& s, std::uint16_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>(v >> 8);
    };
    std::string w = "RIFF";
    u32(w, 36 + dataBytes);
    w += "WAVEfmt ";
    u32(w, 16);
    u16(w, 1);
    u16(w, 1);
    u32(w, 22050);
    u32(w, 44100);
    u16(w, 2);
    u16(w, 16);
    w += "data";
    u32(w, dataBytes);
    unsigned x = seed;
    for (std::uint32_t i = 0; i < dataBytes; ++i) {
        x = x * 1103515245u + 12345u;
        w += static_cast<char>(x >> 16);
    }
    return w;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return done();
}

HWND FindWindowOf(DWORD pid, const char* className, const char* title = nullptr)
{
    struct Search
    {
        DWORD pid;
        const char* className;
        const char* title;
        HWND found;
    } search{pid, className, title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char cls[128] = {}, text[256] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            GetWindowTextA(hwnd, text, sizeof text);
            if (owner == s->pid && std::string(cls) == s->className &&
                (!s->title || std::string(text) == s->title)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND hwnd)
{
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Runs a Unix program (xdotool) from inside Wine, through Wine's start.exe,
// and waits for it.
bool RunUnix(const std::string& unixCommandLine)
{
    return testfiles::RunAndWait("start.exe /wait /unix " + unixCommandLine, 15000) == 0;
}

// A program started by the test, ended when the object goes.
class Process
{
public:
    bool Start(const std::string& exe, const std::string& args, const std::string& folder)
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
        return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &si, &pi_) != 0;
    }
    ~Process()
    {
        if (!pi_.hProcess)
            return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }
    bool WaitExit(DWORD ms) { return WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION pi_{};
};

// Memory in another process, for list-view and status-bar messages that carry pointers.
class RemoteBuffer
{
public:
    RemoteBuffer(HANDLE process, std::size_t size) : process_(process), size_(size)
    {
        ptr_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (ptr_)
            VirtualFreeEx(process_, ptr_, 0, MEM_RELEASE);
    }
    char* Ptr() const { return static_cast<char*>(ptr_); }
    bool Write(std::size_t offset, const void* data, std::size_t n)
    {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, Ptr() + offset, data, n, &done) && done == n;
    }
    std::string ReadString(std::size_t offset, std::size_t max)
    {
        std::string s(max, '\0');
        SIZE_T done = 0;
        ReadProcessMemory(process_, Ptr() + offset, s.data(), max, &done);
        s.resize(strnlen(s.c_str(), done));
        return s;
    }

private:
    HANDLE process_;
    std::size_t size_;
    void* ptr_ = nullptr;
};

std::string RemoteItemText(HANDLE process, HWND list, int row, int column)
{
    RemoteBuffer buf(process, 4096);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buf.Ptr() + 1024;
    item.cchTextMax = 1024;
    buf.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buf.Ptr()));
    return buf.ReadString(1024, 1024);
}

std::string RemoteStatusText(HANDLE process, HWND status)
{
    RemoteBuffer buf(process, 8192);
    SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf.Ptr()));
    return buf.ReadString(0, 8192);
}

// Shortcut codes of the list file and the keys xdotool presses for them.
struct TKey
{
    const char* text; // as the list file writes it
    const char* xdo;  // as xdotool names it
    UINT mods;
    UINT vk;
};
// (Ctrl+Alt+function keys are the X server's console switches, so Shift+Ctrl it is.)
constexpr TKey kF9 = {"Shift+Ctrl+F9", "shift+ctrl+F9", MOD_SHIFT | MOD_CONTROL, VK_F9};
constexpr TKey kF10 = {"Shift+Ctrl+F10", "shift+ctrl+F10", MOD_SHIFT | MOD_CONTROL, VK_F10};

class CuebinderRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = WinPath(CB_TEST_TMP) + "\\e2e-" + info->name() + "-" + std::to_string(GetCurrentProcessId());
        RemoveTree(root_);
        for (const char* d : {"", "\\app", "\\game", "\\game\\mainline", "\\sounds"})
            CreateDirectoryA((root_ + d).c_str(), nullptr);
        WriteOrFail(root_ + "\\game\\WONAuth.dll", "marker");
        ASSERT_TRUE(CopyFileA((WinPath(CB_DIST_DIR) + "\\Cuebinder.exe").c_str(),
                              App("Cuebinder.exe").c_str(), FALSE));
        a_ = Wav(30000, 1);
        b_ = Wav(70000, 2);
        WriteOrFail(Sound("alpha.wav"), a_);
        WriteOrFail(Sound("beta.wav"), b_);
    }
    void TearDown() override
    {
        if (main_)
            PostMessageA(main_, WM_CLOSE, 0, 0);
        if (cuebinder_)
            cuebinder_->WaitExit(5000);
        cuebinder_.reset();
        game_.reset();
        RemoveTree(root_);
    }
    std::string App(const std::string& name) const { return root_ + "\\app\\" + name; }
    std::string Sound(const std::string& name) const { return root_ + "\\sounds\\" + name; }
    std::string Voice() const { return root_ + "\\game\\voice_input.wav"; }

    void WriteList(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        std::string text = "[Config]\r\nCount=" + std::to_string(entries.size()) + "\r\n";
        if (!entries.empty())
            text += "[Sounds]\r\n";
        for (std::size_t i = 0; i < entries.size(); ++i)
            text += "Sound" + std::to_string(i) + "=" + entries[i].first + ";" + entries[i].second + "\r\n";
        WriteOrFail(root_ + "\\songs.qbl", text);
    }
    void StartCuebinder(bool minimise)
    {
        WriteOrFail(App("Cuebinder.ini"),
                    "[Game]\r\nInstallPath=" + root_ + "\\game\r\n[App]\r\nLastFile=" + root_ +
                        "\\songs.qbl\r\nLoadLastAtStart=1\r\nMinWhenActivated=" + (minimise ? "1" : "0") +
                        "\r\n");
        Launch("songs - Cuebinder");
    }
    // Starts the program beside the Cuebinder.ini already written and waits
    // for its main window to show `title`.
    void Launch(const std::string& title)
    {
        cuebinder_ = std::make_unique<Process>();
        ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
        Attach(title);
    }
    // Finds the running program's main window once it shows `title`.
    void Attach(const std::string& title)
    {
        ASSERT_TRUE(WaitFor([&] { return (main_ = FindWindowOf(cuebinder_->Id(), "TMainForm")) != nullptr; }))
            << "no main window";
        ASSERT_TRUE(WaitFor([&] { return WindowText(main_) == title; })) << WindowText(main_);
        toolbar_ = GetDlgItem(main_, IDC_MAINTOOLBAR);
        list_ = GetDlgItem(main_, IDC_SOUNDSLIST);
        status_ = GetDlgItem(main_, IDC_STATUS);
        ASSERT_TRUE(toolbar_ && list_ && status_);
    }
    // Waits for a dialog of the program with this caption.
    HWND WaitForDialog(const char* caption)
    {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindWindowOf(cuebinder_->Id(), "#32770", caption)) != nullptr; });
        return dialog;
    }
    // Types into the window titled `caption` with real key presses.
    bool TypeInto(const std::string& caption, const std::string& xdotoolArgs)
    {
        return RunUnix("/usr/bin/xdotool search --sync --name \"^" + caption + "$\" windowfocus --sync " +
                       xdotoolArgs);
    }
    // What a dialog of the program shows, for failure messages.
    std::string DialogState(const char* caption)
    {
        HWND dialog = FindWindowOf(cuebinder_->Id(), "#32770", caption);
        if (!dialog)
            return std::string("no ") + caption + " window; ";
        std::string state = std::string(caption) + ":";
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[1024] = {};
            SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            state += " [" + std::string(text) + "]";
        }
        return state + "; ";
    }
    // The text of a message box (its static text control).
    static std::string MessageText(HWND box)
    {
        char text[2048] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        return text;
    }
    bool Active() const { return SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_DEACTIVATE, 0) != 0; }
    bool ActivateEnabled() const { return SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ACTIVATE, 0) != 0; }
    void Command(int id) { PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

    void StartGame()
    {
        game_ = std::make_unique<Process>();
        ASSERT_TRUE(game_->Start(WinPath(CB_TOOLS_DIR) + "\\fake_game_window.exe", gameTitle_, root_));
        ASSERT_TRUE(WaitFor([&] { return FindWindowOf(game_->Id(), "VeltraneStandIn") != nullptr; }));
    }
    // Focuses the game stand-in's X window and presses the keys for real.
    bool Press(const TKey& key)
    {
        return RunUnix("/usr/bin/xdotool search --sync --name " + gameTitle_ + " windowfocus --sync key " +
                       key.xdo);
    }
    // True when this test's own window can register the combination (nobody holds it).
    static bool Free(const TKey& key)
    {
        HWND probe =
            CreateWindowExA(0, "STATIC", "probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        bool ok = RegisterHotKey(probe, 1, key.mods, key.vk) != 0;
        if (ok)
            UnregisterHotKey(probe, 1);
        DestroyWindow(probe);
        return ok;
    }
    std::string StatusBarWindowText()
    {
        HWND bar = FindWindowOf(cuebinder_->Id(), "TStatusForm");
        if (!bar)
            return "<no status window>";
        HWND label = GetWindow(bar, GW_CHILD);
        return label ? WindowText(label) : "<no label>";
    }

    std::string root_;
    std::string a_, b_;
    std::string gameTitle_ = "VeltraneStandIn-" + std::to_string(GetCurrentProcessId());
    std::unique_ptr<Process> cuebinder_;
    std::unique_ptr<Process> game_;
    HWND main_ = nullptr, toolbar_ = nullptr, list_ = nullptr, status_ = nullptr;
};

TEST_F(CuebinderRun, RealKeyPressesPlayTheChosenSounds)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10)) << "another program holds the test's shortcuts";
    WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF10.text}});
    StartCuebinder(false);

    // the list as the window shows it
    ASSERT_EQ(ListView_GetItemCount(list_), 2);
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 0), Sound("alpha.wav"));
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 1), "29 KB"); // 30044 bytes
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 2), "Shift+Ctrl+F9");
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 1, 1), "68 KB"); // 70044 bytes
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 1, 2), "Shift+Ctrl+F10");
    EXPECT_EQ(RemoteStatusText(cuebinder_->Handle(), status_), "Game Directory is \"" + root_ + "\\game\\\"");
    EXPECT_FALSE(Active());

    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); })) << "not activated";
    EXPECT_FALSE(ActivateEnabled());
    EXPECT_FALSE(Free(kF9));
    EXPECT_FALSE(IsIconic(main_));
    EXPECT_EQ(ReadAll(Voice()).size(), 0u); // created empty at activation

    StartGame();
    ASSERT_TRUE(Press(kF9)) << "xdotool failed";
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "voice file does not hold alpha.wav";
    EXPECT_TRUE(WaitFor([&] { return StatusBarWindowText() == "Current Sound: " + Sound("alpha.wav"); }))
        << StatusBarWindowText();
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "voice file does not hold beta.wav";
    EXPECT_TRUE(WaitFor([&] { return StatusBarWindowText() == "Current Sound: " + Sound("beta.wav"); }))
        << StatusBarWindowText();
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "a shorter sound left a tail";

    // About left open in Cuebinder (a modal loop of its own) while the player
    // is in the game: the keys still play
    Command(IDM_ABOUT);
    HWND about = WaitForDialog("About");
    ASSERT_NE(about, nullptr) << "About did not open";
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }))
        << "a press while About was open played nothing";
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; }))
        << "a press while About was open played nothing";
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); })) << "About did not close";

    // deactivated, the keys do nothing
    Command(IDM_DEACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return !Active(); }));
    EXPECT_TRUE(ActivateEnabled());
    EXPECT_TRUE(Free(kF9) && Free(kF10));
    ASSERT_TRUE(Press(kF10));
    std::this_thread::sleep_for(700ms);
    EXPECT_TRUE(ReadAll(Voice()) == a_) << "a press after deactivation replaced the voice file";

    // and activated again, they play once more
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); }));
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }));
    const std::string log = ReadAll(App("log.txt"));
    EXPECT_EQ(log.find("Bad index"), std::string::npos) << log;
    EXPECT_EQ(log.find("Replace() failed."), std::string::npos) << log;
}

TEST_F(CuebinderRun, DuplicateShortcutsAreRefusedWithTheLaterIndex)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF9.text}});
    StartCuebinder(false);
    Command(IDM_ACTIVATE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindWindowOf(cuebinder_->Id(), "#32770", "Error")) != nullptr; }))
        << "no error message";
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_EQ(
        std::string(text),
        "Index: 1\nFilename: " + Sound("beta.wav") +
            "\n\nThere was a problem. A duplicate shortcut (Shift+Ctrl+F9) was detected. Please make sure "
            "there are no duplicate shortcuts in your sounds list. Also make sure that no other programs "
            "are using shortcuts which you have chosen for your sounds.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitFor([&] { return Free(kF9); })) << "the first entry's hotkey stayed registered";
    EXPECT_FALSE(Active());
    EXPECT_TRUE(ActivateEnabled());
    EXPECT_NE(ReadAll(App("log.txt")).find(" - Failure in TMainForm::ActivateHotKeys()\r\n"),
              std::string::npos);
}

TEST_F(CuebinderRun, AnEmptyListActivatesAndMinimises)
{
    WriteList({});
    StartCuebinder(true);
    EXPECT_EQ(ListView_GetItemCount(list_), 0);
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); }));
    EXPECT_FALSE(ActivateEnabled());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; })) << "not minimised";
    EXPECT_EQ(FindWindowOf(cuebinder_->Id(), "#32770"), nullptr);

    // Exit ends the program (nothing unsaved, so no question)
    Command(IDM_EXIT);
    EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after Exit";
    main_ = nullptr;
}

TEST_F(CuebinderRun, FromAFirstStartThroughOptionsAddSavePlayAndTheSavePromptOnTheWayOut)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    // A first start: no settings at all. The notice, then Options sets the game directory.
    WriteOrFail(App("Cuebinder.ini"), "");
    cuebinder_ = std::make_unique<Process>();
    ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
    HWND notice = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (notice = FindWindowOf(cuebinder_->Id(), "#32770", "Notice")) != nullptr;
    })) << "no notice at the first start";
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    Attach("Untitled - Cuebinder");
    EXPECT_EQ(RemoteStatusText(cuebinder_->Handle(), status_),
              "There is no game directory set. Set one in the Options window.");
    EXPECT_FALSE(SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ADD, 0));
    Command(IDM_OPTIONS);
    HWND options = WaitForDialog("Options");
    ASSERT_NE(options, nullptr) << "no Options window";
    SendMessageA(GetDlgItem(options, IDC_OPT_DIRECTORY), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>((root_ + "\\game\\").c_str()));
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] {
        return RemoteStatusText(cuebinder_->Handle(), status_) ==
               "Game Directory is \"" + root_ + "\\game\\\"";
    })) << RemoteStatusText(cuebinder_->Handle(), status_);
    EXPECT_TRUE(SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ADD, 0));
    EXPECT_NE(ReadAll(App("Cuebinder.ini")).find("InstallPath=" + root_ + "\\game\\\r\n"), std::string::npos);
    EXPECT_EQ(ListView_GetItemCount(list_), 0);

    // Add: the file name set in its box, the shortcut pressed on the keyboard, Enter.
    Command(IDM_ADD);
    HWND add = WaitForDialog("Add Sound");
    ASSERT_NE(add, nullptr) << "no Add dialog";
    SendMessageA(GetDlgItem(add, IDC_GENERIC_FILENAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Sound("alpha.wav").c_str()));
    ASSERT_TRUE(TypeInto("Add Sound", "key Tab shift+ctrl+F9 Return"));
    ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == 1; }))
        << "first sound not added; " << DialogState("Add Sound") << DialogState("Error");

    // Add, filled by messages: the box's text, the control's value, OK.
    Command(IDM_ADD);
    add = WaitForDialog("Add Sound");
    ASSERT_NE(add, nullptr);
    SendMessageA(GetDlgItem(add, IDC_GENERIC_FILENAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Sound("beta.wav").c_str()));
    SendMessageA(GetDlgItem(add, IDC_GENERIC_SHORTCUT), HKM_SETHOTKEY,
                 MAKEWORD(VK_F10, HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0);
    PostMessageA(add, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == 2; })) << "second sound not added";
    const char* shortcuts[] = {"Shift+Ctrl+F9", "Shift+Ctrl+F10"};
    const char* sizes[] = {"29 KB", "68 KB"};
    const std::string files[] = {Sound("alpha.wav"), Sound("beta.wav")};
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 0), files[row]);
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 1), sizes[row]);
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 2), shortcuts[row]);
    }

    // Save: untitled, so the Save As dialog asks for a name (the extension is added).
    Command(IDM_SAVE);
    HWND save = WaitForDialog("Save As");
    ASSERT_NE(save, nullptr) << "no Save As dialog";
    HWND name = GetDlgItem(save, 0x47C); // the file name box (cmb13)
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root_ + "\\mine").c_str()));
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowText(main_) == "mine - Cuebinder"; })) << WindowText(main_);
    const std::string list = root_ + "\\mine.qbl";
    EXPECT_EQ(ReadAll(list), "[Config]\r\nCount=2\r\n[Sounds]\r\nSound0=" + files[0] +
                                 ";Shift+Ctrl+F9\r\nSound1=" + files[1] + ";Shift+Ctrl+F10\r\n");

    // Activate and play from the game's window.
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); })) << "not activated";
    StartGame();
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "voice file does not hold beta.wav";
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "voice file does not hold alpha.wav";
    Command(IDM_DEACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return !Active(); }));

    // Delete the first row (confirmed), then Exit: the save prompt, Yes saves and the program ends.
    RemoteBuffer item(cuebinder_->Handle(), sizeof(LVITEMA));
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    item.Write(0, &state, sizeof state);
    SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(item.Ptr()));
    Command(IDM_DELETE);
    HWND question = WaitForDialog("Question");
    ASSERT_NE(question, nullptr) << "no question before deleting";
    EXPECT_EQ(MessageText(question), "Are you sure you want to delete the selected sound(s)?");
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == 1; }));
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 0), files[1]);

    Command(IDM_EXIT);
    HWND prompt = WaitForDialog("Cuebinder");
    ASSERT_NE(prompt, nullptr) << "no save prompt";
    EXPECT_EQ(MessageText(prompt),
              "The data in the mine file has changed.\n\nDo you want to save the changes?");
    PostMessageA(prompt, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after the save prompt";
    main_ = nullptr;
    EXPECT_EQ(ReadAll(list), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=" + files[1] + ";Shift+Ctrl+F10\r\n");
    const std::string ini = ReadAll(App("Cuebinder.ini"));
    EXPECT_NE(ini.find("LastFile=" + list + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ColumnWidth0=270\r\n"), std::string::npos) << ini;
}

TEST_F(CuebinderRun, AStoredPlaceNoMonitorShowsOpensOnTheNearestMonitorAndAUsableOneAsItWas)
{
    struct Case
    {
        const char* what;
        int x, y, width, height;
        bool kept; // opens exactly at the stored rectangle
    };
    const Case cases[] = {
        {"on the screen", 40, 30, 500, 340, true},
        {"negative width and height", 100, 80, -300, -200, false},
        {"far off to the left", -20000, 100, 500, 340, false},
        {"far off to the right", 20000, 100, 500, 340, false},
        {"far off above", 100, -20000, 500, 340, false},
        {"far off below", 100, 20000, 500, 340, false},
        {"huge", 0, 0, 100000, 100000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteOrFail(App("Cuebinder.ini"),
                    "[Game]\r\nInstallPath=" + root_ + "\\game\r\n[App]\r\nLoadLastAtStart=0\r\n" +
                        "[Window]\r\niX=" + std::to_string(c.x) + "\r\niY=" + std::to_string(c.y) +
                        "\r\niW=" + std::to_string(c.width) + "\r\niH=" + std::to_string(c.height) + "\r\n");
        Launch("Untitled - Cuebinder");
        RECT r{};
        GetWindowRect(main_, &r);
        if (c.kept) {
            EXPECT_EQ(r.left, c.x);
            EXPECT_EQ(r.top, c.y);
            EXPECT_EQ(r.right - r.left, c.width);
            EXPECT_EQ(r.bottom - r.top, c.height);
        } else {
            // wholly on a monitor's work area, at least the window's minimum size
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            ASSERT_TRUE(GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor));
            const RECT& work = monitor.rcWork;
            EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                        r.bottom <= work.bottom)
                << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " on " << work.left << ","
                << work.top << "-" << work.right << "," << work.bottom;
            EXPECT_GE(r.right - r.left, 470);
            EXPECT_GE(r.bottom - r.top, 312);
        }
        PostMessageA(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after closing";
        main_ = nullptr;
    }
}

} // namespace
