// Equaliser.dll as the host uses it: the work on a file, and the panel with
// its settings in the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/engine.h"
#include "panel_ids.h"
#include "progress.h"
#include "settings_store.h"
#include "testing/plugin_under_test.h"

namespace {

using dsp::testing::PluginUnderTest;
using eq::Positions;

std::vector<std::string> PositionNames()
{
    std::vector<std::string> names;
    for (int band = 0; band < eq::kBands; ++band)
        names.push_back("EQ-Pos" + std::to_string(band));
    return names;
}

void StorePositions(const Positions& p)
{
    for (int band = 0; band < eq::kBands; ++band) {
        dsp::settings::WriteNumber(("EQ-Pos" + std::to_string(band)).c_str(), static_cast<uint32_t>(p[band]),
                                   HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    }
}

int32_t StoredPosition(int band)
{
    return static_cast<int32_t>(dsp::settings::ReadNumber(("EQ-Pos" + std::to_string(band)).c_str(),
                                                          HKEY_CURRENT_USER, dsp::settings::kPluginKey));
}

std::vector<uint8_t> Noise(size_t bytes, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(bytes);
    for (auto& b : v)
        b = static_cast<uint8_t>(rng() >> 13);
    return v;
}

// What the engine makes of the whole file, for comparing with the plug-in.
std::vector<uint8_t> Equalised(std::vector<uint8_t> bytes, int channels, int rate, int bits,
                               const Positions& p)
{
    eq::Engine engine({uint16_t(channels), uint32_t(rate), uint16_t(bits)});
    engine.SetBands(eq::EngineRecord(p));
    engine.Process(bytes.data(), bytes.size());
    return bytes;
}

class EqualiserPlugin : public ::testing::Test
{
protected:
    dsp::testing::RegistryScope registry_{PositionNames()};
};

TEST_F(EqualiserPlugin, AllBandsFlatLeaveTheFileByteForByte)
{
    PluginUnderTest plugin("Equaliser.dll");
    ASSERT_TRUE(plugin.Loaded());
    const std::string file = dsp::testing::ScratchFile("flat.raw");
    const auto bytes = Noise(3 * 44100 * 4 + 6, 1);
    ASSERT_TRUE(dsp::testing::WriteFileBytes(file, bytes));
    WAVEFORMATEX format = dsp::testing::MakeFormat(2, 44100, 16);
    EXPECT_EQ(plugin.Work(file, format), 1);
    EXPECT_EQ(dsp::testing::ReadFileBytes(file), bytes);
}

TEST_F(EqualiserPlugin, MovedBandsEqualiseAcrossOneSecondBlocks)
{
    const Positions p = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 150, 0, 0, 0, -200, 0, 0, 0};
    StorePositions(p);
    PluginUnderTest plugin("Equaliser.dll");
    struct Case
    {
        int channels, rate, bits;
    } cases[] = {
        {2, 44100, 16},
        {1, 8000, 8},
        {2, 22050, 24},
        {3, 11025, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + " ch " + std::to_string(c.rate) + " Hz " +
                     std::to_string(c.bits));
        const size_t frameBytes = size_t(c.channels) * c.bits / 8;
        // Two and a half seconds and a stray byte: three blocks, the last one short.
        const auto bytes = Noise(frameBytes * (c.rate * 5 / 2) + 1, c.rate);
        const std::string file = dsp::testing::ScratchFile("moved.raw");
        ASSERT_TRUE(dsp::testing::WriteFileBytes(file, bytes));
        WAVEFORMATEX format = dsp::testing::MakeFormat(c.channels, c.rate, c.bits);
        dsp::ProgressReader progress; // keeps the value alive after the call
        ASSERT_EQ(plugin.Work(file, format), 1);
        // The last percentage written is the one before the third block.
        EXPECT_EQ(progress.Read(), 2 * frameBytes * c.rate * 100 / bytes.size());
        const auto out = dsp::testing::ReadFileBytes(file);
        ASSERT_EQ(out.size(), bytes.size());
        EXPECT_EQ(out, Equalised(bytes, c.channels, c.rate, c.bits, p));
        // The first 255 frames are silence: 128 in 8-bit files, 0 otherwise.
        for (size_t i = 0; i < 255 * frameBytes; ++i)
            ASSERT_EQ(out[i], c.bits == 8 ? 128 : 0) << i;
        EXPECT_NE(std::vector<uint8_t>(out.begin() + 400 * frameBytes, out.begin() + 500 * frameBytes),
                  std::vector<uint8_t>(bytes.begin() + 400 * frameBytes, bytes.begin() + 500 * frameBytes));
    }
}

TEST_F(EqualiserPlugin, ThirtyTwoBitFilesPassAndBadRequestsFail)
{
    StorePositions(Positions{0, 0, 0, 0, 0, 90});
    PluginUnderTest plugin("Equaliser.dll");
    const std::string file = dsp::testing::ScratchFile("x.raw");
    const auto bytes = Noise(44100 * 8 + 400, 3);
    ASSERT_TRUE(dsp::testing::WriteFileBytes(file, bytes));

    WAVEFORMATEX wide = dsp::testing::MakeFormat(2, 44100, 32);
    EXPECT_EQ(plugin.Work(file, wide), 1);
    EXPECT_EQ(dsp::testing::ReadFileBytes(file), bytes);

    // A record that describes no audio is refused before the file is touched.
    WAVEFORMATEX none = dsp::testing::MakeFormat(2, 44100, 16);
    none.nChannels = 0;
    EXPECT_EQ(plugin.Work(file, none), 0);
    WAVEFORMATEX narrow = dsp::testing::MakeFormat(1, 44100, 4);
    EXPECT_EQ(plugin.Work(file, narrow), 0);
    EXPECT_EQ(dsp::testing::ReadFileBytes(file), bytes);

    WAVEFORMATEX format = dsp::testing::MakeFormat(2, 44100, 16);
    EXPECT_EQ(plugin.Work(dsp::testing::ScratchFile("missing.raw"), format), 0);
    const std::string empty = dsp::testing::ScratchFile("empty.raw");
    ASSERT_TRUE(dsp::testing::WriteFileBytes(empty, {}));
    EXPECT_EQ(plugin.Work(empty, format), 1);
    EXPECT_TRUE(dsp::testing::ReadFileBytes(empty).empty());
}

TEST_F(EqualiserPlugin, StoredPositionsOutsideTheRangeActAsTheirLimit)
{
    Positions stored{};
    stored[12] = 100000;
    stored[3] = -7777;
    StorePositions(stored);
    PluginUnderTest plugin("Equaliser.dll");
    const std::string file = dsp::testing::ScratchFile("clamp.raw");
    const auto bytes = Noise(2 * 30000, 4);
    ASSERT_TRUE(dsp::testing::WriteFileBytes(file, bytes));
    WAVEFORMATEX format = dsp::testing::MakeFormat(1, 32000, 16);
    ASSERT_EQ(plugin.Work(file, format), 1);
    Positions limits{};
    limits[12] = 200;
    limits[3] = -200;
    EXPECT_EQ(dsp::testing::ReadFileBytes(file), Equalised(bytes, 1, 32000, 16, limits));
}

// The panel, shown in a host window the way the converter shows it.
class EqualiserPanel : public EqualiserPlugin
{
protected:
    static LRESULT Slider(HWND panel, int band, UINT message, WPARAM w = 0, LPARAM l = 0)
    {
        return SendMessageA(GetDlgItem(panel, IDC_BAND_FIRST + band), message, w, l);
    }
    static std::string Text(HWND panel, int id)
    {
        char text[200] = "";
        GetDlgItemTextA(panel, id, text, sizeof text);
        return text;
    }
};

TEST_F(EqualiserPanel, SlidersShowTheStoredPositionsWithBoostUp)
{
    const Positions p = {200, -200, 5, 0, -35, 70, 0, 0, 1, -1, 0, 0, 0, 0, 0, 0, 0, 199};
    StorePositions(p);
    PluginUnderTest plugin("Equaliser.dll");
    dsp::testing::HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    for (int band = 0; band < eq::kBands; ++band) {
        EXPECT_EQ(Slider(panel, band, TBM_GETPOS), -p[band]) << band;
        EXPECT_EQ(Slider(panel, band, TBM_GETRANGEMIN), -200) << band;
        EXPECT_EQ(Slider(panel, band, TBM_GETRANGEMAX), 200) << band;
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, IDC_BAND_FIRST + band), GWL_STYLE) & TBS_VERT) << band;
    }
    EXPECT_EQ(Text(panel, IDC_LOAD), "Load");
    EXPECT_EQ(Text(panel, IDC_SAVE), "Save");
    EXPECT_EQ(Text(panel, IDC_RESET), "Reset");
    EXPECT_EQ(Text(panel, IDC_PRESET), "Pre-set");
    EXPECT_EQ(Text(panel, IDC_FREQUENCIES),
              "    60        130       260        500        1K        2K         4K         8K      16K");
    // 275 by 61 dialog units, a child of the host at 20, 208.
    RECT units{0, 0, 275, 61}, client{}, placed{};
    MapDialogRect(panel, &units);
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    GetWindowRect(panel, &placed);
    POINT origin{placed.left, placed.top};
    ScreenToClient(host.Handle(), &origin);
    EXPECT_EQ(origin.x, 20);
    EXPECT_EQ(origin.y, 208);
    // Showing the panel stores nothing.
    for (int band = 0; band < eq::kBands; ++band)
        EXPECT_EQ(StoredPosition(band), p[band]) << band;
    plugin.Remove();
}

