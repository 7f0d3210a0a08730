#include "core/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <cstring>
#include <random>
#include <vector>

namespace {

using eq::Positions;

eq::Engine MakeEngine(uint16_t channels, uint32_t rate, uint16_t bits, const Positions& p)
{
    eq::Engine engine({channels, rate, bits});
    engine.SetBands(eq::EngineRecord(p));
    return engine;
}

Positions OneBand(int band, int32_t position)
{
    Positions p{};
    p[band] = position;
    return p;
}

std::vector<int16_t> Sine(size_t frames, double freq, double rate, double amplitude)
{
    std::vector<int16_t> s(frames);
    for (size_t i = 0; i < frames; ++i) {
        s[i] = static_cast<int16_t>(
            std::lround(amplitude * std::sin(2.0 * std::numbers::pi * freq * double(i) / rate)));
    }
    return s;
}

double Rms(const std::vector<int16_t>& s, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

// Response of the designed taps at a frequency (the filter is symmetric about
// tap 127, so this is its real, zero-phase gain).
double TapsResponse(const eq::Taps& taps, double freq, double rate)
{
    double sum = 0;
    for (int t = 0; t < eq::kTaps; ++t)
        sum += taps[t] * std::cos(2.0 * std::numbers::pi * freq * (t - 127) / rate);
    return sum;
}

TEST(EqualiserDesign, BesselSeriesAndWindow)
{
    // I0 by its series against values of the modified Bessel function.
    EXPECT_EQ(eq::BesselI0(0.0L), 1.0L);
    EXPECT_NEAR(double(eq::BesselI0(1.0L)), 1.2660658777520082, 1e-12);
    EXPECT_NEAR(double(eq::BesselI0(5.0L)), 27.239871823604442, 1e-9);
    // At beta = 9.62046 the 15-term series falls short of the function
    // (1965.16682) by about 2e-5.
    EXPECT_NEAR(double(eq::BesselI0(9.62046L)), 1965.16680, 1e-4);
    // The window is 1 at its centre, symmetric, and 1 / I0(beta) at its ends.
    EXPECT_NEAR(double(eq::KaiserWindow(0)), 1.0, 1e-15);
    EXPECT_EQ(eq::KaiserWindow(-50), eq::KaiserWindow(50));
    EXPECT_NEAR(double(eq::KaiserWindow(127)), 1.0 / double(eq::BesselI0(9.62046L)), 1e-9);
    EXPECT_LT(eq::KaiserWindow(127), eq::KaiserWindow(126));
}

TEST(EqualiserDesign, LastActiveBandReachesHalfTheRate)
{
    struct Case
    {
        double rate;
        int last;
    } cases[] = {
        {44100, 17}, {48000, 17}, {32000, 16}, {22050, 15}, {16000, 14}, {11025, 13}, {8000, 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eq::LastActiveBand(c.rate), c.last) << c.rate;
}

TEST(EqualiserDesign, FlatGainsGiveAUnitImpulseAndBandsScaleLinearly)
{
    eq::Gains flat;
    flat.fill(1.0f);
    const eq::Taps unit = eq::DesignTaps(flat, 44100);
    for (int t = 0; t < eq::kTaps; ++t)
        EXPECT_NEAR(unit[t], t == 127 ? 1.0f : 0.0f, 1e-7f) << t;

    eq::Gains boosted = flat;
    boosted[9] = 3.0f;
    const eq::Taps taps = eq::DesignTaps(boosted, 44100);
    for (int t = 0; t < eq::kTaps; ++t)
        EXPECT_EQ(taps[t], taps[254 - t]) << t; // linear phase
    // The sum of the taps is the response at 0 Hz, which band 0 owns.
    double dc = 0;
    for (float v : taps)
        dc += v;
    EXPECT_NEAR(dc, 1.0, 2e-3);
    // In the middle of band 9 the response nears its gain; far away it stays flat.
    EXPECT_NEAR(TapsResponse(taps, 1245.0, 44100), 2.6, 0.4);
    EXPECT_NEAR(TapsResponse(taps, 10000.0, 44100), 1.0, 1e-3);
}

TEST(EqualiserEngine, ImpulseComesOutAsTheTaps382FramesLate)
{
    // 24-bit so the taps are resolved finely; two channels, both filtered alike.
    const Positions p = {40, -30, 0, 100, 0, -200, 0, 0, 60, 0, 0, 0, 200, 0, 0, -50, 0, 0};
    eq::Engine engine = MakeEngine(2, 44100, 24, p);
    const eq::Taps& taps = engine.taps();
    const size_t frames = 2000;
    const int32_t amp = 1 << 21;
    std::vector<uint8_t> buf(frames * 6, 0);
    auto put = [&](size_t frame, int ch, int32_t v) {
        uint8_t* q = &buf[(frame * 2 + ch) * 3];
        q[0] = uint8_t(v);
        q[1] = uint8_t(v >> 8);
        q[2] = uint8_t(v >> 16);
    };
    auto get = [&](size_t frame, int ch) {
        const uint8_t* q = &buf[(frame * 2 + ch) * 3];
        return int32_t(uint32_t(q[0] | q[1] << 8 | q[2] << 16) << 8) >> 8;
    };
    put(10, 0, amp);
    put(10, 1, -amp);
    engine.Process(buf.data(), buf.size());
    for (size_t f = 0; f < frames; ++f) {
        const long t = long(f) - 10 - eq::kBlockFrames; // tap index at this frame
        const double want = (t >= 0 && t < eq::kTaps) ? double(amp) * taps[size_t(t)] : 0.0;
        ASSERT_NEAR(get(f, 0), want, 2.0) << "frame " << f;
        ASSERT_NEAR(get(f, 1), -want, 2.0) << "frame " << f;
    }
    // The centre tap lands 382 frames after the impulse.
    EXPECT_NEAR(get(10 + eq::kLagFrames, 0), amp * taps[127], 2.0);
}

TEST(EqualiserEngine, SineInAWideBandChangesByThatBandsGain)
{
    const double rate = 44100;
    struct Case
    {
        int band;
        int32_t position;
        double freq;
        double tolerance;
    } cases[] = {
        {12, 100, 3520.0, 0.01},   // 2.0
        {13, -200, 4978.0, 0.01},  // 0.316
        {14, 100, 7040.0, 0.01},   // 2.0
        {15, 50, 9956.0, 0.01},    // 1.5
        {16, 200, 14080.0, 0.01},  // 3.0
        {17, -100, 19500.0, 0.01}, // 0.562
        {16, 200, 1000.0, 0.01},   // a flat region keeps its level
        {3, -200, 8000.0, 0.01},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.band);
        SCOPED_TRACE(c.freq);
        std::vector<int16_t> s = Sine(20000, c.freq, rate, 8000.0);
        const double inRms = Rms(s, 1000, 19000);
        eq::Engine engine = MakeEngine(1, 44100, 16, OneBand(c.band, c.position));
        engine.Process(s.data(), s.size() * 2);
        const double expected =
            (c.freq == 1000.0 || c.freq == 8000.0) ? 1.0 : eq::GainFromPosition(c.position);
        EXPECT_NEAR(Rms(s, 1000, 19000) / inRms, expected, expected * c.tolerance);
    }
}

TEST(EqualiserEngine, NarrowLowBandsFollowTheDesignedTaps)
{
    // 255 taps at 44100 Hz cannot resolve a band 108 Hz wide: a full boost of
    // band 5 lifts 300 Hz by about 1.5. The engine must match its own taps.
    for (int band : {1, 3, 5}) {
        SCOPED_TRACE(band);
        const double freq = band == 1 ? 80.0 : band == 3 ? 160.0 : 300.0;
        eq::Engine engine = MakeEngine(1, 44100, 16, OneBand(band, 200));
        const double designed = TapsResponse(engine.taps(), freq, 44100);
        if (band == 5) {
            EXPECT_NEAR(designed, 1.5, 0.15);
        }
        std::vector<int16_t> s = Sine(44100, freq, 44100, 8000.0);
        const double inRms = Rms(s, 2000, 40000);
        engine.Process(s.data(), s.size() * 2);
        EXPECT_NEAR(Rms(s, 2000 + eq::kLagFrames, 40000 + eq::kLagFrames) / inRms, designed, 0.005);
    }
}

TEST(EqualiserEngine, BlockSizesOfTheCallsDoNotMatter)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> dist(-30000, 30000);
    const size_t frames = 3000;
    std::vector<int16_t> in(frames * 2);
    for (auto& v : in)
        v = int16_t(dist(rng));
    const Positions p = {0, 0, 120, 0, 0, 0, -80, 0, 0, 0, 0, 0, 0, 200, 0, 0, 0, -200};

    std::vector<int16_t> whole = in;
    MakeEngine(2, 48000, 16, p).Process(whole.data(), whole.size() * 2);
    EXPECT_NE(whole, in);
    for (size_t chunk : {1u, 7u, 254u, 255u, 256u, 1000u}) {
        SCOPED_TRACE(chunk);
        std::vector<int16_t> parts = in;
        eq::Engine engine = MakeEngine(2, 48000, 16, p);
        for (size_t f = 0; f < frames; f += chunk) {
            const size_t n = std::min(chunk, frames - f);
            engine.Process(parts.data() + f * 2, n * 4);
        }
        EXPECT_EQ(parts, whole);
    }
    // A partial frame at the end of a call is left alone and not counted.
    std::vector<int16_t> odd = in;
    eq::Engine engine = MakeEngine(2, 48000, 16, p);
    engine.Process(odd.data(), 1001 * 4 + 2);
    EXPECT_EQ(odd[1001 * 2], in[1001 * 2]);
    engine.Process(odd.data() + 1001 * 2, (frames - 1001) * 4);
    EXPECT_EQ(odd, whole);
}

TEST(EqualiserEngine, NewBandsTakeEffectFromTheNextBlock)
{
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> dist(-20000, 20000);
    std::vector<int16_t> in(2000);
    for (auto& v : in)
        v = int16_t(dist(rng));
    const Positions a = OneBand(4, 150), b = OneBand(14, -150);
    std::vector<int16_t> onlyA = in, onlyB = in, changed = in;
    MakeEngine(1, 44100, 16, a).Process(onlyA.data(), onlyA.size() * 2);
    MakeEngine(1, 44100, 16, b).Process(onlyB.data(), onlyB.size() * 2);
    // New bands after 600 frames, inside the third block (frames 510 to 764).
    eq::Engine engine = MakeEngine(1, 44100, 16, a);
    engine.Process(changed.data(), 600 * 2);
    engine.SetBands(eq::EngineRecord(b));
    engine.Process(changed.data() + 600, (in.size() - 600) * 2);
    // The third block is the first filtered with the new bands: its output
    // starts at frame 765, and from frame 1020 on nothing of the old remains.
    for (size_t i = 0; i < in.size(); ++i) {
        if (i < 765) {
            ASSERT_EQ(changed[i], onlyA[i]) << i;
        } else if (i >= 1020) {
            ASSERT_EQ(changed[i], onlyB[i]) << i;
        }
    }
    EXPECT_NE(std::vector<int16_t>(changed.begin() + 765, changed.begin() + 1020),
              std::vector<int16_t>(onlyB.begin() + 765, onlyB.begin() + 1020));
}

TEST(EqualiserEngine, FlatPositionsBypassAndSilenceStartsEachDepthAtItsZero)
{
    std::vector<uint8_t> in(4000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = uint8_t(i * 37 + 11);
    // All flat: nothing changes, not even the start.
    for (uint16_t bits : {8, 16, 24, 32}) {
        std::vector<uint8_t> buf = in;
        eq::Engine engine = MakeEngine(1, 44100, bits, Positions{});
        EXPECT_TRUE(engine.bypassed());
        engine.Process(buf.data(), buf.size());
        EXPECT_EQ(buf, in) << bits;
    }
    // One band moved: 255 silent frames first, 128 for 8-bit, 0 otherwise.
    for (uint16_t bits : {8, 16, 24}) {
        SCOPED_TRACE(bits);
        std::vector<uint8_t> buf = in;
        eq::Engine engine = MakeEngine(1, 44100, bits, OneBand(8, 30));
        EXPECT_FALSE(engine.bypassed());
        engine.Process(buf.data(), buf.size());
        const size_t silent = 255 * bits / 8;
        for (size_t i = 0; i < silent; ++i)
            ASSERT_EQ(buf[i], bits == 8 ? 128 : 0) << i;
        EXPECT_NE(std::memcmp(buf.data() + silent, in.data() + silent, 40), 0);
    }
    // 32-bit samples pass unchanged even with a band moved, and so does a
    // rate of 0, for which no filter exists (its design divided by 0 and
    // stored NaN as samples).
    for (const eq::AudioShape shape : {eq::AudioShape{2, 44100, 32}, eq::AudioShape{1, 0, 16}}) {
        std::vector<uint8_t> buf = in;
        eq::Engine engine =
            MakeEngine(shape.channels, shape.samplesPerSec, shape.bitsPerSample, OneBand(8, 30));
        EXPECT_FALSE(engine.changesAudio());
        engine.Process(buf.data(), buf.size());
        EXPECT_EQ(buf, in) << shape.samplesPerSec;
    }
}

TEST(EqualiserEngine, BandsAboveHalfTheRateHaveNoEffect)
{
    // At 22050 Hz bands 16 and 17 are beyond the last band; at 8000 Hz 13 to 17.
    struct Case
    {
        uint32_t rate;
        int first;
    } cases[] = {{22050, 16}, {8000, 13}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Positions base{};
        base[2] = 70;
        base[7] = -90;
        const eq::Taps reference = MakeEngine(1, c.rate, 16, base).taps();
        for (int band = c.first; band < eq::kBands; ++band) {
            Positions p = base;
            p[band] = band % 2 ? 200 : -200;
            EXPECT_EQ(MakeEngine(1, c.rate, 16, p).taps(), reference) << band;
        }
        // Moving only such a band delays the audio by 382 frames and changes nothing else.
        std::mt19937 rng(c.rate);
        std::uniform_int_distribution<int> dist(-20000, 20000);
        std::vector<int16_t> in(2000), out;
        for (auto& v : in)
            v = int16_t(dist(rng));
        out = in;
        eq::Engine engine = MakeEngine(1, c.rate, 16, OneBand(eq::kBands - 1, 150));
        EXPECT_FALSE(engine.bypassed());
        engine.Process(out.data(), out.size() * 2);
        for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], i < eq::kLagFrames ? 0 : in[i - eq::kLagFrames]) << i;
        }
    }
}

