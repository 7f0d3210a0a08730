// List-file values: any Count text gives 0..kMaxSounds; any Sound value splits
// at its first ';', and a value written from a file name (which cannot hold a
// ';') and a shortcut text reads back as those two.
#include <string_view>

#include "core/SoundList.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const std::string count = in.Text(64);
    const int n = cb::ParseCount(count);
    fuzz::Require(n >= 0 && n <= cb::kMaxSounds, "count in 0..kMaxSounds");

    const std::string value = in.Text(600);
    const cb::TSoundValue parsed = cb::ParseSoundValue(value);
    const size_t semi = value.find(';');
    fuzz::Require(parsed.Filename.find(';') == std::string::npos, "the file name stops at the first ';'");
    if (semi == std::string::npos)
        fuzz::Require(parsed.Filename.empty() && parsed.ShortCutText == value,
                      "no ';': all of it is the shortcut");
    else
        fuzz::Require(cb::SoundValue(parsed.Filename, parsed.ShortCutText) == value,
                      "a parsed value writes back");

    std::string filename = in.Text(300);
    for (char& c : filename)
        if (c == ';')
            c = '_';
    const std::string shortcut = in.Text(300);
    const cb::TSoundValue back = cb::ParseSoundValue(cb::SoundValue(filename, shortcut));
    fuzz::Require(back.Filename == filename && back.ShortCutText == shortcut, "a written value reads back");
    return 0;
}
