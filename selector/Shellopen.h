// Asks the shell to open a document, a web page or a program (ShellExecuteA).
// Tests install a hook that records the request instead of running it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct TShellRequest
{
    HWND owner = nullptr;
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    int show = SW_SHOWNORMAL;
};

// Runs the request through ShellExecuteA (or the installed hook); the result
// is not reported.
void ShellOpen(const TShellRequest& request);

// Installs `hook` in place of ShellExecuteA; an empty function restores it.
void SetShellHook(std::function<void(const TShellRequest&)> hook);
