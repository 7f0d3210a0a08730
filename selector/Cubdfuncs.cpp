#include "Cubdfuncs.h"

#include "FileSteps.h"
#include "Tsettings.h"
#include "core/LogLine.h"

#include <windows.h>

#include <cstdint>

namespace {
std::string g_logOverride;
}

std::string LogFileName()
{
    if (!g_logOverride.empty())
        return g_logOverride;
    return cb::LogFileForProgram(ProgramPath());
}

void SetLogFileName(const std::string& fileName)
{
    g_logOverride = fileName;
}

std::string HandleText(const void* handle)
{
    return std::to_string(static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)));
}

void WriteLog(const std::string& message)
{
    HANDLE file = CreateFileA(LogFileName().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;

    SYSTEMTIME now;
    GetLocalTime(&now);
    cb::LogTime t;
    t.Year = now.wYear;
    t.Month = now.wMonth;
    t.Day = now.wDay;
    t.Hour = now.wHour;
    t.Minute = now.wMinute;
    t.Second = now.wSecond;
    std::string line = cb::FormatLogLine(t, message);

    SetFilePointer(file, 0, nullptr, FILE_END);
    WriteAll(file, line.data(), line.size()); // a refused line is lost, as an unopenable log is
    CloseHandle(file);
}
