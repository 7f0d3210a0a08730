// Shortcut text under a fuzzed keyboard layout and modifier set: every code
// with a text reads back as itself (keypad digits share the main digits' names
// and read back as those), no two keys carry the same name ignoring case, and a
// layout's raw text parses to 0 or to a named key with no stray bits.
#include <map>
#include <string>

#include "core/ShortcutText.h"
#include "fuzz_input.h"

namespace {

// The layout the lookup callback answers from; a plain function pointer
// cannot carry state, so the current input's names live here.
std::string g_layout[256];

std::string Layout(std::uint8_t vk)
{
    return g_layout[vk];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const uint16_t mods = static_cast<uint16_t>((in.Take<uint8_t>() & 7) << 13); // Shift, Ctrl, Alt
    for (auto& name : g_layout)
        name.clear();
    while (in.Left() > 0) {
        const uint8_t vk = in.Take<uint8_t>();
        g_layout[vk] = in.Text(24);
    }
    const cb::TKeyNames names(&Layout);

    std::map<std::string, int> seen; // names with ASCII letters lowered, as SameText compares them
    for (int vk = 0; vk < 256; ++vk) {
        std::string name = names.Name(static_cast<uint8_t>(vk));
        fuzz::Require(vk >= 0x08 || name.empty(), "codes below 0x08 have no name");
        if (name.empty())
            continue;
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        const auto [it, fresh] = seen.emplace(name, vk);
        // a keypad digit shares its main digit's name
        fuzz::Require(fresh || (vk >= 0x60 && vk <= 0x69 && it->second == vk - 0x30), "names are unique");
    }

    for (int vk = 0; vk < 256; ++vk) {
        const uint16_t code = static_cast<uint16_t>(mods | vk);
        const std::string text = cb::ShortCutToText(code, names);
        fuzz::Require(text.empty() == names.Name(static_cast<uint8_t>(vk)).empty(),
                      "a code has a text exactly when its key has a name");
        if (text.empty())
            continue;
        // keypad digits share their names with the main digits and read back as those
        const bool keypadDigit = vk >= 0x60 && vk <= 0x69;
        const uint16_t want = keypadDigit ? static_cast<uint16_t>(mods | (vk - 0x30)) : code;
        fuzz::Require(cb::TextToShortCut(text, names) == want, "a code's text reads back as the code");
    }

    for (const std::string& raw : g_layout) {
        const uint16_t code = cb::TextToShortCut(raw, names);
        fuzz::Require(code == 0 || (!names.Name(static_cast<uint8_t>(code)).empty() && (code & 0x1F00) == 0),
                      "a text parses to 0 or to a named key");
    }
    return 0;
}
