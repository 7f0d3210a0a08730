#include "testing/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dsp::testing {

namespace {

// Appends whatever the pipe holds now, without waiting. True when it read something.
bool Drain(HANDLE pipe, std::string& into)
{
    DWORD avail = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &avail, nullptr) || avail == 0)
        return false;
    char buf[4096];
    DWORD n = 0;
    if (!ReadFile(pipe, buf, std::min<DWORD>(avail, sizeof buf), &n, nullptr) || n == 0)
        return false;
    into.append(buf, n);
    return true;
}

} // namespace

ProgramRun RunProgram(const std::string& exe, const std::string& args, DWORD timeoutMs)
{
    ProgramRun run;
    std::string cmd = "\"" + exe + "\" " + args;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &sa, 0);
    CreatePipe(&errRead, &errWrite, &sa, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        run.err = "cannot start " + exe;
        return run;
    }
    // Drain both pipes while the program runs, and stop when it has ended and
    // the pipes are empty. Waiting for the pipes to close is not enough: Wine
    // may pass the program's standard handles on to a helper process it starts
    // for it (its desktop process), which outlives the program.
    const DWORD begin = GetTickCount();
    bool ended = false;
    for (;;) {
        const bool any = Drain(outRead, run.out) | Drain(errRead, run.err);
        if (ended && !any)
            break;
        if (!ended)
            ended = WaitForSingleObject(pi.hProcess, any ? 0 : 10) == WAIT_OBJECT_0;
        if (GetTickCount() - begin > timeoutMs)
            break;
    }
    if (!ended)
        TerminateProcess(pi.hProcess, 999);
    GetExitCodeProcess(pi.hProcess, &run.code);
    CloseHandle(outRead);
    CloseHandle(errRead);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

HANDLE StartProgram(const std::string& exe, const std::string& args)
{
    std::string cmd = Quote(exe) + (args.empty() ? "" : " " + args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD WaitProgramExit(HANDLE process, DWORD timeoutMs)
{
    DWORD code = 999;
    if (!process) {
        ADD_FAILURE() << "no process to wait for";
        return code;
    }
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "the program did not end within " << timeoutMs << " ms";
    if (ended)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 999);
    CloseHandle(process);
    return code;
}

std::string ThisProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace dsp::testing
