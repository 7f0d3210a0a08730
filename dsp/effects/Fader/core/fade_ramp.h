// The fader's linear gain ramp over one block of stored samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fader {

enum class Direction { In, Out };

// Ramps one block of `bytes` bytes of `bitsPerSample` samples that begins
// `position` bytes into a fade region of `length` bytes. Sample by sample:
// once length < p the region is finished and the rest of the block is left
// alone; otherwise the sample v becomes v * p / length (fade in) or
// v * (length - p) / length (fade out), truncated toward zero, and p advances
// by one stored sample. The product and quotient are exact integers, so the
// result does not depend on the floating-point state of the calling thread.
// Returns true while the region continues past this block, false once it is
// finished. A length of 0 is taken as 1.
bool ApplyRamp(void* block, size_t bytes, int bitsPerSample, uint64_t position, uint64_t length,
               Direction direction);

// The faded value of one sample: v * p / length (in) or v * (length - p) /
// length (out), truncated toward zero; p must not exceed length.
int32_t FadeSample(int32_t value, uint64_t position, uint64_t length, Direction direction);

} // namespace fader
