// Pixel layouts for dialogs whose places are given in pixels rather than
// dialog units: the client area is sized and each control moved after the
// dialog manager has made them.
#pragma once

#include <windows.h>

#include <cstddef>

struct TControlPlace
{
    int id;
    int left, top, width, height;
};

// Resizes the window so that its client area is `width` by `height` pixels.
inline void SetClientSize(HWND window, int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moves every control of `places` (client coordinates of `dialog`).
template <std::size_t N>
void PlaceControls(HWND dialog, const TControlPlace (&places)[N])
{
    for (const TControlPlace& p : places)
        MoveWindow(GetDlgItem(dialog, p.id), p.left, p.top, p.width, p.height, FALSE);
}
