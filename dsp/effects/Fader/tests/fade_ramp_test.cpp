// The fader's gain ramp against its definition (fade_oracle.h).
#include "core/fade_ramp.h"
#include "fade_oracle.h"
#include "testing/test_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using dsp::testing::Pattern;
using fader::Direction;
using fader::testing::Width;

TEST(FadeRamp, MatchesItsDefinitionAtEveryDepthAndOffset)
{
    struct
    {
        int bits;
        size_t bytes;
        uint64_t position, length;
    } cases[] = {
        {8, 1000, 0, 600},      {8, 1000, 400, 1200},   {12, 500, 0, 499},   {16, 2000, 0, 1500},
        {16, 2000, 1000, 1500}, {16, 4000, 0, 10000},   {24, 3000, 0, 2997}, {24, 3000, 300, 1000},
        {32, 4000, 0, 4000},    {32, 4000, 2000, 3001},
    };
    for (const auto& c : cases) {
        for (Direction dir : {Direction::In, Direction::Out}) {
            SCOPED_TRACE(testing::Message() << c.bits << " bits, p=" << c.position << " L=" << c.length
                                            << (dir == Direction::In ? " in" : " out"));
            const std::vector<uint8_t> in = Pattern(c.bytes, uint32_t(c.bits * 7 + c.position));
            std::vector<uint8_t> got = in;
            fader::ApplyRamp(got.data(), got.size(), c.bits, c.position, c.length, dir);
            std::vector<uint8_t> want = in;
            fader::testing::Ramp(want.data(), want.size(), c.bits, c.position, c.length,
                                 dir == Direction::In);
            EXPECT_TRUE(got == want);
        }
    }
}

TEST(FadeRamp, ReportsWhetherTheRegionContinues)
{
    std::vector<uint8_t> block(100, 0x80);
    // 16-bit samples at p = 0, 2, ..., 98.
    EXPECT_TRUE(fader::ApplyRamp(block.data(), 100, 16, 0, 1000, Direction::In));
    EXPECT_TRUE(
        fader::ApplyRamp(block.data(), 100, 16, 0, 100, Direction::In)); // next sample, p = 100, is still in
    EXPECT_FALSE(fader::ApplyRamp(block.data(), 100, 16, 0, 99, Direction::In));
    EXPECT_FALSE(fader::ApplyRamp(block.data(), 100, 16, 0, 50, Direction::In));
    EXPECT_FALSE(fader::ApplyRamp(block.data(), 100, 16, 200, 100, Direction::Out));
}

TEST(FadeRamp, EndsAtFullGainInAndSilenceOut)
{
    // 16-bit mono, L = 4 bytes: samples at p = 0, 2, 4 get gains 0, 1/2, 1 (in).
    const int16_t v = 20000;
    std::vector<uint8_t> block(8);
    for (int i = 0; i < 4; ++i) {
        block[2 * i] = uint8_t(v);
        block[2 * i + 1] = uint8_t(v >> 8);
    }
    std::vector<uint8_t> in = block;
    fader::ApplyRamp(in.data(), in.size(), 16, 0, 4, Direction::In);
    auto at = [&](const std::vector<uint8_t>& b, int i) { return int16_t(b[2 * i] | b[2 * i + 1] << 8); };
    EXPECT_EQ(at(in, 0), 0);
    EXPECT_EQ(at(in, 1), 10000);
    EXPECT_EQ(at(in, 2), 20000);
    EXPECT_EQ(at(in, 3), 20000); // past the region: untouched
    std::vector<uint8_t> out = block;
    fader::ApplyRamp(out.data(), out.size(), 16, 0, 4, Direction::Out);
    EXPECT_EQ(at(out, 0), 20000);
    EXPECT_EQ(at(out, 1), 10000);
    EXPECT_EQ(at(out, 2), 0);
    EXPECT_EQ(at(out, 3), 20000);
    // Negative samples truncate toward zero before the stored depth drops its low bits.
    std::vector<uint8_t> neg = {0xFF, 0xFF, 0xFF, 0xFF}; // -1, -1
    fader::ApplyRamp(neg.data(), neg.size(), 16, 0, 4, Direction::In);
    EXPECT_EQ(at(neg, 0), 0);
    EXPECT_EQ(at(neg, 1), -1); // -65536 * 0.5 = -32768 -> stored as -1 (floor)
}

