// Fader.dll through its exports and its panel, with the expected samples
// computed from the ramp's definition (fade_oracle.h).
#include "core/sample_view.h"
#include "core/wave_format.h"
#include "fade_oracle.h"
#include "progress.h"
#include "settings_store.h"
#include "fader_test_support.h"
#include "testing/plugin_under_test.h"
#include "testing/test_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

namespace settings = dsp::settings;
using namespace fader::testing;
using dsp::testing::FirstDifference;
using dsp::testing::HostWindow;
using dsp::testing::Pattern;
using dsp::testing::PluginUnderTest;
using dsp::testing::ReadFileBytes;
using dsp::testing::WriteFileBytes;

class FaderTest : public testing::Test
{
protected:
    dsp::testing::RegistryScope registry{kNames};
};

TEST_F(FaderTest, FadesBothEndsAtEveryDepthMonoAndStereo)
{
    Store({true, 1200, true, 700});
    PluginUnderTest fader("Fader.dll");
    ASSERT_TRUE(fader.Loaded()) << fader.Path();
    for (int bits : {8, 16, 24, 32})
        for (int channels : {1, 2}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << channels << " channels");
            WAVEFORMATEX w = dsp::testing::MakeFormat(channels, 8000, bits);
            const std::vector<uint8_t> in =
                Pattern(w.nBlockAlign * 20000, uint32_t(bits * channels)); // 2.5 s
            const std::string path = dsp::testing::ScratchFile("audio.raw");
            ASSERT_TRUE(WriteFileBytes(path, in));
            EXPECT_EQ(fader.Work(path, w), 1);
            const std::vector<uint8_t> got = ReadFileBytes(path);
            const std::vector<uint8_t> want = Expected(in, w, 1200, true, 700, true);
            ASSERT_EQ(got.size(), in.size());
            EXPECT_TRUE(got == want);
            EXPECT_FALSE(got == in);
            // The middle, outside both regions, is untouched.
            const size_t a = w.nBlockAlign * 9700, b = w.nBlockAlign * 14300;
            EXPECT_TRUE(std::equal(got.begin() + a, got.begin() + b, in.begin() + a));
            EXPECT_EQ(w.nChannels, channels); // the format is left as it was
        }
}

TEST_F(FaderTest, FilesShorterThanTheFadeAreRampedAgainstTheFullLength)
{
    Store({true, 0, false, 0}); // lengths missing: 6000 ms
    PluginUnderTest fadeIn("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(2, 8000, 16);
    std::vector<uint8_t> constant(4 * 8000); // 1 s of 0x4000
    for (size_t i = 0; i < constant.size(); i += 2) {
        constant[i] = 0x00;
        constant[i + 1] = 0x40;
    }
    const std::string path = dsp::testing::ScratchFile("short.raw");
    ASSERT_TRUE(WriteFileBytes(path, constant));
    EXPECT_EQ(fadeIn.Work(path, w), 1);
    std::vector<uint8_t> got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(constant, w, 6000, true, 0, false)), -1);
    auto sample = [&](size_t i) { return int16_t(got[2 * i] | got[2 * i + 1] << 8); };
    EXPECT_EQ(sample(0), 0);
    EXPECT_LT(sample(16000 - 1), 0x4000 / 5); // ends at gain 1/6
    EXPECT_GT(sample(16000 - 1), 0);

    Store({false, 0, true, 0});
    ASSERT_TRUE(fadeIn.Reload());
    ASSERT_TRUE(WriteFileBytes(path, constant));
    EXPECT_EQ(fadeIn.Work(path, w), 1);
    got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(constant, w, 0, false, 6000, true)), -1);
    EXPECT_EQ(sample(0), 0x4000);                 // gain 1 at the first byte
    EXPECT_GT(sample(16000 - 1), 0x4000 * 4 / 5); // still above 0 at the last
}

TEST_F(FaderTest, NothingSwitchedOnOrNothingToDoLeavesTheFileAndSucceeds)
{
    Store({false, 100, false, 100});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 16);
    const std::vector<uint8_t> in = Pattern(4000, 3);
    const std::string path = dsp::testing::ScratchFile("same.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    EXPECT_EQ(ReadFileBytes(path), in);

    Store({true, 100, true, 100});
    ASSERT_TRUE(fader.Reload());
    const std::string empty = dsp::testing::ScratchFile("empty.raw");
    ASSERT_TRUE(WriteFileBytes(empty, {}));
    EXPECT_EQ(fader.Work(empty, w), 1);
    EXPECT_TRUE(ReadFileBytes(empty).empty());
}

