#include "core/ShortcutText.h"

#include <cctype>
#include <cstdio>

namespace cb {

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithText(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string Trimmed(std::string s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

constexpr const char* kNames20[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
constexpr const char* kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr const char* kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr const char* kFunction[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                     "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                     "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

} // namespace

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

const char* FixedKeyName(std::uint8_t vk)
{
    switch (vk) {
    case 0x08:
        return "BkSp";
    case 0x09:
        return "Tab";
    case 0x0D:
        return "Enter";
    case 0x1B:
        return "Esc";
    case 0x2D:
        return "Ins";
    case 0x2E:
        return "Del";
    default:
        break;
    }
    if (vk >= 0x20 && vk <= 0x28)
        return kNames20[vk - 0x20];
    if (vk >= 0x30 && vk <= 0x39)
        return kDigits[vk - 0x30];
    if (vk >= 0x41 && vk <= 0x5A)
        return kLetters[vk - 0x41];
    if (vk >= 0x60 && vk <= 0x69)
        return kDigits[vk - 0x60]; // keypad digits
    if (vk >= 0x70 && vk <= 0x87)
        return kFunction[vk - 0x70];
    return nullptr;
}

namespace {

// "Key XX" with two hex digits is the form a key without a usable name gets;
// a layout name of that form could stand for another key's fallback.
bool LooksLikeFallback(std::string_view name)
{
    auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    return name.size() == 6 && StartsWithText(name, "Key ") && hex(name[4]) && hex(name[5]);
}

} // namespace

TKeyNames::TKeyNames() : TKeyNames(nullptr) {}

TKeyNames::TKeyNames(KeyNameLookup layout)
{
    for (int vk = 0; vk < 256; ++vk)
        if (const char* fixed = FixedKeyName(static_cast<std::uint8_t>(vk)))
            names_[vk] = fixed;
    if (!layout)
        return;

    auto taken = [this](std::string_view name, int upTo) {
        for (int other = 0; other < 256; ++other) {
            if (names_[other].empty())
                continue;
            if (other < upTo || FixedKeyName(static_cast<std::uint8_t>(other)))
                if (SameText(names_[other], name))
                    return true;
        }
        return false;
    };
    for (int vk = 0x08; vk < 256; ++vk) {
        if (FixedKeyName(static_cast<std::uint8_t>(vk)))
            continue;
        std::string name = Trimmed(layout(static_cast<std::uint8_t>(vk)));
        if (name.empty())
            continue;
        if (taken(name, vk) || LooksLikeFallback(name) || name[0] == '^' || StartsWithText(name, "Shift+") ||
            StartsWithText(name, "Ctrl+") || StartsWithText(name, "Alt+")) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "Key %02X", vk);
            name = buf;
        }
        names_[vk] = std::move(name);
    }
}

std::string ShortCutToText(std::uint16_t code, const TKeyNames& names)
{
    const std::string& name = names.Name(static_cast<std::uint8_t>(code & 0xFF));
    if (name.empty())
        return {};
    std::string text;
    if (code & kShiftBit)
        text += "Shift+";
    if (code & kCtrlBit)
        text += "Ctrl+";
    if (code & kAltBit)
        text += "Alt+";
    text += name;
    return text;
}

std::uint16_t TextToShortCut(std::string_view text, const TKeyNames& names)
{
    std::uint16_t modifiers = 0;
    for (;;) {
        if (StartsWithText(text, "Shift+")) {
            modifiers |= kShiftBit;
            text.remove_prefix(6);
        } else if (StartsWithText(text, "Ctrl+")) {
            modifiers |= kCtrlBit;
            text.remove_prefix(5);
        } else if (StartsWithText(text, "^")) {
            modifiers |= kCtrlBit;
            text.remove_prefix(1);
        } else if (StartsWithText(text, "Alt+")) {
            modifiers |= kAltBit;
            text.remove_prefix(4);
        } else {
            break;
        }
    }
    if (text.empty())
        return 0;
    for (int vk = 0x08; vk < 256; ++vk) {
        const std::string& name = names.Name(static_cast<std::uint8_t>(vk));
        if (!name.empty() && SameText(name, text))
            return static_cast<std::uint16_t>(modifiers | vk);
    }
    return 0;
}

} // namespace cb
