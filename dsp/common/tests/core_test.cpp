// The portable core: format arithmetic, sample conversion at every depth,
// the name-number generator and the check of numbers typed into panels.
#include "core/name_generator.h"
#include "core/panel_number.h"
#include "core/sample_view.h"
#include "core/wave_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using dsp::WaveFormat;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct ReadCase
{
    int bits;
    std::vector<uint8_t> stored; // one sample
    int32_t value;
};

TEST(SampleView, ReadsEveryDepthIncludingEdges)
{
    const ReadCase cases[] = {
        {8, {0x00}, kMin},
        {8, {0x80}, 0},
        {8, {0xFF}, 0x7F000000},
        {8, {0x7F}, -0x01000000},
        {16, {0x00, 0x80}, kMin},
        {16, {0xFF, 0x7F}, 0x7FFF0000},
        {16, {0xFF, 0xFF}, -0x10000},
        {16, {0x34, 0x12}, 0x12340000},
        {24, {0x00, 0x00, 0x80}, kMin},
        {24, {0xFF, 0xFF, 0x7F}, 0x7FFFFF00},
        {24, {0xFF, 0xFF, 0xFF}, -0x100},
        {24, {0x56, 0x34, 0x12}, 0x12345600},
        {32, {0x00, 0x00, 0x00, 0x80}, kMin},
        {32, {0xFF, 0xFF, 0xFF, 0x7F}, kMax},
        {32, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {32, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        // Unsupported depths are handled as 8 bit.
        {12, {0x00}, kMin},
        {4, {0xFF}, 0x7F000000},
        {20, {0x81}, 0x01000000},
        {0, {0x80}, 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits");
        std::vector<uint8_t> buffer(3 * c.stored.size() + 8, 0xAA);
        // Put the sample at index 2 so the addressing is checked too.
        std::copy(c.stored.begin(), c.stored.end(), buffer.begin() + 2 * c.stored.size());
        dsp::SampleView view(buffer.data(), c.bits);
        EXPECT_EQ(view.Read(2), c.value);
        EXPECT_EQ(dsp::WithDepth(
                      c.bits, [&](auto d) { return dsp::ReadSample<decltype(d)::value>(buffer.data(), 2); }),
                  c.value);
    }
}

struct WriteCase
{
    int bits;
    int32_t value;
    std::vector<uint8_t> stored;
};

TEST(SampleView, WritesEveryDepthTruncatingTowardMinusInfinity)
{
    const WriteCase cases[] = {
        {8, -1, {127}}, // arithmetic shift: -1 >> 24 is -1, so 127, not 128
        {8, 0, {128}},
        {8, kMin, {0}},
        {8, kMax, {255}},
        {8, 0x00FFFFFF, {128}},
        {8, 0x01000000, {129}},
        {16, -1, {0xFF, 0xFF}},
        {16, kMin, {0x00, 0x80}},
        {16, 0x1234FFFF, {0x34, 0x12}},
        {24, -1, {0xFF, 0xFF, 0xFF}},
        {24, kMin, {0x00, 0x00, 0x80}},
        {24, 0x123456FF, {0x56, 0x34, 0x12}},
        {32, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
        {32, -2, {0xFE, 0xFF, 0xFF, 0xFF}},
        {12, -1, {127}},
        {64, kMax, {255}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, value " << c.value);
        const size_t width = c.stored.size();
        std::vector<uint8_t> a(4 * width, 0xAA), b(4 * width, 0xAA);
        dsp::SampleView view(a.data(), c.bits);
        view.Write(1, c.value);
        dsp::WithDepth(c.bits, [&](auto d) { dsp::WriteSample<decltype(d)::value>(b.data(), 1, c.value); });
        std::vector<uint8_t> expected(4 * width, 0xAA);
        std::copy(c.stored.begin(), c.stored.end(), expected.begin() + width);
        EXPECT_EQ(a, expected);
        EXPECT_EQ(b, expected);
    }
}

TEST(SampleView, EveryStoredValueSurvivesReadThenWrite)
{
    for (int bits : {8, 16}) {
        const uint32_t count = 1u << bits;
        std::vector<uint8_t> in(count * (bits / 8));
        for (uint32_t v = 0; v < count; ++v)
            for (int b = 0; b < bits / 8; ++b)
                in[v * (bits / 8) + b] = static_cast<uint8_t>(v >> (8 * b));
        std::vector<uint8_t> out(in.size(), 0);
        dsp::SampleView from(in.data(), bits), to(out.data(), bits);
        for (uint32_t i = 0; i < count; ++i)
            to.Write(i, from.Read(i));
        EXPECT_EQ(out, in) << bits << " bits";
    }
    // 24 and 32 bits: a walk over the range, with the sign bit set and clear.
    for (int bits : {24, 32}) {
        const int width = bits / 8;
        std::vector<uint8_t> in(4096 * width), out(in.size());
        uint32_t x = 12345;
        for (auto& b : in) {
            x = x * 1103515245u + 12345u;
            b = static_cast<uint8_t>(x >> 16);
        }
        dsp::SampleView from(in.data(), bits), to(out.data(), bits);
        for (size_t i = 0; i < 4096; ++i)
            to.Write(i, from.Read(i));
        EXPECT_EQ(out, in) << bits << " bits";
    }
}

TEST(SampleView, ReportsTheDepthItHandles)
{
    const int expected[][2] = {{8, 8}, {16, 16}, {24, 24}, {32, 32}, {12, 8}, {0, 8}, {33, 8}};
    for (const auto& e : expected) {
        uint8_t buffer[4] = {};
        EXPECT_EQ(dsp::SampleView(buffer, e[0]).Bits(), e[1]);
        EXPECT_EQ(dsp::HandledDepth(e[0]), e[1]);
    }
    EXPECT_EQ(dsp::StoredSampleBytes(8), 1u);
    EXPECT_EQ(dsp::StoredSampleBytes(16), 2u);
    EXPECT_EQ(dsp::StoredSampleBytes(24), 3u);
    EXPECT_EQ(dsp::StoredSampleBytes(32), 4u);
    EXPECT_EQ(dsp::StoredSampleBytes(12), 1u);
}

WaveFormat Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t align)
{
    WaveFormat f = dsp::MakePcmFormat(channels, rate, bits);
    f.blockAlign = align;
    return f;
}

TEST(WaveFormat, BytesForMillisecondsTruncatesAndTakesZeroAlignAsFour)
{
    struct
    {
        WaveFormat format;
        uint32_t ms;
        uint32_t bytes;
    } cases[] = {
        {Format(2, 44100, 16, 4), 1000, 176400},
        {Format(2, 44100, 16, 0), 1000, 176400}, // block align 0 counts 4 bytes per frame
        {Format(1, 8000, 8, 0), 10, 320},
        {Format(1, 44100, 16, 2), 1, 88},  // 88.2 truncated
        {Format(2, 22050, 24, 6), 7, 926}, // 926.1: not a whole frame
        {Format(8, 384000, 32, 32), 6000, 73728000},
        {Format(2, 44100, 16, 4), 0, 0},
        // The product is formed in 64 bits: 65535 * 4000000000 * 10 would overflow 32 bits.
        {Format(1, 4000000000u, 8, 65535), 10, static_cast<uint32_t>(65535ull * 4000000000ull * 10 / 1000)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dsp::BytesForMilliseconds(c.format, c.ms), c.bytes)
            << c.format.blockAlign << " x " << c.format.samplesPerSec << " x " << c.ms;
}

TEST(WaveFormat, WholeFramesRoundsDown)
{
    EXPECT_EQ(dsp::WholeFrames(926, Format(2, 22050, 24, 6)), 924u);
    EXPECT_EQ(dsp::WholeFrames(924, Format(2, 22050, 24, 6)), 924u);
    EXPECT_EQ(dsp::WholeFrames(5, Format(2, 22050, 24, 6)), 0u);
    EXPECT_EQ(dsp::WholeFrames(7, Format(1, 8000, 8, 1)), 7u);
    EXPECT_EQ(dsp::WholeFrames(7, Format(1, 8000, 8, 0)), 7u);
    EXPECT_EQ(dsp::WholeFrames(0x100000003ull, Format(2, 44100, 16, 4)), 0x100000000ull);
}

TEST(WaveFormat, FormatDescribesAudioRefusesWhatCannotBeAudio)
{
    struct
    {
        WaveFormat format;
        bool ok;
    } cases[] = {
        {Format(2, 44100, 16, 4), true},
        {Format(1, 8000, 8, 1), true},
        {Format(2, 44100, 16, 0), true},  // block align 0 is taken as 4
        {Format(1, 44100, 12, 2), true},  // handled as 8 bit
        {Format(0, 44100, 16, 4), false}, // no channels
        {Format(2, 44100, 7, 2), false},  // fewer than 8 bits
        {Format(2, 44100, 0, 0), false},
        {Format(2, 0, 16, 4), false},                // no samples per second
        {Format(255, 4000000000u, 32, 1020), false}, // one second far beyond any buffer
        {Format(2, 200000000u, 16, 4), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dsp::FormatDescribesAudio(c.format), c.ok)
            << c.format.channels << " ch, " << c.format.samplesPerSec << " Hz, " << c.format.bitsPerSample
            << " bits";
}

TEST(WaveFormat, PercentTruncatesAndIsZeroForNothing)
{
    EXPECT_EQ(dsp::PercentOf(0, 100), 0u);
    EXPECT_EQ(dsp::PercentOf(199, 200), 99u);
    EXPECT_EQ(dsp::PercentOf(200, 200), 100u);
    EXPECT_EQ(dsp::PercentOf(5, 0), 0u);
    EXPECT_EQ(dsp::PercentOf(0xFFFFFFFFFull, 0x1000000000ull), 99u);
}

TEST(NameGenerator, FollowsTheCongruenceWithoutOverflow)
{
    // The split-halves product must equal the plain product modulo 10^8.
    for (uint32_t x : {0u, 1u, 9999u, 10000u, 12345678u, 99999999u, 385875968u + 59u * 65536u})
        EXPECT_EQ(dsp::NameGenerator::MultiplyMod(x, 31415821u),
                  static_cast<uint32_t>(uint64_t(x) * 31415821u % 100000000u))
            << x;
    dsp::NameGenerator g(dsp::NameGenerator::SeedFromTime(13, 45, 30, 250));
    EXPECT_EQ(g.State(), (13u << 24) + (45u << 16) + (30u << 8) + 250u);
    uint64_t x = g.State();
    for (int i = 0; i < 1000; ++i) {
        x = (x % 100000000u * 31415821u + 1) % 100000000u;
        ASSERT_EQ(g.Next(), x) << "step " << i;
    }
    dsp::NameGenerator h(42);
    for (int i = 0; i < 1000; ++i) {
        const uint32_t before = h.State();
        const uint32_t n = h.Below(9999);
        const uint32_t after = h.State();
        EXPECT_LT(n, 9999u);
        EXPECT_EQ(n, 9999u * (after / 10000) / 10000) << "from " << before;
    }
    EXPECT_LT(dsp::RandomNameNumber(9999), 9999u);
}

TEST(PanelNumber, TextsAreReadAsTheCLibraryReadsThem)
{
    struct Case
    {
        const char* text;
        bool found;
        bool finite;
        bool wholeFits;
        int64_t whole;
        double value;
    } cases[] = {
        {"", false, true, true, 0, 0},
        {"abc", false, true, true, 0, 0},
        {"-", false, true, true, 0, 0},
        {"  \t42", true, true, true, 42, 42},
        {"+7", true, true, true, 7, 7},
        {"-12abc", true, true, true, -12, -12},
        {"3.75", true, true, true, 3, 3.75},
        {".5", true, true, true, 0, 0.5},
        {"1e3", true, true, true, 1, 1000}, // strtol stops at the 'e'
        {"2e", true, true, true, 2, 2},     // an exponent needs digits
        {"0x10", true, true, true, 0, 0},   // decimal only
        {"1e-999", true, true, true, 1, 0}, // underflow is finite
        {"1e999", true, false, true, 1, HUGE_VAL},
        {"-1E999", true, false, true, -1, -HUGE_VAL},
        {"inf", true, false, true, 0, HUGE_VAL},
        {"-Infinity", true, false, true, 0, -HUGE_VAL},
        {"9223372036854775807", true, true, true, INT64_MAX, 9223372036854775807.0},
        {"-9223372036854775808", true, true, true, INT64_MIN, -9223372036854775808.0},
        {"9223372036854775808", true, true, false, 0, 9223372036854775808.0},
        {"99999999999999999999", true, true, false, 0, 1e20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const dsp::TextNumber n = dsp::ReadTextNumber(c.text);
        EXPECT_EQ(n.found, c.found);
        EXPECT_EQ(n.finite, c.finite);
        EXPECT_EQ(n.wholeFits, c.wholeFits);
        if (c.wholeFits) {
            EXPECT_EQ(n.whole, c.whole);
        }
        EXPECT_EQ(n.value, c.value);
    }
    EXPECT_TRUE(std::isnan(dsp::ReadTextNumber("NaN").value));
    EXPECT_FALSE(dsp::ReadTextNumber(nullptr).found);
}

TEST(PanelNumber, WholeNumbersOutsideTheRangeOrNotFiniteDoNotFit)
{
    struct Case
    {
        const char* text;
        int64_t min, max;
        bool fits;
    } cases[] = {
        {"0", 0, 100, true},
        {"100", 0, 100, true},
        {"101", 0, 100, false},
        {"-5", 0, 100, false},
        {"-0", 0, 100, true},
        {"", 0, 100, true}, // no number: read as 0
        {"abc", 0, 100, true},
        {"nan", 0, 100, false},
        {"inf", 0, 100, false},
        {"1e999", 0, 100, false},
        {"5.99", 0, 5, true}, // the whole part is what the field reads
        {"2147483647", 0, INT32_MAX, true},
        {"2147483648", 0, INT32_MAX, false},
        {"-2147483648", INT32_MIN, INT32_MAX, true},
        {"-2147483649", INT32_MIN, INT32_MAX, false},
        {"99999999999999999999", INT64_MIN, INT64_MAX, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dsp::WholeNumberTextFits(c.text, c.min, c.max), c.fits) << c.text;
}

} // namespace
