// Stored PCM samples of any supported depth seen as signed 32-bit values
// with full scale filling all 32 bits.
//
//   8 bit  unsigned around 128: read (b - 128) << 24, write (v >> 24) + 128
//   16 bit signed:              read v << 16,         write v >> 16
//   24 bit signed, 3 bytes LE:  read sign-extended << 8, write bytes of v >> 8, >> 16, >> 24
//   32 bit signed:              as stored
// Any other depth is handled as 8 bit. Writes truncate toward minus infinity.
//
// Two ways to use it:
//   - SampleView: one object, the depth chosen at construction, a virtual
//     call per sample. Simple, fine for a few samples.
//   - ReadSample<Bits> / WriteSample<Bits> with WithDepth(bits, f): f is
//     called once with std::integral_constant<int, Bits>, so the loop inside
//     is compiled once per depth and does no virtual call per sample.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace dsp {

// The depth a stored depth is handled as: 16, 24, 32, or 8 for anything else.
constexpr int HandledDepth(int bitsPerSample)
{
    return (bitsPerSample == 16 || bitsPerSample == 24 || bitsPerSample == 32) ? bitsPerSample : 8;
}

template <int Bits>
inline int32_t ReadSample(const void* buffer, size_t index)
{
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    if constexpr (Bits == 16) {
        p += index * 2;
        return static_cast<int32_t>((uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 24));
    } else if constexpr (Bits == 24) {
        p += index * 3;
        return static_cast<int32_t>((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 24));
    } else if constexpr (Bits == 32) {
        p += index * 4;
        return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                                    (uint32_t(p[3]) << 24));
    } else {
        return static_cast<int32_t>(uint32_t(p[index] - 128) << 24);
    }
}

template <int Bits>
inline void WriteSample(void* buffer, size_t index, int32_t value)
{
    uint8_t* p = static_cast<uint8_t*>(buffer);
    if constexpr (Bits == 16) {
        p += index * 2;
        p[0] = static_cast<uint8_t>(value >> 16);
        p[1] = static_cast<uint8_t>(value >> 24);
    } else if constexpr (Bits == 24) {
        p += index * 3;
        p[0] = static_cast<uint8_t>(value >> 8);
        p[1] = static_cast<uint8_t>(value >> 16);
        p[2] = static_cast<uint8_t>(value >> 24);
    } else if constexpr (Bits == 32) {
        p += index * 4;
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
        p[3] = static_cast<uint8_t>(value >> 24);
    } else {
        p[index] = static_cast<uint8_t>((value >> 24) + 128);
    }
}

// Calls f(std::integral_constant<int, D>{}) with D the handled depth of
// bitsPerSample and returns what f returns.
template <class F>
inline decltype(auto) WithDepth(int bitsPerSample, F&& f)
{
    switch (HandledDepth(bitsPerSample)) {
    case 16:
        return f(std::integral_constant<int, 16>{});
    case 24:
        return f(std::integral_constant<int, 24>{});
    case 32:
        return f(std::integral_constant<int, 32>{});
    default:
        return f(std::integral_constant<int, 8>{});
    }
}

// One converter per depth behind a common interface.
class SampleConverter
{
public:
    virtual ~SampleConverter() = default;
    virtual int32_t Read(const void* buffer, size_t index) const = 0;
    virtual void Write(void* buffer, size_t index, int32_t value) const = 0;
    virtual int Bits() const = 0;
};

template <int Depth>
class DepthConverter final : public SampleConverter
{
public:
    int32_t Read(const void* buffer, size_t index) const override { return ReadSample<Depth>(buffer, index); }
    void Write(void* buffer, size_t index, int32_t value) const override
    {
        WriteSample<Depth>(buffer, index, value);
    }
    int Bits() const override { return Depth; }
};

std::unique_ptr<SampleConverter> MakeSampleConverter(int bitsPerSample);

// A buffer plus the converter for its depth. Owns the converter, not the buffer.
class SampleView
{
public:
    SampleView(void* buffer, int bitsPerSample);
    int32_t Read(size_t index) const { return converter_->Read(buffer_, index); }
    void Write(size_t index, int32_t value) { converter_->Write(buffer_, index, value); }
    // The depth the samples are handled as (8, 16, 24 or 32).
    int Bits() const { return converter_->Bits(); }

private:
    void* buffer_;
    std::unique_ptr<SampleConverter> converter_;
};

} // namespace dsp
