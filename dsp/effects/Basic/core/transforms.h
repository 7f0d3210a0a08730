// The per-block work of the reverser and the quietener.
#pragma once
#include <cstddef>
#include <cstdint>

namespace dsp::basic {

// Writes the frames of `in` into `out` last frame first, each frame's bytes
// kept together and in their own order. `bytes` is a whole number of frames
// of `frameSize` bytes; the buffers must not overlap.
void ReverseFrames(const uint8_t* in, uint8_t* out, size_t bytes, size_t frameSize);

// Percentages the quietener accepts: anything outside 0..100 is limited to it,
// so the factor (100 - percent) / 100 stays between 0 and 1 and no sample can
// overflow.
inline uint32_t LimitPercent(long percent)
{
    return percent < 0 ? 0u : percent > 100 ? 100u : static_cast<uint32_t>(percent);
}

// Scales every sample of the block by (100 - percent) / 100, computed on the
// 32-bit left-justified value with the product in 64 bits and the quotient
// truncated toward zero, then stored back at the block's depth (any depth
// other than 16, 24 or 32 bits is 8-bit). `bytes` is cut to whole samples.
// `percent` must already be limited to 0..100.
void QuietenBlock(void* block, size_t bytes, uint16_t bitsPerSample, uint32_t percent);

} // namespace dsp::basic
