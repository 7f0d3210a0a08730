// The quietener's loops built for AVX2 (without FMA). Only called where
// dsp::ProcessorHasAvx2() said yes.
#include <immintrin.h>

#include "core/quieten_loops.h"
#include "core/transforms.h"

namespace dsp::basic {

void Quieten16Avx2(uint8_t* data, size_t samples, float numerator)
{
    Quieten16(data, samples, numerator);
}

void Quieten8Avx2(uint8_t* data, size_t samples, float numerator)
{
    Quieten8(data, samples, numerator);
}

namespace {

// FloorHundredth(double) of s * numerator in four lanes of doubles.
inline __m128i FloorHundredths4(__m128i s, __m256d numerator)
{
    const __m256d p = _mm256_mul_pd(_mm256_cvtepi32_pd(s), numerator);
    const __m256d q =
        _mm256_add_pd(_mm256_mul_pd(_mm256_add_pd(p, _mm256_set1_pd(0.5)), _mm256_set1_pd(0.01)),
                      _mm256_set1_pd(16777216.0));
    return _mm_sub_epi32(_mm256_cvttpd_epi32(q), _mm_set1_epi32(1 << 24));
}

} // namespace

size_t Quieten24Avx2(uint8_t* data, size_t samples, int32_t numerator)
{
    // Within each 128-bit half: the 3 bytes of sample k to the top of lane k
    // (then shifted down with their sign), and back.
    const __m256i spread = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, //
                                            -1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11);
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256d n = _mm256_set1_pd(static_cast<double>(numerator));
    size_t i = 0;
    // Eight samples (24 bytes) a step, reading 16 bytes at 0 and at 12.
    for (; i + 10 <= samples; i += 8) {
        uint8_t* p = data + 3 * i;
        const __m256i bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 12),
                                                  reinterpret_cast<const __m128i*>(p));
        const __m256i s = _mm256_srai_epi32(_mm256_shuffle_epi8(bytes, spread), 8);
        const __m128i low = FloorHundredths4(_mm256_castsi256_si128(s), n);
        const __m128i high = FloorHundredths4(_mm256_extracti128_si256(s, 1), n);
        const __m256i packed = _mm256_shuffle_epi8(_mm256_set_m128i(high, low), pack);
        const __m128i first = _mm256_castsi256_si128(packed);
        const __m128i second = _mm256_extracti128_si256(packed, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), first);
        const int32_t firstTail = _mm_cvtsi128_si32(_mm_srli_si128(first, 8));
        std::memcpy(p + 8, &firstTail, sizeof firstTail);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 12), second);
        const int32_t secondTail = _mm_cvtsi128_si32(_mm_srli_si128(second, 8));
        std::memcpy(p + 20, &secondTail, sizeof secondTail);
    }
    return i;
}

} // namespace dsp::basic
