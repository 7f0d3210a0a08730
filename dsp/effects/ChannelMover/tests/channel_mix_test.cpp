#include "channel_mix.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using chmove::MoveList;
using chmove::MovePlan;

int32_t S16(int v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(v) << 16);
}

TEST(ChannelMix, MixModesTable)
{
    const int factors[] = {100, 100, 80, 60, 50, 40, 30, 20, 10, 100};
    for (int m = 0; m < chmove::kMixModes; ++m)
        EXPECT_EQ(chmove::MixFactor(m), factors[m]) << m;
    EXPECT_STREQ(chmove::kMixModeNames[0], "Added / Count");
    EXPECT_STREQ(chmove::kMixModeNames[4], "+50% channels");
    EXPECT_STREQ(chmove::kMixModeNames[9], "Drop");
}

TEST(ChannelMix, StereoToMono)
{
    struct Case
    {
        int mode;
        int left, right;
        int32_t mono;
    } cases[] = {
        {0, 1000, 300, S16(1300)}, // "Added / Count": one dropped channel, divided by 1
        {1, 1000, 300, S16(1300)}, // "Added"
        {4, 1000, 300, S16(1150)}, // "+50% channels": left plus half of right
        {8, 1000, -300, S16(1000) - S16(300) / 10},
        {9, 1000, 300, S16(1000)},    // "Drop"
        {1, 30000, 30000, INT32_MAX}, // clamped
        {0, -30000, -30000, INT32_MIN},
    };
    for (const auto& c : cases) {
        const int32_t in[2] = {S16(c.left), S16(c.right)};
        int32_t out[1] = {};
        chmove::MixDown(in, 2, out, 1, 1, c.mode);
        EXPECT_EQ(out[0], c.mono) << "mode " << c.mode;
    }
}

TEST(ChannelMix, MixDownDividesByDroppedChannelsAndTruncatesEachTerm)
{
    // Five channels to two, "Added / Count": three dropped channels averaged.
    const int32_t in[5] = {10, 20, 7, 8, 9};
    int32_t out[2] = {};
    chmove::MixDown(in, 5, out, 2, 1, 0);
    EXPECT_EQ(out[0], 10 + 8);
    EXPECT_EQ(out[1], 20 + 8);
    // "+30% channels": each term is truncated toward zero before summing.
    const int32_t odd[3] = {0, 7, -7};
    chmove::MixDown(odd, 3, out, 1, 1, 6);
    EXPECT_EQ(out[0], 0 + 2 - 2);
}

TEST(ChannelMoves, ReadTheFrameAsItWas)
{
    MoveList moves;
    ASSERT_TRUE(moves.Add(1, 2));
    ASSERT_TRUE(moves.Add(2, 1));
    std::vector<int32_t> frames = {1, 2, 3, 4}; // two stereo frames
    MovePlan(moves, 2).Apply(frames.data(), 2);
    EXPECT_EQ(frames, (std::vector<int32_t>{2, 1, 4, 3}));

    // A channel moved away keeps its own signal; the last move to a target wins.
    MoveList chain;
    chain.Add(1, 2);
    chain.Add(2, 3);
    chain.Add(3, 3);
    std::vector<int32_t> three = {10, 20, 30};
    MovePlan(chain, 3).Apply(three.data(), 1);
    EXPECT_EQ(three, (std::vector<int32_t>{10, 10, 30}));
}

TEST(ChannelMoves, MissingChannelsAreSkipped)
{
    MoveList moves;
    moves.Add(3, 1); // stereo file has no channel 3
    moves.Add(1, 5);
    moves.from[2] = -1; // from a damaged store: negative channels never apply
    moves.to[2] = 1;
    moves.from[3] = 2;
    moves.to[3] = 1;
    std::vector<int32_t> frame = {7, 8};
    MovePlan plan(moves, 2);
    EXPECT_FALSE(plan.Empty());
    plan.Apply(frame.data(), 1);
    EXPECT_EQ(frame, (std::vector<int32_t>{8, 8}));
    EXPECT_TRUE(MovePlan(moves, 1).Empty());
}

TEST(ChannelMoves, ListFillsFirstFreePlaceUpToAHundred)
{
    MoveList moves;
    EXPECT_FALSE(moves.Add(0, 2));
    EXPECT_FALSE(moves.Add(2, -1));
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(moves.Add(i + 1, 1)) << i;
    EXPECT_FALSE(moves.Add(4, 5));
    EXPECT_EQ(moves.Count(), 100);
    moves.Clear();
    EXPECT_EQ(moves.Count(), 0);
    EXPECT_EQ(chmove::MoveLine(3, 12), "Move Channel 3 to 12");
}

TEST(ChannelMoves, StorageRoundTripWithEndMark)
{
    std::map<std::string, uint32_t> store;
    auto write = [&](const std::string& name, uint32_t v) { store[name] = v; };
    auto read = [&](const std::string& name) { return store.count(name) ? store[name] : 0u; };

    MoveList moves;
    moves.Add(1, 2);
    moves.Add(2, 1);
    chmove::SaveMoves(moves, write);
    EXPECT_EQ(store, (std::map<std::string, uint32_t>{{"ChannelMove-ch-from-0", 1},
                                                      {"ChannelMove-ch-to-0", 2},
                                                      {"ChannelMove-ch-from-1", 2},
                                                      {"ChannelMove-ch-to-1", 1},
                                                      {"ChannelMove-ch-from-2", 0},
                                                      {"ChannelMove-ch-to-2", 0}}));
    // An older, longer list beyond the end mark is never read back.
    store["ChannelMove-ch-from-3"] = 4;
    store["ChannelMove-ch-to-3"] = 4;
    MoveList loaded;
    loaded.Add(9, 9);
    chmove::LoadMoves(loaded, read);
    EXPECT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.from[1], 2);
    EXPECT_EQ(loaded.to[1], 1);
    EXPECT_EQ(loaded.from[2], 0);

    // A full list writes all 100 and no end mark.
    MoveList full;
    for (int i = 0; i < 100; ++i)
        full.Add(1, 2);
    store.clear();
    chmove::SaveMoves(full, write);
    EXPECT_EQ(store.size(), 200u);
    EXPECT_EQ(store.count("ChannelMove-ch-from-100"), 0u);
    chmove::LoadMoves(loaded, read);
    EXPECT_EQ(loaded.Count(), 100);
}

