#include "core/LogLine.h"

#include "core/SettingsValues.h"

#include <cstdio>

namespace cb {

std::string FormatLogLine(const LogTime& t, const std::string& message)
{
    char head[64];
    int n = std::snprintf(head, sizeof head, "L %2d/%2d/%4d %2d:%2d:%2d - ", t.Month, t.Day, t.Year, t.Hour,
                          t.Minute, t.Second);
    std::string line(head, n > 0 ? static_cast<std::size_t>(n) : 0);
    line += message;
    line += "\r\n";
    return line;
}

std::string LogFileForProgram(const std::string& programPath)
{
    return FolderOf(programPath) + "\\log.txt";
}

} // namespace cb
