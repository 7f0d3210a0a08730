#include "bit_depth.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using depth::ChannelDitherState;

std::vector<int> Dither16(std::vector<int32_t> in, unsigned channels, ChannelDitherState* states)
{
    std::vector<uint8_t> out(in.size() * 2);
    depth::DitherFrames<16>([&](size_t i) { return in[i]; }, in.size() / channels, channels, states,
                            out.data());
    std::vector<int> values;
    for (size_t i = 0; i < in.size(); ++i)
        values.push_back(static_cast<int16_t>(out[2 * i] | (out[2 * i + 1] << 8)));
    return values;
}

TEST(Dither, FirstStepFollowsTheArithmetic)
{
    // State 0: d = 1013904223, whose low 13 bits are 0x135F; f = 0x135F + 4096
    // rounds down to 8192, so the output is 1 and the error -8192.
    ChannelDitherState s;
    EXPECT_EQ(depth::DitherSample<16>(s, 0), 1);
    EXPECT_EQ(s.lastError, -8192);
    EXPECT_EQ(s.prevHalf, 0);
    EXPECT_EQ(s.randomState, 1013904223u);
    // Second step: prevHalf takes half the last error.
    depth::DitherSample<16>(s, 0);
    EXPECT_EQ(s.prevHalf, -4096);
    EXPECT_EQ(s.randomState, 1013904223u * 1664525u + 1013904223u);
}

TEST(Dither, FullScaleClipsToTheLargestSample)
{
    ChannelDitherState s;
    EXPECT_EQ(depth::DitherSample<16>(s, 0x7FFFFF00), 32767); // 24-bit 0x7FFFFF read as 32 bits
    // e was not above the limit, so the error is what was left after clipping f.
    EXPECT_EQ(s.lastError, 0x7FFFFF00 / 8 - (0x0FFFFFFF & ~0x1FFF));
    ChannelDitherState n;
    for (int i = 0; i < 1000; ++i)
        ASSERT_GE(depth::DitherSample<16>(n, INT32_MIN), -32768);
    ChannelDitherState b;
    EXPECT_EQ(depth::DitherSample<8>(b, INT32_MAX), 127);
    // Long runs at full scale keep the error bounded (e is clipped with f).
    ChannelDitherState run;
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(depth::DitherSample<16>(run, INT32_MAX), 32767);
    EXPECT_LT(std::abs(run.lastError), 3 * 8192);
}

TEST(Dither, StateIsPerChannelAndCarriesOver)
{
    ChannelDitherState states[2];
    // Each channel starts from the same state, so silent stereo gives the
    // mono pattern on both channels.
    EXPECT_EQ(Dither16(std::vector<int32_t>(10, 0), 2, states),
              (std::vector<int>{1, 1, -1, -1, 1, 1, -1, -1, 0, 0}));
    // Continuing with the same states does not repeat the first run.
    EXPECT_NE(Dither16(std::vector<int32_t>(10, 0), 2, states),
              (std::vector<int>{1, 1, -1, -1, 1, 1, -1, -1, 0, 0}));
}

TEST(Dither, ErrorFeedbackTracksTheInputOnAverage)
{
    // A constant input between two 16-bit steps comes out as a mix of the two
    // neighbours whose mean is the input.
    ChannelDitherState s;
    const int32_t x = static_cast<int32_t>((100 << 16) + (1 << 14)); // 100.25 in 16-bit terms
    long long sum = 0;
    for (int i = 0; i < 40000; ++i) {
        const int v = depth::DitherSample<16>(s, x);
        ASSERT_GE(v, 97);
        ASSERT_LE(v, 104);
        sum += v;
    }
    EXPECT_NEAR(static_cast<double>(sum) / 40000, 100.25, 0.01);
}

