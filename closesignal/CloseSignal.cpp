// CloseSignal: tells the suite's running programs to close.
//
// The suite's programs watch the manual-reset event "evttvClose". This
// program signals it and exits; it has no window, no message loop, reads no
// arguments and reports nothing. A manual-reset event stays signalled until
// a holder resets it, so every watcher sees the signal, not only the first.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Creates the event non-signalled, or opens the existing one, whose reset
    // mode and state are left as they are.
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "evttvClose");
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }
    // The handle is closed already; the process simply lives on a little.
    Sleep(5000);
    return 0;
}
