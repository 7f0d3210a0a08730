// The real Auxiliary.exe started under Wine and driven from outside: it holds
// the suite's named objects while it runs, does not react to the close event,
// and stores what its options dialog (opened with the main window's Options
// button) says when it ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "main_window_ids.h"
#include "modal_driver.h"
#include "options_ids.h"
#include "recorder_registry.h"
#include "recorder_settings.h"
#include "suite_environment.h"

namespace {

namespace t = auxiliary::testing;
namespace keys = auxiliary::settings;

class RunningProgram
{
public:
    RunningProgram()
    {
        std::string line = "\"" + std::string(CB_DIST_DIR) + "/Auxiliary.exe\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != FALSE;
    }
    ~RunningProgram()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool Started() const { return started_; }
    // The main window, once shown.
    HWND WaitForMain() const
    {
        return t::WaitForDialog(process_.dwThreadId, "Tonvask Recaster - Auxiliary Input", 30000);
    }
    // Clicks the main window's Options button and returns the options dialog.
    HWND OpenOptions(HWND main) const
    {
        HWND button = GetDlgItem(main, IDC_BUTTON_OPTIONS);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        return t::WaitForDialog(process_.dwThreadId, "tVC - Options", 30000);
    }
    // The exit code, or -1 when it has not ended within `ms`.
    long WaitForExit(DWORD ms) const { return t::ExitCodeWithin(process_.hProcess, ms); }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

bool WaitForStored(const char* key, const char* name)
{
    for (int waited = 0; waited < 30000; waited += 50) {
        if (t::Stored(key, name).exists)
            return true;
        Sleep(50);
    }
    return false;
}

TEST(AuxProgram, HoldsTheSuitesNamedObjectsIgnoresTheCloseEventAndKeepsWhatOKChose)
{
    t::RecorderRegistryScope registry;
    {
        RunningProgram program;
        ASSERT_TRUE(program.Started());
        HWND main = program.WaitForMain();
        ASSERT_NE(main, nullptr);

        // Every named object exists while the program runs.
        for (const auxiliary::SuiteObjectKind& object : auxiliary::kSuiteObjects) {
            SCOPED_TRACE(object.name);
            HANDLE handle = object.size == 0
                                ? OpenEventA(SYNCHRONIZE, FALSE, object.name)
                                : OpenFileMappingA(FILE_MAP_READ, FALSE,
                                                   (std::string("SSharedData_") + object.name).c_str());
            EXPECT_NE(handle, nullptr);
            if (handle)
                CloseHandle(handle);
        }

        // The close event is the suite's other programs' business.
        HANDLE close = OpenEventA(EVENT_MODIFY_STATE, FALSE, "evttvClose");
        ASSERT_NE(close, nullptr);
        SetEvent(close);
        EXPECT_EQ(program.WaitForExit(1500), -1);
        EXPECT_TRUE(IsWindow(main));
        ResetEvent(close);
        CloseHandle(close);

        HWND options = program.OpenOptions(main);
        ASSERT_NE(options, nullptr);
        PostMessageA(options, WM_COMMAND, IDC_OPTIONS_CANCEL, 0);
        for (int waited = 0; waited < 30000 && IsWindow(options); waited += 50)
            Sleep(50);
        EXPECT_FALSE(IsWindow(options));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(30000), 0);
    }
    // Cancel kept the options out of the registry; the add-on values are
    // written at the end of every run, and the output folder when the main
    // window closes (unchanged by Cancel).
    EXPECT_FALSE(t::Stored(keys::kSuiteKey, "Aux-RecFreq").exists);
    EXPECT_EQ(t::Stored(keys::kBoostkitKey, "BK-AuxInput-PlaylistStr").text,
              "C:\\Converted Music\\Playlists\\");
    EXPECT_EQ(t::Stored(keys::CodecKey("Mp3 (Lame)").c_str(), "TVCUserFolderStr").text,
              "C:\\Converted Music\\");

    {
        RunningProgram program;
        ASSERT_TRUE(program.Started());
        HWND main = program.WaitForMain();
        ASSERT_NE(main, nullptr);
        HWND options = program.OpenOptions(main);
        ASSERT_NE(options, nullptr);
        t::Type(options, IDC_OUTPUT_TO, "D:\\Takes\\");
        t::Choose(options, IDC_QUALITY, 5);
        PostMessageA(options, WM_COMMAND, IDC_OPTIONS_OK, 0);
        // OK stores the options at once; the output folder reaches the
        // registry when the main window closes.
        EXPECT_TRUE(WaitForStored(keys::kSuiteKey, "Aux-RecFreq"));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(30000), 0);
    }
    EXPECT_EQ(t::Stored(keys::kSuiteKey, "Aux-RecFreq").number, 5u);
    EXPECT_EQ(t::Stored(keys::CodecKey("Mp3 (Lame)").c_str(), "TVCUserFolderStr").text, "D:\\Takes\\");
}

} // namespace
