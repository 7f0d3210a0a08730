// Call log of the recorder's stand-in codec libraries: each call appends one
// line "<library file name> <entry point> <arguments>" (CR LF) to the file
// named by the environment variable AUX_STANDIN_LOG, so tests can check what
// the recorder called, with what, and in which order. Without the variable
// nothing is written.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace standin {

inline HMODULE g_module = nullptr;

inline void Log(const char* format, ...)
{
    char logPath[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("AUX_STANDIN_LOG", logPath, sizeof logPath);
    if (n == 0 || n >= sizeof logPath)
        return;
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(g_module, modulePath, sizeof modulePath);
    const char* name = strrchr(modulePath, '\\');
    name = name ? name + 1 : modulePath;

    char line[1024];
    int used = snprintf(line, sizeof line, "%s ", name);
    if (used < 0 || used >= static_cast<int>(sizeof line))
        return;
    va_list args;
    va_start(args, format);
    const int more = vsnprintf(line + used, sizeof line - used, format, args);
    va_end(args);
    if (more < 0)
        return;
    used += more;
    if (used > static_cast<int>(sizeof line) - 3)
        used = static_cast<int>(sizeof line) - 3;
    line[used++] = '\r';
    line[used++] = '\n';

    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(used), &written, nullptr);
    CloseHandle(file);
}

} // namespace standin

// Every stand-in library keeps its module handle for the log's library name.
#define STANDIN_DLLMAIN                                                                                      \
    extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)                                 \
    {                                                                                                        \
        if (reason == DLL_PROCESS_ATTACH)                                                                    \
            standin::g_module = instance;                                                                    \
        return TRUE;                                                                                         \
    }
