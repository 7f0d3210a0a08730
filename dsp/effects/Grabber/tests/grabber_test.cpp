#include <gtest/gtest.h>

#include "../panel_ids.h"
#include "settings_store.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

const char* const kLength = "Sound-Grabber-Len";
const char* const kPosition = "Sound-Grabber-Position";
const char* const kFromEnd = "Sound-Grabber-FromEnd";
constexpr size_t kSecond = 8000 * 2; // 8000 Hz mono 16-bit

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t length)
{
    return std::vector<uint8_t>(bytes.begin() + from, bytes.begin() + from + length);
}

TEST(Grabber, KeepsTheSectionItsSettingsName)
{
    RegistryScope reg({kLength, kPosition, kFromEnd});
    struct Case
    {
        uint32_t lengthMs, positionMs, fromEnd;
        size_t seconds, from, kept;
    };
    const Case cases[] = {
        {10000, 0, 1, 8, 0, 0},                                  // 0 from the end: nothing kept, unchanged
        {10000, 9000, 0, 8, 0, 0},                               // beyond the end: unchanged
        {10000, 5000, 0, 8, 5 * kSecond, 3 * kSecond},           // 10 s from 5 s of 8 s: the last 3 s
        {4000, 10000, 1, 20, 10 * kSecond, 4 * kSecond},         // 4 s starting 10 s before the end
        {1000, 30000, 1, 8, 0, kSecond},                         // before the start counts from the start
        {0, 2000, 0, 8, 2 * kSecond, 8 * kSecond - 2 * kSecond}, // a stored 0 is 10 s
    };
    for (const Case& c : cases) {
        SetNumber(kLength, c.lengthMs);
        SetNumber(kPosition, c.positionMs);
        SetNumber(kFromEnd, c.fromEnd);
        PluginUnderTest plugin("Grabber.dll");
        const std::vector<uint8_t> audio = Pattern(c.seconds * kSecond);
        const Outcome o = WorkOn(plugin, audio, MakeFormat(1, 8000, 16));
        EXPECT_EQ(o.result, 1);
        EXPECT_EQ(o.bytes, c.kept ? Slice(audio, c.from, c.kept) : audio)
            << c.lengthMs << " " << c.positionMs;
        EXPECT_EQ(o.folder, OnlyInput());
    }
}

TEST(Grabber, StartAndLengthFallOnFrames)
{
    // 7 ms of 44100 Hz stereo 16-bit is 1234.8 bytes: 308 frames.
    RegistryScope reg({kLength, kPosition, kFromEnd});
    SetNumber(kLength, 7);
    SetNumber(kPosition, 7);
    PluginUnderTest plugin("Grabber.dll");
    const std::vector<uint8_t> audio = Pattern(8000);
    const Outcome o = WorkOn(plugin, audio, MakeFormat(2, 44100, 16));
    EXPECT_EQ(o.bytes, Slice(audio, 1232, 1232));
}

TEST(Grabber, AnInputThatCannotBeReplacedOrAResultThatCannotBeMadeLeaveTheInput)
{
    RegistryScope reg({kLength, kPosition, kFromEnd});
    SetNumber(kLength, 1000);
    PluginUnderTest plugin("Grabber.dll");
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    const std::vector<uint8_t> audio = Pattern(4 * kSecond);
    WriteFileBytes(file, audio);
    WAVEFORMATEX format = MakeFormat(1, 8000, 16);
    {
        OpenElsewhere player(file); // the section is copied, but cannot take the input's place
        ASSERT_TRUE(player.Open());
        EXPECT_EQ(plugin.Work(file, format), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), audio);
    EXPECT_EQ(FolderEntries(dir), OnlyInput());

    ASSERT_TRUE(CreateDirectoryA((file + "-Tmp").c_str(), nullptr));
    EXPECT_EQ(plugin.Work(file, format), 0);
    EXPECT_EQ(ReadFileBytes(file), audio);
    RemoveDirectoryA((file + "-Tmp").c_str());
}

TEST(Grabber, PanelRowsAndRadioButtons)
{
    RegistryScope reg({kLength, kPosition, kFromEnd});
    SetNumber(kPosition, 135005);
    PluginUnderTest plugin("Grabber.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ClockText(panel, IDC_LENGTH_MINUTES, IDC_LENGTH_SECONDS, IDC_LENGTH_MSEC), "0,10,0");
    EXPECT_EQ(ClockText(panel, IDC_POSITION_MINUTES, IDC_POSITION_SECONDS, IDC_POSITION_MSEC), "2,15,5");
    EXPECT_EQ(Text(panel, IDC_FROM_BEGINNING), "From Beginning");
    EXPECT_EQ(Text(panel, IDC_FROM_END), "From End");
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_FROM_BEGINNING), BST_CHECKED);
    EXPECT_FALSE(dsp::settings::ValueExists(kLength, HKEY_CURRENT_USER, dsp::settings::kPluginKey));

    SendDlgItemMessageA(panel, IDC_FROM_END, BM_CLICK, 0, 0);
    EXPECT_EQ(GetNumber(kFromEnd), 1u); // stored as 1, not -1
    EXPECT_EQ(GetNumber(kLength), 10000u);
    EXPECT_EQ(GetNumber(kPosition), 135005u);
    SetDlgItemTextA(panel, IDC_LENGTH_SECONDS, "75");
    EXPECT_EQ(GetNumber(kLength), 75000u);
    plugin.Remove();
    plugin.Reload();
    panel = plugin.Show(host.Handle());
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_FROM_END), BST_CHECKED);
    EXPECT_EQ(Text(panel, IDC_LENGTH_MINUTES) + "," + Text(panel, IDC_LENGTH_SECONDS), "1,15");
    SendDlgItemMessageA(panel, IDC_FROM_BEGINNING, BM_CLICK, 0, 0);
    EXPECT_EQ(GetNumber(kFromEnd), 0u);
    plugin.Remove();
}

} // namespace