TEST_F(EqualiserPanel, MovingOneSliderStoresAllEighteenAndTheEffectUsesThem)
{
    PluginUnderTest plugin("Equaliser.dll");
    dsp::testing::HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    for (const auto& name : PositionNames()) {
        ASSERT_FALSE(dsp::settings::ValueExists(name.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey));
    }
    // Dragging band 9 up to 120 (the slider shows -120).
    Slider(panel, 9, TBM_SETPOS, TRUE, -120);
    SendMessageA(panel, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, static_cast<WORD>(-120)),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, IDC_BAND_FIRST + 9)));
    for (int band = 0; band < eq::kBands; ++band) {
        const std::string name = "EQ-Pos" + std::to_string(band);
        EXPECT_TRUE(dsp::settings::ValueExists(name.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey))
            << name;
        EXPECT_EQ(StoredPosition(band), band == 9 ? 120 : 0) << name;
    }

    const std::string file = dsp::testing::ScratchFile("after-slider.raw");
    const auto bytes = Noise(4 * 20000, 9);
    ASSERT_TRUE(dsp::testing::WriteFileBytes(file, bytes));
    WAVEFORMATEX format = dsp::testing::MakeFormat(2, 48000, 16);
    ASSERT_EQ(plugin.Work(file, format), 1);
    EXPECT_EQ(dsp::testing::ReadFileBytes(file),
              Equalised(bytes, 2, 48000, 16, eq::Positions{0, 0, 0, 0, 0, 0, 0, 0, 0, 120}));
    plugin.Remove();
}

