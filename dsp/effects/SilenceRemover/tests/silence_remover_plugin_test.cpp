// SilenceRemover.dll on raw files, and its panel driven in a host window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_store.h"
#include "testing/plugin_under_test.h"

namespace {

using dsp::testing::FileExists;
using dsp::testing::MakeFormat;
using dsp::testing::PluginUnderTest;
using dsp::testing::ReadFileBytes;
using dsp::testing::ScratchFile;
using dsp::testing::WriteFileBytes;
using Bytes = std::vector<uint8_t>;

const char* const kNames[] = {"Silence-Remove-Level", "Silence-DetectionThresholdms", "Silence-Remove-Begin",
                              "Silence-Remove-NotEnd"};

struct Settings
{
    bool begin = false;
    bool notEnd = false;
};

class SilenceRemoverTest : public ::testing::Test
{
protected:
    dsp::testing::RegistryScope registry{kNames[0], kNames[1], kNames[2], kNames[3]};

    void Store(Settings s)
    {
        dsp::settings::WriteBool(kNames[2], s.begin, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
        dsp::settings::WriteBool(kNames[3], s.notEnd, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    }
    static uint32_t Stored(const char* name)
    {
        return dsp::settings::ReadNumber(name, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    }
};

// Frames of 16-bit samples, every channel at `value` (alternating sign).
void AppendFrames(Bytes& bytes, size_t frames, unsigned channels, int value)
{
    for (size_t f = 0; f < frames; ++f)
        for (unsigned c = 0; c < channels; ++c) {
            const int v = (f + c) % 2 ? value : -value;
            bytes.push_back(static_cast<uint8_t>(v));
            bytes.push_back(static_cast<uint8_t>(v >> 8));
        }
}

int Work(PluginUnderTest& plugin, const std::string& path, WAVEFORMATEX format)
{
    return plugin.Work(path, format);
}

TEST_F(SilenceRemoverTest, PureSilenceIsLeftWhole)
{
    Store({true, false});
    PluginUnderTest remover("SilenceRemover.dll");
    ASSERT_TRUE(remover.Loaded());
    Bytes quiet;
    AppendFrames(quiet, 100000, 2, 1310); // at the 4 percent level, not above it
    const std::string path = ScratchFile("quiet.raw");
    ASSERT_TRUE(WriteFileBytes(path, quiet));
    EXPECT_EQ(Work(remover, path, MakeFormat(2, 44100, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path), quiet);
    EXPECT_FALSE(FileExists(path + ".TMP"));
}

TEST_F(SilenceRemoverTest, DefaultsCutTrailingSilenceOnceAQuarterWindowIsLoud)
{
    // Defaults: 4 percent, 50 ms, trailing silence only. Stereo 16 bit at 44100:
    // sound needs 1102 of the last 4410 samples above 1310.
    PluginUnderTest remover("SilenceRemover.dll");
    struct Case
    {
        size_t loudFrames;
        int level;
        bool cut;
    } cases[] = {{551, 1311, true}, {550, 1311, false}, {551, 1310, false}, {3000, -20000, true}};
    for (const auto& c : cases) {
        Bytes file;
        AppendFrames(file, 44100, 2, 0);
        AppendFrames(file, c.loudFrames, 2, c.level);
        AppendFrames(file, 44100, 2, 3);
        const std::string path = ScratchFile("burst.raw");
        ASSERT_TRUE(WriteFileBytes(path, file));
        EXPECT_EQ(Work(remover, path, MakeFormat(2, 44100, 16)), 1);
        const Bytes after = ReadFileBytes(path);
        if (c.cut) {
            // The cut lands after the last loud frame: the samples examined from the
            // onset in that block (fewer than one window) are kept.
            const size_t keep = (44100 + c.loudFrames) * 4;
            ASSERT_EQ(after.size(), keep) << c.loudFrames << " " << c.level;
            EXPECT_TRUE(std::equal(after.begin(), after.end(), file.begin()));
        } else {
            EXPECT_EQ(after, file) << c.loudFrames << " " << c.level;
        }
    }
}

TEST_F(SilenceRemoverTest, TrailingCutKeepsAWindowAfterAShortOnset)
{
    // Mono 16 bit at 8000: window 400 samples, trigger 100. A loud stretch of
    // 500 samples with silence on both sides: scanning from the end, sound
    // begins 100 samples into it, and a full window after that point is kept.
    PluginUnderTest remover("SilenceRemover.dll");
    Bytes file;
    AppendFrames(file, 9000, 1, 0);
    AppendFrames(file, 500, 1, 9000);
    AppendFrames(file, 9000, 1, 0);
    const std::string path = ScratchFile("onset.raw");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path).size(), (9500u - 100u + 400u) * 2);
}

TEST_F(SilenceRemoverTest, LeadingLookBackNeverReachesBeforeTheBlock)
{
    Store({true, true});
    PluginUnderTest remover("SilenceRemover.dll");
    // The last 90 samples of the first second are loud and the second second
    // too: sound begins 10 samples into the second block, and the kept part
    // starts at that block, not a whole window before.
    Bytes file;
    AppendFrames(file, 8000 - 90, 1, 0);
    AppendFrames(file, 90 + 8000, 1, 7000);
    AppendFrames(file, 8000, 1, 0);
    const std::string path = ScratchFile("lead.raw");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path), Bytes(file.begin() + 16000, file.end()));
    EXPECT_FALSE(FileExists(path + ".TMP"));

