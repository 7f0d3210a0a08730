#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/decibels.h"
#include "core/durations.h"
#include "core/plans.h"
#include "core/sample_view.h"

namespace dsp::basic {
namespace {

WaveFormat Shape(uint16_t blockAlign, uint32_t rate, uint16_t bits = 16)
{
    return WaveFormat{1, 2, rate, blockAlign * rate, blockAlign, bits, 0};
}

TEST(Durations, SplitAndJoinRoundTrip)
{
    struct Case
    {
        uint32_t ms;
        uint32_t m, s, x;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {999, 0, 0, 999},
        {1000, 0, 1, 0},
        {59999, 0, 59, 999},
        {60000, 1, 0, 0},
        {135005, 2, 15, 5},
        {4294967295u, 71582, 47, 295},
    };
    for (const Case& c : cases) {
        const ClockParts p = SplitMilliseconds(c.ms);
        EXPECT_EQ(p.minutes, c.m) << c.ms;
        EXPECT_EQ(p.seconds, c.s) << c.ms;
        EXPECT_EQ(p.milliseconds, c.x) << c.ms;
        EXPECT_EQ(JoinMilliseconds(p.minutes, p.seconds, p.milliseconds), c.ms);
    }
}

TEST(Durations, ClockRowsBeyondTheSettingAreRefused)
{
    struct Case
    {
        const char* minutes;
        const char* seconds;
        const char* milliseconds;
        bool fits;
        uint32_t ms;
    } cases[] = {
        {"1", "75", "5", true, 135005},
        {"", "", "", true, 0},
        {" 2", "x", "7ms", true, 120007},
        {"+1", "0", "0", true, 60000},
        {"71582", "47", "295", true, 4294967295u},
        {"71582", "47", "296", false, 0},
        {"71583", "0", "0", false, 0},
        {"0", "0", "4294967296", false, 0},
        {"0", "-1", "1500", false, 0},
        {"-0", "0", "0", true, 0},
        {"nan", "0", "0", false, 0},
        {"0", "inf", "0", false, 0},
        {"0", "0", "1e999", false, 0},
        {"99999999999999999999", "0", "0", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.minutes) + "," + c.seconds + "," + c.milliseconds);
        uint32_t ms = 12345;
        EXPECT_EQ(ClockFromTexts(c.minutes, c.seconds, c.milliseconds, &ms), c.fits);
        EXPECT_EQ(ms, c.fits ? c.ms : 12345u);
    }
}

TEST(Durations, JoinTakesUnnormalisedFieldsAndWraps)
{
    EXPECT_EQ(JoinMilliseconds(1, 75, 5), 135005u);
    EXPECT_EQ(JoinMilliseconds(0, 0, 1234567), 1234567u);
    EXPECT_EQ(JoinMilliseconds(0, -1, 1500), 500u);
    EXPECT_EQ(JoinMilliseconds(71583, 0, 0), 71583u * 60000u); // wraps like the 32-bit sum
}

TEST(Durations, ByteCountsAreWholeFrames)
{
    struct Case
    {
        uint32_t align, rate, ms;
        uint64_t bytes;
    };
    const Case cases[] = {
        {4, 44100, 60000, 10584000}, // one minute of CD audio
        {4, 44100, 1000, 176400},
        {4, 44100, 7, 1232}, // 1234.8 bytes: rounded down to 308 frames
        {6, 44100, 1, 264},
        {3, 44100, 1, 132}, // 132.3
        {0, 1000, 3, 12},   // block align 0 counts 4 bytes a frame, no rounding
        {0, 1000, 1, 4},
        {0, 441, 1, 1},
        {1, 8000, 1, 8},
        {4, 44100, 0, 0},
        // Lengths past 4 GiB keep their size instead of wrapping at 32 bits.
        {32, 192000, 4000000, 24576000000ull},
    };
    for (const Case& c : cases) {
        const uint64_t bytes = FrameBytesForMilliseconds(Shape(c.align, c.rate), c.ms);
        EXPECT_EQ(bytes, c.bytes) << c.align << " " << c.rate << " " << c.ms;
        if (c.align) {
            EXPECT_EQ(bytes % c.align, 0u);
        }
    }
}

TEST(Plans, SectionOfAFileWithAPartialFrameStaysOnFrames)
{
    // 100 frames of 4 bytes and 2 stray bytes; 10 frames counted from the end.
    const Span s = SectionToKeep(402, 40, 1000, true, Shape(4, 44100));
    EXPECT_EQ(s.start % 4, 0u);
    EXPECT_EQ(s.start, 360u);
    EXPECT_EQ(s.length, 40u); // the stray bytes are not part of any frame
}

TEST(Plans, TrimWorkedExampleAndLimits)
{
    // 1764000 bytes, 500 ms off the end, then 1000 ms off the start.
    const WaveFormat cd = Shape(4, 44100);
    const uint64_t kept = SizeAfterEndCut(1764000, FrameBytesForMilliseconds(cd, 500), cd);
    EXPECT_EQ(kept, 1675800u);
    const BeginCutPlan plan = PlanBeginCut(kept, FrameBytesForMilliseconds(cd, 1000));
    EXPECT_EQ(plan.kind, BeginCut::kCopyRest);
    EXPECT_EQ(plan.rest.start, 176400u);
    EXPECT_EQ(plan.rest.length, 1499400u);

    EXPECT_EQ(SizeAfterEndCut(1000, 0, cd), 1000u);
    EXPECT_EQ(SizeAfterEndCut(1000, 1000, cd), 0u);
    EXPECT_EQ(SizeAfterEndCut(1000, 5000, cd), 0u);
    EXPECT_EQ(SizeAfterEndCut(1002, 400, cd), 600u); // stray bytes go with the cut

    EXPECT_EQ(PlanBeginCut(1000, 0).kind, BeginCut::kNone);
    EXPECT_EQ(PlanBeginCut(1000, 1004).kind, BeginCut::kEmpty);
    const BeginCutPlan all = PlanBeginCut(1000, 1000);
    EXPECT_EQ(all.kind, BeginCut::kCopyRest);
    EXPECT_EQ(all.rest.length, 0u);
    EXPECT_EQ(PlanBeginCut(0, 4).kind, BeginCut::kEmpty);
}

TEST(Plans, PaddingAndBlocks)
{
    EXPECT_EQ(PaddingToReach(176400, 176400), 0u);
    EXPECT_EQ(PaddingToReach(0, 176400), 176400u);
    EXPECT_EQ(PaddingToReach(500, 0), 0u);
    EXPECT_EQ(PaddingToReach(5000000000ull, 6000000000ull), 1000000000ull); // past 32 bits

    EXPECT_EQ(SilenceByte(8), 0x80);
    EXPECT_EQ(SilenceByte(16), 0);
    EXPECT_EQ(SilenceByte(24), 0);

    // 2.5 seconds read back to front: the last second, the one before, the first half.
    const uint64_t sec = 1000;
    const Span a = NextBlockFromEnd(2500, 0, sec), b = NextBlockFromEnd(2500, 1000, sec),
               c = NextBlockFromEnd(2500, 2000, sec);
    EXPECT_EQ(a.start, 1500u);
    EXPECT_EQ(a.length, 1000u);
    EXPECT_EQ(b.start, 500u);
    EXPECT_EQ(b.length, 1000u);
    EXPECT_EQ(c.start, 0u);
    EXPECT_EQ(c.length, 500u);
}

TEST(Decibels, PercentToText)
{
    struct Case
    {
        long percent;
        const char* text;
    };
    const Case cases[] = {
        {20, "-14.0"}, {100, "-0.0"}, {50, "-6.0"}, {1, "-40.0"}, {0, "-96.3"}, {-5, "-96.3"}, {101, "-96.3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentAsDecibelText(c.percent), c.text) << c.percent;
}

TEST(Decibels, TextToPercentIsLimited)
{
    EXPECT_EQ(PercentFromDecibelText("-14.0"), 19); // truncated, not rounded
    EXPECT_EQ(PercentFromDecibelText("-6"), 50);
    EXPECT_EQ(PercentFromDecibelText("0"), 99);   // just under full scale
    EXPECT_EQ(PercentFromDecibelText("12"), 100); // above full scale: limited
    EXPECT_EQ(PercentFromDecibelText("-200"), 0);
    EXPECT_EQ(PercentFromDecibelText(""), 99);       // no number: 0 dB
    EXPECT_EQ(PercentFromDecibelText("99999"), 100); // infinite figure
}

TEST(Decibels, FiguresAboveFullScaleOrNotFiniteDoNotFit)
{
    struct Case
    {
        const char* text;
        bool fits;
    } cases[] = {
        {"-14.0", true}, {"0", true},    {"0.08", true},  {"0.09", false},  {"12", false},    {"-200", true},
        {"", true},      {"nan", false}, {"-inf", false}, {"1e999", false}, {"-1e300", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecibelTextFits(c.text), c.fits) << c.text;
}

} // namespace
} // namespace dsp::basic

#include "core/transforms.h"

namespace dsp::basic {
namespace {

TEST(Reverse, FramesSwapWholeAndKeepTheirBytes)
{
    // Stereo 16-bit frames A, B, C become C, B, A.
    const uint8_t in[12] = {0xA0, 0xA1, 0xA2, 0xA3, 0xB0, 0xB1, 0xB2, 0xB3, 0xC0, 0xC1, 0xC2, 0xC3};
    uint8_t out[12] = {};
    ReverseFrames(in, out, sizeof in, 4);
    const uint8_t want[12] = {0xC0, 0xC1, 0xC2, 0xC3, 0xB0, 0xB1, 0xB2, 0xB3, 0xA0, 0xA1, 0xA2, 0xA3};
    EXPECT_EQ(0, std::memcmp(out, want, sizeof want));

    // One frame is unchanged; reversing twice gives the input back for any frame size.
    const uint8_t one[6] = {1, 2, 3, 4, 5, 6};
    uint8_t oneOut[6] = {};
    ReverseFrames(one, oneOut, 6, 6);
    EXPECT_EQ(0, std::memcmp(one, oneOut, 6));
    for (size_t frame : {1u, 2u, 3u, 4u, 6u, 8u}) {
        std::vector<uint8_t> data(frame * 37), back(data.size()), again(data.size());
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        ReverseFrames(data.data(), back.data(), data.size(), frame);
        EXPECT_NE(back, data) << frame;
        EXPECT_EQ(0, std::memcmp(back.data(), data.data() + data.size() - frame, frame));
        ReverseFrames(back.data(), again.data(), back.size(), frame);
        EXPECT_EQ(again, data) << frame;
    }
}

TEST(Quieten, ScalesEveryDepthTowardZero)
{
    struct Case
    {
        uint16_t bits;
        uint32_t percent;
        std::vector<uint8_t> in, out;
    };
    const Case cases[] = {
        // 16-bit: 1000 and -1000 at 20 percent become 800 and -800; -3 at 50 becomes -2.
        {16, 20, {0xE8, 0x03, 0x18, 0xFC}, {0x20, 0x03, 0xE0, 0xFC}},
        {16, 50, {0xFD, 0xFF}, {0xFE, 0xFF}},
        {16, 100, {0xFF, 0x7F, 0x00, 0x80}, {0x00, 0x00, 0x00, 0x00}},
        {16, 0, {0x34, 0x12}, {0x34, 0x12}},
        // 8-bit around 128: 228 (+100) at 20 percent is 208 (+80); 100 percent is 128.
        {8, 20, {228, 28, 128}, {208, 48, 128}},
        {8, 100, {0, 255, 77}, {128, 128, 128}},
        // 24-bit: +1000 (0x0003E8) at 20 percent is 800 (0x000320).
        {24, 20, {0xE8, 0x03, 0x00}, {0x20, 0x03, 0x00}},
        // 32-bit: 2^31 - 1 at 50 percent is 2^30 - 1 (toward zero), -2^31 is -2^30.
        {32,
         50,
         {0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80},
         {0xFF, 0xFF, 0xFF, 0x3F, 0x00, 0x00, 0x00, 0xC0}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = c.in;
        QuietenBlock(block.data(), block.size(), c.bits, c.percent);
        EXPECT_EQ(block, c.out) << c.bits << " bits, " << c.percent << "%";
    }
    // A block with a stray byte after its last whole sample leaves that byte alone.
    std::vector<uint8_t> odd = {0xE8, 0x03, 0x77};
    QuietenBlock(odd.data(), odd.size(), 16, 20);
    EXPECT_EQ(odd, (std::vector<uint8_t>{0x20, 0x03, 0x77}));
}

// The scaling as documented: the 32-bit left-justified sample times
// (100 - percent) in 64 bits, divided by 100 toward zero, stored back.
std::vector<uint8_t> QuietenedByTheFormula(const std::vector<uint8_t>& in, uint16_t bits, uint32_t percent)
{
    std::vector<uint8_t> out = in;
    WithDepth(bits, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        for (size_t i = 0; i < in.size() / (kBits / 8); ++i) {
            const int64_t v = ReadSample<kBits>(in.data(), i);
            WriteSample<kBits>(out.data(), i, static_cast<int32_t>(v * (100 - int64_t{percent}) / 100));
        }
    });
    return out;
}

TEST(Quieten, EveryStoredValueAtEveryPercentageFollowsTheFormula)
{
    // Every 8- and 16-bit value. 24-bit values: every one within 1000 of
    // zero and of both ends of the range, every 997th between, and the
    // multiples of 100 with their neighbours at both ends. 32-bit values at
    // both ends of the range, around zero and spread between, with multiples
    // of 100 among them.
    std::vector<uint8_t> all8(256), all16(65536 * 2);
    for (size_t i = 0; i < all8.size(); ++i)
        all8[i] = static_cast<uint8_t>(i);
    for (uint32_t v = 0; v < 65536; ++v)
        std::memcpy(&all16[v * 2], &v, 2);
    constexpr int64_t kTop24 = int64_t{1} << 23;
    std::vector<int64_t> values24;
    for (int64_t v = -1000; v <= 1000; ++v)
        values24.insert(values24.end(), {v, kTop24 - 1 - (v + 1000), -kTop24 + (v + 1000)});
    for (int64_t v = -kTop24; v < kTop24; v += 997)
        values24.push_back(v);
    for (int64_t v : {kTop24 - kTop24 % 100, -(kTop24 - kTop24 % 100)})
        values24.insert(values24.end(), {v - 1, v, v + 1});
    std::vector<int64_t> wide = {0, 1, -1, 99, -99, 100, -100, 101, -101, 12300, -12300};
    for (int64_t v = -(int64_t{1} << 31); v < (int64_t{1} << 31); v += 9973 * 1237)
        wide.push_back(v);
    for (int64_t v : {int64_t{1} << 23, int64_t{1} << 31})
        for (int64_t d : {1, 2, 100, 101})
            wide.insert(wide.end(), {v - d, -v + d - 1, -v});
    std::vector<uint8_t> some24, some32;
    for (int64_t v : values24) {
        const auto u = static_cast<uint32_t>(v);
        some24.insert(some24.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16)});
    }
    for (int64_t v : wide) {
        const auto u = static_cast<uint32_t>(v);
        if (v >= -kTop24 && v < kTop24)
            some24.insert(some24.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16)});
        some32.insert(some32.end(), {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
    }
    const std::pair<uint16_t, const std::vector<uint8_t>*> depths[] = {
        {8, &all8}, {16, &all16}, {24, &some24}, {32, &some32}};
    for (const SampleLoops loops : {SampleLoops::kBaseline, SampleLoops::kWidest}) {
        for (const auto& [bits, in] : depths) {
            for (uint32_t percent = 0; percent <= 100; ++percent) {
                std::vector<uint8_t> block = *in;
                QuietenBlock(block.data(), block.size(), bits, percent, loops);
                ASSERT_EQ(block, QuietenedByTheFormula(*in, bits, percent))
                    << bits << " bits, " << percent << "%, loops " << static_cast<int>(loops);
            }
        }
    }
}

TEST(Quieten, BlocksOfEveryShortLengthStopAtTheirLastWholeSample)
{
    // The wide loops take several samples at once and leave the rest to a
    // sample-by-sample loop: every length up to a few rounds of the widest
    // step, with guard bytes after the block that must stay as they were.
    for (const SampleLoops loops : {SampleLoops::kBaseline, SampleLoops::kWidest}) {
        for (uint16_t bits : {8, 16, 24}) {
            for (size_t bytes = 0; bytes <= 3 * 70; ++bytes) {
                std::vector<uint8_t> in(bytes + 16);
                for (size_t i = 0; i < in.size(); ++i)
                    in[i] = static_cast<uint8_t>(i * 151 + bytes);
                std::vector<uint8_t> block = in;
                QuietenBlock(block.data(), bytes, bits, 37, loops);
                const size_t whole = bytes / (bits / 8) * (bits / 8);
                std::vector<uint8_t> want = QuietenedByTheFormula(
                    std::vector<uint8_t>(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(whole)), bits,
                    37);
                want.insert(want.end(), in.begin() + static_cast<std::ptrdiff_t>(whole), in.end());
                ASSERT_EQ(block, want)
                    << bits << " bits, " << bytes << " bytes, loops " << static_cast<int>(loops);
            }
        }
    }
}

TEST(Quieten, PercentIsLimited)
{
    EXPECT_EQ(LimitPercent(-1), 0u);
    EXPECT_EQ(LimitPercent(0), 0u);
    EXPECT_EQ(LimitPercent(55), 55u);
    EXPECT_EQ(LimitPercent(100), 100u);
    EXPECT_EQ(LimitPercent(250), 100u);
}

} // namespace
} // namespace dsp::basic
