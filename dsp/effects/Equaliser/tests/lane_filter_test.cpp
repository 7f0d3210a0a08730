#include "core/cpu_features.h"
#include "core/engine.h"
#include "core/lane_filter.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <vector>

namespace {

using eq::LanePath;

struct Shape
{
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    eq::Positions positions;
    size_t frames;
    int32_t amplitude; // of the noise, in the depth's own scale
};

// Noise in the stored form of the depth, from a fixed seed.
std::vector<uint8_t> Noise(const Shape& run, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> value(-run.amplitude, run.amplitude - 1);
    const size_t sampleBytes = run.bits / 8;
    std::vector<uint8_t> bytes(run.frames * run.channels * sampleBytes);
    for (size_t i = 0; i < bytes.size(); i += sampleBytes) {
        const int32_t v = value(rng);
        const uint32_t stored = run.bits == 8 ? static_cast<uint32_t>(v + 128) : static_cast<uint32_t>(v);
        for (size_t b = 0; b < sampleBytes; ++b)
            bytes[i + b] = static_cast<uint8_t>(stored >> (8 * b));
    }
    return bytes;
}

// The run's noise equalised by an engine on `path`, handed over in calls of
// the given frame counts (cycled), with the bands changed at the first call
// from a third of the way on when `later` is given.
std::vector<uint8_t> Equalised(const Shape& run, LanePath path, const std::vector<size_t>& calls,
                               const eq::Positions* later = nullptr)
{
    std::vector<uint8_t> bytes = Noise(run, run.channels * 1000u + run.bits);
    eq::Engine engine({run.channels, run.rate, run.bits}, true, path);
    engine.SetBands(eq::EngineRecord(run.positions));
    const size_t frameBytes = engine.frameBytes();
    size_t done = 0;
    for (size_t k = 0; done < run.frames; ++k) {
        if (later && done >= run.frames / 3) {
            engine.SetBands(eq::EngineRecord(*later));
            later = nullptr;
        }
        const size_t n = std::min(calls[k % calls.size()], run.frames - done);
        engine.Process(bytes.data() + done * frameBytes, n * frameBytes);
        done += n;
    }
    return bytes;
}

const eq::Positions kRock = {30, 110, 75, 0, -25, 0, 20, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const eq::Positions kLoud = {200, 200, 200, 200, 200, 200, 200, 200, 200,
                             200, 200, 200, 200, 200, 200, 200, 200, 200};
const eq::Positions kMixed = {-200, 150, 0, -80, 200, 0, 0, 45, -120, 0, 90, 0, -200, 200, 0, 0, 33, -7};

TEST(EqualiserLanes, TheProcessorsWidestPathIsChosenUnlessAnotherIsAsked)
{
    const LanePath fastest = dsp::ProcessorHasAvx2() ? LanePath::kAvx2 : LanePath::kSse2;
    EXPECT_EQ(eq::FastestLanePath(), fastest);
    EXPECT_EQ(eq::Engine({2, 44100, 16}).lanePath(), fastest);
    EXPECT_EQ(eq::Engine({2, 44100, 16}, true, LanePath::kSse2).lanePath(), LanePath::kSse2);
    EXPECT_EQ(eq::Engine({2, 44100, 16}, true, LanePath::kOneAtATime).lanePath(), LanePath::kOneAtATime);
    // AVX2 is only taken where the processor has it.
    EXPECT_EQ(eq::Engine({2, 44100, 16}, true, LanePath::kAvx2).lanePath(), fastest);
    EXPECT_EQ(eq::Sse2LaneFilter().width, 4u);
    if (dsp::ProcessorHasAvx2()) {
        EXPECT_EQ(eq::Avx2LaneFilter().width, 8u);
    }
}

// Each path against the blocks filtered one at a time through RealFft, byte
// for byte: channel counts that fill the lanes exactly, partly, or need
// several chunks of lanes per block; every filtered depth; loud settings that
// clamp; calls that start and end inside blocks.
TEST(EqualiserLanes, EveryPathGivesTheBytesOfTheOneAtATimeFilter)
{
    const Shape runs[] = {
        {2, 44100, 16, kRock, 6000, 20000},    {1, 44100, 16, kMixed, 5000, 30000},
        {3, 48000, 24, kMixed, 3000, 8000000}, {4, 22050, 8, kRock, 4000, 100},
        {5, 32000, 16, kLoud, 2600, 32000},    {8, 44100, 24, kRock, 1600, 4000000},
        {9, 11025, 16, kMixed, 1300, 25000},   {11, 44100, 8, kLoud, 1100, 120},
        {2, 8000, 24, kLoud, 3000, 8388608},   {6, 96000, 16, kMixed, 1500, 32768},
    };
    const std::vector<std::vector<size_t>> callPatterns = {
        {100000}, {1}, {254, 256, 1021}, {255}, {600, 17, 2040}};
    std::vector<LanePath> paths = {LanePath::kSse2};
    if (dsp::ProcessorHasAvx2())
        paths.push_back(LanePath::kAvx2);
    else
        std::cout << "[ NOTE     ] this processor has no AVX2: its lanes are not tested here\n";
    for (const Shape& run : runs) {
        for (const auto& calls : callPatterns) {
            const std::vector<uint8_t> reference = Equalised(run, LanePath::kOneAtATime, calls);
            ASSERT_NE(reference, Noise(run, run.channels * 1000u + run.bits));
            for (LanePath path : paths) {
                ASSERT_EQ(Equalised(run, path, calls), reference)
                    << static_cast<int>(path) << " path, " << run.channels << " channels, " << run.bits
                    << " bits, calls of " << calls[0] << " frames first";
            }
        }
    }
}

TEST(EqualiserLanes, NewBandsInTheMiddleOfAFileAreTakenAtTheSameBlockOnEveryPath)
{
    const Shape runs[] = {{2, 44100, 16, kRock, 8000, 20000}, {9, 44100, 24, kRock, 2000, 5000000}};
    for (const Shape& run : runs) {
        for (const auto& calls : std::vector<std::vector<size_t>>{{1000}, {300, 701}}) {
            const std::vector<uint8_t> reference = Equalised(run, LanePath::kOneAtATime, calls, &kMixed);
            ASSERT_NE(reference, Equalised(run, LanePath::kOneAtATime, calls));
            EXPECT_EQ(Equalised(run, LanePath::kSse2, calls, &kMixed), reference) << run.channels;
            EXPECT_EQ(Equalised(run, LanePath::kAvx2, calls, &kMixed), reference) << run.channels;
        }
    }
}

} // namespace
