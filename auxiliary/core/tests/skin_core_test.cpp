// The skin's data: the colours file, the gradient and the file names of a
// button's forms and masks.
#include "skin_core.h"

#include <gtest/gtest.h>

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

} // namespace
