// The skin's data: the colours file, the gradient and the file names of a
// button's forms and masks.
#include "skin_core.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace auxiliary;

TEST(SkinCore, ColoursFileGivesShadowThenLabelColourModulo256WithMissingLinesAsZero)
{
    struct Case
    {
        const char* text;
        LabelColours colours;
    } cases[] = {
        {"255\r\n255\r\n255\r\n24\r\n40\r\n72\r\n", {{255, 255, 255}, {24, 40, 72}}},
        {"1\n2\n3\n4\n5\n6", {{1, 2, 3}, {4, 5, 6}}},
        {"256\r\n300\r\n-1\r\n512\r\n0\r\n7\r\n", {{0, 44, 255}, {0, 0, 7}}},
        {"10\r\n20\r\n", {{10, 20, 0}, {0, 0, 0}}},
        {"", {{0, 0, 0}, {0, 0, 0}}},
        {"x\r\n\r\n30\r\n40\r\n50\r\n60\r\n70\r\n", {{0, 0, 30}, {40, 50, 60}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseLabelColours(c.text), c.colours) << c.text;
}

TEST(SkinCore, GradientFadesFromNearWhiteToTheRight)
{
    struct Case
    {
        int i, width;
        Rgb colour;
    } cases[] = {
        {0, 1024, {252, 253, 255}},  {1023, 1024, {237, 237, 237}}, {512, 1024, {244, 245, 246}},
        {63, 1024, {252, 252, 254}}, {64, 1024, {251, 252, 254}},   {99, 100, {237, 237, 237}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GradientColour(c.i, c.width), c.colour) << c.i << "/" << c.width;
}

TEST(SkinCore, SkinFormsAndMasksAddTheirSuffixBeforeTheExtension)
{
    EXPECT_EQ(HoverBitmapName("C:\\P\\Compression\\skin\\aux-options.bmp"),
              "C:\\P\\Compression\\skin\\aux-options-m.bmp");
    EXPECT_EQ(PressedBitmapName("C:\\P\\help\\Help.bmp"), "C:\\P\\help\\Help-d.bmp");
    EXPECT_EQ(MaskBitmapName("C:\\P\\help\\Help-d.bmp"), "C:\\P\\help\\Help-d-mask.bmp");
    EXPECT_EQ(MaskBitmapName("C:\\P.D\\noext"), "C:\\P.D\\noext-mask");
}

// A bitmap file: the file header, a 40-byte info header, `palette` colours,
// then `pixelBytes` bytes of rows.
std::string BitmapFile(int width, int height, int bits, uint32_t compression = 0, int palette = 0,
                       size_t pixelBytes = 0)
{
    auto put = [](std::string& s, size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            s[at + i] = static_cast<char>(value >> (8 * i));
    };
    const size_t offset = 14 + 40 + 4 * static_cast<size_t>(palette);
    std::string file(offset + pixelBytes, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put(file, 2, static_cast<uint32_t>(file.size()), 4);
    put(file, 10, static_cast<uint32_t>(offset), 4);
    put(file, 14, 40, 4);
    put(file, 18, static_cast<uint32_t>(width), 4);
    put(file, 22, static_cast<uint32_t>(height), 4);
    put(file, 26, 1, 2);
    put(file, 28, static_cast<uint32_t>(bits), 2);
    put(file, 30, compression, 4);
    return file;
}

TEST(SkinCore, BitmapFilesAreUsableOnlyWhenEveryPartLiesInsideTheFile)
{
    // 43 by 38 pixels of 24 bits: rows of 132 bytes (129 rounded up to 4).
    const std::string whole = BitmapFile(43, 38, 24, 0, 0, 132 * 38);
    std::string notBitmap = whole;
    notBitmap[0] = 'X';
    std::string offsetPastEnd = whole;
    offsetPastEnd[10] = static_cast<char>(0xFF);
    offsetPastEnd[11] = static_cast<char>(0xFF);
    struct Case
    {
        const char* what;
        std::string bytes;
        bool usable;
        size_t pixelBytes;
    } cases[] = {
        {"whole 24-bit", whole, true, 132 * 38},
        {"top-down rows", BitmapFile(4, -2, 32, 0, 0, 32), true, 32},
        {"8 bits with its 256 colours", BitmapFile(3, 3, 8, 0, 256, 12), true, 12},
        {"32 bits with bit fields after a larger header", BitmapFile(2, 2, 32, 3, 3, 16), true, 16},
        {"one row short", whole.substr(0, whole.size() - 1), false, 0},
        {"header only", whole.substr(0, 54), false, 0},
        {"40 bytes", whole.substr(0, 40), false, 0},
        {"nothing", "", false, 0},
        {"not BM", notBitmap, false, 0},
        {"pixels placed past the end", offsetPastEnd, false, 0},
        {"8 bits without its colours", BitmapFile(3, 3, 8, 0, 0, 12), false, 0},
        {"no width", BitmapFile(0, 3, 24, 0, 0, 64), false, 0},
        {"no height", BitmapFile(3, 0, 24, 0, 0, 64), false, 0},
        {"a side of 100000 pixels", BitmapFile(100000, 1, 1, 0, 2, 12504), false, 0},
        {"7 bits a pixel", BitmapFile(2, 2, 7, 0, 0, 64), false, 0},
        {"run-length compressed", BitmapFile(2, 2, 8, 1, 256, 64), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BitmapFileLayout layout = CheckBitmapFile(c.bytes);
        EXPECT_EQ(layout.usable, c.usable);
        if (c.usable) {
            EXPECT_EQ(layout.pixelBytes, c.pixelBytes);
            EXPECT_LE(layout.pixelsOffset + layout.pixelBytes, c.bytes.size());
        }
    }
}

} // namespace