TEST_F(FaderTest, EightBitSamplesFadeTowards128)
{
    Store({true, 250, true, 250});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 8);
    std::vector<uint8_t> in(8000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = i % 2 ? 255 : 1;
    const std::string path = dsp::testing::ScratchFile("eight.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    const std::vector<uint8_t> got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(in, w, 250, true, 250, true)), -1);
    EXPECT_EQ(got[0], 128);                      // silence in 8 bits is 128, not 0
    EXPECT_EQ(got.back(), 128 + 127 * 2 / 2000); // gain 1/2000 of +127: 128
    EXPECT_EQ(got[4000], 1);                     // the middle keeps its value
    for (size_t i = 2; i < 2000; ++i)
        EXPECT_LE(std::abs(int(got[i]) - 128), std::abs(int(got[i + 2]) - 128)) << i;
}

TEST_F(FaderTest, FadeOutStartsOnAWholeFrame)
{
    // 24-bit stereo at 22050 Hz: 7 ms is 926 bytes, not a whole number of 6-byte frames.
    Store({false, 0, true, 7});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(2, 22050, 24);
    ASSERT_EQ(dsp::BytesForMilliseconds(AsFormat(w), 7), 926u);
    const std::vector<uint8_t> in = Pattern(6000, 24);
    const std::string path = dsp::testing::ScratchFile("frames.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    const std::vector<uint8_t> got = ReadFileBytes(path);
    // The region starts at 5070 (6000 - 926 = 5074 rounded down to a frame).
    EXPECT_TRUE(std::equal(in.begin(), in.begin() + 5070, got.begin()));
    EXPECT_TRUE(std::equal(in.begin() + 5070, in.begin() + 5073, got.begin() + 5070)); // gain 1 at p = 0
    dsp::SampleView before(const_cast<uint8_t*>(in.data()) + 5070, 24);
    dsp::SampleView after(const_cast<uint8_t*>(got.data()) + 5070, 24);
    // Both channels of the frame are in the region; every sample of it is ramped to the end.
    for (size_t i = 0; i < 310; ++i) {
        // 24 bits keep the top 24 of the truncated product v * (930 - p) / 930.
        const int64_t faded = int64_t(before.Read(i)) * int64_t(930 - i * 3) / 930;
        EXPECT_EQ(after.Read(i), static_cast<int32_t>(faded) & ~0xFF) << "sample " << i;
    }
    EXPECT_EQ(FirstDifference(got, Expected(in, w, 0, false, 7, true)), -1);
}

TEST_F(FaderTest, RefusesUnusableFormatsAndUnopenableFiles)
{
    Store({true, 100, true, 100});
    PluginUnderTest fader("Fader.dll");
    const std::vector<uint8_t> in = Pattern(8000, 5);
    const std::string path = dsp::testing::ScratchFile("kept.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    struct
    {
        int channels, rate, bits;
    } bad[] = {{0, 8000, 16}, {2, 8000, 4}, {2, 0, 16}, {200, 400000, 32}};
    for (const auto& b : bad) {
        WAVEFORMATEX w = dsp::testing::MakeFormat(b.channels, b.rate, b.bits);
        EXPECT_EQ(fader.Work(path, w), 0) << b.channels << " ch " << b.rate << " Hz " << b.bits << " bits";
    }
    EXPECT_EQ(ReadFileBytes(path), in);

    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 16);
    EXPECT_EQ(fader.Work(path + ".missing", w), 0);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fader.Work(path, w), 0);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(path), in);
}

struct WorkCall
{
    PluginUnderTest* plugin;
    std::string path;
    WAVEFORMATEX format;
    int result;
};

DWORD WINAPI WorkThread(void* p)
{
    auto* call = static_cast<WorkCall*>(p);
    call->result = call->plugin->Work(call->path, call->format);
    return 0;
}