    // Sound further into a block keeps a whole window (400 samples) before it.
    Bytes later;
    AppendFrames(later, 3000, 1, 0);
    AppendFrames(later, 2000, 1, 7000);
    ASSERT_TRUE(WriteFileBytes(path, later));
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path), Bytes(later.begin() + (3100 - 400) * 2, later.end()));
}

TEST_F(SilenceRemoverTest, AFailedLeadingPassLeavesTheInputUntouched)
{
    Store({true, false});
    PluginUnderTest remover("SilenceRemover.dll");
    Bytes file;
    AppendFrames(file, 9000, 1, 0);
    AppendFrames(file, 2000, 1, 9000);
    AppendFrames(file, 9000, 1, 0);
    const std::string path = ScratchFile("blocked.raw");
    ASSERT_TRUE(WriteFileBytes(path, file));
    // A folder where the ".TMP" sibling would go makes the leading pass fail;
    // the trailing cut, found first, is not made on its own.
    ASSERT_TRUE(CreateDirectoryA((path + ".TMP").c_str(), nullptr));
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 0);
    EXPECT_EQ(ReadFileBytes(path), file);
    EXPECT_TRUE(FileExists(path + ".TMP")); // the folder, not a leftover of ours
    RemoveDirectoryA((path + ".TMP").c_str());

    // Without the obstacle both cuts are made in one step: the trailing one a
    // window after the onset seen from the end, the leading one a window
    // before the onset seen from the start.
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path), Bytes(file.begin() + (9100 - 400) * 2, file.begin() + (10900 + 400) * 2));
    EXPECT_FALSE(FileExists(path + ".TMP"));
}

TEST_F(SilenceRemoverTest, PartialFrameIsNeverMeasuredAndLeadingCopyKeepsIt)
{
    Store({true, true});
    PluginUnderTest remover("SilenceRemover.dll");
    Bytes file;
    AppendFrames(file, 5000, 2, 0);
    AppendFrames(file, 3000, 2, 12000);
    file.push_back(0x7F); // one stray byte of a frame that never ended
    const std::string path = ScratchFile("partial.raw");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_EQ(Work(remover, path, MakeFormat(2, 8000, 16)), 1);
    // Window 400 frames' bytes = 1600 bytes: 800 samples, trigger 200 (100 frames).
    EXPECT_EQ(ReadFileBytes(path), Bytes(file.begin() + (5100 - 400) * 4, file.end()));
}

TEST_F(SilenceRemoverTest, UnusableRecordsAndMissingFiles)
{
    Store({true, false});
    PluginUnderTest remover("SilenceRemover.dll");
    const std::string path = ScratchFile("any.raw");
    const Bytes file(64, 0x40);
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_EQ(Work(remover, path, MakeFormat(0, 44100, 16)), 0);
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 44100, 4)), 0);
    EXPECT_EQ(ReadFileBytes(path), file);
}

TEST_F(SilenceRemoverTest, AFileThatCannotBeOpenedFailsTheCall)
{
    const std::string dir = dsp::testing::ScratchDir();
    const std::string held = dir + "held.raw";
    const Bytes file(64, 0x40);
    ASSERT_TRUE(WriteFileBytes(held, file));
    const std::string folder = dir + "folder.raw";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const Settings& s : {Settings{false, false}, Settings{true, false}, Settings{true, true}}) {
        Store(s);
        PluginUnderTest remover("SilenceRemover.dll");
        SCOPED_TRACE(testing::Message() << "begin " << s.begin << ", end " << !s.notEnd);
        EXPECT_EQ(Work(remover, dir + "missing.raw", MakeFormat(1, 44100, 16)), 0);
        EXPECT_EQ(Work(remover, folder, MakeFormat(1, 44100, 16)), 0);
        HANDLE lock = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_EQ(Work(remover, held, MakeFormat(1, 44100, 16)), 0);
        CloseHandle(lock);
        EXPECT_EQ(ReadFileBytes(held), file);
    }
}

