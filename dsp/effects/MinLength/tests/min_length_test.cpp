#include <gtest/gtest.h>

#include "../panel_ids.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

const char* const kMinimum = "Min-Len-mSec";

TEST(MinLength, PadsShortFilesToTheTargetAndLeavesOthers)
{
    RegistryScope reg({kMinimum});
    SetNumber(kMinimum, 100); // 100 ms at 8000 Hz: 800 frames
    PluginUnderTest plugin("MinLength.dll");
    struct Case
    {
        int bits;
        size_t frame;
        size_t size;
        uint8_t silence;
    };
    const Case cases[] = {
        {16, 4, 0, 0x00},    {8, 2, 0, 0x80}, // empty: the target length of silence
        {16, 4, 1000, 0x00}, {8, 1, 7, 0x80}, // short: padded
        {16, 4, 3200, 0x00},                  // exactly the target: unchanged
        {16, 4, 5000, 0x00},                  // longer: unchanged
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> audio = Pattern(c.size);
        const Outcome o =
            WorkOn(plugin, audio, MakeFormat(static_cast<int>(c.frame * 8 / c.bits), 8000, c.bits));
        EXPECT_EQ(o.result, 1) << c.size;
        const size_t target = 800 * c.frame;
        std::vector<uint8_t> want = audio;
        if (want.size() < target)
            want.resize(target, c.silence);
        EXPECT_EQ(o.bytes, want) << c.bits << " bits, " << c.size << " bytes";
        EXPECT_EQ(o.folder, OnlyInput());
    }
}

TEST(MinLength, ZeroChangesNothingAndTargetsAreWholeFrames)
{
    RegistryScope reg({kMinimum});
    {
        PluginUnderTest plugin("MinLength.dll");
        const std::vector<uint8_t> empty;
        const Outcome o = WorkOn(plugin, empty, MakeFormat(2, 44100, 16));
        EXPECT_EQ(o.result, 1);
        EXPECT_TRUE(o.bytes.empty());
    }
    SetNumber(kMinimum, 7); // 1234.8 bytes of CD audio: 308 frames
    PluginUnderTest plugin("MinLength.dll");
    const std::vector<uint8_t> audio = Pattern(10);
    const Outcome o = WorkOn(plugin, audio, MakeFormat(2, 44100, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes.size(), 1232u);
}

TEST(MinLength, PanelRowStoresTheTotal)
{
    RegistryScope reg({kMinimum});
    SetNumber(kMinimum, 61001);
    PluginUnderTest plugin("MinLength.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ClockText(panel, IDC_MIN_MINUTES, IDC_MIN_SECONDS, IDC_MIN_MSEC), "1,1,1");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, IDC_MIN_SECONDS), GWL_STYLE) & ES_NUMBER);
    SetDlgItemTextA(panel, IDC_MIN_SECONDS, "75");
    SetDlgItemTextA(panel, IDC_MIN_MSEC, "5");
    EXPECT_EQ(GetNumber(kMinimum), 135005u);
    plugin.Remove();
    plugin.Reload();
    panel = plugin.Show(host.Handle());
    EXPECT_EQ(ClockText(panel, IDC_MIN_MINUTES, IDC_MIN_SECONDS, IDC_MIN_MSEC), "2,15,5");
    plugin.Remove();
}

} // namespace
