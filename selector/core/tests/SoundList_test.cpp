#include "core/SoundList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace cb {
namespace {

TEST(SoundList, SizeTextRoundsAtHalfAKilobyte)
{
    struct Case
    {
        std::optional<std::uint32_t> size;
        const char* text;
    };
    const Case cases[] = {
        {std::nullopt, "0 KB"}, {0, "0 KB"},
        {512, "0 KB"},          {513, "1 KB"},
        {1024, "1 KB"},         {1536, "1 KB"},
        {1537, "2 KB"},         {2047, "2 KB"},
        {1048576, "1024 KB"},   {0xFFFFFFFFu, "4194304 KB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SizeText(c.size), c.text);
}

TEST(SoundList, ListTitleCases)
{
    struct Case
    {
        const char* file;
        const char* title;
    };
    const Case cases[] = {
        {"", "Untitled"},
        {"C:\\lists\\songs.qbl", "songs"},
        {"C:\\lists\\a.qbl.qbl", "a.qbl"},
        {"C:\\lists\\SONGS.QBL", "SONGS.QBL"},
        {"C:songs.qbl", "songs"},
        {"songs.qbl", "songs"},
        {"C:\\lists\\", "Untitled"},
        {"C:\\my.qbl.dir\\x", "x"},
        {"C:\\lists\\my.qblist", "myist"},
        {"C:\\lists\\.qbl", ""},
        {"Z:/work/forward/slash.qbl", "/work/forward/slash"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListTitle(c.file), c.title) << c.file;
}

TEST(SoundList, ValuesSplitAtTheFirstSemicolon)
{
    EXPECT_EQ(SoundKey(0), "Sound0");
    EXPECT_EQ(SoundKey(10), "Sound10");
    EXPECT_EQ(SoundValue("C:\\a.wav", "Ctrl+F1"), "C:\\a.wav;Ctrl+F1");
    EXPECT_EQ(SoundValue("C:\\a.wav", ""), "C:\\a.wav;");
    struct Case
    {
        const char* value;
        const char* file;
        const char* shortcut;
    };
    const Case cases[] = {
        {"C:\\a.wav;Ctrl+F1", "C:\\a.wav", "Ctrl+F1"},
        {"C:\\a.wav;", "C:\\a.wav", ""},
        {";", "", ""},
        {"Shift+A", "", "Shift+A"}, // no ';': the whole value is the shortcut
        {"C:\\x;y.wav;F2", "C:\\x", "y.wav;F2"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        TSoundValue v = ParseSoundValue(c.value);
        EXPECT_EQ(v.Filename, c.file) << c.value;
        EXPECT_EQ(v.ShortCutText, c.shortcut) << c.value;
    }
}

TEST(SoundList, CountValues)
{
    struct Case
    {
        const char* value;
        int count;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"3", 3},
        {"+3", 3},
        {"-3", 0},
        {"abc", 0},
        {"3x", 0},
        {" 3", 0},
        {"0x10", 16},
        {"0X1f", 31},
        {"0x", 0},
        {"16000", 16000},
        {"16001", 16000},
        {"99999999999999999999", 16000},
        {"-99999999999999999999", 0},
        {"0xFFFFFFFFFFFFFFFFFF", 16000},
        {"2147483648", 16000},
        {"+99999999999999999999", 16000},
        {"+0x10", 16},
        {"-0x10", 0},
        {"+-3", 0},
        {"-+3", 0},
        {"++3", 0},
        {"0x-10", 0},
        {"0x+10", 0},
        {"+0x-10", 0},
        {"0x-", 0},
        {"+-99999999999999999999", 0},
        {"-+99999999999999999999", 0},
        {"--99999999999999999999", 0},
        {"++99999999999999999999", 0},
        {"0x-FFFFFFFFFFFFFFFFFFFF", 0},
        {"0x+FFFFFFFFFFFFFFFFFFFF", 0},
        {"+0x-FFFFFFFFFFFFFFFFFFFF", 0},
        {"-0x-FFFFFFFFFFFFFFFFFFFF", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCount(c.value), c.count) << c.value;
}

TEST(SoundList, ASectionReadWholeAnswersAsEachKeyReadOnItsOwn)
{
    using namespace std::string_literals;
    const std::string longValue(3000, 'v');
    const TProfileSection section(
        "Sound0=a.wav;F2\0sound1=b.wav\0SOUND0=later;F3\0Sound2\0Sound3=\"q.wav;F4\"\0"
        "Sound4='x\0Sound5="s +
        longValue + "\0\0Sound6=after the end\0\0"s);
    struct Case
    {
        const char* key;
        std::string value;
    };
    const Case cases[] = {
        {"Sound0", "a.wav;F2"}, // the first of two equal names
        {"SOUND1", "b.wav"},    // names without regard to case
        {"Sound2", ""},         // a line without "="
        {"Sound3", "q.wav;F4"}, // a pair of quotes removed
        {"Sound4", "'x"},       // a lone quote kept
        {"Sound5", longValue.substr(0, 2047)},
        {"Sound6", ";"}, // behind the end of the block: missing
        {"Sound7", ";"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(section.Value(c.key, ";"), c.value) << c.key;
    EXPECT_EQ(TProfileSection("").Value("Sound0", ";"), ";");
}

TEST(HotKeyIds, GeneratorMatchesTheCRuntimeSequence)
{
    TRandom r;
    r.Seed(1);
    const int want[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int w : want)
        EXPECT_EQ(r.Next(), w);
#ifdef _WIN32
    // the Windows C runtime's own generator, which the program reproduces
    for (unsigned seed : {0u, 7u, 1765400000u}) {
        std::srand(seed);
        r.Seed(seed);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(r.Next(), std::rand());
    }
#endif
}

TEST(HotKeyIds, DrawnIdsAreUniqueInRangeAndFreshAfterReactivation)
{
    TSoundList list(50);
    const std::uint32_t now = 1765400000u;
    TRandom r;
    r.Seed(now);
    const std::int32_t first = r.Next() % 16000 + 1;
    for (auto& s : list)
        s.ID = NewHotKeyID(list, now); // all in the same second
    EXPECT_EQ(list[0].ID, first);
    std::set<std::int32_t> ids;
    for (auto& s : list) {
        EXPECT_GE(s.ID, 1);
        EXPECT_LE(s.ID, 16000);
        ids.insert(s.ID);
    }
    EXPECT_EQ(ids.size(), list.size());
    // a second activation in the same second: every entry gets a new number
    std::vector<std::int32_t> before;
    for (auto& s : list)
        before.push_back(s.ID);
    for (auto& s : list)
        s.ID = NewHotKeyID(list, now);
    ids.clear();
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_NE(list[i].ID, before[i]) << i;
        ids.insert(list[i].ID);
    }
    EXPECT_EQ(ids.size(), list.size());
}

TEST(HotKeyIds, IndexFromIdAndModifiers)
{
    TSoundList list(3);
    list[0].ID = 7;
    list[1].ID = 9;
    list[2].ID = 7;
    EXPECT_EQ(IndexFromID(list, 7), 0);
    EXPECT_EQ(IndexFromID(list, 9), 1);
    EXPECT_EQ(IndexFromID(list, 8), -1);
    EXPECT_EQ(IndexFromID({}, 0), -1);
    EXPECT_EQ(HotKeyModifiers(0x0041), 0u);
    EXPECT_EQ(HotKeyModifiers(0x2041), 4u);
    EXPECT_EQ(HotKeyModifiers(0x4041), 2u);
    EXPECT_EQ(HotKeyModifiers(0x8041), 1u);
    EXPECT_EQ(HotKeyModifiers(0xE041), 7u);
    EXPECT_EQ(HotKeyKey(0xE041), 0x41u);
}

TEST(SoundList, Texts)
{
    EXPECT_EQ(UnsavedChangesText("Untitled"),
              "The data in the Untitled file has changed.\n\nDo you want to save the changes?");
    EXPECT_EQ(DuplicateShortcutText(1, "C:\\b.wav", "Ctrl+F1"),
              "Index: 1\nFilename: C:\\b.wav\n\nThere was a problem. A duplicate shortcut (Ctrl+F1) "
              "was detected. Please make sure there are no duplicate shortcuts in your sounds list. "
              "Also make sure that no other programs are using shortcuts which you have chosen for "
              "your sounds.");
    EXPECT_EQ(GameDirectoryStatusText(""), "There is no game directory set. Set one in the Options window.");
    EXPECT_EQ(GameDirectoryStatusText("C:\\Games\\V\\"), "Game Directory is \"C:\\Games\\V\\\"");
}

} // namespace
} // namespace cb
