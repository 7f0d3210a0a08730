// Pixel layouts for dialogs whose places are given in pixels rather than
// dialog units: the client area is sized and each control moved after the
// dialog manager has made them.
//
// Places are written as they are on a 96-dpi screen. The program is
// system-DPI aware (its manifest says so), so Windows does not stretch it:
// every place goes through Scaled, which turns design pixels into pixels of
// the screen's DPI. At 96 dpi a place is its design value exactly.
#pragma once

#include <windows.h>

#include <cstddef>

// The screen's DPI (LOGPIXELSY of the screen), read at the first call: a
// system-aware program's DPI stays what it was at its start. 96 when the
// screen cannot be asked.
inline int ScreenDpi()
{
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

// A length of the 96-dpi design in pixels of the screen, rounded to nearest.
inline int Scaled(int designPixels)
{
    return MulDiv(designPixels, ScreenDpi(), 96);
}

struct TControlPlace
{
    int id;
    int left, top, width, height;
};

// Resizes the window so that its client area is `width` by `height` design
// pixels.
inline void SetClientSize(HWND window, int width, int height)
{
    RECT frame = {0, 0, Scaled(width), Scaled(height)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moves one control to a place in design pixels (client coordinates of its
// dialog).
inline void PlaceControl(HWND control, int left, int top, int width, int height)
{
    MoveWindow(control, Scaled(left), Scaled(top), Scaled(width), Scaled(height), FALSE);
}

// Moves every control of `places` (design pixels, client coordinates of `dialog`).
template <std::size_t N>
void PlaceControls(HWND dialog, const TControlPlace (&places)[N])
{
    for (const TControlPlace& p : places)
        PlaceControl(GetDlgItem(dialog, p.id), p.left, p.top, p.width, p.height);
}
