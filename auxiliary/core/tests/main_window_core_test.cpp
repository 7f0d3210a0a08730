// The main window's arithmetic and data: genres, track names and counts, smart
// length texts both ways, screen scaling and the layout.
#include "main_window_core.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace auxiliary;

TEST(MainWindowCore, GenreTableHas126StandardNamesThenTwoUndefined)
{
    struct Case
    {
        size_t number;
        const char* name;
    } cases[] = {
        {0, "Blues"},        {9, "Metal"},
        {13, "Pop"},         {17, "Rock"},
        {40, "AlternRock"},  {67, "Psychadelic"},
        {79, "Hard Rock"},   {80, "Folk"},
        {85, "Bebob"},       {93, "Psychedelic Rock"},
        {123, "A capella"},  {124, "Euro-House"},
        {125, "Dance Hall"}, {126, "Undefined"},
        {127, "Undefined"},
    };
    ASSERT_EQ(kGenreCount, 128u);
    for (const Case& c : cases)
        EXPECT_STREQ(kGenres[c.number], c.name) << c.number;
    // Apart from the two "Undefined", every name is there once.
    std::set<std::string> names(kGenres, kGenres + 126);
    EXPECT_EQ(names.size(), 126u);
    EXPECT_EQ(names.count("Undefined"), 0u);
}

TEST(MainWindowCore, TrackNamesAndTypedTrackCounts)
{
    EXPECT_EQ(TrackName(1), "Track01");
    EXPECT_EQ(TrackName(20), "Track20");
    EXPECT_EQ(TrackName(99), "Track99");

    struct Case
    {
        const char* typed;
        int count;
    } cases[] = {
        {"1", 1},  {"7", 7},   {" 12", 12}, {"5 tracks", 5}, {"abc", 0},          {"", 0},
        {"-3", 0}, {"99", 99}, {"100", 99}, {"150", 99},     {"99999999999", 99}, {"0", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackCountFromText(c.typed), c.count) << c.typed;
}

TEST(MainWindowCore, YearListRunsFromTheCurrentYearDownTo1995)
{
    const std::vector<std::string> years = YearChoices(2026);
    ASSERT_EQ(years.size(), 32u);
    EXPECT_EQ(years.front(), "2026");
    EXPECT_EQ(years[1], "2025");
    EXPECT_EQ(years.back(), "1995");
    EXPECT_EQ(YearChoices(1995), std::vector<std::string>{"1995"});
    EXPECT_EQ(YearChoices(1990), std::vector<std::string>{"1990"});
}

TEST(MainWindowCore, SmartLengthEditsGiveStoredTextsAndStoredTextsFillTheEdits)
{
    struct ToText
    {
        const char* minutes;
        const char* seconds;
        const char* text;
    } toText[] = {
        {"3", "7", "3:07"}, {"0", "7", "7"},   {"", "7", "7"},      {"0", "0", ""},       {"", "", ""},
        {"2", "0", "2:00"}, {"2", "", "2:00"}, {"1", "75", "1:75"}, {"12", "5", "12:05"},
    };
    for (const ToText& c : toText)
        EXPECT_EQ(SmartLengthFromFields(c.minutes, c.seconds), c.text) << c.minutes << "|" << c.seconds;

    struct ToFields
    {
        const char* text;
        const char* minutes;
        const char* seconds;
    } toFields[] = {
        {"3:07", "3", "7"}, {"45", "", "45"},   {"", "", ""},       {"0:00", "", ""},
        {"0", "", ""},      {"2:00", "2", "0"}, {"0:30", "", "30"}, {"x", "", ""},
    };
    for (const ToFields& c : toFields) {
        const SmartLengthFields f = SmartLengthToFields(c.text);
        EXPECT_EQ(f.minutes, c.minutes) << c.text;
        EXPECT_EQ(f.seconds, c.seconds) << c.text;
    }
}

TEST(MainWindowCore, ScalingWidensHorizontalLengthsBySixPercentAndScalesVerticalOnesPlainly)
{
    struct Case
    {
        int dpi, length, x, y;
    } cases[] = {
        {120, 286, 378, 357}, {120, 7, 8, 8},   {120, 4, 5, 5},       {120, 45, 58, 56},
        {96, 286, 286, 286},  {96, 45, 45, 45}, {144, 100, 159, 150}, {72, 100, 79, 75},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleX(c.length, c.dpi), c.x) << c.dpi << " " << c.length;
        EXPECT_EQ(ScaleY(c.length, c.dpi), c.y) << c.dpi << " " << c.length;
    }
    EXPECT_EQ(HeaderHeight(96), 45);
    EXPECT_EQ(HeaderHeight(120), 58);
}

TEST(MainWindowCore, LayoutPutsTheListBelowBothBandsAndTheStatusBarAtTheBottom)
{
    struct Case
    {
        int width, height, dpi;
        Box list, frame, text;
    } cases[] = {
        {800, 600, 96, {7, 80, 786, 496}, {2, 580, 796, 18}, {6, 582, 200, 14}},
        // Above 96 dpi the status band grows with the text.
        {800, 600, 120, {7, 98, 786, 472}, {2, 575, 796, 22}, {6, 578, 265, 17}},
        {800, 600, 144, {7, 116, 786, 448}, {2, 570, 796, 27}, {6, 573, 318, 21}},
        {10, 50, 96, {7, 80, 0, 0}, {2, 30, 6, 18}, {6, 32, 200, 14}},
    };
    for (const Case& c : cases) {
        const MainLayout layout = LayoutMainWindow(c.width, c.height, c.dpi);
        EXPECT_EQ(layout.list, c.list) << c.width << "x" << c.height << "@" << c.dpi;
        EXPECT_EQ(layout.statusFrame, c.frame);
        EXPECT_EQ(layout.statusText, c.text);
    }
}

} // namespace
