#include <gtest/gtest.h>

#include <algorithm>

#include "../panel_ids.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

const char* const kBegin = "Trim-Begin-Len";
const char* const kEnd = "Trim-End-Len";

TEST(Trimmer, CutsTheEndThenTheBeginningOfWhatIsLeft)
{
    RegistryScope reg({kBegin, kEnd});
    struct Case
    {
        uint32_t beginMs, endMs;
        size_t size, from, kept;
    };
    const Case cases[] = {
        {1000, 500, 1764000, 176400, 1499400}, // CD audio: 1675800 after the end cut
        {0, 0, 4000, 0, 4000},                 // nothing to do
        {0, 10, 4000, 0, 4000 - 1764},         // 10 ms = 441 frames off the end
        {10, 0, 4000, 1764, 4000 - 1764},
        {1000, 50000, 200000, 0, 0}, // end longer than the file empties it
        {0, 50000, 200000, 0, 0},
        {500, 500, 176400, 0, 0},               // begin equal to what remains: empty
        {600, 500, 176400, 0, 0},               // begin past what remains: empty
        {7, 7, 4000, 1232, 4000 - 1232 - 1232}, // 1234.8 bytes: whole frames
    };
    for (const Case& c : cases) {
        SetNumber(kBegin, c.beginMs);
        SetNumber(kEnd, c.endMs);
        PluginUnderTest plugin("Trimmer.dll");
        const std::vector<uint8_t> audio = Pattern(c.size);
        const Outcome o = WorkOn(plugin, audio, MakeFormat(2, 44100, 16));
        EXPECT_EQ(o.result, 1) << c.beginMs << " " << c.endMs;
        EXPECT_EQ(o.bytes.size(), c.kept) << c.beginMs << " " << c.endMs;
        EXPECT_TRUE(std::equal(o.bytes.begin(), o.bytes.end(), audio.begin() + c.from))
            << c.beginMs << " " << c.endMs;
        EXPECT_EQ(o.folder, OnlyInput());
    }
}

TEST(Trimmer, MissingLockedAndUnreplaceableInputsChangeNothing)
{
    RegistryScope reg({kBegin, kEnd});
    SetNumber(kBegin, 100);
    SetNumber(kEnd, 100);
    PluginUnderTest plugin("Trimmer.dll");
    WAVEFORMATEX format = MakeFormat(1, 8000, 16);
    const std::string dir = ScratchDir(), file = dir + "audio.raw";
    EXPECT_EQ(plugin.Work(file, format), 0); // missing
    EXPECT_TRUE(FolderEntries(dir).empty());

    const std::vector<uint8_t> audio = Pattern(16000);
    WriteFileBytes(file, audio);
    {
        OpenElsewhere player(file);
        ASSERT_TRUE(player.Open());
        EXPECT_EQ(plugin.Work(file, format), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), audio); // not even the end was cut
    EXPECT_EQ(FolderEntries(dir), OnlyInput());

    SetNumber(kBegin, 0); // only the end, in place
    plugin.Reload();
    {
        HeldFile held(file);
        ASSERT_TRUE(held.Held());
        EXPECT_EQ(plugin.Work(file, format), 0);
    }
    EXPECT_EQ(ReadFileBytes(file), audio);
    EXPECT_EQ(plugin.Work(file, format), 1);
    EXPECT_EQ(ReadFileBytes(file).size(), 16000u - 1600u);
}

TEST(Trimmer, PanelTakesAnyTextAndShowsTheTotalNormalised)
{
    RegistryScope reg({kBegin, kEnd});
    PluginUnderTest plugin("Trimmer.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ClockText(panel, IDC_BEGIN_MINUTES, IDC_BEGIN_SECONDS, IDC_BEGIN_MSEC), "0,0,0");
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(panel, IDC_BEGIN_SECONDS), GWL_STYLE) & ES_NUMBER);
    SetDlgItemTextA(panel, IDC_BEGIN_MINUTES, "1");
    SetDlgItemTextA(panel, IDC_BEGIN_SECONDS, "75");
    SetDlgItemTextA(panel, IDC_BEGIN_MSEC, "5");
    EXPECT_EQ(GetNumber(kBegin), 135005u);
    EXPECT_EQ(GetNumber(kEnd), 0u);
    SetDlgItemTextA(panel, IDC_END_SECONDS, "  12abc"); // leading blanks, stops at the first non-digit
    SetDlgItemTextA(panel, IDC_END_MSEC, "x");          // no digits: 0
    EXPECT_EQ(GetNumber(kEnd), 12000u);
    plugin.Remove();
    plugin.Reload();
    panel = plugin.Show(host.Handle());
    EXPECT_EQ(ClockText(panel, IDC_BEGIN_MINUTES, IDC_BEGIN_SECONDS, IDC_BEGIN_MSEC), "2,15,5");
    EXPECT_EQ(ClockText(panel, IDC_END_MINUTES, IDC_END_SECONDS, IDC_END_MSEC), "0,12,0");
    plugin.Remove();
}

} // namespace
