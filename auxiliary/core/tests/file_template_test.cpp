// File-name templates: the two forms, expansion with its character rules,
// the editor's example line, checks and history.
#include "file_template.h"
#include "template_history.h"
#include "track_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace auxiliary;

struct Track
{
    const char* artist = "";
    const char* title = "";
    const char* album = "";
    const char* fileName = "";
    int16_t year = 0;
    uint32_t lengthMs = 0;
    uint8_t trackNumber = 0;

    TrackRecord Record() const
    {
        TrackRecord r{};
        SetField(r.artist, artist);
        SetField(r.title, title);
        SetField(r.album, album);
        SetField(r.fileName, fileName);
        r.year = year;
        r.lengthMs = lengthMs;
        r.trackNumber = trackNumber;
        return r;
    }
};

TEST(AuxTemplateForms, ConvertElementsInEitherDirectionWithoutRegardToCase)
{
    struct Case
    {
        bool toPercent;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {false, "%a - %t", "[artist] - [track]"},
        {true, "[artist] - [track]", "%A - %T"},
        {true, "[Track Number XX]", "%RR"},
        {true, "[ARTIST]\\[Album]\\[track NUMBER xxx] [Genre] [Year] [Length] [UNIQUE] [Track]",
         "%A\\%L\\%RRR %G %Y %H %U %T"},
        {true, "[track number][track number x][track number xxxxx]",
         "%R[track number x][track number xxxxx]"},
        {false, "%A%T%L%G%RRRR%RRR%RR%R%Y%H%U",
         "[artist][track][album][genre][track number xxxx][track number xxx][track number xx][track number]"
         "[year][length][unique]"},
        {false, "%rrrrr", "[track number xxxx]r"},
        {false, "%%a %Q 100%", "%[artist] %Q 100%"},
        {true, "[artist]^ [year", "%A^ [year"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(c.toPercent ? ToPercentForm(c.in) : ToDisplayForm(c.in), c.out);
    }
}

TEST(AuxTemplateForms, InPlaceConversionStaysInItsBufferAndLeavesOutAnElementThatDoesNotFit)
{
    // 40 artist codes show as 320 characters: only 32 whole elements fit in 259.
    char text[260] = {};
    for (int i = 0; i < 40; ++i)
        std::strcat(text, "%A");
    ToDisplayForm(text, sizeof text);
    std::string expected;
    for (int i = 0; i < 32; ++i)
        expected += "[artist]";
    EXPECT_EQ(std::string(text), expected);
    ToPercentForm(text, sizeof text);
    std::string codes;
    for (int i = 0; i < 32; ++i)
        codes += "%A";
    EXPECT_EQ(std::string(text), codes);

    // A small buffer: the text is cut to what fits, terminator included.
    char small[8] = "%t%a";
    ToDisplayForm(small, sizeof small);
    EXPECT_STREQ(small, "[track]");
}

TEST(AuxTemplateExpansion, ValuesFollowTheNameRules)
{
    struct Case
    {
        const char* name;
        const char* tmpl;
        Track track;
        const char* genre;
        std::string expected;
    };
    const Case cases[] = {
        {"characters that no name may hold are replaced",
         "%T",
         {.title = "AC/DC: Live?"},
         "",
         "AC-DC; Live\xBF"},
        {"quotes, angles, stars and bars",
         "%A %G",
         {.artist = "Say \"Hi\""},
         "<Rock>|*\\",
         "Say 'Hi' \xABRock\xBB---"},
        {"the final dot of a value goes", "%A", {.artist = "R.E.M."}, "", "R.E.M"},
        {"dots first, then blanks", "%A|%G", {.artist = "  Tail.. "}, "Pop..", "Tail..|Pop"},
        {"an empty name is filled from the file name field",
         "%A\\%L\\",
         {.artist = "X", .album = "Y", .fileName = "Track03"},
         "",
         "X\\Y\\Track03"},
        {"a filled-in name loses folder and extension",
         "%A\\",
         {.artist = "X", .fileName = "C:\\Music\\Intro.mp3"},
         "",
         "X\\Intro"},
        {"a filled-in name follows the name rules too",
         "%A\\",
         {.artist = "X", .fileName = "What?: Now.wav"},
         "",
         "X\\What\xBF; Now"},
        {"a name that is only an extension counts as empty",
         "%A\\.x",
         {.artist = "X", .fileName = "T1"},
         "",
         "X\\.xT1"},
        {"blanks around a folder level are removed", " %A \\ %L", {.artist = "X", .album = "Y"}, "", "X\\ Y"},
        {"five R give four digits and a literal R", "%RRRRR", {.trackNumber = 7}, "", "0007R"},
        {"every R run in either case", "%R|%rr|%RrR|%rrrr", {.trackNumber = 7}, "", "7|07|007|0007"},
        {"track numbers wider than the run", "%RR", {.trackNumber = 255}, "", "255"},
        {"a caret keeps the first character",
         "%A^ - %t^^",
         {.artist = "Varnette", .title = "Rain"},
         "",
         "V - R^"},
        {"a caret on an empty value", "%A^x", {}, "", "x"},
        {"length in minutes and seconds", "%H|%h", {.lengthMs = 324000}, "", "5.24|5.24"},
        {"length below a minute", "%H", {.lengthMs = 61999}, "", "1.01"},
        {"year, also negative", "%Y %y", {.year = -5}, "", "-5 -5"},
        {"unknown letters vanish with their percent", "a%Qb%zc%", {}, "", "abc"},
        {"a percent before a non-letter is kept", "100%-%1", {}, "", "100%-%1"},
        {"a backslash inside a value is no folder", "%T", {.title = "A\\B"}, "", "A-B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryUniqueSource unique;
        EXPECT_EQ(ExpandTemplate(c.tmpl, c.track.Record(), c.genre, unique), c.expected);
        EXPECT_EQ(unique.Last(), 0u);
    }
    // Template and genre end at a terminator, as the C strings they come from.
    MemoryUniqueSource unique;
    EXPECT_EQ(ExpandTemplate(std::string_view("%G\0%G", 5), Track{}.Record(), std::string_view("Pop\0?", 5),
                             unique),
              "Pop");
}

TEST(AuxTemplateExpansion, EveryUniqueElementAdvancesTheCounter)
{
    MemoryUniqueSource unique(41);
    EXPECT_EQ(ExpandTemplate("%U-%u^", Track{}.Record(), "", unique), "00000042-0");
    EXPECT_EQ(unique.Last(), 43u);
    EXPECT_EQ(ExampleLine("[unique]", unique), "Example: 00000044");
    EXPECT_EQ(unique.Last(), 44u);
}

TEST(AuxTemplateExpansion, LongInputIsCutAt250Characters)
{
    const std::string artist(99, 'a');
    const std::string x300(300, 'x');
    struct Case
    {
        std::string tmpl;
        std::string whole; // the expansion before the cut
    };
    const Case cases[] = {
        {"%A%A%A", artist + artist + artist},
        {"%A%A", artist + artist},
        {"%A%T%L" + x300 + "\\%A", artist + x300 + "\\" + artist},
        {std::string(5000, '%'), std::string(4999, '%')},
        {std::string(251, 'y'), std::string(251, 'y')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmpl.substr(0, 20));
        MemoryUniqueSource unique;
        const std::string out = ExpandTemplate(c.tmpl, Track{.artist = artist.c_str()}.Record(), "", unique);
        EXPECT_EQ(out, c.whole.substr(0, 250));
    }
    // Fields without a terminator are read to their end and no further.
    TrackRecord unterminated{};
    std::memset(unterminated.artist, 'z', sizeof unterminated.artist);
    std::memset(unterminated.title, 'q', sizeof unterminated.title);
    MemoryUniqueSource unique;
    EXPECT_EQ(ExpandTemplate("%A", unterminated, "", unique), std::string(100, 'z'));
}

TEST(AuxTemplateEditor, ExampleLineShowsTheSampleTrack)
{
    struct Case
    {
        const char* display;
        const char* line;
    };
    const Case cases[] = {
        {"[artist] - [track]", "Example: Varnette - Rain"},
        {"[length]", "Example: 5.24"},
        {"[Artist]\\[album]\\[track number xx] [genre] [year]", "Example: Varnette\\Glasshouse\\10 Pop 1992"},
        {"[artist]^[track number xxxx]", "Example: V0010"},
        {"", "Example: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        MemoryUniqueSource unique;
        EXPECT_EQ(ExampleLine(c.display, unique), c.line);
    }
}

TEST(AuxTemplateEditor, ArrangementMustTellTracksApart)
{
    struct Case
    {
        const char* display;
        bool valid;
    };
    const Case cases[] = {
        {"[genre] [year]", false},
        {"[artist]", true},
        {"[genre]\\[year]\\[length]", true},
        {"[track number xx]", true},
        {"[track number xxxx]", true},
        {"[unique]", true},
        {"[Artist] - [TRACK]", false},
        {"", false},
        {"^", false},
        {"[album]^", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        EXPECT_EQ(IsValidArrangement(c.display), c.valid);
    }
    // Every arrangement offered as predefined is a valid one.
    for (const char* predefined : kPredefinedTemplates)
        EXPECT_TRUE(IsValidArrangement(predefined)) << predefined;
}

TEST(AuxTemplateEditor, TypedCharactersThatNoNameMayHoldAreRemoved)
{
    struct Case
    {
        std::string typed;
        std::string kept;
        bool removed;
    };
    const Case cases[] = {
        {"a\"b*c/d:e<f>g?h|i\\j", "abcdefghi\\j", true},
        {"[artist] - [track]", "[artist] - [track]", false},
        {"???", "", true},
        {std::string("x\0y", 3), std::string("x\0y", 3), false},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(RemoveForbiddenCharacters(c.typed), c.removed);
        EXPECT_EQ(c.typed, c.kept);
    }
}

TEST(AuxTemplateEditor, EveryListedElementIsKnownToBothForms)
{
    for (const TemplateElement& e : kTemplateElements) {
        SCOPED_TRACE(e.element);
        const std::string percent = ToPercentForm(e.element);
        if (std::string(e.element) == "^") {
            EXPECT_EQ(percent, "^");
            continue;
        }
        EXPECT_EQ(percent[0], '%');
        EXPECT_EQ(ToDisplayForm(percent), e.element);
    }
}

TEST(AuxTemplateHistory, NewestFirstTenAtMostNoExactDuplicates)
{
    using List = std::vector<std::string>;
    List full;
    for (int i = 0; i < 10; ++i)
        full.push_back("e" + std::to_string(i));
    struct Case
    {
        const char* name;
        List before;
        std::string added;
        List after;
    };
    const Case cases[] = {
        {"into an empty history", {}, "%A", {"%A"}},
        {"an existing entry moves to the top", {"a", "b", "c"}, "b", {"b", "a", "c"}},
        {"the eleventh is dropped",
         full,
         "new",
         {"new", "e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8"}},
        {"a full history that holds the text keeps ten",
         full,
         "e5",
         {"e5", "e0", "e1", "e2", "e3", "e4", "e6", "e7", "e8", "e9"}},
        {"duplicates already there collapse", {"a", "b", "a"}, "a", {"a", "b"}},
        {"case counts", {"[Artist]", "b"}, "[artist]", {"[artist]", "[Artist]", "b"}},
        {"long texts are kept to 259 characters", {}, std::string(300, 'x'), {std::string(259, 'x')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List entries = c.before;
        AddToHistory(entries, c.added);
        EXPECT_EQ(entries, c.after);
    }
}

TEST(AuxTemplateHistory, MissingOrEmptyStoredPlacesAreSkippedAndTheEntriesAfterThemKept)
{
    using Slots = std::vector<std::optional<std::string>>;
    using List = std::vector<std::string>;
    const std::nullopt_t missing = std::nullopt;
    struct Case
    {
        const char* name;
        Slots stored;
        List history;
    };
    const Case cases[] = {
        {"nothing stored", {}, {}},
        {"every place missing", Slots(10, missing), {}},
        {"every place empty", Slots(10, ""), {}},
        {"no gap", {"a", "b", "c"}, {"a", "b", "c"}},
        {"missing at the start", {missing, "a", "b"}, {"a", "b"}},
        {"empty at the start", {"", "a", "b"}, {"a", "b"}},
        {"missing in the middle", {"a", missing, "b", "c"}, {"a", "b", "c"}},
        {"empty in the middle", {"a", "", "b", "c"}, {"a", "b", "c"}},
        {"missing at the end", {"a", "b", missing}, {"a", "b"}},
        {"empty at the end", {"a", "b", ""}, {"a", "b"}},
        {"gaps everywhere",
         {"", "a", missing, missing, "b", "", "c", missing, "d", ""},
         {"a", "b", "c", "d"}},
        {"only the last of ten places",
         {missing, missing, missing, "", "", missing, "", missing, "", "j"},
         {"j"}},
        {"a blank is an entry", {" ", missing, "b"}, {" ", "b"}},
        {"stored duplicates stay as stored", {"a", missing, "a"}, {"a", "a"}},
        {"places past the tenth are not read",
         {"a", missing, "c", "d", "e", "f", "g", "h", "i", "j", "k"},
         {"a", "c", "d", "e", "f", "g", "h", "i", "j"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HistoryFromStored(c.stored), c.history);
    }
}

TEST(AuxTemplateHistory, AnAcceptAfterAGapKeepsEveryStoredEntry)
{
    using Slots = std::vector<std::optional<std::string>>;
    using List = std::vector<std::string>;
    const std::nullopt_t missing = std::nullopt;
    struct Case
    {
        const char* name;
        Slots stored;
        std::string accepted;
        List after;
    };
    const Case cases[] = {
        {"a new entry over a gap at the start", {missing, "a", "b"}, "new", {"new", "a", "b"}},
        {"a new entry over a gap in the middle", {"a", "", "b", "c"}, "new", {"new", "a", "b", "c"}},
        {"a new entry over a gap at the end", {"a", "b", missing}, "new", {"new", "a", "b"}},
        {"an entry after the gap moves to the top", {"a", missing, "b", "c"}, "c", {"c", "a", "b"}},
        {"an entry before the gap moves to the top", {"a", "b", "", "c"}, "b", {"b", "a", "c"}},
        {"the only entry, behind a gap", {missing, missing, "a"}, "a", {"a"}},
        {"the accepted text leaves every place it held", {"a", missing, "a", "", "b", "a"}, "a", {"a", "b"}},
        {"nine entries around a gap and a new one make ten",
         {"e0", "e1", "e2", "e3", missing, "e5", "e6", "e7", "e8", "e9"},
         "new",
         {"new", "e0", "e1", "e2", "e3", "e5", "e6", "e7", "e8", "e9"}},
        {"the entry of the last place moves over a gap to the top",
         {"e0", "", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e9"},
         "e9",
         {"e9", "e0", "e2", "e3", "e4", "e5", "e6", "e7", "e8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List entries = HistoryFromStored(c.stored);
        AddToHistory(entries, c.accepted);
        EXPECT_EQ(entries, c.after);
    }
}

TEST(AuxTrackRecordLayout, FieldsAreCutToTheirSizeAndTheRestIsZero)
{
    TrackRecord r{};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&r);
    for (size_t i = 0; i < sizeof r; ++i)
        ASSERT_EQ(bytes[i], 0u) << i;
    const std::string longText(300, 'n');
    SetField(r.fileName, longText);
    EXPECT_EQ(FieldText(r.fileName), std::string(259, 'n'));
    SetField(r.title, "Rain");
    EXPECT_EQ(FieldText(r.title), "Rain");
    EXPECT_EQ(bytes[100], 'R');
    EXPECT_EQ(bytes[104], 0u);
    SetField(r.title, "");
    for (size_t i = 100; i < 200; ++i)
        ASSERT_EQ(bytes[i], 0u) << i;
    r.trackNumber = 4;
    r.year = 1980;
    EXPECT_EQ(bytes[644], 4u);
    EXPECT_EQ(bytes[610] | bytes[611] << 8, 1980);
}

} // namespace
