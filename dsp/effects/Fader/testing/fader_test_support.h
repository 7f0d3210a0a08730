// What the tests of Fader.dll and of dsphost share: the fader's settings as
// they are stored before the plug-in is loaded, the names to clear around
// each test, and the expected file for a host's format record.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/wave_format.h"
#include "fade_oracle.h"
#include "settings_store.h"

namespace fader::testing {

inline const std::vector<std::string> kNames = {"Vol-Fade-In", "Vol-Fade-InLength", "Vol-Fade-Out",
                                                "Vol-Fade-OutLength"};

struct Fades
{
    bool in = false;
    uint32_t inMs = 0; // 0: leave the value missing
    bool out = false;
    uint32_t outMs = 0;
};

inline void Store(const Fades& f)
{
    dsp::settings::WriteBool("Vol-Fade-In", f.in, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    dsp::settings::WriteBool("Vol-Fade-Out", f.out, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    if (f.inMs)
        dsp::settings::WriteNumber("Vol-Fade-InLength", f.inMs, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    if (f.outMs)
        dsp::settings::WriteNumber("Vol-Fade-OutLength", f.outMs, HKEY_CURRENT_USER,
                                   dsp::settings::kPluginKey);
}

inline dsp::WaveFormat AsFormat(const WAVEFORMATEX& w)
{
    dsp::WaveFormat f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

// Faded() for a host's format record.
inline std::vector<uint8_t> Expected(const std::vector<uint8_t>& data, const WAVEFORMATEX& w, uint32_t inMs,
                                     bool in, uint32_t outMs, bool out)
{
    return Faded(data, AsFormat(w), inMs, in, outMs, out);
}

} // namespace fader::testing
