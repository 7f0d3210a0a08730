// The real Cuebinder.exe, started under Wine and driven from outside: a list
// of two WAV files is loaded at start, activated through the menu command, and
// real key presses (xdotool) while the stand-in game window holds the focus
// replace the game's voice_input.wav and show the sound in the status bar.
//
// Each case copies the program into a scratch folder of its own, beside a
// Cuebinder.ini that names a throw-away game directory (with the marker file
// and a mod folder) and the list to open, so the real dist stays untouched.
#include "Mainres.h"
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
        [](HWND hwnd, LPARAM lp) -> BOOL {
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
        cuebinder_ = std::make_unique<Process>();
        ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
        ASSERT_TRUE(WaitFor([&] { return (main_ = FindWindowOf(cuebinder_->Id(), "TMainForm")) != nullptr; }))
            << "no main window";
        ASSERT_TRUE(WaitFor([&] { return WindowText(main_) == "songs - Cuebinder"; })) << WindowText(main_);
        toolbar_ = GetDlgItem(main_, IDC_MAINTOOLBAR);
        list_ = GetDlgItem(main_, IDC_SOUNDSLIST);
        status_ = GetDlgItem(main_, IDC_STATUS);
        ASSERT_TRUE(toolbar_ && list_ && status_);
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

} // namespace