TEST_F(SilenceRemoverTest, StoredSettingsAreRead)
{
    // 1.5 percent (-150) and a 100 ms window: at 8000 mono 16 bit, 800 samples
    // with trigger 200, above 491 << 16.
    dsp::settings::WriteNumber(kNames[0], static_cast<uint32_t>(-150), HKEY_CURRENT_USER,
                               dsp::settings::kPluginKey);
    dsp::settings::WriteNumber(kNames[1], 100, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    Store({true, true});
    PluginUnderTest remover("SilenceRemover.dll");
    Bytes file;
    AppendFrames(file, 3000, 1, 491);
    AppendFrames(file, 3000, 1, 492);
    const std::string path = ScratchFile("level.raw");
    ASSERT_TRUE(WriteFileBytes(path, file));
    EXPECT_EQ(Work(remover, path, MakeFormat(1, 8000, 16)), 1);
    EXPECT_EQ(ReadFileBytes(path), Bytes(file.begin() + (3200 - 800) * 2, file.end()));
}

std::string Text(HWND panel, int id)
{
    char text[64] = {};
    GetDlgItemTextA(panel, id, text, sizeof text);
    return text;
}

void Type(HWND panel, int id, const char* text)
{
    SetDlgItemTextA(panel, id, text); // the edit reports EN_CHANGE as typing does
}

TEST_F(SilenceRemoverTest, LevelFieldsRefuseNumbersTheStoredFormCannotHold)
{
    PluginUnderTest remover("SilenceRemover.dll");
    dsp::testing::HostWindow host;
    HWND panel = remover.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    struct Case
    {
        int field;
        const char* text;
    } refused[] = {{1005, "nan"}, {1005, "inf"},         {1005, "-inf"},         {1005, "1e999"},
                   {1005, "200"}, {1004, "21474836.48"}, {1004, "-21474836.48"}, {1004, "99999999999"}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        Type(panel, 1004, "2.25");
        ASSERT_EQ(static_cast<int32_t>(Stored(kNames[0])), -225);
        Type(panel, c.field, c.text);
        EXPECT_EQ(Text(panel, 1004), "2.25");
        EXPECT_EQ(Text(panel, 1005), "-33.0");
        EXPECT_EQ(static_cast<int32_t>(Stored(kNames[0])), -225);
    }
    // The largest level the stored form holds is taken.
    Type(panel, 1004, "21474836.47");
    EXPECT_EQ(static_cast<int32_t>(Stored(kNames[0])), -2147483647);
    EXPECT_EQ(Text(panel, 1005), "-96.3");
    remover.Remove();
}

TEST_F(SilenceRemoverTest, PanelShowsAndStoresThePercentDecibelPair)
{
    dsp::settings::WriteNumber(kNames[0], static_cast<uint32_t>(-150), HKEY_CURRENT_USER,
                               dsp::settings::kPluginKey);
    PluginUnderTest remover("SilenceRemover.dll");
    dsp::testing::HostWindow host;
    HWND panel = remover.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Text(panel, 1004), "1.5");
    EXPECT_EQ(Text(panel, 1005), "-36.5");
    EXPECT_EQ(Text(panel, 1012), "50");
    EXPECT_EQ(IsDlgButtonChecked(panel, 1009), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(panel, 1010), BST_CHECKED);
    // Filling the panel stored nothing.
    EXPECT_FALSE(dsp::settings::ValueExists(kNames[1], HKEY_CURRENT_USER, dsp::settings::kPluginKey));

    Type(panel, 1004, "2.25");
    EXPECT_EQ(Text(panel, 1005), "-33.0");
    EXPECT_EQ(static_cast<int32_t>(Stored(kNames[0])), -225);
    EXPECT_EQ(Stored(kNames[1]), 50u);

    Type(panel, 1005, "-6");
    EXPECT_EQ(Text(panel, 1004), "50");
    EXPECT_EQ(Text(panel, 1005), "-6"); // not rewritten from the percentage it caused
    EXPECT_EQ(static_cast<int32_t>(Stored(kNames[0])), -5000);

    // Moving the focus into the decibel field changes nothing.
    Type(panel, 1005, "-36.5");
    Type(panel, 1004, "1.5");
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1005, EN_SETFOCUS), (LPARAM)GetDlgItem(panel, 1005));
    EXPECT_EQ(Text(panel, 1004), "1.5");
    EXPECT_EQ(static_cast<int32_t>(Stored(kNames[0])), -150);

    Type(panel, 1012, "900");
    EXPECT_EQ(Stored(kNames[1]), 750u);
    Type(panel, 1012, "0");
    EXPECT_EQ(Stored(kNames[1]), 50u);
    SendDlgItemMessageA(panel, 1009, BM_CLICK, 0, 0);
    SendDlgItemMessageA(panel, 1010, BM_CLICK, 0, 0);
    EXPECT_EQ(Stored(kNames[2]), 0xFFFFFFFFu);
    EXPECT_EQ(Stored(kNames[3]), 0xFFFFFFFFu); // "At End" off is stored inverted
    remover.Remove();

    // Read back by a fresh load: 1.5 percent again.
    ASSERT_TRUE(remover.Reload());
    panel = remover.Show(host.Handle());
    EXPECT_EQ(Text(panel, 1004), "1.5");
    EXPECT_EQ(IsDlgButtonChecked(panel, 1009), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(panel, 1010), BST_UNCHECKED);
    remover.Remove();
}

} // namespace
