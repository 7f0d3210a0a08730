// The event log as a file: exact line bytes, appending across processes,
// readers alongside the writer.
#include "Cubdfuncs.h"
#include "core/LogLine.h"

#include "LogCapture.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

using testfiles::ReadAll;
using testfiles::ScratchDir;

namespace {

cb::LogTime Now()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string SelfPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Runs this test program again, running only `filter`, with the environment
// variable CB_LOG_CHILD_FILE set to `logFile`; returns its exit code.
DWORD RunChild(const std::string& filter, const std::string& logFile)
{
    SetEnvironmentVariableA("CB_LOG_CHILD_FILE", logFile.c_str());
    std::string cmd = "\"" + SelfPath() + "\" --gtest_filter=" + filter + " --gtest_also_run_disabled_tests";
    const DWORD code = testfiles::RunAndWait(cmd);
    SetEnvironmentVariableA("CB_LOG_CHILD_FILE", nullptr);
    return code;
}

} // namespace

TEST(EventLog, LineBytesFromTheLocalClock)
{
    ScratchDir dir;
    SetLogFileName(dir / "log.txt");
    cb::LogTime before = Now();
    WriteLog("Replace() failed.");
    cb::LogTime after = Now();
    SetLogFileName("");
    std::string text = ReadAll(dir / "log.txt");
    // The second may have turned between the two readings of the clock.
    EXPECT_TRUE(text == cb::FormatLogLine(before, "Replace() failed.") ||
                text == cb::FormatLogLine(after, "Replace() failed."))
        << text;
    EXPECT_EQ(text.substr(text.size() - 22), " - Replace() failed.\r\n");
}

// Writes one line into the log named by CB_LOG_CHILD_FILE; run by the test below.
TEST(EventLogChild, DISABLED_WriteOneLine)
{
    const char* file = std::getenv("CB_LOG_CHILD_FILE");
    ASSERT_NE(file, nullptr);
    SetLogFileName(file);
    WriteLog("from the child");
    SetLogFileName("");
}

TEST(EventLog, AppendsAcrossRunsWhileOthersRead)
{
    ScratchDir dir;
    testfiles::LogCapture log(dir / "log.txt");
    WriteLog("first");
    ASSERT_EQ(RunChild("EventLogChild.DISABLED_WriteOneLine", log.File()), 0u);

    // A reader (another program viewing the log) does not stop the writer.
    HANDLE reader = CreateFileA(log.File().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    WriteLog("while read");
    ASSERT_EQ(RunChild("EventLogChild.DISABLED_WriteOneLine", log.File()), 0u);
    CloseHandle(reader);

    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{"first", "from the child", "while read", "from the child"}));
}

TEST(EventLog, UnopenableLogLosesTheLineQuietly)
{
    ScratchDir dir;
    SetLogFileName(dir / "missing folder\\log.txt");
    WriteLog("lost");
    SetLogFileName("");
    EXPECT_FALSE(testfiles::Exists(dir / "missing folder"));
}

TEST(EventLog, DefaultLogIsBesideTheProgram)
{
    std::string exe = SelfPath();
    EXPECT_EQ(LogFileName(), exe.substr(0, exe.find_last_of("\\/")) + "\\log.txt");
    EXPECT_EQ(HandleText(INVALID_HANDLE_VALUE), "-1");
    EXPECT_EQ(HandleText(nullptr), "0");
}
