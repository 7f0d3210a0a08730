#include "core/ShortcutText.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cb {
namespace {

// A made-up keyboard layout: names for a few keys outside the fixed table,
// including ones that clash with each other, with fixed names, or with the
// modifier prefixes.
std::string FakeLayout(std::uint8_t vk)
{
    switch (vk) {
    case 0x03:
        return "Break"; // below 0x08: never named
    case 0x0C:
        return "Num 5";
    case 0x10:
        return "Shift";
    case 0xA0:
        return "shift"; // same name, other case, later code
    case 0x13:
        return " Pause "; // blanks around
    case 0x14:
        return "Tab"; // clashes with a fixed name
    case 0x6A:
        return "Num *";
    case 0x6B:
        return "Num +";
    case 0xBA:
        return ";";
    case 0xBB:
        return "=";
    case 0xDC:
        return "^"; // would be read as Ctrl
    case 0xDD:
        return "ctrl+x"; // would be read as a modifier
    case 0xC0:
        return "key dd"; // the fallback form of a key that falls back later
    case 0xDE:
        return "'";
    case 0xE2:
        return "<";
    case 0x70:
        return "Layout F1"; // fixed names win over the layout
    default:
        return {};
    }
}

TEST(ShortCutText, FixedTableNamesAndModifierOrder)
{
    TKeyNames names;
    struct Case
    {
        std::uint16_t code;
        const char* text;
    };
    const Case cases[] = {
        {0x08, "BkSp"},
        {0x09, "Tab"},
        {0x0D, "Enter"},
        {0x1B, "Esc"},
        {0x20, "Space"},
        {0x21, "PgUp"},
        {0x22, "PgDn"},
        {0x23, "End"},
        {0x24, "Home"},
        {0x25, "Left"},
        {0x26, "Up"},
        {0x27, "Right"},
        {0x28, "Down"},
        {0x2D, "Ins"},
        {0x2E, "Del"},
        {0x30, "0"},
        {0x39, "9"},
        {0x41, "A"},
        {0x5A, "Z"},
        {0x60, "0"},
        {0x65, "5"},
        {0x69, "9"},
        {0x70, "F1"},
        {0x7B, "F12"},
        {0x87, "F24"},
        {0x2000 | 0x41, "Shift+A"},
        {0x4000 | 0x41, "Ctrl+A"},
        {0x8000 | 0x41, "Alt+A"},
        {0x6000 | 0x74, "Shift+Ctrl+F5"},
        {0xA000 | 0x31, "Shift+Alt+1"},
        {0xC000 | 0x2E, "Ctrl+Alt+Del"},
        {0xE000 | 0x5A, "Shift+Ctrl+Alt+Z"},
        // bits between the key and the modifiers are ignored
        {0x1F00 | 0x41, "A"},
        // no name: the whole text is empty, modifiers included
        {0, ""},
        {0xE000, ""},
        {0x6000 | 0x88, ""},
        {0x2000 | 0xFF, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortCutToText(c.code, names), c.text) << std::hex << c.code;
}

TEST(ShortCutText, EveryNamedKeyRoundTripsWithEveryModifierSet)
{
    TKeyNames names(&FakeLayout);
    int named = 0;
    for (int vk = 0; vk < 256; ++vk) {
        const bool keypadDigit = vk >= 0x60 && vk <= 0x69;
        for (std::uint16_t mods : {0x0000, 0x2000, 0x4000, 0x8000, 0x6000, 0xA000, 0xC000, 0xE000}) {
            const std::uint16_t code = static_cast<std::uint16_t>(mods | vk);
            const std::string text = ShortCutToText(code, names);
            if (text.empty()) {
                EXPECT_EQ(TextToShortCut(text, names), 0);
                continue;
            }
            if (mods == 0)
                ++named;
            // keypad digits share their names with the main digits and read back as those
            const std::uint16_t want = keypadDigit ? static_cast<std::uint16_t>(mods | (vk - 0x30)) : code;
            EXPECT_EQ(TextToShortCut(text, names), want) << "'" << text << "'";
        }
    }
    // BkSp, Tab, Enter, Esc, Ins, Del, Space..Down, 10 digits, 26 letters,
    // 10 keypad digits, 24 function keys, and the 14 layout keys at 0x08 or above
    EXPECT_EQ(named, 6 + 9 + 10 + 26 + 10 + 24 + 14);
}

TEST(ShortCutText, LayoutNamesAreMadeUnambiguous)
{
    TKeyNames names(&FakeLayout);
    EXPECT_EQ(names.Name(0x03), ""); // below the searched range
    EXPECT_EQ(names.Name(0x0C), "Num 5");
    EXPECT_EQ(names.Name(0x10), "Shift");
    EXPECT_EQ(names.Name(0xA0), "Key A0"); // "shift" is taken by 0x10
    EXPECT_EQ(names.Name(0x13), "Pause");
    EXPECT_EQ(names.Name(0x14), "Key 14"); // "Tab" belongs to 0x09
    EXPECT_EQ(names.Name(0xDC), "Key DC");
    EXPECT_EQ(names.Name(0xDD), "Key DD");
    EXPECT_EQ(names.Name(0xC0), "Key C0"); // a name of the fallback form is never a layout's
    EXPECT_EQ(TextToShortCut("Key DD", names), 0xDD);
    EXPECT_EQ(names.Name(0x70), "F1");
    EXPECT_EQ(names.Name(0xBA), ";");
    EXPECT_EQ(ShortCutToText(0x4000 | 0x6B, names), "Ctrl+Num +");
    EXPECT_EQ(TextToShortCut("Ctrl+Num +", names), 0x4000 | 0x6B);
    EXPECT_EQ(TextToShortCut("Alt+;", names), 0x8000 | 0xBA);
}

TEST(ShortCutText, ModifiersParseInAnyOrderAndCase)
{
    TKeyNames names;
    struct Case
    {
        const char* text;
        std::uint16_t code;
    };
    const Case cases[] = {
        {"F5", 0x74},
        {"f5", 0x74},
        {"bksp", 0x08},
        {"PGDN", 0x22},
        {"Ctrl+Shift+F5", 0x6000 | 0x74},
        {"ctrl+shift+f5", 0x6000 | 0x74},
        {"ALT+CTRL+SHIFT+x", 0xE000 | 0x58},
        {"alt+Shift+Del", 0xA000 | 0x2E},
        {"^A", 0x4000 | 0x41},
        {"^a", 0x4000 | 0x41},
        {"Shift+^Home", 0x6000 | 0x24},
        {"^Alt+1", 0xC000 | 0x31},
        // a repeated modifier is still that one modifier
        {"^^B", 0x4000 | 0x42},
        {"Ctrl+^B", 0x4000 | 0x42},
        {"Shift+Shift+B", 0x2000 | 0x42},
        // nothing left after the modifiers, or no key of that name
        {"", 0},
        {"Shift+", 0},
        {"^", 0},
        {"Ctrl+Alt+", 0},
        {"Hyper+A", 0},
        {"F25", 0},
        {"A ", 0},
        {"Shift +A", 0},
        {"AB", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToShortCut(c.text, names), c.code) << "'" << c.text << "'";
}

} // namespace
} // namespace cb
