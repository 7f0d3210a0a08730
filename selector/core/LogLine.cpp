#include "core/LogLine.h"

#include "core/SettingsValues.h"

#include <algorithm>
#include <cstdio>

namespace cb {

std::string FormatLogLine(const LogTime& t, const std::string& message)
{
    char head[96];
    const int n = std::snprintf(head, sizeof head, "L %2d/%2d/%4d %2d:%2d:%2d - ", t.Month, t.Day, t.Year,
                                t.Hour, t.Minute, t.Second);
    // snprintf reports the length it wanted, which may be more than it wrote.
    const std::size_t written = n > 0 ? std::min(static_cast<std::size_t>(n), sizeof head - 1) : 0;
    std::string line(head, written);
    line += message;
    line += "\r\n";
    return line;
}

std::string LogFileForProgram(const std::string& programPath)
{
    return FolderOf(programPath) + "\\log.txt";
}

} // namespace cb
