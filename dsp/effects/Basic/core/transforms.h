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

// Which instructions the sample loops may use: the SSE2 baseline, or AVX2
// where the processor has it. Both give the same bytes.
enum class SampleLoops {
    kBaseline,
    kWidest,
};

// Scales every sample of the block by (100 - percent) / 100, computed on the
// 32-bit left-justified value with the product in 64 bits and the quotient
// truncated toward zero, then stored back at the block's depth (any depth
// other than 16, 24 or 32 bits is 8-bit). `bytes` is cut to whole samples.
// `percent` must already be limited to 0..100.
void QuietenBlock(void* block, size_t bytes, uint16_t bitsPerSample, uint32_t percent,
                  SampleLoops loops = SampleLoops::kWidest);

// The AVX2 builds of the 8- and 16-bit loops (transforms_avx2.cpp): the
// samples scaled by numerator / 100 in place.
void Quieten16Avx2(uint8_t* data, size_t samples, float numerator);
void Quieten8Avx2(uint8_t* data, size_t samples, float numerator);
// The 24-bit samples eight at a time while a whole step can be read; returns
// how many it scaled (the rest is left to the baseline loop).
size_t Quieten24Avx2(uint8_t* data, size_t samples, int32_t numerator);

} // namespace dsp::basic
