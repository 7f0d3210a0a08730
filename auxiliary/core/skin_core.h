// The main window's skin as plain data: the label colours file, the
// backdrop's gradient and the file names of a button's forms and masks.
#pragma once

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

} // namespace auxiliary
