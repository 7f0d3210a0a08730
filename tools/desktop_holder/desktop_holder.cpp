// Keeps the Wine desktop of a prefix in use for a whole test run.
//
// Wine ends a prefix's desktop process once no program uses the desktop, and
// starts it again for the next program that does. A test program that exits
// while the desktop is going away can wait in its exit for minutes, until
// another program attaches to the desktop. This program attaches to the
// desktop and then only waits, without a window, so the desktop stays up
// from the start of a run to its end (cmake/wine-session.sh starts it and
// stops it with the wine server).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GetDesktopWindow();
    // A message queue of its own, so the desktop counts this thread as a user.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(INFINITE);
    return 0;
}
