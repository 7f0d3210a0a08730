#include "core/fade_ramp.h"

#include "core/sample_view.h"
#include "core/wave_format.h"

namespace fader {

namespace {

// floor(magnitude * part / length) for magnitude <= 2^31 and part <= length,
// exactly, in 64-bit arithmetic (32-bit targets have no 128-bit integers).
// The 95-bit product is split at bit 32: high < length, because the product
// is below 2^32 * length, so the quotient has 32 bits and takes 32 steps of
// shift and subtract, the remainder staying below length throughout.
uint32_t WideScale(uint64_t magnitude, uint64_t part, uint64_t length)
{
    const uint64_t low = magnitude * (part & 0xFFFFFFFFu);
    uint64_t remainder = magnitude * (part >> 32) + (low >> 32);
    uint32_t quotient = 0;
    for (int bit = 31; bit >= 0; --bit) {
        const bool carry = remainder >> 63;
        remainder = remainder << 1 | (low >> bit & 1);
        quotient <<= 1;
        if (carry || remainder >= length) {
            remainder -= length;
            quotient |= 1;
        }
    }
    return quotient;
}

} // namespace

int32_t FadeSample(int32_t value, uint64_t position, uint64_t length, Direction direction)
{
    if (length == 0)
        length = 1;
    const uint64_t part = direction == Direction::In ? position : length - position;
    // |value| <= 2^31 and part <= length, so below 2^32 the product fits 64 bits.
    if (length <= 0xFFFFFFFFull)
        return static_cast<int32_t>(int64_t(value) * int64_t(part) / int64_t(length));
    const uint64_t magnitude = value < 0 ? uint64_t(-int64_t(value)) : uint64_t(value);
    const uint64_t scaled = WideScale(magnitude, part, length);
    return static_cast<int32_t>(value < 0 ? -int64_t(scaled) : int64_t(scaled));
}

namespace {

template <int Bits, Direction Dir>
bool Ramp(uint8_t* block, size_t count, uint64_t p, uint64_t length)
{
    constexpr uint64_t step = Bits / 8;
    for (size_t i = 0; i < count; ++i, p += step) {
        if (length < p)
            return false;
        dsp::WriteSample<Bits>(block, i, FadeSample(dsp::ReadSample<Bits>(block, i), p, length, Dir));
    }
    return true;
}

} // namespace

bool ApplyRamp(void* block, size_t bytes, int bitsPerSample, uint64_t position, uint64_t length,
               Direction direction)
{
    if (length == 0)
        length = 1;
    uint8_t* data = static_cast<uint8_t*>(block);
    const size_t count = bytes / dsp::StoredSampleBytes(bitsPerSample);
    bool continues = dsp::WithDepth(bitsPerSample, [&](auto depth) {
        constexpr int Bits = decltype(depth)::value;
        return direction == Direction::In ? Ramp<Bits, Direction::In>(data, count, position, length)
                                          : Ramp<Bits, Direction::Out>(data, count, position, length);
    });
    // A block that ends exactly past the region's last byte also finishes it.
    if (continues && position + count * dsp::StoredSampleBytes(bitsPerSample) > length)
        continues = false;
    return continues;
}

} // namespace fader
