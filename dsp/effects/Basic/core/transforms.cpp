#include "core/transforms.h"

#include <bit>
#include <cstring>

#include "core/sample_view.h"
#include "core/wave_format.h"

namespace dsp::basic {

static_assert(std::endian::native == std::endian::little, "samples are stored little-endian");

void ReverseFrames(const uint8_t* in, uint8_t* out, size_t bytes, size_t frameSize)
{
    if (frameSize == 0)
        frameSize = 1;
    const size_t frames = bytes / frameSize;
    for (size_t i = 0; i < frames; ++i) {
        std::memcpy(out + i * frameSize, in + (frames - 1 - i) * frameSize, frameSize);
    }
}

namespace {

// floor(s * numerator / 100) for |s * numerator| below 2^24: the product is
// exact in single precision and the quotient, correctly rounded, lies within
// 2^-9 of the true one, whose fraction is 0 or at least 1/100; so the floor
// of the rounded quotient is the true floor.
inline int32_t FloorHundredthsFloat(int32_t s, float numerator)
{
    const float q = static_cast<float>(s) * numerator / 100.0f;
    const int32_t whole = static_cast<int32_t>(q);
    return whole - (q < static_cast<float>(whole));
}

// The same in double precision, exact for every 32-bit s: the product stays
// below 2^39 and the quotient's error below 2^-13.
inline int32_t FloorHundredthsDouble(int32_t s, double numerator)
{
    const double q = static_cast<double>(s) * numerator / 100.0;
    const int32_t whole = static_cast<int32_t>(q);
    return whole - (q < static_cast<double>(whole));
}

} // namespace

// The documented scaling, on the 32-bit left-justified value v = s * 2^k of a
// stored sample s (k = 24, 16, 8 for 8, 16, 24 bits): trunc(v * N / 100),
// then shifted right by k toward minus infinity. For p = s * N >= 0 that is
// floor(p / 100). For p < 0, with |p| = 100 a + r: trunc gives
// -(a * 2^k + floor(r * 2^k / 100)), and the shift -(a + (r > 0)), since
// r * 2^k / 100 >= 1 whenever r >= 1; that is floor(p / 100) again. So each
// depth below computes floor(s * N / 100) on the stored value directly, in
// loops without a 64-bit division that the compiler vectorises. 32-bit
// samples are not shifted: trunc(s * N / 100).
void QuietenBlock(void* block, size_t bytes, uint16_t bitsPerSample, uint32_t percent)
{
    const int32_t numerator = 100 - static_cast<int32_t>(percent);
    if (numerator == 100)
        return;
    const size_t samples = bytes / StoredSampleBytes(bitsPerSample);
    uint8_t* const data = static_cast<uint8_t*>(block);
    const float n = static_cast<float>(numerator);
    const double nd = static_cast<double>(numerator);
    switch (HandledDepth(bitsPerSample)) {
    case 16:
        for (size_t i = 0; i < samples; ++i) {
            int16_t s;
            std::memcpy(&s, data + 2 * i, sizeof s);
            const int16_t out = static_cast<int16_t>(FloorHundredthsFloat(s, n));
            std::memcpy(data + 2 * i, &out, sizeof out);
        }
        break;
    case 24:
        for (size_t i = 0; i < samples; ++i) {
            uint8_t* p = data + 3 * i;
            const int32_t s = static_cast<int32_t>((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) |
                                                   (uint32_t(p[2]) << 24)) >>
                              8;
            const int32_t out = FloorHundredthsDouble(s, nd);
            p[0] = static_cast<uint8_t>(out);
            p[1] = static_cast<uint8_t>(out >> 8);
            p[2] = static_cast<uint8_t>(out >> 16);
        }
        break;
    case 32:
        for (size_t i = 0; i < samples; ++i) {
            int32_t s;
            std::memcpy(&s, data + 4 * i, sizeof s);
            const int32_t out = static_cast<int32_t>(static_cast<double>(s) * nd / 100.0);
            std::memcpy(data + 4 * i, &out, sizeof out);
        }
        break;
    default:
        for (size_t i = 0; i < samples; ++i)
            data[i] = static_cast<uint8_t>(FloorHundredthsFloat(int32_t(data[i]) - 128, n) + 128);
        break;
    }
}

} // namespace dsp::basic
