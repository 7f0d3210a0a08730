// Runs a console program for a test and collects what it printed.
#pragma once

#include <windows.h>

#include <string>

namespace dsp::testing {

struct ProgramRun
{
    DWORD code = 999; // the exit code; 999 when it did not start or did not end in time
    std::string out, err;
};

// Starts `exe` with the command line `"exe" args`, reads its standard output
// and error while it runs and waits at most `timeoutMs` for it to end (then
// it is ended with 999).
ProgramRun RunProgram(const std::string& exe, const std::string& args, DWORD timeoutMs = 60000);

// Starts `exe` with the command line `"exe" args` beside the test and returns
// its process handle (null when it did not start).
HANDLE StartProgram(const std::string& exe, const std::string& args);

// Waits at most `timeoutMs` for a started program to end and closes its
// handle. The exit code; 999 when it did not end in time (a failed check).
DWORD WaitProgramExit(HANDLE process, DWORD timeoutMs = 30000);

// The path of the running test program, for starting a copy of it as the
// other side of a test.
std::string ThisProgramPath();

// `s` in double quotes, for a command line.
inline std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

} // namespace dsp::testing
