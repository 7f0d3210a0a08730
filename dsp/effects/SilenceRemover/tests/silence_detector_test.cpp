#include "silence_detector.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

namespace {

using silence::Detector;
using silence::PassResult;

constexpr silence::Layout k16{16, 2};

// 32-bit sample values stored as 16-bit samples, read in byte blocks as the
// plug-in reads its file.
class VectorSource : public silence::BlockSource
{
public:
    explicit VectorSource(const std::vector<int32_t>& samples)
    {
        for (int32_t v : samples) {
            bytes_.push_back(static_cast<uint8_t>(v >> 16));
            bytes_.push_back(static_cast<uint8_t>(v >> 24));
        }
    }
    bool Read(uint64_t offset, size_t count, const uint8_t*& out) override
    {
        reads.push_back({offset, count});
        if (failAt >= 0 && static_cast<int>(reads.size()) - 1 == failAt)
            return false;
        if (offset + count > bytes_.size())
            return false;
        out = bytes_.data() + offset;
        return true;
    }
    uint64_t bytes() const { return bytes_.size(); }
    std::vector<std::pair<uint64_t, size_t>> reads;
    int failAt = -1;

private:
    std::vector<uint8_t> bytes_;
};

int32_t S16(int v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(v) << 16);
}

TEST(SilenceSettings, LevelStoredFormsRoundTrip)
{
    struct Case
    {
        double percent;
        int32_t stored;
    } cases[] = {{1.5, -150}, {4.0, -400}, {0.25, -25}, {100.0, -10000}, {12.5, -1250}};
    for (const auto& c : cases) {
        EXPECT_EQ(silence::StoredFromLevel(c.percent), c.stored) << c.percent;
        EXPECT_DOUBLE_EQ(silence::LevelFromStored(c.stored), c.percent) << c.stored;
    }
    // Missing or 0 is the default; a non-negative number is the percentage itself.
    EXPECT_DOUBLE_EQ(silence::LevelFromStored(0), 4.0);
    EXPECT_DOUBLE_EQ(silence::LevelFromStored(7), 7.0);
}

TEST(SilenceSettings, LevelTextParsedExactlyToHundredths)
{
    struct Case
    {
        const char* text;
        int32_t stored;
    } cases[] = {{"1.5", -150},   {"0.29", -29}, {"4", -400}, {"12,5", -1250}, {"0.299", -29},
                 {" 3.07", -307}, {"abc", 0},    {"", 0},     {".5", -50},     {"-2", 200}};
    for (const auto& c : cases)
        EXPECT_EQ(silence::StoredFromLevelText(c.text), c.stored) << c.text;
}

TEST(SilenceSettings, LevelTextsBeyondTheStoredFormAreRefused)
{
    struct Case
    {
        const char* text;
        bool fits;
    } cases[] = {{"21474836.47", true},
                 {"21474836.48", false},
                 {"-21474836.47", true},
                 {"-21474836.48", false},
                 {"99999999999", false},
                 {"4", true},
                 {"", true},
                 {"abc", true},
                 {"nan", false},
                 {"-inf", false},
                 {"1e999", false}};
    for (const auto& c : cases)
        EXPECT_EQ(silence::LevelTextFits(c.text), c.fits) << c.text;
}

TEST(SilenceSettings, DecibelTextsMustBeFiniteAndGiveAStorableLevel)
{
    struct Case
    {
        const char* text;
        bool usable;
        double decibels;
    } cases[] = {{"-6", true, -6},  {"", true, 0},       {"x", true, 0},     {"44", true, 44},
                 {"nan", false, 0}, {"inf", false, 0},   {"-inf", false, 0}, {"1e999", false, 0},
                 {"200", false, 0}, {"-1e999", false, 0}};
    for (const auto& c : cases) {
        double decibels = 12345;
        EXPECT_EQ(silence::DecibelsFromText(c.text, &decibels), c.usable) << c.text;
        EXPECT_EQ(decibels, c.usable ? c.decibels : 12345) << c.text;
    }
    // The figure a usable text gives reads back as a level that fits.
    EXPECT_TRUE(silence::LevelTextFits(silence::PercentTextFromDecibels(44).c_str()));
    EXPECT_EQ(silence::PercentTextFromDecibels(std::nan("")), "0");
}

TEST(SilenceSettings, WindowLimits)
{
    EXPECT_EQ(silence::WindowFromStored(0), 50u);
    EXPECT_EQ(silence::WindowFromStored(120), 120u);
    EXPECT_EQ(silence::WindowFromStored(5000), 750u);
    EXPECT_EQ(silence::WindowFromPanel(0), 50u);
    EXPECT_EQ(silence::WindowFromPanel(-3), 50u);
    EXPECT_EQ(silence::WindowFromPanel(751), 750u);
    EXPECT_EQ(silence::WindowFromPanel(750), 750u);
}

