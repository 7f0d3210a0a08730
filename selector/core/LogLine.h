// The event log's line format.
#pragma once

#include <string>

namespace cb {

struct LogTime
{
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

// One line of log.txt: "L %2d/%2d/%4d %2d:%2d:%2d - %s\r\n" filled with month,
// day, year, hour, minute, second and the message. Fields are padded with
// blanks, not zeros.
std::string FormatLogLine(const LogTime& time, const std::string& message);

// The log file of a program: its folder followed by "\log.txt".
std::string LogFileForProgram(const std::string& programPath);

} // namespace cb
