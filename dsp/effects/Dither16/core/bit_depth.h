// Bit-depth conversion for the Dither16, Dither8 and Bits24 plug-ins: the
// triangular dither with error feedback for 16 and 8 bit output, and the
// exact widening of 8 and 16 bit samples to 24 bit. No Windows here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/wave_format.h"

namespace depth {

// The dither state of one channel. It lives as long as the plug-in stays
// loaded: every file and block continues where the last sample left it.
struct ChannelDitherState
{
    int32_t lastError = 0; // quantisation error of the previous sample
    int32_t prevHalf = 0;  // half the error of the sample before that
    int32_t olderHalf = 0; // prevHalf one sample earlier
    uint32_t randomState = 0;
};

constexpr unsigned kMaxDitherChannels = 100;

// One member of the family, chosen by its output depth (16, 8 or 24).
struct Member
{
    int outBits;
    const char* panelText;
    // Whether a file of this depth and channel count is converted at all; the
    // others are left as they are and count as done.
    bool Converts(int inBits, unsigned channels) const;
};
Member MemberFor(int outBits);

// Working scale: a 32-bit sample divided by 8, so full scale spans 29 bits.
constexpr int32_t kWorkMax = 0x0FFFFFFF;
constexpr int32_t kWorkMin = -0x10000000;

// One dithered output sample (before it is stored) from the 32-bit input
// sample x: 16 bit gives the signed value, 8 bit the signed value too (the
// caller flips the top bit when it stores it).
template <int OutBits>
inline int32_t DitherSample(ChannelDitherState& s, int32_t x)
{
    static_assert(OutBits == 16 || OutBits == 8);
    constexpr int kShift = OutBits == 16 ? 13 : 21;
    constexpr uint32_t kMask = (1u << kShift) - 1;
    constexpr int32_t kOffset = 1 << (kShift - 1);

    const int32_t w = s.lastError, a = s.olderHalf, b = s.prevHalf;
    s.olderHalf = b;
    s.prevHalf = w / 2;
    const uint32_t c = s.randomState;
    const uint32_t d = c * 1664525u + 1013904223u;
    s.randomState = d;
    int64_t e = int64_t{x / 8} + w - b + a;
    int64_t f = e + static_cast<int32_t>(d & kMask) - static_cast<int32_t>(c & kMask) + kOffset;
    if (f > kWorkMax) {
        f = kWorkMax;
        if (e > kWorkMax)
            e = kWorkMax;
    } else if (f < kWorkMin) {
        f = kWorkMin;
        if (e < kWorkMin)
            e = kWorkMin;
    }
    const int32_t q = static_cast<int32_t>(f) & ~static_cast<int32_t>(kMask);
    s.lastError = static_cast<int32_t>(e - q);
    return q >> kShift;
}

// Dithers `frames` frames of `channels` channels; `sample(i)` gives input
// sample i as a 32-bit value. Output is written in the member's stored form.
template <int OutBits, class Source>
void DitherFrames(const Source& sample, size_t frames, unsigned channels, ChannelDitherState* states,
                  uint8_t* out)
{
    size_t i = 0;
    for (size_t f = 0; f < frames; ++f) {
        for (unsigned c = 0; c < channels; ++c, ++i) {
            const int32_t v = DitherSample<OutBits>(states[c], sample(i));
            if constexpr (OutBits == 16) {
                *out++ = static_cast<uint8_t>(v);
                *out++ = static_cast<uint8_t>(v >> 8);
            } else {
                *out++ = static_cast<uint8_t>(v ^ 0x80);
            }
        }
    }
}

// Exact widening to 24 bit: an 8-bit byte u becomes (u - 128) * 65536, a
// 16-bit sample s becomes s * 256. Every sample stands on its own.
void WidenTo24(const uint8_t* in, int inBits, size_t samples, uint8_t* out);

// The record the member writes: depth, block align and byte rate follow the
// member; tag, channels, rate and extra size stay.
dsp::WaveFormat OutputFormat(const dsp::WaveFormat& in, int outBits);

// Converts one chunk of stored input samples (`inBits` deep, `channels` per
// frame) into `out`; a dithering member drops any bytes past the last whole
// frame. Returns the number of bytes written to `out`.
size_t ConvertChunk(int outBits, const uint8_t* in, size_t chunkBytes, int inBits, unsigned channels,
                    ChannelDitherState* states, uint8_t* out);

} // namespace depth
