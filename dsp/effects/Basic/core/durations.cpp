#include "core/durations.h"

#include <limits>

#include "core/panel_number.h"

namespace dsp::basic {

ClockParts SplitMilliseconds(uint32_t ms)
{
    return ClockParts{ms / 60000u, (ms % 60000u) / 1000u, ms % 1000u};
}

uint32_t JoinMilliseconds(long minutes, long seconds, long milliseconds)
{
    return static_cast<uint32_t>(minutes) * 60000u + static_cast<uint32_t>(seconds) * 1000u +
           static_cast<uint32_t>(milliseconds);
}

bool ClockFromTexts(const char* minutes, const char* seconds, const char* milliseconds, uint32_t* ms)
{
    constexpr int64_t kMost = std::numeric_limits<uint32_t>::max();
    const char* texts[] = {minutes, seconds, milliseconds};
    const int64_t scale[] = {60000, 1000, 1};
    int64_t total = 0;
    for (int i = 0; i < 3; ++i) {
        if (!WholeNumberTextFits(texts[i], 0, kMost))
            return false;
        total += ReadTextNumber(texts[i]).whole * scale[i]; // each term below 2^48
    }
    if (total > kMost)
        return false;
    *ms = static_cast<uint32_t>(total);
    return true;
}

uint64_t FrameBytesForMilliseconds(const WaveFormat& format, uint32_t ms)
{
    const uint64_t align = format.blockAlign ? format.blockAlign : 4u;
    const uint64_t perSecond = align * format.samplesPerSec; // < 2^48
    // Whole seconds and the rest separately: the same truncated quotient as
    // perSecond * ms / 1000, without the overflow for long lengths.
    uint64_t whole = 0, bytes = 0;
    if (__builtin_mul_overflow(perSecond, uint64_t{ms / 1000u}, &whole) ||
        __builtin_add_overflow(whole, perSecond * (ms % 1000u) / 1000u, &bytes)) {
        bytes = std::numeric_limits<uint64_t>::max();
    }
    return WholeFrames(bytes, format);
}

} // namespace dsp::basic
