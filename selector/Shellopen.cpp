#include "Shellopen.h"

#include <shellapi.h>

namespace {
std::function<void(const TShellRequest&)> g_hook;
}

void ShellOpen(const TShellRequest& request)
{
    if (g_hook) {
        g_hook(request);
        return;
    }
    auto text = [](const std::string& s) { return s.c_str(); };
    ShellExecuteA(request.owner, text(request.verb), text(request.file), text(request.parameters),
                  text(request.directory), request.show);
}

void SetShellHook(std::function<void(const TShellRequest&)> hook)
{
    g_hook = std::move(hook);
}