std::vector<uint8_t> Le16(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    return bytes;
}

TEST(BlockMixer, StoredBlocksOfEachDepth)
{
    MoveList none;
    // 16-bit stereo to mono, "+50% channels": left plus half of right.
    const auto stereo = Le16({1000, 300, -1000, -301, 32000, 32000});
    std::vector<uint8_t> mono(6);
    chmove::BlockMixer(none, 16, 2, 1, 4, 3).Reshape(stereo.data(), mono.data(), 3);
    EXPECT_EQ(mono, Le16({1150, -1151, 32767})); // -301/2 is floored when stored; clamped

    // 8-bit mono to stereo, "Added / Count": the new channel repeats the old.
    const std::vector<uint8_t> eight = {0, 128, 255};
    std::vector<uint8_t> wide(6);
    chmove::BlockMixer(none, 8, 1, 2, 0, 3).Reshape(eight.data(), wide.data(), 3);
    EXPECT_EQ(wide, (std::vector<uint8_t>{0, 0, 128, 128, 255, 255}));

    // 24-bit stereo to four channels, "Added": channels 3 and 4 carry the sum, clamped.
    const std::vector<uint8_t> in24 = {0x00, 0x00, 0x50, 0x00, 0x00, 0x40,  // 0x500000, 0x400000
                                       0x01, 0x00, 0x00, 0x02, 0x00, 0x00}; // 1, 2
    std::vector<uint8_t> out24(24);
    chmove::BlockMixer(none, 24, 2, 4, 1, 2).Reshape(in24.data(), out24.data(), 2);
    EXPECT_EQ(out24,
              (std::vector<uint8_t>{0x00, 0x00, 0x50, 0x00, 0x00, 0x40, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0x7F,
                                    0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x03, 0x00, 0x00, 0x03, 0x00, 0x00}));
}

TEST(BlockMixer, MovesBeforeMixingDownAndAfterMixingUp)
{
    MoveList swap;
    swap.Add(2, 1);
    // Down: the move puts right into left first, then right is mixed in.
    const auto stereo = Le16({100, 7});
    std::vector<uint8_t> mono(2);
    chmove::BlockMixer(swap, 16, 2, 1, 1, 1).Reshape(stereo.data(), mono.data(), 1);
    EXPECT_EQ(mono, Le16({14}));
    // Up: mono 5 becomes 5, 5, 5 and the move 2 -> 1 reads the new frame.
    MoveList up;
    up.Add(3, 1);
    up.Add(1, 3);
    const auto one = Le16({5});
    std::vector<uint8_t> three(6);
    chmove::BlockMixer(up, 16, 1, 3, 9, 1).Reshape(one.data(), three.data(), 1);
    EXPECT_EQ(three, Le16({5, 5, 5}));
    // In place: the moves alone; a file with no applicable move is left as is.
    auto block = Le16({1, 2, 3, 4});
    MoveList both;
    both.Add(1, 2);
    both.Add(2, 1);
    chmove::BlockMixer(both, 16, 2, 2, 0, 2).MoveInPlace(block.data(), 2);
    EXPECT_EQ(block, Le16({2, 1, 4, 3}));
    auto untouched = Le16({1, 2});
    chmove::BlockMixer(up, 16, 2, 2, 0, 1).MoveInPlace(untouched.data(), 1);
    EXPECT_EQ(untouched, Le16({1, 2}));
}

TEST(BlockMixer, ReshapedRecord)
{
    const dsp::WaveFormat stereo = dsp::MakePcmFormat(2, 44100, 16);
    const auto mono = chmove::Reshaped(stereo, 1);
    EXPECT_EQ(mono.channels, 1);
    EXPECT_EQ(mono.blockAlign, 2);
    EXPECT_EQ(mono.avgBytesPerSec, 88200u);
    EXPECT_EQ(mono.samplesPerSec, 44100u);
    EXPECT_EQ(mono.bitsPerSample, 16);
    EXPECT_EQ(mono.formatTag, 1);
    const auto six = chmove::Reshaped(dsp::MakePcmFormat(1, 8000, 24), 6);
    EXPECT_EQ(six.blockAlign, 18);
    EXPECT_EQ(six.avgBytesPerSec, 144000u);
}

TEST(ChannelMoves, StoredChoicesOutsideTheListsFallBack)
{
    EXPECT_EQ(chmove::TargetChannelsFromStored(9), 9);
    EXPECT_EQ(chmove::TargetChannelsFromStored(10), 0);
    EXPECT_EQ(chmove::TargetChannelsFromStored(0xFFFFFFFF), 0);
    EXPECT_EQ(chmove::MixModeFromStored(9), 9);
    EXPECT_EQ(chmove::MixModeFromStored(10), 0);
}

} // namespace