TEST(SilenceSettings, PercentAndDecibelTexts)
{
    EXPECT_EQ(silence::DecibelTextFromPercent(4.0), "-28.0");
    EXPECT_EQ(silence::DecibelTextFromPercent(1.5), "-36.5");
    EXPECT_EQ(silence::DecibelTextFromPercent(50), "-6.0");
    EXPECT_EQ(silence::DecibelTextFromPercent(100), "-0.0");
    EXPECT_EQ(silence::DecibelTextFromPercent(150), "-96.3");
    EXPECT_EQ(silence::DecibelTextFromPercent(-1), "-96.3");
    EXPECT_EQ(silence::DecibelTextFromPercent(0), "-96.3"); // no "-inf"
    EXPECT_EQ(silence::PercentTextFromDecibels(-28), "3");
    EXPECT_EQ(silence::PercentTextFromDecibels(-6), "50");
    EXPECT_EQ(silence::PercentTextFromDecibels(0), "99");
    EXPECT_EQ(silence::PercentTextFromDecibels(-96), "0");
}

TEST(SilenceDetector, DefaultsGiveTheDocumentedWindowAndTrigger)
{
    // Stereo, 16 bit, 44100 per second: 50 ms is 8820 bytes.
    const auto window = silence::WindowFor(8820, 2, 2);
    EXPECT_EQ(window.samples, 4410u);
    EXPECT_EQ(window.trigger, 1102u);
    EXPECT_EQ(silence::Level16(4.0), 1310);
    EXPECT_EQ(silence::LoudThreshold(4.0), int64_t{1310} << 16);

    // 1102 samples above 1310 begin sound; 1101 do not, nor do samples at 1310.
    auto run = [&](int loudFrames, int level) {
        std::vector<int32_t> block(4410, 0);
        for (int i = 0; i < loudFrames * 2; ++i)
            block.push_back(S16(i % 2 ? level : -level));
        block.resize(block.size() + 2000, 0);
        Detector d(window, 2, silence::LoudThreshold(4.0));
        d.Reset();
        d.StartBlock();
        return d.ScanForward([&](size_t i) { return block[i]; }, block.size());
    };
    EXPECT_EQ(run(551, 1311), 4410u + 1102u);
    EXPECT_EQ(run(550, 1311), Detector::kNotFound); // 1100 loud samples
    EXPECT_EQ(run(700, 1310), Detector::kNotFound); // at the level is not above it
}

TEST(SilenceDetector, WindowIsWholeFramesAndNeverEmpty)
{
    EXPECT_EQ(silence::WindowFor(8822, 2, 2).samples, 4410u); // 2205.5 frames
    EXPECT_EQ(silence::WindowFor(9, 2, 2).samples, 4u);
    EXPECT_EQ(silence::WindowFor(1, 2, 2).samples, 2u); // at least one frame
    EXPECT_EQ(silence::WindowFor(30, 3, 3).samples, 9u);
}

TEST(SilenceDetector, MostNegativeSampleNeverCountsAsLoud)
{
    const auto window = silence::WindowFor(8, 1, 2); // 4 samples, trigger 1
    Detector d(window, 1, 0);
    d.Reset();
    std::vector<int32_t> block(20, INT32_MIN);
    EXPECT_EQ(d.ScanForward([&](size_t i) { return block[i]; }, block.size()), Detector::kNotFound);
    block[7] = -1; // magnitude 1 is above 0
    d.Reset();
    EXPECT_EQ(d.ScanForward([&](size_t i) { return block[i]; }, block.size()), 8u);
}

constexpr unsigned kRate = 8000; // mono 16-bit blocks of 8000 samples
constexpr uint64_t kBlock = kRate * 2;

Detector MonoDetector()
{
    // 50 ms of mono 16-bit at 8000 per second: 800 bytes, 400 samples, trigger 100.
    return Detector(silence::WindowFor(800, 1, 2), 1, silence::LoudThreshold(4.0));
}

TEST(SilencePasses, LeadingLookBackStaysInsideTheNewBlock)
{
    // The last 90 samples of the first second are loud, and so is the second
    // second: the 100th loud sample is the 10th of the new block, so the kept
    // part starts only 10 samples before it, at the block's first byte.
    std::vector<int32_t> samples(kRate * 3, 0);
    for (size_t i = kRate - 90; i < 2 * kRate; ++i)
        samples[i] = S16(8000);
    VectorSource source(samples);
    auto d = MonoDetector();
    const auto found = silence::FindLeadingStart(source, d, source.bytes(), kBlock, k16);
    ASSERT_EQ(found.kind, PassResult::kFound);
    EXPECT_EQ(found.position, kBlock);
    EXPECT_EQ(d.Examined(), 10u);
    ASSERT_EQ(source.reads.size(), 2u);
    EXPECT_EQ(source.reads[1], (std::pair<uint64_t, size_t>{kBlock, kBlock}));
}

