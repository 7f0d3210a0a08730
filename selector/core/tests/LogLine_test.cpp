#include "core/LogLine.h"

#include <gtest/gtest.h>

TEST(LogLine, BlankPaddedFieldsAndCrLf)
{
    cb::LogTime t;
    t.Year = 2026;
    t.Month = 3;
    t.Day = 7;
    t.Hour = 4;
    t.Minute = 5;
    t.Second = 9;
    EXPECT_EQ(cb::FormatLogLine(t, "Replace() failed."), "L  3/ 7/2026  4: 5: 9 - Replace() failed.\r\n");

    t = {1999, 12, 31, 23, 59, 58};
    EXPECT_EQ(cb::FormatLogLine(t, ""), "L 12/31/1999 23:59:58 - \r\n");

    t = {987, 1, 1, 0, 0, 0}; // the year is at least four wide, blank padded
    EXPECT_EQ(cb::FormatLogLine(t, "x"), "L  1/ 1/ 987  0: 0: 0 - x\r\n");
}

TEST(LogLine, TheWidestTimeFieldsAreWrittenWhole)
{
    // No clock gives these, but the head is never cut or read past its end.
    const int m = -2147483647 - 1;
    cb::LogTime t{m, m, m, m, m, m};
    EXPECT_EQ(cb::FormatLogLine(t, "x"),
              "L -2147483648/-2147483648/-2147483648 -2147483648:-2147483648:-2147483648 - x\r\n");
}

TEST(LogLine, MessageIsCopiedVerbatim)
{
    cb::LogTime t{2026, 12, 8, 14, 30, 0};
    std::string message = "100% done %s %d \"quoted\"";
    message += std::string(3000, 'x');
    std::string line = cb::FormatLogLine(t, message);
    EXPECT_EQ(line, "L 12/ 8/2026 14:30: 0 - " + message + "\r\n");
}

TEST(LogLine, LogFileInProgramFolder)
{
    EXPECT_EQ(cb::LogFileForProgram("C:\\Prog\\Cuebinder.exe"), "C:\\Prog\\log.txt");
    EXPECT_EQ(cb::LogFileForProgram("Z:/work/b/Cuebinder.exe"), "Z:/work/b\\log.txt");
}
