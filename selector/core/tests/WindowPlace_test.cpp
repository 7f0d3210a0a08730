#include "core/WindowPlace.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace cb {
std::ostream& operator<<(std::ostream& out, const TScreenRect& r)
{
    return out << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}
} // namespace cb

namespace {

using cb::TScreenRect;

// One 1024 by 738 work area (a task bar below), and a second monitor of
// 800 by 600 to its right, 100 pixels lower.
const TScreenRect kPrimary{0, 0, 1024, 738};
const TScreenRect kRight{1024, 100, 1824, 700};

TEST(WindowPlace, AStoredPlaceThatIsUsableStaysAndOneNoMonitorShowsMovesOntoTheNearest)
{
    struct Case
    {
        const char* what;
        TScreenRect stored;
        TScreenRect expected;
    };
    const Case cases[] = {
        {"on the screen", {40, 30, 540, 370}, {40, 30, 540, 370}},
        {"partly off to the left, enough shown", {-300, 30, 200, 370}, {-300, 30, 200, 370}},
        {"partly below, enough shown", {40, 600, 540, 940}, {40, 600, 540, 940}},
        {"on the second monitor", {1200, 200, 1700, 540}, {1200, 200, 1700, 540}},
        {"negative width and height", {100, 80, 50, 20}, {100, 80, 570, 392}},
        {"zero size", {0, 0, 0, 0}, {0, 0, 470, 312}},
        {"smaller than the minimum", {10, 10, 110, 60}, {10, 10, 480, 322}},
        {"far off to the left", {-5000, 30, -4500, 370}, {0, 30, 500, 370}},
        {"far off to the top", {40, -5000, 540, -4660}, {40, 0, 540, 340}},
        {"far off to the right", {9000, 300, 9500, 640}, {1324, 300, 1824, 640}},
        {"far off below", {40, 9000, 540, 9340}, {40, 398, 540, 738}},
        // the first monitor's corner is nearer than the second's lower edge
        {"far off below both monitors", {1300, 9000, 1800, 9340}, {524, 398, 1024, 738}},
        {"just below the second monitor", {1300, 760, 1800, 1100}, {1300, 360, 1800, 700}},
        {"only a sliver shown at the right edge", {1820, 200, 2320, 540}, {1324, 200, 1824, 540}},
        {"only a sliver shown at the top", {40, -335, 540, 5}, {40, 0, 540, 340}},
        {"huge", {0, 0, 100000, 100000}, {0, 0, 1024, 738}},
        {"huge and negative", {-100000, -100000, 100000, 100000}, {0, 0, 1024, 738}},
        {"the whole 32-bit range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 1024, 738}},
        {"the edges swapped at the range's ends",
         {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
         {1354, 388, 1824, 700}},
        {"between the monitors' heights, off to the right", {3000, 0, 3500, 50}, {1324, 100, 1824, 412}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cb::PlaceOnWorkAreas(c.stored, 470, 312, 32, {kPrimary, kRight}), c.expected) << c.what;
}

TEST(WindowPlace, WithoutWorkAreasOnlyTheMinimumSizeApplies)
{
    EXPECT_EQ(cb::PlaceOnWorkAreas({-5000, 30, -5100, 370}, 470, 312, 32, {}),
              (TScreenRect{-5000, 30, -4530, 370}));
    EXPECT_EQ(cb::PlaceOnWorkAreas({INT_MAX - 10, 0, INT_MAX - 20, 0}, 470, 312, 32, {}),
              (TScreenRect{INT_MAX - 10, 0, INT_MAX, 312}));
}

} // namespace
