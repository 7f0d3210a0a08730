#include <gtest/gtest.h>

#include "../panel_ids.h"
#include "testing/plugin_under_test.h"
#include "settings_store.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

const char* const kPercent = "Vol-Quiet-PCLessenBy";

std::vector<uint8_t> Samples16(std::initializer_list<int16_t> values)
{
    std::vector<uint8_t> bytes;
    for (int16_t v : values) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
    }
    return bytes;
}

TEST(Quietener, DefaultTwentyPercentGivesEightyPercentOfEachSample)
{
    RegistryScope reg({kPercent});
    PluginUnderTest plugin("Quietener.dll");
    const Outcome o = WorkOn(plugin, Samples16({1000, -1000, 32767, -32768, 0, 5}), MakeFormat(2, 44100, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes, Samples16({800, -800, 26213, -26215, 0, 4}));
}

TEST(Quietener, EveryBlockOfALongerFileIsScaled)
{
    RegistryScope reg({kPercent});
    SetNumber(kPercent, 50);
    PluginUnderTest plugin("Quietener.dll");
    // 2.5 seconds of 8000 Hz mono 16-bit: three blocks.
    std::vector<uint8_t> audio, want;
    for (int i = 0; i < 20000; ++i) {
        const int16_t v = static_cast<int16_t>((i * 37) % 20000 - 10000) & ~1; // even values halve exactly
        audio.push_back(static_cast<uint8_t>(v));
        audio.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
        const int16_t h = static_cast<int16_t>(v / 2);
        want.push_back(static_cast<uint8_t>(h));
        want.push_back(static_cast<uint8_t>(static_cast<uint16_t>(h) >> 8));
    }
    const Outcome o = WorkOn(plugin, audio, MakeFormat(1, 8000, 16));
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.bytes, want);
}

TEST(Quietener, HundredSilencesAndMinusThreeHalvesToMinusTwo)
{
    RegistryScope reg({kPercent});
    SetNumber(kPercent, 100);
    {
        PluginUnderTest plugin("Quietener.dll");
        const Outcome o = WorkOn(plugin, {0, 255, 200, 17, 128}, MakeFormat(1, 8000, 8));
        EXPECT_EQ(o.bytes, std::vector<uint8_t>(5, 128));
    }
    SetNumber(kPercent, 50);
    PluginUnderTest plugin("Quietener.dll");
    const Outcome o = WorkOn(plugin, Samples16({-3, 3}), MakeFormat(1, 8000, 16));
    EXPECT_EQ(o.bytes, Samples16({-2, 1}));
}

TEST(Quietener, StoredPercentagesAreLimitedAndZeroMeansTwenty)
{
    RegistryScope reg({kPercent});
    struct Case
    {
        uint32_t stored;
        int16_t result;
    };
    for (const Case c : {Case{0, 8000}, Case{250, 0}, Case{0xFFFFFFFF, 0}, Case{100, 0}, Case{10, 9000}}) {
        SetNumber(kPercent, c.stored);
        PluginUnderTest plugin("Quietener.dll");
        const Outcome o = WorkOn(plugin, Samples16({10000}), MakeFormat(1, 8000, 16));
        EXPECT_EQ(o.bytes, Samples16({c.result})) << c.stored;
    }
}

TEST(Quietener, PanelKeepsPercentAndDecibelsInStep)
{
    RegistryScope reg({kPercent});
    PluginUnderTest plugin("Quietener.dll");
    HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Text(panel, IDC_PERCENT), "20");
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-14.0");
    EXPECT_FALSE(dsp::settings::ValueExists(kPercent, HKEY_CURRENT_USER, dsp::settings::kPluginKey))
        << "filling the panel must store nothing";
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, IDC_DECIBELS), GWL_STYLE) & ES_NUMBER);

    SetDlgItemTextA(panel, IDC_PERCENT, "50");
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-6.0");
    EXPECT_EQ(GetNumber(kPercent), 50u);

    SetDlgItemTextA(panel, IDC_PERCENT, "100");
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-0.0");
    EXPECT_EQ(GetNumber(kPercent), 100u);

    SetDlgItemTextA(panel, IDC_DECIBELS, "-14.0");
    EXPECT_EQ(Text(panel, IDC_PERCENT), "19");
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-14.0"); // not rewritten while typed in
    EXPECT_EQ(GetNumber(kPercent), 19u);

    // A refused figure puts back the one shown for 20 percent, which is not
    // read again (it would give 19).
    SetDlgItemTextA(panel, IDC_PERCENT, "20");
    SetDlgItemTextA(panel, IDC_DECIBELS, "nan");
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-14.0");
    EXPECT_EQ(Text(panel, IDC_PERCENT), "20");
    EXPECT_EQ(GetNumber(kPercent), 20u);

    SetDlgItemTextA(panel, IDC_PERCENT, "0");
    EXPECT_EQ(GetNumber(kPercent), 0u);
    EXPECT_EQ(Text(panel, IDC_DECIBELS), "-96.3");
    plugin.Remove();
    plugin.Reload(); // a stored 0 reads as the default again
    panel = plugin.Show(host.Handle());
    EXPECT_EQ(Text(panel, IDC_PERCENT), "20");
    plugin.Remove();
}

} // namespace
