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

// `s` in double quotes, for a command line.
inline std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

} // namespace dsp::testing
