// Where the main window opens: the stored outer rectangle, made usable on the
// monitors there are now.
#pragma once

#include <vector>

namespace cb {

// A rectangle in screen pixels; right and bottom lie just outside it.
struct TScreenRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const TScreenRect& a, const TScreenRect& b)
    {
        return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
    }
};

// The rectangle to open a window at, from the stored one and the monitors'
// work areas (screen coordinates):
// - a width or height below the minimum (negative ones too) becomes the minimum;
// - a size larger than the chosen work area shrinks to it;
// - the chosen work area is the one that shows most of the window, or, when
//   none shows at least `grip` pixels of it across and down, the nearest one;
// - a window no work area shows that much of, or one that had to shrink, is
//   moved the least distance that puts it wholly on the chosen work area.
// A window that is visible enough keeps its place and size, even partly off
// the screen, as the player left it. Without work areas the stored place
// stays, with the minimum size applied.
TScreenRect PlaceOnWorkAreas(const TScreenRect& stored, int minWidth, int minHeight, int grip,
                             const std::vector<TScreenRect>& workAreas);

} // namespace cb
