// Shortcut codes and their text form.
//
// A shortcut code is 16 bits: the low byte is a virtual-key code, 0x2000 is
// Shift, 0x4000 Ctrl and 0x8000 Alt. Its text puts "Shift+", "Ctrl+" and
// "Alt+" (in that order) before the key's name. The names of the common keys
// are fixed here; every other key is named by the keyboard layout, which the
// Windows shell reaches through a callback so this code stays portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cb {

constexpr std::uint16_t kShiftBit = 0x2000;
constexpr std::uint16_t kCtrlBit = 0x4000;
constexpr std::uint16_t kAltBit = 0x8000;

// Returns the keyboard layout's own name for a virtual-key code, or an empty
// string when the layout has none.
using KeyNameLookup = std::string (*)(std::uint8_t vk);

// The name of every key code 0..255, built once from the fixed table and the
// layout. Layout names are made usable for the text form: they are trimmed of
// blanks, and a name that another (lower or fixed) key already carries, or that
// the modifier parser would eat ("^...", "Shift+...", "Ctrl+...", "Alt+..."),
// is replaced by "Key " and the code in two hex digits, so that every named key
// reads back as itself. Codes below 0x08 have no name.
class TKeyNames
{
public:
    TKeyNames();                              // fixed table only
    explicit TKeyNames(KeyNameLookup layout); // fixed table plus the layout

    const std::string& Name(std::uint8_t vk) const { return names_[vk]; }

private:
    std::array<std::string, 256> names_;
};

// The fixed name of a key code, or nullptr when the layout names it.
const char* FixedKeyName(std::uint8_t vk);

std::string ShortCutToText(std::uint16_t code, const TKeyNames& names);
std::uint16_t TextToShortCut(std::string_view text, const TKeyNames& names);

// Case-insensitive comparison of ASCII letters; other bytes compare exactly.
bool SameText(std::string_view a, std::string_view b);

} // namespace cb
