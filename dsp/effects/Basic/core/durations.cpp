#include "core/durations.h"

#include <limits>

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