TEST(FadeRamp, EightBitSamplesFadeTowards128)
{
    std::vector<uint8_t> block(200);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = i % 2 ? 255 : 0;
    fader::ApplyRamp(block.data(), block.size(), 8, 0, 199, Direction::Out);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 255 - 1); // 127 * (1 - 1/199) = 126.36 -> 126 + 128
    EXPECT_EQ(block[198], 127);   // -2^31 / 199 truncated, then the arithmetic shift floors to -1
    EXPECT_EQ(block[199], 128);
    for (size_t i = 2; i < block.size(); ++i) {
        // Every value moves towards 128 along the ramp.
        EXPECT_LE(std::abs(int(block[i]) - 128), std::abs(int(block[i - 2]) - 128)) << i;
    }
}

TEST(FadeRamp, SplittingABlockChangesNothing)
{
    for (int bits : {8, 16, 24, 32}) {
        const std::vector<uint8_t> in = Pattern(6000, uint32_t(bits));
        std::vector<uint8_t> whole = in, parts = in;
        fader::ApplyRamp(whole.data(), 6000, bits, 0, 5000, Direction::Out);
        const size_t half = 2400 / Width(bits) * Width(bits);
        fader::ApplyRamp(parts.data(), half, bits, 0, 5000, Direction::Out);
        fader::ApplyRamp(parts.data() + half, 6000 - half, bits, half, 5000, Direction::Out);
        EXPECT_TRUE(whole == parts) << bits << " bits";
    }
}

TEST(FadeRamp, HugeRegionsStayExact)
{
    // Lengths past 32 bits take the wide path; the values stay exact there too.
    const uint64_t big = 0x180000000ull;
    EXPECT_EQ(fader::FadeSample(INT32_MIN, big / 2, big, Direction::In), INT32_MIN / 2);
    EXPECT_EQ(fader::FadeSample(INT32_MAX, big - 1, big, Direction::Out),
              0); // 2^31-1 / 1.5*2^32 truncates to 0
    EXPECT_EQ(fader::FadeSample(INT32_MIN, big, big, Direction::In), INT32_MIN);
    EXPECT_EQ(fader::FadeSample(-7, 1, 2, Direction::In), -3); // toward zero, not down
    EXPECT_EQ(fader::FadeSample(7, 1, 3, Direction::Out), 4);
#ifdef __SIZEOF_INT128__
    // Where the compiler has 128-bit integers they are the reference for the
    // 64-bit long division the wide path uses on every target.
    const uint64_t lengths[] = {0x100000000ull,        0x100000001ull,        big,
                                0x7FFFFFFFFFFFFFFFull, 0x8000000000000001ull, 0xFFFFFFFFFFFFFFFFull};
    const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -12345678, -1, 0, 1, 987654321, INT32_MAX};
    for (const uint64_t length : lengths)
        for (const uint64_t part : {uint64_t(0), uint64_t(1), length / 3, length / 2 + 1, length - 1, length})
            for (const int32_t value : values) {
                const auto expected =
                    static_cast<int32_t>(static_cast<__int128>(value) * part / static_cast<__int128>(length));
                EXPECT_EQ(fader::FadeSample(value, part, length, Direction::In), expected)
                    << value << " * " << part << " / " << length;
            }
#endif
}

TEST(FadeRamp, ZeroLengthCountsAsOne)
{
    std::vector<uint8_t> a = {0x00, 0x40, 0x00, 0x40}, b = a;
    fader::ApplyRamp(a.data(), 4, 16, 0, 0, Direction::In);
    fader::ApplyRamp(b.data(), 4, 16, 0, 1, Direction::In);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, (std::vector<uint8_t>{0, 0, 0x00, 0x40}));
}

} // namespace