TEST_F(FaderTest, HostSeesProgressClimbThroughBothHalves)
{
    // 8-bit mono at 1000 Hz: 1000-byte blocks, 600 of them over the two regions.
    Store({true, 299500, true, 299500});
    PluginUnderTest fader("Fader.dll");
    const std::string path = dsp::testing::ScratchFile("long.raw");
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(700000, 200)));
    std::set<uint32_t> allowed;
    PassValues(allowed, 700000, 299500, 1000, true, false);
    PassValues(allowed, 299500, 299500, 1000, true, true);

    dsp::ProgressReader reader;
    WorkCall call{&fader, path, dsp::testing::MakeFormat(1, 1000, 8), -1};
    HANDLE thread = CreateThread(nullptr, 0, WorkThread, &call, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    std::vector<uint32_t> seen;
    while (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) {
        const uint32_t v = reader.Read();
        if (seen.empty() || seen.back() != v)
            seen.push_back(v);
    }
    CloseHandle(thread);
    EXPECT_EQ(call.result, 1);
    ASSERT_FALSE(seen.empty());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(allowed.count(seen[i]) || (i == 0 && seen[i] == 0)) << "value " << seen[i];
        if (i) {
            EXPECT_LE(seen[i - 1], seen[i]);
        }
    }
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](uint32_t v) { return v > 0 && v < 50; }));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](uint32_t v) { return v >= 50; }));
    EXPECT_LT(*std::max_element(seen.begin(), seen.end()), 100u);
    EXPECT_EQ(*allowed.rbegin(), 99u);
    EXPECT_EQ(*std::max_element(allowed.begin(), allowed.find(50)), 49u);
}

// ---- the panel ----

std::string ControlText(HWND dialog, int id)
{
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string StaticTexts(HWND dialog)
{
    std::string all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {}, text[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        if (_stricmp(cls, "Static") == 0)
            all += std::string(text) + "|";
    }
    return all;
}

TEST_F(FaderTest, PanelShowsTheSettingsAndSavesEachChangeAtOnce)
{
    PluginUnderTest fader("Fader.dll"); // nothing stored: defaults
    HostWindow host(true);
    HWND panel = fader.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    for (const std::string& n : kNames)
        EXPECT_FALSE(settings::ValueExists(n.c_str(), HKEY_CURRENT_USER, settings::kPluginKey)) << n;

    EXPECT_EQ(ControlText(panel, 1009), "Fade In Over");
    EXPECT_EQ(ControlText(panel, 1010), "Fade Out");
    EXPECT_EQ(StaticTexts(panel), "mSec|mSec (from end)|");
    EXPECT_EQ(ControlText(panel, 1004), "6000");
    EXPECT_EQ(ControlText(panel, 1005), "6000");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, 1004), GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, 1005), GWL_STYLE) & ES_NUMBER);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1005)));
    RECT units{0, 0, 240, 56}, r{};
    MapDialogRect(panel, &units);
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.right - r.left, units.right);
    EXPECT_EQ(r.bottom - r.top, units.bottom);

    SendDlgItemMessageA(panel, 1009, BM_CLICK, 0, 0);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-In", HKEY_CURRENT_USER, settings::kPluginKey), 0xFFFFFFFFu);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 6000u);
    EXPECT_TRUE(settings::ValueExists("Vol-Fade-Out", HKEY_CURRENT_USER, settings::kPluginKey));
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 6000u);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1005)));

    // Typing: every keystroke saves; letters are refused by the field.
    HWND edit = GetDlgItem(panel, 1004);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, '2', 1);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 2u);
    SendMessageA(edit, WM_CHAR, '5', 1);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 25u);
    SendMessageA(edit, WM_CHAR, 'k', 1);
    EXPECT_EQ(ControlText(panel, 1004), "25");
    // An EN_CHANGE from the out field saves too.
    SetDlgItemTextA(panel, 1005, "1234");
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 1234u);

    SendDlgItemMessageA(panel, 1010, BM_CLICK, 0, 0);
    SendDlgItemMessageA(panel, 1009, BM_CLICK, 0, 0);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-Out", HKEY_CURRENT_USER, settings::kPluginKey), 0xFFFFFFFFu);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-In", HKEY_CURRENT_USER, settings::kPluginKey), 0u);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1005)));

    // A 0 typed is stored as 0 and becomes 6000 again at the next load.
    SetDlgItemTextA(panel, 1005, "0");
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 0u);
    EXPECT_NE(fader.Remove(), 0);
    ASSERT_TRUE(fader.Reload());
    panel = fader.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ControlText(panel, 1005), "6000");
    EXPECT_EQ(ControlText(panel, 1004), "25");
    EXPECT_EQ(SendDlgItemMessageA(panel, 1010, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(fader.Remove(), 0);
}

} // namespace
