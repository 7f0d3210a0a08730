// Runs the real CloseSignal.exe under Wine and watches the "evttvClose" event
// from this process and from a holder process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "testing/run_program.h"

namespace {

using dsp::testing::StartProgram;
using dsp::testing::WaitProgramExit;

const char* const kEventName = "evttvClose";
const char* const kReadyName = "cbtest_closesignal_holder_ready";
const char* const kReleaseName = "cbtest_closesignal_holder_release";

std::string ToolPath()
{
    return std::string(CB_DIST_DIR) + "/CloseSignal.exe";
}

// Runs the tool to its end and returns its exit code.
DWORD RunTool(const std::string& args)
{
    HANDLE p = StartProgram(ToolPath(), args);
    EXPECT_NE(p, nullptr) << "cannot start " << ToolPath();
    return WaitProgramExit(p, 20000);
}

// The holder: keeps "evttvClose" open, reports whether it was signalled while
// the tool ran, and whether it is still signalled when the test releases it.
int HolderMain()
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, kEventName);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReadyName);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, kReleaseName);
    if (!event || !ready || !release)
        return 10;
    SetEvent(ready);
    if (WaitForSingleObject(event, 15000) != WAIT_OBJECT_0)
        return 11; // never signalled
    if (WaitForSingleObject(release, 30000) != WAIT_OBJECT_0)
        return 12;
    // Still signalled after the tool has gone: only a holder resets it.
    if (WaitForSingleObject(event, 0) != WAIT_OBJECT_0)
        return 13;
    return 0;
}

TEST(CloseSignal, HolderSeesTheEventSignalledAndItStaysSignalled)
{
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyName);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, kReleaseName);
    ASSERT_TRUE(ready && release);
    HANDLE holder = StartProgram(dsp::testing::ThisProgramPath(), "--holder");
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0) << "holder did not start";

    // Arguments are ignored; the exit code is always 0.
    EXPECT_EQ(RunTool("--reset /x \"some file.txt\""), 0u);

    // The tool has exited; the holder's object is still signalled for newcomers too.
    HANDLE seen = OpenEventA(SYNCHRONIZE, FALSE, kEventName);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(WaitForSingleObject(seen, 0), WAIT_OBJECT_0);
    CloseHandle(seen);

    SetEvent(release);
    EXPECT_EQ(WaitProgramExit(holder, 20000), 0u)
        << "holder exit code: 11 never signalled, 13 reset after the tool exited";
    CloseHandle(ready);
    CloseHandle(release);
}

TEST(CloseSignal, WithoutHolderTheEventIsGoneAfterTheToolExits)
{
    HANDLE before = OpenEventA(SYNCHRONIZE, FALSE, kEventName);
    ASSERT_EQ(before, nullptr) << "another process still holds evttvClose";

    HANDLE tool = StartProgram(ToolPath(), "");
    ASSERT_NE(tool, nullptr);
    // While the tool sleeps it has already closed its handle: nothing holds the event.
    Sleep(1500);
    EXPECT_EQ(WaitForSingleObject(tool, 0), WAIT_TIMEOUT) << "the tool should live on for about five seconds";
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, kEventName), nullptr);
    EXPECT_EQ(WaitProgramExit(tool, 20000), 0u);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, kEventName), nullptr);
}

TEST(CloseSignal, ExistingAutoResetEventIsOpenedNotReplaced)
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, kEventName); // auto-reset
    ASSERT_NE(event, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    EXPECT_EQ(RunTool("one two"), 0u);

    // Signalled by the tool; being auto-reset, the first wait consumes it.
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--holder")
        return HolderMain();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