TEST(EqualiserEngine, OutputIsClampedToTheDepthAndRoundedHalfAwayFromZero)
{
    // A full-scale square boosted threefold at every band must clip, not wrap.
    Positions all;
    all.fill(200);
    for (uint16_t bits : {8, 16}) {
        SCOPED_TRACE(bits);
        const size_t frames = 3000, bytes = bits / 8;
        std::vector<uint8_t> buf(frames * bytes);
        for (size_t f = 0; f < frames; ++f) {
            const bool high = (f / 40) % 2;
            if (bits == 8)
                buf[f] = high ? 255 : 0;
            else {
                const int16_t v = high ? 32767 : -32768;
                std::memcpy(&buf[f * 2], &v, 2);
            }
        }
        MakeEngine(1, 44100, bits, all).Process(buf.data(), buf.size());
        // Gain 3 everywhere: the output is the input times 3, clipped to full scale.
        for (size_t f = 800; f < frames; ++f) {
            const bool high = ((f - eq::kLagFrames) / 40) % 2;
            if (bits == 8)
                ASSERT_EQ(buf[f], high ? 255 : 0) << f;
            else {
                int16_t v;
                std::memcpy(&v, &buf[f * 2], 2);
                ASSERT_EQ(v, high ? 32767 : -32768) << f;
            }
        }
    }
    // Rounding is half away from zero, also just below a half.
    struct Case
    {
        float in;
        int32_t out;
    } cases[] = {
        {0.5f, 1},           {-0.5f, -1},      {1.5f, 2},         {2.5f, 3},
        {-2.5f, -3},         {0.49999997f, 0}, {-0.49999997f, 0}, {8388606.5f, 8388607},
        {-32767.5f, -32768}, {3.2f, 3},        {-3.7f, -4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eq::RoundHalfAway(c.in), c.out) << c.in;
}

} // namespace
