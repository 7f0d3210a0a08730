#include "core/SettingsValues.h"

#include <gtest/gtest.h>

TEST(SettingsValues, IntegersDecimalHexAndFallback)
{
    struct Case
    {
        const char* text;
        int fallback;
        int expected;
    };
    const Case cases[] = {
        {"0x20", 7, 32},
        {"0X20", 7, 32},
        {"0xff", 7, 255},
        {"0xFFFFFFFF", 7, -1},
        {"0x7FFFFFFF", 7, 2147483647},
        {"0x100000000", 7, 7}, // more than 32 bits
        {"0x", 7, 7},          // two characters only: not a number
        {"0xg1", 7, 7},
        {"abc", 128, 128},
        {"", 470, 470},
        {"600", 0, 600},
        {"-40", 0, -40},
        {"+5", 0, 5},
        {"-", 9, 9},
        {"12abc", 9, 9},
        {"1.5", 9, 9},
        {"2147483647", 0, 2147483647},
        {"-2147483648", 0, -2147483647 - 1},
        {"2147483648", 3, 3},
        {"-2147483649", 3, 3},
        {"99999999999999999999", 3, 3},
        {"020", 0, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cb::ParseSettingInteger(c.text, c.fallback), c.expected) << "text \"" << c.text << "\"";
}

TEST(SettingsValues, BooleansReadAsIntegersAndWriteAsOneOrZero)
{
    EXPECT_TRUE(cb::ParseSettingBool("2", false));
    EXPECT_TRUE(cb::ParseSettingBool("-1", false));
    EXPECT_TRUE(cb::ParseSettingBool("0x10", false));
    EXPECT_FALSE(cb::ParseSettingBool("0", true));
    EXPECT_TRUE(cb::ParseSettingBool("", true)); // missing: the default
    EXPECT_FALSE(cb::ParseSettingBool("", false));
    EXPECT_TRUE(cb::ParseSettingBool("yes", true)); // not a number: the default
    EXPECT_EQ(cb::SettingBoolText(cb::ParseSettingBool("2", false)), "1");
    EXPECT_EQ(cb::SettingBoolText(false), "0");
    EXPECT_EQ(cb::SettingIntegerText(-32), "-32");
}

TEST(SettingsValues, CentringTruncatesTowardZero)
{
    EXPECT_EQ(cb::CentredEdge(1280, 470), 405);
    EXPECT_EQ(cb::CentredEdge(1024, 312), 356);
    EXPECT_EQ(cb::CentredEdge(1281, 470), 405);  // 811 / 2
    EXPECT_EQ(cb::CentredEdge(800, 1001), -100); // -201 / 2 truncates toward zero
    EXPECT_EQ(cb::CentredEdge(800, 800), 0);
}

TEST(SettingsValues, SettingsFileBesideProgram)
{
    struct Case
    {
        const char* program;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Prog\\Cuebinder.exe", "C:\\Prog\\Cuebinder.ini"},
        {"C:\\Prog\\Cuebinder", "C:\\Prog\\Cuebinder.ini"},
        {"C:\\Prog.d\\Cuebinder", "C:\\Prog.d\\Cuebinder.ini"},
        {"C:\\Prog\\Cue.binder.exe", "C:\\Prog\\Cue.binder.ini"},
        {"Z:/work/x/Cuebinder.exe", "Z:/work/x/Cuebinder.ini"},
        {"C:Cuebinder.exe", "C:Cuebinder.ini"},
        {"a.b:c", "a.b:c.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cb::SettingsFileForProgram(c.program), c.expected) << c.program;
}

TEST(SettingsValues, InstallPathGetsOneBackslash)
{
    EXPECT_EQ(cb::WithTrailingBackslash("C:\\Games\\X"), "C:\\Games\\X\\");
    EXPECT_EQ(cb::WithTrailingBackslash("C:\\Games\\X\\"), "C:\\Games\\X\\");
    EXPECT_EQ(cb::WithTrailingBackslash(""), "");
    EXPECT_EQ(cb::WithTrailingBackslash("\\"), "\\");
    EXPECT_EQ(cb::FolderOf("C:\\Prog\\Cuebinder.exe"), "C:\\Prog");
    EXPECT_EQ(cb::FolderOf("Z:/w/t.exe"), "Z:/w");
    EXPECT_EQ(cb::FolderOf("t.exe"), "");
}

TEST(SettingsValues, OnlyFilesBeyondOneMebibyteAreSetAsideUnderNamesThatDoNotRepeat)
{
    EXPECT_FALSE(cb::SettingsFileOversized(0));
    EXPECT_FALSE(cb::SettingsFileOversized(64 * 1024));
    EXPECT_FALSE(cb::SettingsFileOversized(1024 * 1024));
    EXPECT_TRUE(cb::SettingsFileOversized(1024 * 1024 + 1));
    EXPECT_TRUE(cb::SettingsFileOversized(5ull << 32)); // beyond 32 bits of size

    const std::string file = "C:\\Prog\\Cuebinder.ini";
    EXPECT_EQ(cb::SetAsideName(file, 0), "C:\\Prog\\Cuebinder.ini.damaged");
    EXPECT_EQ(cb::SetAsideName(file, 1), "C:\\Prog\\Cuebinder.ini.damaged2");
    EXPECT_EQ(cb::SetAsideName(file, 9), "C:\\Prog\\Cuebinder.ini.damaged10");
}
