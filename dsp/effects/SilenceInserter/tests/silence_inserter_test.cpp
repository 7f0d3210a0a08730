#include <gtest/gtest.h>

#include <algorithm>

#include "../panel_ids.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

const char* const kStart = "Silence-LenStart-mSec";
const char* const kEnd = "Silence-Len-mSec";

// Runs the plug-in once with the given lengths on a file holding `audio`
// and returns the result; `after` receives the file's bytes afterwards.
int Insert(uint32_t startMs, uint32_t endMs, WAVEFORMATEX format, const std::vector<uint8_t>& audio,
           std::vector<uint8_t>* after)
{
    SetNumber(kStart, startMs);
    SetNumber(kEnd, endMs);
    PluginUnderTest plugin("SilenceInserter.dll");
    EXPECT_TRUE(plugin.Loaded());
    const Outcome o = WorkOn(plugin, audio, format);
    *after = o.bytes;
    EXPECT_EQ(o.folder, OnlyInput()) << "leftover file";
    return o.result;
}

TEST(SilenceInserter, BothLengthsZeroLeaveTheFileAlone)
{
    RegistryScope reg({kStart, kEnd});
    const std::vector<uint8_t> audio = Pattern(1000);
    std::vector<uint8_t> after;
    EXPECT_EQ(Insert(0, 0, MakeFormat(2, 44100, 16), audio, &after), 1);
    EXPECT_EQ(after, audio);
}

TEST(SilenceInserter, SilenceIs128For8BitAnd0Otherwise)
{
    RegistryScope reg({kStart, kEnd});
    const std::vector<uint8_t> audio = Pattern(400);
    struct Case
    {
        int bits;
        uint8_t silence;
        size_t frame;
    };
    for (const Case c : {Case{8, 0x80, 2}, Case{16, 0x00, 4}, Case{24, 0x00, 6}}) {
        std::vector<uint8_t> after;
        ASSERT_EQ(Insert(10, 20, MakeFormat(2, 8000, c.bits), audio, &after), 1) << c.bits;
        const size_t start = 80 * c.frame, end = 160 * c.frame; // 10 ms and 20 ms at 8000 Hz
        ASSERT_EQ(after.size(), start + audio.size() + end) << c.bits;
        EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + start),
                  std::vector<uint8_t>(start, c.silence))
            << c.bits;
        EXPECT_EQ(std::vector<uint8_t>(after.begin() + start, after.begin() + start + audio.size()), audio);
        EXPECT_EQ(std::vector<uint8_t>(after.end() - end, after.end()), std::vector<uint8_t>(end, c.silence))
            << c.bits;
    }
}

TEST(SilenceInserter, EndAloneIsAppendedAndStartAloneIsPutInFront)
{
    RegistryScope reg({kStart, kEnd});
    const std::vector<uint8_t> audio = Pattern(64);
    std::vector<uint8_t> after;
    ASSERT_EQ(Insert(0, 1, MakeFormat(1, 8000, 8), audio, &after), 1);
    std::vector<uint8_t> want = audio;
    want.insert(want.end(), 8, 0x80);
    EXPECT_EQ(after, want);

    ASSERT_EQ(Insert(1, 0, MakeFormat(1, 8000, 8), audio, &after), 1);
    want.assign(8, 0x80);
    want.insert(want.end(), audio.begin(), audio.end());
    EXPECT_EQ(after, want);
}

TEST(SilenceInserter, OneMinuteOfCdAudioIs10584000Bytes)
{
    RegistryScope reg({kStart, kEnd});
    const std::vector<uint8_t> audio = Pattern(4000);
    std::vector<uint8_t> after;
    ASSERT_EQ(Insert(60000, 0, MakeFormat(2, 44100, 16), audio, &after), 1);
    ASSERT_EQ(after.size(), 10584000u + audio.size());
    EXPECT_EQ(std::vector<uint8_t>(after.end() - audio.size(), after.end()), audio);
    EXPECT_TRUE(std::all_of(after.begin(), after.end() - audio.size(), [](uint8_t b) { return b == 0; }));
}

TEST(SilenceInserter, LengthsBetweenFramesKeepEverySampleInPlace)
{
    // 7 ms at 44100 Hz, 4 bytes a frame, is 1234.8 bytes: 308 whole frames are added.
    RegistryScope reg({kStart, kEnd});
    const std::vector<uint8_t> audio = Pattern(4 * 50);
    std::vector<uint8_t> after;
    ASSERT_EQ(Insert(7, 7, MakeFormat(2, 44100, 16), audio, &after), 1);
    ASSERT_EQ(after.size(), 1232u + audio.size() + 1232u);
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + 1232, after.begin() + 1232 + audio.size()), audio);
}

TEST(SilenceInserter, ATemporaryFileLeftByAKilledRunIsTakenOver)
{
    RegistryScope reg({kStart, kEnd});
    SetNumber(kStart, 1);
    SetNumber(kEnd, 0);
    PluginUnderTest plugin("SilenceInserter.dll");
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    const std::vector<uint8_t> audio = Pattern(64);
    WriteFileBytes(file, audio);
    WriteFileBytes(file + "-Tmp", Pattern(100000, 7)); // what a killed run leaves behind
    WAVEFORMATEX format = MakeFormat(1, 8000, 8);
    EXPECT_EQ(plugin.Work(file, format), 1);
    std::vector<uint8_t> want(8, 0x80);
    want.insert(want.end(), audio.begin(), audio.end());
    EXPECT_EQ(ReadFileBytes(file), want);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());
}

TEST(SilenceInserter, AnInputThatCannotBeReplacedStaysAsItWas)
{
    RegistryScope reg({kStart, kEnd});
    SetNumber(kStart, 100);
    SetNumber(kEnd, 100);
    PluginUnderTest plugin("SilenceInserter.dll");
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    const std::vector<uint8_t> audio = Pattern(40000);
    WriteFileBytes(file, audio);
    WAVEFORMATEX format = MakeFormat(2, 44100, 16);
    {
        OpenElsewhere player(file); // the result is made, but cannot take the input's place
        ASSERT_TRUE(player.Open());
        EXPECT_EQ(plugin.Work(file, format), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), audio);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());
}

TEST(SilenceInserter, PanelShowsAndStoresMinutesSecondsAndMilliseconds)
{
    RegistryScope reg({kStart, kEnd});
    SetNumber(kStart, 135005);
    SetNumber(kEnd, 61001);
    PluginUnderTest plugin("SilenceInserter.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ClockText(panel, IDC_START_MINUTES, IDC_START_SECONDS, IDC_START_MSEC), "2,15,5");
    EXPECT_EQ(ClockText(panel, IDC_END_MINUTES, IDC_END_SECONDS, IDC_END_MSEC), "1,1,1");
    EXPECT_EQ(GetNumber(kStart), 135005u); // filling the panel stored nothing new
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, IDC_END_MSEC), GWL_STYLE) & ES_NUMBER);

    SetDlgItemTextA(panel, IDC_END_SECONDS, "75"); // the change notification saves both rows
    EXPECT_EQ(GetNumber(kEnd), 60000u + 75000u + 1u);
    EXPECT_EQ(GetNumber(kStart), 135005u);
    SetDlgItemTextA(panel, IDC_START_MINUTES, "");
    EXPECT_EQ(GetNumber(kStart), 15005u);
    plugin.Remove();
}

} // namespace
