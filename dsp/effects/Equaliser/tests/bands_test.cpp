#include "core/bands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using eq::Positions;

TEST(Bands, GainScaleIsAsymmetric)
{
    struct Case
    {
        int32_t position;
        float gain;
    } cases[] = {
        {0, 1.0f},           {100, 2.0f},         {200, 3.0f},       {50, 1.5f},
        {-200, 0.31622777f}, {-100, 0.56234133f}, {-1, 0.99426007f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(eq::GainFromPosition(c.position), c.gain, 2e-6f) << c.position;
    // Flat is exactly 1, so an all-zero record bypasses.
    EXPECT_EQ(eq::GainFromPosition(0), 1.0f);
    EXPECT_EQ(eq::GainFromPosition(100, 1.5f), 3.0f);
}

TEST(Bands, RecordsPlaceBandsAroundTheUnusedSlots)
{
    Positions p{};
    for (int b = 0; b < eq::kBands; ++b)
        p[b] = (b + 1) * 10 * (b % 2 ? -1 : 1);
    const eq::BandRecord engine = eq::EngineRecord(p);
    const eq::BandRecord file = eq::FileRecord(p);
    const eq::BandRecord wantEngine = {0,  0,    10,  -20,  30,  -40, 50,   -60, 70,   0,   -80,
                                       90, -100, 110, -120, 130, 0,   -140, 150, -160, 170, -180};
    EXPECT_EQ(engine, wantEngine);
    eq::BandRecord wantFile = wantEngine;
    wantFile[9] = 70;   // band 6
    wantFile[16] = 130; // band 12
    EXPECT_EQ(file, wantFile);

    const auto bytes = eq::EncodeRecord(file);
    // Little-endian signed slots: slot 3 is -20.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 16),
              (std::vector<uint8_t>{0xEC, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(eq::DecodeRecord(bytes.data()), file);

    const eq::Gains gains = eq::GainsFromRecord(engine);
    for (int b = 0; b < eq::kBands; ++b)
        EXPECT_EQ(gains[b], eq::GainFromPosition(p[b])) << b;
}

TEST(Bands, PositionFileRoundTripsAllEighteenBands)
{
    Positions p = {-200, -150, -77, -1, 0, 1, 33, 99, 100, 150, 199, 200, -5, 17, -123, 64, 180, -199};
    const auto bytes = eq::EncodeRecord(eq::FileRecord(p));
    Positions back{};
    ASSERT_TRUE(eq::PositionsFromRecordFile(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back, p);
}

TEST(Bands, TenBandLayoutInterpolatesTheOddBands)
{
    eq::BandRecord r{};
    r[0] = 1; // 10-band layout
    const int32_t ten[10] = {100, -100, 50, 51, -200, 200, 0, -3, 40, 7};
    for (int i = 0; i < 10; ++i)
        r[2 + i] = ten[i];
    r[12] = 999; // beyond the ten values: ignored
    const auto bytes = eq::EncodeRecord(r);
    Positions got{};
    ASSERT_TRUE(eq::PositionsFromRecordFile(bytes.data(), bytes.size(), got));
    // Odd bands: lower + (upper - lower) / 2, truncating toward zero.
    const Positions want = {100, 0, -100, -25, 50, 50, 51, -74, -200, 0, 200, 100, 0, -1, -3, 18, 40, 7};
    EXPECT_EQ(got, want);
}

TEST(Bands, EqfTailGivesTenBandsFromTopToBottom)
{
    struct Case
    {
        uint8_t value;
        int32_t position;
    } cases[] = {
        {0, 200}, {31, 4}, {32, -3}, {63, -200}, {16, 99},
    };
    for (const auto& c : cases) {
        // Some header bytes first: only the last 11 count, and the 11th is ignored.
        std::vector<uint8_t> file(40, 0xAA);
        for (int i = 0; i < 10; ++i)
            file.push_back(c.value);
        file.push_back(63);
        Positions got{};
        ASSERT_TRUE(eq::PositionsFromEqfTail(file.data(), file.size(), got));
        for (int b = 0; b < eq::kBands; ++b)
            EXPECT_EQ(got[b], c.position) << int(c.value) << " band " << b;
    }
    // Distinct values land in bands 0, 2, ..., 16, 17 in order.
    const std::vector<uint8_t> tail = {0, 63, 0, 63, 0, 63, 0, 63, 0, 63, 5};
    Positions got{};
    ASSERT_TRUE(eq::PositionsFromEqfTail(tail.data(), tail.size(), got));
    const Positions want = {200, 0, -200, 0, 200, 0, -200, 0, 200, 0, -200, 0, 200, 0, -200, 0, 200, -200};
    EXPECT_EQ(got, want);
}

TEST(Bands, ShortOrOutOfRangeFilesAreHandledSafely)
{
    const Positions before = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    Positions p = before;
    std::vector<uint8_t> bytes(87, 0);
    EXPECT_FALSE(eq::PositionsFromRecordFile(bytes.data(), bytes.size(), p));
    EXPECT_FALSE(eq::PositionsFromEqfTail(bytes.data(), 10, p));
    EXPECT_FALSE(eq::PositionsFromRecordFile(nullptr, 88, p));
    EXPECT_EQ(p, before);

    // Values outside the sliders' range are cut to it.
    eq::BandRecord r{};
    r[2] = 100000;
    r[21] = -2147483647 - 1;
    const auto big = eq::EncodeRecord(r);
    ASSERT_TRUE(eq::PositionsFromRecordFile(big.data(), big.size(), p));
    EXPECT_EQ(p[0], 200);
    EXPECT_EQ(p[17], -200);
    const std::vector<uint8_t> eqf(11, 255);
    ASSERT_TRUE(eq::PositionsFromEqfTail(eqf.data(), eqf.size(), p));
    EXPECT_EQ(p[5], -200);
}

TEST(Bands, ExtensionsAreMatchedInAnyCase)
{
    EXPECT_TRUE(eq::HasExtension("C:\\a\\b.EqF", ".eqf"));
    EXPECT_FALSE(eq::HasExtension("C:\\a\\beqf", ".eqf"));
    EXPECT_FALSE(eq::HasExtension("qf", ".eqf"));
    EXPECT_EQ(eq::WithDeqExtension("C:\\x\\mine"), "C:\\x\\mine.deq");
    EXPECT_EQ(eq::WithDeqExtension("C:\\x\\mine.DEQ"), "C:\\x\\mine.DEQ");
    EXPECT_EQ(eq::WithDeqExtension("C:\\x\\mine.eqf"), "C:\\x\\mine.eqf.deq");
}

TEST(Bands, PresetsSetTheListedPositions)
{
    struct Want
    {
        int command;
        const char* name;
        int32_t band7;
        int32_t band1;
    } wants[] = {
        {40001, "Classical", -60, 0},   {40002, "Concert Hall", -40, 60}, {40003, "Dance", -15, 45},
        {40004, "Pop", 0, 40},          {40005, "Rock", 30, 110},         {40006, "Super Base", 0, 90},
        {40008, "Super Treble", 90, 0},
    };
    for (const auto& w : wants) {
        const eq::Preset* preset = eq::PresetForCommand(w.command);
        ASSERT_NE(preset, nullptr) << w.command;
        EXPECT_STREQ(preset->name, w.name);
        EXPECT_EQ(preset->positions[7], w.band7) << w.name;
        EXPECT_EQ(preset->positions[1], w.band1) << w.name;
        for (int b = 10; b < eq::kBands; ++b) {
            if (w.command != 40008 || b > 10) {
                EXPECT_EQ(preset->positions[b], 0) << w.name << " band " << b;
            }
        }
    }
    EXPECT_EQ(eq::PresetForCommand(40007), nullptr);
    const Positions treble = {0, 0, 0, 0, 20, 40, 60, 90, 120, 120, 60, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(eq::PresetForCommand(40008)->positions, treble);
}

} // namespace
