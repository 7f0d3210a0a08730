#include "core/HotKeyValue.h"

#include "core/ShortcutText.h"

namespace cb {

bool IsExtendedKey(std::uint8_t vk)
{
    switch (vk) {
    case 0x03: // Break
    case 0x21: // Page Up
    case 0x22: // Page Down
    case 0x23: // End
    case 0x24: // Home
    case 0x25: // Left
    case 0x26: // Up
    case 0x27: // Right
    case 0x28: // Down
    case 0x2C: // Print Screen
    case 0x2D: // Insert
    case 0x2E: // Delete
    case 0x5B: // left Win
    case 0x5C: // right Win
    case 0x5D: // Apps
    case 0x6F: // keypad divide
    case 0x90: // Num Lock
    case 0xA3: // right Ctrl
    case 0xA5: // right Alt
        return true;
    default:
        return false;
    }
}

std::uint16_t ShortCutFromHotKeyValue(std::uint16_t value)
{
    const std::uint8_t key = static_cast<std::uint8_t>(value & 0xFF);
    const std::uint8_t flags = static_cast<std::uint8_t>(value >> 8);
    if (key == 0)
        return 0; // modifiers held without a key are no shortcut
    std::uint16_t code = key;
    if (flags & kHotKeyShift)
        code |= kShiftBit;
    if (flags & kHotKeyCtrl)
        code |= kCtrlBit;
    if (flags & kHotKeyAlt)
        code |= kAltBit;
    return code;
}

std::uint16_t HotKeyValueFromShortCut(std::uint16_t code)
{
    const std::uint8_t key = static_cast<std::uint8_t>(code & 0xFF);
    std::uint8_t flags = 0;
    if (code & kShiftBit)
        flags |= kHotKeyShift;
    if (code & kCtrlBit)
        flags |= kHotKeyCtrl;
    if (code & kAltBit)
        flags |= kHotKeyAlt;
    if (key != 0 && IsExtendedKey(key))
        flags |= kHotKeyExt;
    return static_cast<std::uint16_t>(key | (flags << 8));
}

bool IsKeyWithoutModifier(std::uint16_t value)
{
    const std::uint8_t flags = static_cast<std::uint8_t>(value >> 8);
    return (value & 0xFF) != 0 && (flags & (kHotKeyShift | kHotKeyCtrl | kHotKeyAlt)) == 0;
}

} // namespace cb
