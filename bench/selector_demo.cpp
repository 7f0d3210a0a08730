// Shows the status bar or the Script Setup window on the screen for a while,
// so that a person (or a screenshot) can look at them.
// Usage: selector_demo status [top|bottom] SECONDS | selector_demo script SECONDS
#include "Scriptunit.h"
#include "Statusunit.h"
#include "Tsettings.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
void Pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "status") == 0) {
        TSettings settings("unused.ini");
        settings.SetBarAlign(argc >= 4 && std::strcmp(argv[2], "bottom") == 0 ? 1 : 0);
        TStatusForm status(settings);
        status.ShowStatus("Current Sound: C:\\Sounds\\Announcements\\round start.wav");
        Pump(static_cast<DWORD>(std::atoi(argv[argc - 1]) * 1000));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "script") == 0) {
        TScriptForm form;
        form.Show(nullptr);
        Pump(static_cast<DWORD>(std::atoi(argv[2]) * 1000));
        return 0;
    }
    return 1;
}
