// Stand-in for the game's window, used by the end-to-end tests: a plain
// top-level window titled "Veltrane stand-in" (or the title given on the
// command line) that takes the keyboard focus and keeps it, so that a key
// pressed with xdotool arrives in a window of another program than Cuebinder,
// as it does while the player is in the game. It closes on WM_CLOSE.
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK GameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(dc, RGB(200, 200, 200));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, "game stand-in: holding the keyboard focus", -1, &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    std::string title = (commandLine && *commandLine) ? commandLine : "Veltrane stand-in";
    WNDCLASSA wc{};
    wc.lpfnWndProc = GameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "VeltraneStandIn";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                100, 400, 200, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
