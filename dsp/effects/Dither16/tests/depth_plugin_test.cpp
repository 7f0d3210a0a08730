// Dither16, Dither8 and Bits24 loaded from the dist folder and run on raw files.
#include <gtest/gtest.h>

#include <vector>

#include "testing/plugin_under_test.h"

namespace {

using dsp::testing::FileExists;
using dsp::testing::MakeFormat;
using dsp::testing::PluginUnderTest;
using dsp::testing::ReadFileBytes;
using dsp::testing::ScratchFile;
using dsp::testing::WriteFileBytes;
using Bytes = std::vector<uint8_t>;

std::vector<int> Samples16(const Bytes& bytes)
{
    std::vector<int> values;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        values.push_back(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return values;
}

// Runs a freshly loaded member on `bytes` and returns the file afterwards.
struct Outcome
{
    int result;
    Bytes file;
    WAVEFORMATEX format;
};
Outcome RunOnce(PluginUnderTest& plugin, const Bytes& bytes, WAVEFORMATEX format, const char* name = "in.raw")
{
    const std::string path = ScratchFile(name);
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    Outcome run{plugin.Work(path, format), ReadFileBytes(path), format};
    EXPECT_FALSE(FileExists(path + "-Tmp")) << "leftover sibling";
    return run;
}

TEST(Dither16Plugin, FreshLibraryDithersSilenceToTheKnownPattern)
{
    struct Case
    {
        int bits;
        Bytes silence;
    } cases[] = {{8, Bytes(5, 128)}, {24, Bytes(15, 0)}};
    for (const auto& c : cases) {
        PluginUnderTest dither("Dither16.dll"); // a fresh load each time: new dither state
        ASSERT_TRUE(dither.Loaded());
        const Outcome run = RunOnce(dither, c.silence, MakeFormat(1, 22050, c.bits));
        EXPECT_EQ(run.result, 1);
        EXPECT_EQ(Samples16(run.file), (std::vector<int>{1, -1, 1, -1, 0})) << c.bits;
        EXPECT_EQ(run.format.wBitsPerSample, 16);
        EXPECT_EQ(run.format.nBlockAlign, 2);
        EXPECT_EQ(run.format.nAvgBytesPerSec, 44100u);
        EXPECT_EQ(run.format.nChannels, 1);
        EXPECT_EQ(run.format.nSamplesPerSec, 22050u);
        EXPECT_EQ(run.format.wFormatTag, 1);
    }
}

TEST(Dither8Plugin, FreshLibraryKeepsSilenceAt128)
{
    PluginUnderTest dither("Dither8.dll");
    const Outcome run = RunOnce(dither, Bytes(10, 0), MakeFormat(1, 8000, 16));
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.file, Bytes(5, 128));
    EXPECT_EQ(run.format.wBitsPerSample, 8);
    EXPECT_EQ(run.format.nBlockAlign, 1);
    EXPECT_EQ(run.format.nAvgBytesPerSec, 8000u);
}

TEST(Dither16Plugin, FullScaleClipsAndStateCarriesAcrossFiles)
{
    PluginUnderTest dither("Dither16.dll");
    const Outcome loud = RunOnce(dither, Bytes{0xFF, 0xFF, 0x7F}, MakeFormat(1, 44100, 24));
    EXPECT_EQ(loud.result, 1);
    EXPECT_EQ(Samples16(loud.file), std::vector<int>{32767});

    // The same input twice while the library stays loaded: the dither goes on
    // from where it stopped, so the second file differs from the first.
    Bytes quiet;
    for (int i = 0; i < 400; ++i)
        quiet.insert(quiet.end(), {0x00, static_cast<uint8_t>(i), 0x01});
    const Outcome first = RunOnce(dither, quiet, MakeFormat(2, 44100, 24), "a.raw");
    const Outcome second = RunOnce(dither, quiet, MakeFormat(2, 44100, 24), "b.raw");
    ASSERT_EQ(first.file.size(), 800u); // 200 stereo frames of 16 bit
    ASSERT_EQ(second.file.size(), 800u);
    EXPECT_NE(first.file, second.file);
    // Sample i was 0x01ii in 16-bit terms; dither moves it by a few steps at most.
    const auto out = Samples16(first.file);
    for (size_t i = 0; i < out.size(); ++i)
        ASSERT_NEAR(out[i], 256 + static_cast<int>(i % 256), 3) << i;
}

TEST(Bits24Plugin, WidensExactly)
{
    PluginUnderTest widen("Bits24.dll");
    const Outcome eight = RunOnce(widen, Bytes{200, 128, 0}, MakeFormat(1, 11025, 8), "8.raw");
    EXPECT_EQ(eight.result, 1);
    EXPECT_EQ(eight.file, (Bytes{0, 0, 0x48, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(eight.format.wBitsPerSample, 24);
    EXPECT_EQ(eight.format.nBlockAlign, 3);
    EXPECT_EQ(eight.format.nAvgBytesPerSec, 33075u);

    const Outcome sixteen = RunOnce(widen, Bytes{0xFE, 0xFF, 0xFF, 0x7F}, MakeFormat(2, 8000, 16), "16.raw");
    EXPECT_EQ(sixteen.result, 1);
    EXPECT_EQ(sixteen.file, (Bytes{0, 0xFE, 0xFF, 0, 0xFF, 0x7F}));
    EXPECT_EQ(sixteen.format.nBlockAlign, 6);
    EXPECT_EQ(sixteen.format.nAvgBytesPerSec, 48000u);
    EXPECT_EQ(sixteen.format.nChannels, 2);
}

TEST(DepthFamilyPlugins, EmptyFileIsReplacedAndTheRecordUpdated)
{
    struct Case
    {
        const char* dll;
        int inBits;
        int outBits;
    } cases[] = {{"Dither16.dll", 8, 16}, {"Dither8.dll", 24, 8}, {"Bits24.dll", 16, 24}};
    for (const auto& c : cases) {
        PluginUnderTest plugin(c.dll);
        const Outcome run = RunOnce(plugin, {}, MakeFormat(2, 44100, c.inBits));
        EXPECT_EQ(run.result, 1) << c.dll;
        EXPECT_TRUE(run.file.empty());
        EXPECT_EQ(run.format.wBitsPerSample, c.outBits) << c.dll;
        EXPECT_EQ(run.format.nBlockAlign, 2 * c.outBits / 8);
    }
}

TEST(DepthFamilyPlugins, FilesTheyDoNotConvertAreLeftAloneWithSuccess)
{
    struct Case
    {
        const char* dll;
        int channels;
        int bits;
    } cases[] = {{"Dither16.dll", 2, 16},  {"Dither16.dll", 101, 8}, {"Dither8.dll", 1, 8},
                 {"Dither8.dll", 101, 16}, {"Bits24.dll", 1, 24},    {"Bits24.dll", 1, 32},
                 {"Bits24.dll", 1, 4}};
    const Bytes original = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (const auto& c : cases) {
        PluginUnderTest plugin(c.dll);
        const WAVEFORMATEX before = MakeFormat(c.channels, 44100, c.bits);
        const Outcome run = RunOnce(plugin, original, before);
        EXPECT_EQ(run.result, 1) << c.dll << " " << c.channels << " " << c.bits;
        EXPECT_EQ(run.file, original);
        EXPECT_EQ(0, memcmp(&run.format, &before, sizeof before));
    }
}

TEST(DepthFamilyPlugins, RecordsThatCannotBeFramedAreRefused)
{
    // No channels, or fewer than 8 bits per sample: nothing to divide frames by.
    struct Case
    {
        const char* dll;
        int channels;
        int bits;
    } cases[] = {{"Dither16.dll", 0, 8},
                 {"Dither16.dll", 1, 4},
                 {"Dither8.dll", 0, 16},
                 {"Dither8.dll", 2, 0},
                 {"Bits24.dll", 0, 16}};
    const Bytes original = {1, 2, 3, 4, 5, 6};
    for (const auto& c : cases) {
        PluginUnderTest plugin(c.dll);
        WAVEFORMATEX format = MakeFormat(c.channels, 44100, c.bits);
        const WAVEFORMATEX before = format;
        const Outcome run = RunOnce(plugin, original, format);
        EXPECT_EQ(run.result, 0) << c.dll << " " << c.channels << " " << c.bits;
        EXPECT_EQ(run.file, original);
        EXPECT_EQ(0, memcmp(&run.format, &before, sizeof before));
    }
}

TEST(DepthFamilyPlugins, PartialFrameStaysOutOfTheArithmetic)
{
    PluginUnderTest dither("Dither8.dll");
    Bytes stereo(4 * 3 + 3, 0); // three 16-bit stereo frames and three stray bytes
    const Outcome run = RunOnce(dither, stereo, MakeFormat(2, 44100, 16));
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.file, Bytes(6, 128));
}

TEST(DepthFamilyPlugins, FailuresLeaveTheInputAndRecordAsTheyWere)
{
    PluginUnderTest dither("Dither16.dll");
    WAVEFORMATEX format = MakeFormat(1, 8000, 8);
    const WAVEFORMATEX before = format;
    // A missing file.
    const std::string missing = ScratchFile("missing.raw");
    EXPECT_EQ(dither.Work(missing, format), 0);
    EXPECT_FALSE(FileExists(missing + "-Tmp"));
    // A sibling that cannot be created (a folder stands in its way).
    const std::string path = ScratchFile("blocked.raw");
    const Bytes original(100, 77);
    ASSERT_TRUE(WriteFileBytes(path, original));
    ASSERT_TRUE(CreateDirectoryA((path + "-Tmp").c_str(), nullptr));
    EXPECT_EQ(dither.Work(path, format), 0);
    EXPECT_EQ(ReadFileBytes(path), original);
    // An input another program holds open without sharing.
    RemoveDirectoryA((path + "-Tmp").c_str());
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(dither.Work(path, format), 0);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_FALSE(FileExists(path + "-Tmp"));
    EXPECT_EQ(0, memcmp(&format, &before, sizeof before));
}

TEST(DepthFamilyPlugins, LongFilesGoThroughInOneSecondBlocks)
{
    // 2.5 seconds of 8-bit stereo at 8000 per second to 16 bit: three blocks.
    PluginUnderTest dither("Dither16.dll");
    Bytes ramp(2 * 20000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<uint8_t>(i / 2 % 256);
    const Outcome run = RunOnce(dither, ramp, MakeFormat(2, 8000, 8));
    EXPECT_EQ(run.result, 1);
    const auto out = Samples16(run.file);
    ASSERT_EQ(out.size(), ramp.size());
    for (size_t i = 0; i < out.size(); ++i)
        ASSERT_NEAR(out[i], (ramp[i] - 128) * 256, 3) << i;
}

} // namespace
