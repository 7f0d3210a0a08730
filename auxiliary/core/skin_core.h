// The main window's skin as plain data: the label colours file, the
// backdrop's gradient and the file names of a button's forms and masks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace auxiliary {

struct Rgb
{
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// "aux-colors.txt": up to six lines, each a decimal number: red, green and
// blue of the shadow colour, then of the label colour, each modulo 256.
// Missing or unreadable lines count as 0.
struct LabelColours
{
    Rgb shadow;
    Rgb label;
    bool operator==(const LabelColours&) const = default;
};
LabelColours ParseLabelColours(std::string_view text);

// The backdrop's gradient when there is no picture: pixel column i of a
// bitmap `width` pixels wide.
Rgb GradientColour(int i, int width);

// Skin bitmap names: the hover form adds "-m" before the extension, the
// pressed form "-d"; a mask adds "-mask" before the extension of its file.
std::string HoverBitmapName(std::string_view file);
std::string PressedBitmapName(std::string_view file);
std::string MaskBitmapName(std::string_view file);

// Where the parts of a bitmap file ("BM", an info header of 40 bytes or more,
// uncompressed or with bit fields, 1 to 32 bits a pixel) lie, after checking
// that every part lies inside the file; `usable` is false for anything else
// (truncated, not a bitmap, sizes no screen shows).
struct BitmapFileLayout
{
    bool usable = false;
    int width = 0, height = 0; // height as stored: negative for top-down rows
    size_t infoOffset = 14;    // the BITMAPINFO: header, then masks and palette
    size_t pixelsOffset = 0;
    size_t pixelBytes = 0;
};
BitmapFileLayout CheckBitmapFile(std::string_view bytes);

} // namespace auxiliary
