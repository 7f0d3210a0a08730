// The quietener's loops over 8- and 16-bit samples, compiled twice: by
// transforms.cpp for the SSE2 baseline and by transforms_avx2.cpp for AVX2.
// Everything here has internal linkage, so neither file's machine code can
// be picked by the linker for the other's callers. Each sample gets the same
// operations in both, so both give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dsp::basic {
namespace {

// floor(p / 100) for a whole number p held exactly in `p` (|p| below 2^23)
// whose quotient lies below 2^15 in size, without a division: (p + 1/2) / 100
// has a fraction between 0.005 and 0.995, and the product below misses it by
// less than 0.003 (0.01f is within 2^-24 of 0.01 relatively, the rounding of
// the product within 2^-10), so its floor is the floor of p / 100.
inline int32_t FloorHundredth(float p)
{
    const float q = (p + 0.5f) * 0.01f;
    const int32_t whole = static_cast<int32_t>(q);
    return whole - (q < static_cast<float>(whole));
}

// The same in double precision for |p| below 2^31: the product misses
// (p + 1/2) / 100 by less than 2^-25, and adding 2^24 before the truncation
// (exact, the quotient lies above -2^24) makes it a floor.
inline int32_t FloorHundredth(double p)
{
    constexpr double kBias = 16777216.0;
    return static_cast<int32_t>((p + 0.5) * 0.01 + kBias) - (1 << 24);
}

// floor(s * numerator / 100) of each stored sample, in place.
inline void Quieten16(uint8_t* data, size_t samples, float numerator)
{
    for (size_t i = 0; i < samples; ++i) {
        int16_t s;
        std::memcpy(&s, data + 2 * i, sizeof s);
        const int16_t out = static_cast<int16_t>(FloorHundredth(static_cast<float>(s) * numerator));
        std::memcpy(data + 2 * i, &out, sizeof out);
    }
}

inline void Quieten8(uint8_t* data, size_t samples, float numerator)
{
    for (size_t i = 0; i < samples; ++i)
        data[i] = static_cast<uint8_t>(
            FloorHundredth(static_cast<float>(int32_t(data[i]) - 128) * numerator) + 128);
}

} // namespace
} // namespace dsp::basic
