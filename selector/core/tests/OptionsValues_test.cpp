#include "core/OptionsValues.h"

#include <gtest/gtest.h>

using namespace cb;

TEST(OptionsValues, BufferSizesMapToTrackBarPositionsAndBack)
{
    struct Case
    {
        int stored;   // BufferSize in the settings
        int position; // what the track bar shows
        int written;  // what OK writes back
    };
    const Case cases[] = {
        {32, 0, 32},     {64, 1, 64},     {128, 2, 128},     {256, 3, 256}, {512, 4, 512},
        {1024, 5, 1024}, {2048, 6, 2048}, {100, 5, 1024},    {0, 5, 1024},  {-32, 5, 1024},
        {4096, 5, 1024}, {33, 5, 1024},   {131072, 5, 1024},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BufferSizePosition(c.stored), c.position) << "stored " << c.stored;
        EXPECT_EQ(BufferSizeAtPosition(BufferSizePosition(c.stored)), c.written) << "stored " << c.stored;
    }
    // Positions the track bar cannot hold still give a size it offers.
    EXPECT_EQ(BufferSizeAtPosition(-1), 1024);
    EXPECT_EQ(BufferSizeAtPosition(7), 1024);
}

TEST(OptionsValues, BarAlignmentsMapToListItemsAndBack)
{
    struct Case
    {
        int stored;
        int item;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {100, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(BarAlignItem(c.stored), c.item) << "stored " << c.stored;
        EXPECT_EQ(BarAlignOfItem(BarAlignItem(c.stored)), c.item) << "stored " << c.stored;
    }
    EXPECT_EQ(BarAlignOfItem(-1), 0); // CB_ERR: nothing selected
    EXPECT_EQ(BarAlignOfItem(3), 0);
}
