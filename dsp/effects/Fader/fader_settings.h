// The fader's settings, loaded at start-up and saved by the panel.
#pragma once

#include <cstdint>

namespace fader {

constexpr uint32_t kDefaultLength = 6000; // milliseconds

struct Settings
{
    bool fadeIn = false;
    uint32_t inLength = kDefaultLength;
    bool fadeOut = false;
    uint32_t outLength = kDefaultLength;
};

extern Settings g_settings;

// Reads the four values from the default key; a length stored as 0 (or
// missing) becomes 6000.
void Load();
// Writes all four values.
void Save();

} // namespace fader