TEST(SilencePasses, TrailingEndKeepsTheExaminedSamplesAfterTheOnset)
{
    // 2.5 seconds: loud up to sample 10999, then silence. Blocks are taken from
    // the end: 8000 samples at 12000, then the 8000 before them.
    std::vector<int32_t> samples(kRate * 5 / 2, 0);
    for (int i = 0; i < 11000; ++i)
        samples[i] = S16(i % 2 ? 9000 : -9000);
    VectorSource source(samples);
    auto d = MonoDetector();
    const auto found = silence::FindTrailingEnd(source, d, source.bytes(), kBlock, k16);
    ASSERT_EQ(found.kind, PassResult::kFound);
    // Sound begins at sample 10900 (the 100th loud one from the end), which lies
    // in the block starting at 4000; 1100 samples of it were examined, capped
    // at the window of 400.
    EXPECT_EQ(found.position, (10900u + 400u) * 2);
    ASSERT_EQ(source.reads.size(), 2u);
    EXPECT_EQ(source.reads[0], (std::pair<uint64_t, size_t>{12000 * 2, kBlock}));
    EXPECT_EQ(source.reads[1], (std::pair<uint64_t, size_t>{4000 * 2, kBlock}));
}

TEST(SilencePasses, TrailingLookAheadStaysInsideTheBlockAndStereoFramesStayWhole)
{
    // Stereo, window of 3 frames (6 samples, trigger 1): the onset frame is the
    // last frame of the lower block; only its own 2 samples were examined there.
    const auto window = silence::WindowFor(12, 2, 2);
    ASSERT_EQ(window.trigger, 1u);
    std::vector<int32_t> samples(40, 0);
    samples[18] = S16(5000); // frame 9, left
    VectorSource source(samples);
    Detector d(window, 2, silence::LoudThreshold(4.0));
    const auto found = silence::FindTrailingEnd(source, d, source.bytes(), 40, k16); // blocks of 20 samples
    ASSERT_EQ(found.kind, PassResult::kFound);
    EXPECT_EQ(found.position, 20u * 2);
    const auto lead = silence::FindLeadingStart(source, d, source.bytes(), 40, k16);
    ASSERT_EQ(lead.kind, PassResult::kFound);
    EXPECT_EQ(lead.position, (20u - 6u) * 2); // one window (3 whole frames) before frame 10
}

// Raw stored bytes of any depth.
class ByteSource : public silence::BlockSource
{
public:
    explicit ByteSource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool Read(uint64_t offset, size_t count, const uint8_t*& out) override
    {
        out = bytes_.data() + offset;
        return offset + count <= bytes_.size();
    }
    std::vector<uint8_t> bytes_;
};

TEST(SilencePasses, EightAndTwentyFourBitSamplesAreMeasuredAroundTheirZero)
{
    // 8 bit: 128 is silence; 4 percent of full scale is just above 5 steps.
    std::vector<uint8_t> eight(1000, 128);
    for (size_t i = 0; i < 500; ++i)
        eight[i] = 133; // 5 steps: 5 << 24 is below 1310 << 16
    ByteSource quiet(eight);
    Detector d(silence::WindowFor(100, 1, 1), 1, silence::LoudThreshold(4.0));
    EXPECT_EQ(silence::FindLeadingStart(quiet, d, 1000, 400, {8, 1}).kind, PassResult::kNotFound);
    for (size_t i = 600; i < 700; ++i)
        eight[i] = 122; // 6 steps below: loud
    ByteSource loud(eight);
    const auto lead = silence::FindLeadingStart(loud, d, 1000, 400, {8, 1});
    ASSERT_EQ(lead.kind, PassResult::kFound);
    EXPECT_EQ(lead.position, 625u - 100u); // 25 loud samples trigger at 625
    const auto tail = silence::FindTrailingEnd(loud, d, 1000, 400, {8, 1});
    ASSERT_EQ(tail.kind, PassResult::kFound);
    EXPECT_EQ(tail.position, 675u + 100u);

    // 24 bit, stereo: the onset frame and its window stay whole frames.
    std::vector<uint8_t> wide(6 * 300, 0);
    for (size_t f = 200; f < 300; ++f) { // right channel at -0x100000
        wide[f * 6 + 3] = 0x00;
        wide[f * 6 + 4] = 0x00;
        wide[f * 6 + 5] = 0xF0;
    }
    ByteSource stereo(wide);
    Detector s(silence::WindowFor(6 * 40, 2, 3), 2, silence::LoudThreshold(4.0));
    const auto start = silence::FindLeadingStart(stereo, s, wide.size(), wide.size(), {24, 3});
    ASSERT_EQ(start.kind, PassResult::kFound);
    // 80 samples in the window, trigger 20: the 20th loud sample is in frame 219.
    EXPECT_EQ(start.position, (220u - 40u) * 6);
}

TEST(SilencePasses, ReadFailureIsReported)
{
    std::vector<int32_t> samples(kRate * 3, 0);
    VectorSource source(samples);
    source.failAt = 1;
    auto d = MonoDetector();
    EXPECT_EQ(silence::FindLeadingStart(source, d, source.bytes(), kBlock, k16).kind,
              PassResult::kReadFailed);
    source.reads.clear();
    EXPECT_EQ(silence::FindTrailingEnd(source, d, source.bytes(), kBlock, k16).kind, PassResult::kReadFailed);
}

} // namespace