TEST_F(EqualiserPanel, ResetAndPresetsStoreWhatTheSlidersShow)
{
    StorePositions(
        Positions{10, 20, 30, 40, 50, 60, 70, 80, 90, -10, -20, -30, -40, -50, -60, -70, -80, -90});
    PluginUnderTest plugin("Equaliser.dll");
    dsp::testing::HostWindow host;
    HWND panel = plugin.Show(host.Handle());
    ASSERT_NE(panel, nullptr);

    SendMessageA(GetDlgItem(panel, IDC_RESET), BM_CLICK, 0, 0);
    for (int band = 0; band < eq::kBands; ++band) {
        EXPECT_EQ(StoredPosition(band), 0) << band;
        EXPECT_EQ(Slider(panel, band, TBM_GETPOS), 0) << band;
    }

    for (const eq::Preset& preset : eq::kPresets) {
        SCOPED_TRACE(preset.name);
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(preset.command, 0), 0);
        for (int band = 0; band < eq::kBands; ++band) {
            EXPECT_EQ(StoredPosition(band), preset.positions[band]) << band;
            EXPECT_EQ(Slider(panel, band, TBM_GETPOS), -preset.positions[band]) << band;
        }
    }
    // The preset menu holds the seven presets in order, under their commands.
    HMENU menu = LoadMenuA(plugin.Module(), MAKEINTRESOURCEA(IDM_EQUALISER_PRESETS));
    ASSERT_NE(menu, nullptr);
    HMENU sub = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(sub), 7);
    for (int i = 0; i < 7; ++i) {
        char text[64] = "";
        GetMenuStringA(sub, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, eq::kPresets[i].name);
        EXPECT_EQ(GetMenuItemID(sub, i), static_cast<UINT>(eq::kPresets[i].command));
    }
    DestroyMenu(menu);
    plugin.Remove();
}

} // namespace