TEST(BitDepthFamily, MembersAndTheFilesTheyConvert)
{
    const auto d16 = depth::MemberFor(16), d8 = depth::MemberFor(8), b24 = depth::MemberFor(24);
    EXPECT_STREQ(d16.panelText, "Converts the source to 16 bit, dithering output ");
    EXPECT_STREQ(d8.panelText, "Converts the source to 8 bit, dithering output ");
    EXPECT_STREQ(b24.panelText, "Converts the source to 24 bit");
    struct Case
    {
        depth::Member m;
        int bits;
        unsigned channels;
        bool converts;
    } cases[] = {{d16, 16, 2, false}, {d16, 8, 2, true},    {d16, 24, 100, true}, {d16, 24, 101, false},
                 {d16, 32, 1, true},  {d8, 8, 1, false},    {d8, 16, 1, true},    {d8, 16, 101, false},
                 {b24, 8, 1, true},   {b24, 16, 300, true}, {b24, 24, 1, false},  {b24, 32, 1, false},
                 {b24, 12, 1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.m.Converts(c.bits, c.channels), c.converts) << c.m.outBits << " " << c.bits;
}

TEST(BitDepthFamily, WideningTo24IsExact)
{
    const uint8_t eight[] = {200, 128, 0, 255};
    std::vector<uint8_t> out(12);
    depth::WidenTo24(eight, 8, 4, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{0, 0, 0x48, 0, 0, 0, 0, 0, 0x80, 0, 0, 0x7F}));
    const uint8_t sixteen[] = {0xFE, 0xFF, 0xFF, 0x7F, 0x00, 0x80}; // -2, 32767, -32768
    std::vector<uint8_t> out16(9);
    depth::WidenTo24(sixteen, 16, 3, out16.data());
    EXPECT_EQ(out16, (std::vector<uint8_t>{0, 0xFE, 0xFF, 0, 0xFF, 0x7F, 0, 0x00, 0x80}));
}

TEST(BitDepthFamily, ChunksOfStoredSamples)
{
    // A fresh 16-bit member on five silent samples of 8-bit and 24-bit mono.
    for (int bits : {8, 24}) {
        ChannelDitherState state[1];
        std::vector<uint8_t> in(bits == 8 ? 5 : 15, bits == 8 ? 128 : 0);
        std::vector<uint8_t> out(10, 0xEE);
        ASSERT_EQ(depth::ConvertChunk(16, in.data(), in.size(), bits, 1, state, out.data()), 10u);
        EXPECT_EQ(out, (std::vector<uint8_t>{1, 0, 0xFF, 0xFF, 1, 0, 0xFF, 0xFF, 0, 0})) << bits;
    }
    // Stereo 16-bit to 8-bit: a trailing partial frame is left out.
    ChannelDitherState states[2];
    std::vector<uint8_t> in(4 * 3 + 2, 0);
    std::vector<uint8_t> out(8, 0xEE);
    EXPECT_EQ(depth::ConvertChunk(8, in.data(), in.size(), 16, 2, states, out.data()), 6u);
    EXPECT_EQ(out, (std::vector<uint8_t>{128, 128, 128, 128, 128, 128, 0xEE, 0xEE}));
    // Widening ignores channels.
    const uint8_t eight[] = {200, 56, 128};
    std::vector<uint8_t> wide(9);
    EXPECT_EQ(depth::ConvertChunk(24, eight, 3, 8, 2, nullptr, wide.data()), 9u);
    EXPECT_EQ(wide, (std::vector<uint8_t>{0, 0, 0x48, 0, 0, 0xB8, 0, 0, 0}));
}

TEST(BitDepthFamily, OutputRecords)
{
    const auto in = dsp::MakePcmFormat(2, 44100, 24);
    struct Case
    {
        int bits;
        uint16_t align;
        uint32_t rate;
    } cases[] = {{16, 4, 176400}, {8, 2, 88200}, {24, 6, 264600}};
    for (const auto& c : cases) {
        const auto out = depth::OutputFormat(in, c.bits);
        EXPECT_EQ(out.bitsPerSample, c.bits);
        EXPECT_EQ(out.blockAlign, c.align);
        EXPECT_EQ(out.avgBytesPerSec, c.rate);
        EXPECT_EQ(out.channels, 2);
        EXPECT_EQ(out.samplesPerSec, 44100u);
        EXPECT_EQ(out.formatTag, 1);
    }
}

} // namespace
