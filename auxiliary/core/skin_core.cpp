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

uint32_t Little(std::string_view bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

} // namespace

BitmapFileLayout CheckBitmapFile(std::string_view bytes)
{
    constexpr size_t kFileHeader = 14, kInfoHeader = 40;
    constexpr int kMostPixels = 16384; // a side no skin needs
    BitmapFileLayout layout;
    if (bytes.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
        return layout;
    const uint32_t pixelsOffset = Little(bytes, 10, 4);
    const uint32_t infoSize = Little(bytes, 14, 4);
    const int32_t width = static_cast<int32_t>(Little(bytes, 18, 4));
    const int32_t height = static_cast<int32_t>(Little(bytes, 22, 4));
    const uint32_t planes = Little(bytes, 26, 2);
    const uint32_t bits = Little(bytes, 28, 2);
    const uint32_t compression = Little(bytes, 30, 4);
    const uint32_t coloursUsed = Little(bytes, 46, 4);
    if (infoSize < kInfoHeader || infoSize > bytes.size() - kFileHeader || planes != 1)
        return layout;
    if (width <= 0 || width > kMostPixels || height == 0 || height < -kMostPixels || height > kMostPixels)
        return layout;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return layout;
    constexpr uint32_t kRgb = 0, kBitFields = 3;
    if (compression != kRgb && !(compression == kBitFields && (bits == 16 || bits == 32)))
        return layout;
    const uint64_t masks = compression == kBitFields && infoSize == kInfoHeader ? 12 : 0;
    const uint64_t paletteEntries = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) : coloursUsed;
    if (paletteEntries > 256)
        return layout;
    const uint64_t infoEnd = kFileHeader + infoSize + masks + paletteEntries * 4;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = stride * rows;
    if (pixelsOffset < infoEnd || pixelsOffset + pixelBytes > bytes.size())
        return layout;
    layout.usable = true;
    layout.width = width;
    layout.height = height;
    layout.pixelsOffset = pixelsOffset;
    layout.pixelBytes = static_cast<size_t>(pixelBytes);
    return layout;
}

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
