#include "core/transforms.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/cpu_features.h"
#include "core/quieten_loops.h"
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

#if defined(__SSE2__)
// Four 24-bit samples (12 bytes at p, 16 readable) as 32-bit values: each
// one's three bytes moved to the top of its lane, then shifted down with
// their sign.
inline __m128i Load24(const uint8_t* p)
{
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i lane0 = _mm_set_epi32(0, 0, 0, static_cast<int>(0xFFFFFF00));
    const __m128i lane1 = _mm_set_epi32(0, 0, static_cast<int>(0xFFFFFF00), 0);
    const __m128i lane2 = _mm_set_epi32(0, static_cast<int>(0xFFFFFF00), 0, 0);
    const __m128i lane3 = _mm_set_epi32(static_cast<int>(0xFFFFFF00), 0, 0, 0);
    const __m128i top = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(_mm_slli_si128(x, 1), lane0), _mm_and_si128(_mm_slli_si128(x, 2), lane1)),
        _mm_or_si128(_mm_and_si128(_mm_slli_si128(x, 3), lane2), _mm_and_si128(_mm_slli_si128(x, 4), lane3)));
    return _mm_srai_epi32(top, 8);
}

// The low three bytes of each lane packed into the 12 bytes at p.
inline void Store24(uint8_t* p, __m128i v)
{
    const __m128i low = _mm_set_epi32(0, 0, 0, 0x00FFFFFF);
    const __m128i b0 = _mm_and_si128(v, low);
    const __m128i b1 = _mm_slli_si128(_mm_and_si128(_mm_srli_si128(v, 4), low), 3);
    const __m128i b2 = _mm_slli_si128(_mm_and_si128(_mm_srli_si128(v, 8), low), 6);
    const __m128i b3 = _mm_slli_si128(_mm_and_si128(_mm_srli_si128(v, 12), low), 9);
    const __m128i packed = _mm_or_si128(_mm_or_si128(b0, b1), _mm_or_si128(b2, b3));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), packed);
    const int32_t last = _mm_cvtsi128_si32(_mm_srli_si128(packed, 8));
    std::memcpy(p + 8, &last, sizeof last);
}

// FloorHundredth(double) of s * numerator in two lanes of doubles.
inline __m128i FloorHundredths2(__m128i s, __m128d numerator)
{
    const __m128d p = _mm_mul_pd(_mm_cvtepi32_pd(s), numerator);
    const __m128d q =
        _mm_add_pd(_mm_mul_pd(_mm_add_pd(p, _mm_set1_pd(0.5)), _mm_set1_pd(0.01)), _mm_set1_pd(16777216.0));
    return _mm_sub_epi32(_mm_cvttpd_epi32(q), _mm_set1_epi32(1 << 24));
}
#endif

// 24-bit samples from `first` on in place, as FloorHundredth(double) of
// s * numerator.
void Quieten24(uint8_t* data, size_t samples, int32_t numerator, size_t first)
{
    size_t i = first;
#if defined(__SSE2__)
    const __m128d n = _mm_set1_pd(static_cast<double>(numerator));
    // Four samples at a time while 16 bytes can be read.
    for (; i + 6 <= samples; i += 4) {
        uint8_t* p = data + 3 * i;
        const __m128i s = Load24(p);
        const __m128i low = FloorHundredths2(s, n);
        const __m128i high = FloorHundredths2(_mm_srli_si128(s, 8), n);
        Store24(p, _mm_unpacklo_epi64(low, high));
    }
#endif
    for (; i < samples; ++i) {
        uint8_t* p = data + 3 * i;
        const int32_t s =
            static_cast<int32_t>((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 24)) >>
            8;
        const int32_t out = FloorHundredth(static_cast<double>(s) * numerator);
        p[0] = static_cast<uint8_t>(out);
        p[1] = static_cast<uint8_t>(out >> 8);
        p[2] = static_cast<uint8_t>(out >> 16);
    }
}

} // namespace

// The documented scaling, on the 32-bit left-justified value v = s * 2^k of a
// stored sample s (k = 24, 16, 8 for 8, 16, 24 bits): trunc(v * N / 100),
// then shifted right by k toward minus infinity. For p = s * N >= 0 that is
// floor(p / 100). For p < 0, with |p| = 100 a + r: trunc gives
// -(a * 2^k + floor(r * 2^k / 100)), and the shift -(a + (r > 0)), since
// r * 2^k / 100 >= 1 whenever r >= 1; that is floor(p / 100) again. So each
// depth below computes floor(s * N / 100) on the stored value directly, with
// no division, in loops the compiler vectorises (with AVX2 where the
// processor has it, for 8 and 16 bits; the 24-bit loop is written out for
// SSE2, whose lanes hold 32-bit values). 32-bit samples are not shifted:
// trunc(s * N / 100).
void QuietenBlock(void* block, size_t bytes, uint16_t bitsPerSample, uint32_t percent, SampleLoops loops)
{
    const int32_t numerator = 100 - static_cast<int32_t>(percent);
    if (numerator == 100)
        return;
    const bool wide = loops == SampleLoops::kWidest && ProcessorHasAvx2();
    const size_t samples = bytes / StoredSampleBytes(bitsPerSample);
    uint8_t* const data = static_cast<uint8_t*>(block);
    const float n = static_cast<float>(numerator);
    const double nd = static_cast<double>(numerator);
    switch (HandledDepth(bitsPerSample)) {
    case 16:
        if (wide)
            Quieten16Avx2(data, samples, n);
        else
            Quieten16(data, samples, n);
        break;
    case 24:
        Quieten24(data, samples, numerator, wide ? Quieten24Avx2(data, samples, numerator) : 0);
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
        if (wide)
            Quieten8Avx2(data, samples, n);
        else
            Quieten8(data, samples, n);
        break;
    }
}

} // namespace dsp::basic
