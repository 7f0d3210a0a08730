// The fader's ramp as defined, computed sample by sample with its own
// conversions: the reference the ramp's, the plug-in's and dsphost's tests
// compare with.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "core/wave_format.h"

namespace fader::testing {

inline int Width(int bits)
{
    return bits == 16 ? 2 : bits == 24 ? 3 : bits == 32 ? 4 : 1;
}

// Stored sample -> left-justified 32-bit value, written out longhand.
inline int64_t Decode(const uint8_t* p, int bits)
{
    switch (Width(bits)) {
    case 1:
        return (int64_t(p[0]) - 128) * 16777216;
    case 2:
        return int64_t(int16_t(p[0] | p[1] << 8)) * 65536;
    case 3: {
        int32_t v = p[0] | p[1] << 8 | p[2] << 16;
        if (v & 0x800000)
            v -= 0x1000000;
        return int64_t(v) * 256;
    }
    default:
        return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
}

inline int64_t FloorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Left-justified value -> stored sample, keeping the top bits (rounded toward
// minus infinity).
inline void Encode(uint8_t* p, int bits, int64_t v)
{
    switch (Width(bits)) {
    case 1:
        p[0] = uint8_t(FloorDiv(v, 16777216) + 128);
        break;
    case 2: {
        const int64_t s = FloorDiv(v, 65536);
        p[0] = uint8_t(s);
        p[1] = uint8_t(s >> 8);
        break;
    }
    case 3: {
        const int64_t s = FloorDiv(v, 256);
        p[0] = uint8_t(s);
        p[1] = uint8_t(s >> 8);
        p[2] = uint8_t(s >> 16);
        break;
    }
    default:
        for (int k = 0; k < 4; ++k)
            p[k] = uint8_t(uint32_t(int32_t(v)) >> (8 * k));
    }
}

// Ramps the whole samples of `bytes` bytes at `data`, the first of them at
// byte `position` of a ramp `length` bytes long: gain x = p / L (in) or 1 - x
// (out) per sample, the product truncated toward zero, until L < p.
inline void Ramp(uint8_t* data, uint64_t bytes, int bits, uint64_t position, uint64_t length, bool fadeIn)
{
    const int w = Width(bits);
    uint64_t p = position;
    for (uint64_t i = 0; i + w <= bytes; i += w, p += w) {
        if (length < p)
            break;
        const int64_t part = fadeIn ? int64_t(p) : int64_t(length - p);
        Encode(data + i, bits, Decode(data + i, bits) * part / int64_t(length));
    }
}

// A whole file after the fader with the given fades: the fade-in over the
// whole file against its length, then the fade-out from the whole frame
// at or before `outMs` from the end (its ramp then spans the region).
inline std::vector<uint8_t> Faded(std::vector<uint8_t> data, const dsp::WaveFormat& f, uint32_t inMs, bool in,
                                  uint32_t outMs, bool out)
{
    const uint64_t size = data.size();
    if (in) {
        const uint64_t length = dsp::BytesForMilliseconds(f, inMs);
        if (length && size)
            Ramp(data.data(), size, f.bitsPerSample, 0, length, true);
    }
    if (out) {
        const uint64_t length = dsp::BytesForMilliseconds(f, outMs);
        if (length && size) {
            const uint64_t start = size > length ? dsp::WholeFrames(size - length, f) : 0;
            Ramp(data.data() + start, size - start, f.bitsPerSample, 0, size > length ? size - start : length,
                 false);
        }
    }
    return data;
}

// The progress values one pass writes, block by block: done * 100 / ramp
// before each block, halved into the first or second half of the bar when
// both ends are faded.
inline void PassValues(std::set<uint32_t>& values, uint64_t region, uint64_t ramp, uint64_t block, bool both,
                       bool second)
{
    for (uint64_t done = 0; done < region;) {
        const uint32_t p = ramp ? uint32_t(done * 100 / ramp) : 0;
        values.insert(!both ? p : second ? (p >> 1) + 50 : p >> 1);
        const uint64_t n = region - done < block ? region - done : block;
        if (done + n > ramp)
            break;
        done += n;
    }
}

} // namespace fader::testing
