// The value of the platform's hotkey control and the shortcut code it stands for.
//
// The control keeps a 16-bit value: the low byte is the virtual-key code, the
// high byte holds its own modifier flags (1 Shift, 2 Ctrl, 4 Alt, 8 extended
// key). A shortcut code keeps the same key with 0x2000 Shift, 0x4000 Ctrl and
// 0x8000 Alt, and has no extended flag: the key code alone tells an arrow key
// from its keypad twin.
#pragma once

#include <cstdint>

namespace cb {

inline constexpr std::uint8_t kHotKeyShift = 0x01;
inline constexpr std::uint8_t kHotKeyCtrl = 0x02;
inline constexpr std::uint8_t kHotKeyAlt = 0x04;
inline constexpr std::uint8_t kHotKeyExt = 0x08;

// Keys that the keyboard reports with the extended flag (navigation block,
// Win and Apps keys, keypad divide, Num Lock, right Ctrl and Alt, Break and
// Print Screen).
bool IsExtendedKey(std::uint8_t vk);

// The control's value -> shortcut code (the extended flag is dropped; modifiers
// without a key give 0).
std::uint16_t ShortCutFromHotKeyValue(std::uint16_t value);

// Shortcut code -> the control's value, with the extended flag set for the
// keys that carry it, so the control names them as the keyboard does.
std::uint16_t HotKeyValueFromShortCut(std::uint16_t code);

// A key pressed without Shift, Ctrl or Alt: the Add/Edit dialog refuses it,
// as the control does with a combination its rules forbid.
bool IsKeyWithoutModifier(std::uint16_t value);

} // namespace cb
