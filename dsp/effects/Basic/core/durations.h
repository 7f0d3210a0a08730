// Lengths the basic effects take in milliseconds: shown in their panels as
// minutes, seconds and milliseconds, and turned into byte counts that always
// end on a frame boundary.
#pragma once
#include <cstdint>

#include "core/wave_format.h"

namespace dsp::basic {

struct ClockParts
{
    uint32_t minutes;
    uint32_t seconds;      // 0..59
    uint32_t milliseconds; // 0..999
};

// Splits a length for display: ms / 60000, (ms % 60000) / 1000, ms % 1000.
ClockParts SplitMilliseconds(uint32_t ms);

// Joins three panel fields back into milliseconds in 32-bit arithmetic, so a
// field may hold more than 59 seconds or 999 milliseconds (shown normalised
// the next time). Negative fields wrap the way the 32-bit sum does.
uint32_t JoinMilliseconds(long minutes, long seconds, long milliseconds);

// Reads the three texts of a row (each as strtol reads it: blanks and a sign
// accepted, up to the first non-digit, no digits 0) into milliseconds. False,
// leaving `ms` alone, when the row holds what the 32-bit setting cannot: a
// number that is not finite, a negative field, or a total beyond
// 4294967295 ms. Within that, the total is what JoinMilliseconds gives.
bool ClockFromTexts(const char* minutes, const char* seconds, const char* milliseconds, uint32_t* ms);

// Bytes in `ms` milliseconds of audio of `format` (block align 4 when 0,
// like dsp::BytesForMilliseconds), rounded down to whole frames. Computed in
// 64 bits, so long lengths do not wrap at 4 GiB; a product too large even for
// that saturates (it only means "more than any file").
uint64_t FrameBytesForMilliseconds(const WaveFormat& format, uint32_t ms);

} // namespace dsp::basic
