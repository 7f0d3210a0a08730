#include "skin_core.h"

#include "leading_number.h"

namespace auxiliary {

namespace {

std::string WithSuffix(std::string_view file, const char* suffix)
{
    const size_t dot = file.rfind('.');
    const size_t slash = file.find_last_of("\\/");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(file) + suffix;
    return std::string(file.substr(0, dot)) + suffix + std::string(file.substr(dot));
}

} // namespace

LabelColours ParseLabelColours(std::string_view text)
{
    int values[6] = {};
    size_t at = 0;
    for (int line = 0; line < 6 && at < text.size(); ++line) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const long value = LeadingNumber(text.substr(at, end - at)) % 256;
        values[line] = static_cast<int>(value < 0 ? value + 256 : value);
        at = end + 1;
    }
    auto colour = [&](int first) {
        return Rgb{static_cast<uint8_t>(values[first]), static_cast<uint8_t>(values[first + 1]),
                   static_cast<uint8_t>(values[first + 2])};
    };
    return {colour(0), colour(3)};
}

Rgb GradientColour(int i, int width)
{
    if (width <= 0)
        return {252, 253, 255};
    const long long column = i;
    return {static_cast<uint8_t>(252 - 16 * column / width), static_cast<uint8_t>(253 - 17 * column / width),
            static_cast<uint8_t>(255 - 19 * column / width)};
}

std::string HoverBitmapName(std::string_view file)
{
    return WithSuffix(file, "-m");
}

std::string PressedBitmapName(std::string_view file)
{
    return WithSuffix(file, "-d");
}

std::string MaskBitmapName(std::string_view file)
{
    return WithSuffix(file, "-mask");
}

} // namespace auxiliary
