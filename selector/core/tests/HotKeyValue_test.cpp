#include "core/HotKeyValue.h"

#include <gtest/gtest.h>

namespace cb {
namespace {

TEST(HotKeyValue, ConvertsBothWaysWithTheExtendedFlagOnlyWhereTheKeyboardSetsIt)
{
    struct Case
    {
        const char* name;
        std::uint16_t shortcut;
        std::uint16_t control;
    };
    const Case cases[] = {
        {"nothing", 0x0000, 0x0000},
        {"Ctrl+F1", 0x4000 | 0x70, 0x0270},
        {"Shift+Ctrl+Alt+Z", 0xE000 | 'Z', 0x075A},
        {"Alt+Left (extended)", 0x8000 | 0x25, 0x0C25},
        {"Shift+Del (extended)", 0x2000 | 0x2E, 0x092E},
        {"Ctrl+keypad 4 (not extended)", 0x4000 | 0x64, 0x0264},
        {"a bare key", 'Q', 'Q'},
        {"a bare Home", 0x24, 0x0824},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HotKeyValueFromShortCut(c.shortcut), c.control);
        EXPECT_EQ(ShortCutFromHotKeyValue(c.control), c.shortcut);
    }
    // the control's extended flag never reaches the shortcut code
    EXPECT_EQ(ShortCutFromHotKeyValue(0x0A41), 0x4000 | 'A');
    // modifiers held without a key are no shortcut
    EXPECT_EQ(ShortCutFromHotKeyValue(0x0300), 0);
}

TEST(HotKeyValue, AKeyWithoutShiftCtrlOrAltIsRefused)
{
    EXPECT_TRUE(IsKeyWithoutModifier('A'));
    EXPECT_TRUE(IsKeyWithoutModifier(0x0825)); // extended flag alone is no modifier
    EXPECT_FALSE(IsKeyWithoutModifier(0));
    EXPECT_FALSE(IsKeyWithoutModifier(0x0200)); // Ctrl held, no key yet
    for (std::uint16_t flags : {0x01, 0x02, 0x04, 0x07})
        EXPECT_FALSE(IsKeyWithoutModifier(static_cast<std::uint16_t>((flags << 8) | 'A'))) << flags;
}

} // namespace
} // namespace cb
