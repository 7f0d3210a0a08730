// Drives the real Cuebinder.exe from outside, under Wine: each test copies
// the program into a scratch folder of its own beside a throw-away game
// directory (with the marker file and a mod folder) and a sounds folder,
// writes the Cuebinder.ini and list file it needs, starts the program, and
// reads back what its windows show. Shared by the end-to-end tests and the
// fault table.
#pragma once

#include "Genericres.h"
#include "Mainres.h"
#include "Optionsres.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace cbdriver {

using namespace std::chrono_literals;

using testfiles::ReadAll;
using testfiles::RemoveTree;
using testfiles::WinPath;
using testfiles::WriteOrFail;

// A small valid PCM WAV file: 16-bit mono at 22050 Hz, `dataBytes` of a pattern.
inline std::string Wav(std::uint32_t dataBytes, unsigned seed)
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

inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return done();
}

inline HWND FindWindowOf(DWORD pid, const char* className, const char* title = nullptr)
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

inline std::string WindowText(HWND hwnd)
{
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Runs a Unix program (xdotool) from inside Wine, through Wine's start.exe,
// and waits for it.
inline bool RunUnix(const std::string& unixCommandLine)
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

inline std::string RemoteItemText(HANDLE process, HWND list, int row, int column)
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

inline std::string RemoteStatusText(HANDLE process, HWND status)
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
public:
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
        StopPrograms();
        RemoveTree(root_);
    }
    // Closes the program (ended when it does not close) and the game stand-in.
    void StopPrograms()
    {
        if (main_)
            PostMessageA(main_, WM_CLOSE, 0, 0);
        if (cuebinder_)
            cuebinder_->WaitExit(5000);
        cuebinder_.reset();
        game_.reset();
        main_ = nullptr;
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
    // Settings that name the game directory and open songs.qbl at start.
    std::string GameSettings(bool minimise) const
    {
        return "[Game]\r\nInstallPath=" + root_ + "\\game\r\n[App]\r\nLastFile=" + root_ +
               "\\songs.qbl\r\nLoadLastAtStart=1\r\nMinWhenActivated=" + (minimise ? "1" : "0") + "\r\n";
    }
    void StartCuebinder(bool minimise)
    {
        WriteOrFail(App("Cuebinder.ini"), GameSettings(minimise));
        Launch("songs - Cuebinder");
    }
    // Starts the program beside the Cuebinder.ini already written and waits
    // for its main window to show `title`.
    void Launch(const std::string& title, std::chrono::milliseconds limit = 10000ms)
    {
        cuebinder_ = std::make_unique<Process>();
        ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
        Attach(title, limit);
    }
    // Finds the running program's main window once it shows `title`.
    void Attach(const std::string& title, std::chrono::milliseconds limit = 10000ms)
    {
        ASSERT_TRUE(
            WaitFor([&] { return (main_ = FindWindowOf(cuebinder_->Id(), "TMainForm")) != nullptr; }, limit))
            << "no main window";
        ASSERT_TRUE(WaitFor([&] { return WindowText(main_) == title; }, limit)) << WindowText(main_);
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
    // Waits for the message box with this caption and returns its text after
    // pressing its OK (or Yes) button.
    std::string Dismiss(const char* caption, int button = IDOK)
    {
        HWND box = WaitForDialog(caption);
        if (!box)
            return std::string("<no ") + caption + " box>";
        std::string text = MessageText(box);
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }
    // Selects the first row and deletes it with the confirmation, so the list is modified.
    void DeleteFirstRow()
    {
        RemoteBuffer item(cuebinder_->Handle(), sizeof(LVITEMA));
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        item.Write(0, &state, sizeof state);
        SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(item.Ptr()));
        const int before = ListView_GetItemCount(list_);
        Command(IDM_DELETE);
        EXPECT_EQ(Dismiss("Question", IDYES), "Are you sure you want to delete the selected sound(s)?");
        EXPECT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == before - 1; }));
    }
    // The main window is not hung: it answers a message within a second.
    bool Answers() const
    {
        DWORD_PTR result = 0;
        return main_ && SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
    }
    // Where the event log ends now, and the messages written after such a mark.
    std::size_t LogMark() const
    {
        std::string log = ReadAll(App("log.txt"));
        return log == "<missing>" ? 0 : log.size();
    }
    std::vector<std::string> LogSince(std::size_t mark) const
    {
        std::string log = ReadAll(App("log.txt"));
        return testfiles::LogMessages(log == "<missing>" || log.size() < mark ? "" : log.substr(mark));
    }
    // Closes the program through its window and waits for its end.
    bool CloseAndWait()
    {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        const bool ended = cuebinder_->WaitExit(10000);
        if (ended)
            main_ = nullptr;
        return ended;
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

// The Unix path of a folder on Wine's Z: drive.
inline std::string UnixPath(std::string path)
{
    if (path.size() >= 2 && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// A small file system of its own (tmpfs) mounted over a folder while the
// object lives: a disk that fills up, or a folder that turns read-only.
// Mounting needs root; Mounted() is false where the machine does not allow it.
// Wine's start.exe may return before the Unix command is done, so each step
// waits until it shows: a marker file in the folder below the mount is hidden
// while the mount stands, and a read-only folder refuses a new file.
class SmallDisk
{
public:
    SmallDisk(const std::string& folder, int kilobytes)
        : folder_(folder), marker_(folder + "\\under-the-mount")
    {
        if (!testfiles::WriteAll(marker_, "x"))
            return;
        RunUnix("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k,mode=0777 tmpfs " +
                UnixPath(folder));
        mounted_ = WaitFor([&] { return !testfiles::Exists(marker_); });
    }
    ~SmallDisk()
    {
        if (mounted_) {
            RunUnix("/bin/umount -l " + UnixPath(folder_));
            WaitFor([&] { return testfiles::Exists(marker_); });
        }
        DeleteFileA(marker_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }
    // Tried until it holds: a file just closed may still count as open for
    // writing for a moment, and the remount is refused while it does.
    bool MakeReadOnly()
    {
        return WaitFor([&] {
            RunUnix("/bin/mount -o remount,ro " + UnixPath(folder_));
            const std::string probe = folder_ + "\\probe";
            if (!testfiles::WriteAll(probe, ""))
                return true;
            DeleteFileA(probe.c_str());
            return false;
        });
    }

private:
    std::string folder_;
    std::string marker_;
    bool mounted_ = false;
};

} // namespace cbdriver
