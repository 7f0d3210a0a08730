#include <gtest/gtest.h>

#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

// The frames of `bytes` in the opposite order, worked out one frame at a time.
std::vector<uint8_t> Backwards(const std::vector<uint8_t>& bytes, size_t frame)
{
    std::vector<uint8_t> out;
    for (size_t f = bytes.size() / frame; f-- > 0;) {
        out.insert(out.end(), bytes.begin() + f * frame, bytes.begin() + (f + 1) * frame);
    }
    return out;
}

TEST(Reverser, FramesComeOutLastFirstWithTheirBytesInOrder)
{
    PluginUnderTest plugin("Reverser.dll");
    ASSERT_TRUE(plugin.Loaded());
    const std::vector<uint8_t> abc = {0xA0, 0xA1, 0xA2, 0xA3, 0xB0, 0xB1, 0xB2, 0xB3, 0xC0, 0xC1, 0xC2, 0xC3};
    Outcome o = WorkOn(plugin, abc, MakeFormat(2, 44100, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes,
              (std::vector<uint8_t>{0xC0, 0xC1, 0xC2, 0xC3, 0xB0, 0xB1, 0xB2, 0xB3, 0xA0, 0xA1, 0xA2, 0xA3}));
    EXPECT_EQ(o.folder, OnlyInput());

    const std::vector<uint8_t> one = {1, 2, 3, 4, 5, 6};
    o = WorkOn(plugin, one, MakeFormat(2, 44100, 24));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes, one);

    o = WorkOn(plugin, {}, MakeFormat(2, 44100, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_TRUE(o.bytes.empty());
    EXPECT_EQ(o.folder, OnlyInput());
}

TEST(Reverser, FilesOfSeveralSecondsAndPartSecondsReverseWhole)
{
    PluginUnderTest plugin("Reverser.dll");
    struct Case
    {
        int channels, rate, bits;
        size_t bytes;
    };
    const Case cases[] = {
        {2, 8000, 16, 80000},     // 2.5 seconds: last second, the one before, the first half
        {1, 8000, 8, 8000 * 3},   // exactly three seconds
        {3, 11025, 24, 9 * 7001}, // odd frame size, 0.635 s
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> audio = Pattern(c.bytes, static_cast<uint8_t>(c.bits));
        const size_t frame = static_cast<size_t>(c.channels * c.bits / 8);
        const Outcome o = WorkOn(plugin, audio, MakeFormat(c.channels, c.rate, c.bits));
        EXPECT_EQ(o.result, 1);
        EXPECT_EQ(o.bytes, Backwards(audio, frame)) << c.bytes;
    }
}

TEST(Reverser, BlockAlignZeroBecomesOneInTheCallersRecord)
{
    PluginUnderTest plugin("Reverser.dll");
    WAVEFORMATEX format = MakeFormat(1, 8000, 8);
    format.nBlockAlign = 0;
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    WriteFileBytes(file, {1, 2, 3, 4, 5});
    EXPECT_EQ(plugin.Work(file, format), 1);
    EXPECT_EQ(format.nBlockAlign, 1);
    EXPECT_EQ(ReadFileBytes(file), (std::vector<uint8_t>{5, 4, 3, 2, 1}));
}

TEST(Reverser, BytesAfterTheLastWholeFrameStayAtTheEnd)
{
    PluginUnderTest plugin("Reverser.dll");
    const Outcome o = WorkOn(plugin, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, MakeFormat(2, 8000, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes, (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4, 9, 10}));
}

TEST(Reverser, AnInputThatCannotBeReplacedKeepsItsBytesAndNoResultFileStays)
{
    PluginUnderTest plugin("Reverser.dll");
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    const std::vector<uint8_t> audio = Pattern(80000);
    WriteFileBytes(file, audio);
    WAVEFORMATEX format = MakeFormat(2, 8000, 16);
    {
        OpenElsewhere player(file);
        ASSERT_TRUE(player.Open());
        EXPECT_EQ(plugin.Work(file, format), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), audio);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());
}

TEST(Reverser, AResultFileThatCannotBeMadeLeavesTheInput)
{
    PluginUnderTest plugin("Reverser.dll");
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    const std::vector<uint8_t> audio = Pattern(4000);
    WriteFileBytes(file, audio);
    ASSERT_TRUE(CreateDirectoryA((file + ".TEMP").c_str(), nullptr)); // the result's name is taken
    WAVEFORMATEX format = MakeFormat(2, 8000, 16);
    EXPECT_EQ(plugin.Work(file, format), 0);
    EXPECT_EQ(ReadFileBytes(file), audio);
    RemoveDirectoryA((file + ".TEMP").c_str());
}

TEST(Reverser, PanelOnlyExplains)
{
    PluginUnderTest plugin("Reverser.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    HWND label = GetWindow(panel, GW_CHILD);
    ASSERT_NE(label, nullptr);
    char text[100] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "Reverses Audio (so plays backwards)");
    EXPECT_EQ(GetWindow(label, GW_HWNDNEXT), nullptr);
    plugin.Remove();
}

} // namespace
