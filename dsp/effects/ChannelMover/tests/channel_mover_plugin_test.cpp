// ChannelMover.dll on raw files, and its panel driven in a host window.
#include <gtest/gtest.h>

#include <string>
#include <utility>
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
using Moves = std::vector<std::pair<int, int>>;

std::vector<std::string> AllNames()
{
    std::vector<std::string> names = {"ChannelMove-ChannelCount", "ChannelMove-Downsample"};
    for (int n = 0; n <= 100; ++n) {
        names.push_back("ChannelMove-ch-from-" + std::to_string(n));
        names.push_back("ChannelMove-ch-to-" + std::to_string(n));
    }
    return names;
}

uint32_t Stored(const std::string& name)
{
    return dsp::settings::ReadNumber(name.c_str(), HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}
void Store(const std::string& name, uint32_t value)
{
    dsp::settings::WriteNumber(name.c_str(), value, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}

class ChannelMoverTest : public ::testing::Test
{
protected:
    dsp::testing::RegistryScope registry{AllNames()};

    void Settings(int count, int mode, const Moves& moves = {})
    {
        Store("ChannelMove-ChannelCount", count);
        Store("ChannelMove-Downsample", mode);
        for (size_t n = 0; n < moves.size(); ++n) {
            Store("ChannelMove-ch-from-" + std::to_string(n), moves[n].first);
            Store("ChannelMove-ch-to-" + std::to_string(n), moves[n].second);
        }
    }
};

Bytes Le16(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    return bytes;
}

struct Outcome
{
    int result;
    Bytes file;
    WAVEFORMATEX format;
};

Outcome Process(const Bytes& bytes, WAVEFORMATEX format)
{
    PluginUnderTest mover("ChannelMover.dll"); // loaded after the settings were stored
    EXPECT_TRUE(mover.Loaded());
    const std::string path = ScratchFile("in.raw");
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    Outcome outcome{mover.Work(path, format), ReadFileBytes(path), format};
    EXPECT_FALSE(FileExists(path + "-Tmp")) << "leftover sibling";
    return outcome;
}

TEST_F(ChannelMoverTest, StereoToMono)
{
    const Bytes stereo = Le16({1000, 300, -1000, -300, 30000, 20000});
    Settings(1, 0); // "Added / Count": left plus right, the one dropped channel divided by 1
    Outcome added = Process(stereo, MakeFormat(2, 44100, 16));
    EXPECT_EQ(added.result, 1);
    EXPECT_EQ(added.file, Le16({1300, -1300, 32767}));
    // The host's record now describes a mono file.
    EXPECT_EQ(added.format.nChannels, 1);
    EXPECT_EQ(added.format.nBlockAlign, 2);
    EXPECT_EQ(added.format.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(added.format.nSamplesPerSec, 44100u);
    EXPECT_EQ(added.format.wBitsPerSample, 16);
    EXPECT_EQ(added.format.wFormatTag, 1);

    Settings(1, 4); // "+50% channels": left plus half of right
    EXPECT_EQ(Process(stereo, MakeFormat(2, 44100, 16)).file, Le16({1150, -1150, 32767}));
    Settings(1, 9); // "Drop"
    EXPECT_EQ(Process(stereo, MakeFormat(2, 44100, 16)).file, Le16({1000, -1000, 30000}));
}

TEST_F(ChannelMoverTest, MonoToStereoAndStereoToFour)
{
    Settings(2, 0);
    const Outcome stereo = Process(Bytes{10, 128, 250}, MakeFormat(1, 8000, 8));
    EXPECT_EQ(stereo.result, 1);
    EXPECT_EQ(stereo.file, (Bytes{10, 10, 128, 128, 250, 250}));
    EXPECT_EQ(stereo.format.nChannels, 2);
    EXPECT_EQ(stereo.format.nBlockAlign, 2);
    EXPECT_EQ(stereo.format.nAvgBytesPerSec, 16000u);

    Settings(4, 1); // "Added": channels 3 and 4 carry left plus right, clamped
    const Outcome four = Process(Le16({1000, 2000, 30000, 10000, -30000, -10000}), MakeFormat(2, 8000, 16));
    EXPECT_EQ(four.result, 1);
    EXPECT_EQ(four.file,
              Le16({1000, 2000, 3000, 3000, 30000, 10000, 32767, 32767, -30000, -10000, -32768, -32768}));
    EXPECT_EQ(four.format.nChannels, 4);
    EXPECT_EQ(four.format.nBlockAlign, 8);
    EXPECT_EQ(four.format.nAvgBytesPerSec, 64000u);
}

TEST_F(ChannelMoverTest, MovesInPlace)
{
    // 1 -> 2 and 2 -> 1 swap the channels; the record stays as it was.
    Settings(0, 0, {{1, 2}, {2, 1}});
    WAVEFORMATEX format = MakeFormat(2, 44100, 16);
    const Outcome swapped = Process(Le16({1, 2, 3, 4, 5, 6}), format);
    EXPECT_EQ(swapped.result, 1);
    EXPECT_EQ(swapped.file, Le16({2, 1, 4, 3, 6, 5}));
    EXPECT_EQ(0, memcmp(&swapped.format, &format, sizeof format));

    // A move naming channel 3 of a stereo file is skipped; the others apply.
    Settings(2, 0, {{3, 1}, {1, 2}});
    Store("ChannelMove-ch-from-2", 0);
    Store("ChannelMove-ch-to-2", 0);
    const Outcome skipped = Process(Le16({1, 2, 3, 4}), format);
    EXPECT_EQ(skipped.result, 1);
    EXPECT_EQ(skipped.file, Le16({1, 1, 3, 3}));

    // Nothing to move: the file is left as it is, with success.
    Settings(0, 0, {{3, 1}});
    Store("ChannelMove-ch-from-1", 0);
    const Outcome none = Process(Le16({1, 2, 3, 4}), format);
    EXPECT_EQ(none.result, 1);
    EXPECT_EQ(none.file, Le16({1, 2, 3, 4}));
}

TEST_F(ChannelMoverTest, LongFilesAndPartialFrames)
{
    // Three and a half seconds of 16-bit stereo at 8000 per second, one stray byte.
    Settings(1, 1, {{2, 1}});
    Bytes file;
    for (int f = 0; f < 28000; ++f) {
        const auto right = Le16({f % 1000, -(f % 700)});
        file.insert(file.end(), right.begin(), right.end());
    }
    file.push_back(0x55);
    const Outcome mono = Process(file, MakeFormat(2, 8000, 16));
    EXPECT_EQ(mono.result, 1);
    ASSERT_EQ(mono.file.size(), 28000u * 2); // the partial frame has no place in the new shape
    for (int f = 0; f < 28000; ++f) {
        const int16_t v = static_cast<int16_t>(mono.file[2 * f] | (mono.file[2 * f + 1] << 8));
        ASSERT_EQ(v, -2 * (f % 700)) << f; // right moved into left, then right added
    }
    // In place the stray byte stays where it was.
    Settings(0, 0, {{1, 2}});
    const Outcome same = Process(Le16({7, 8, 9}), MakeFormat(2, 8000, 16));
    EXPECT_EQ(same.file, (Bytes{7, 0, 7, 0, 9, 0}));
}

TEST_F(ChannelMoverTest, FailuresLeaveInputAndRecordAlone)
{
    Settings(1, 0);
    PluginUnderTest mover("ChannelMover.dll");
    WAVEFORMATEX format = MakeFormat(2, 44100, 16);
    const WAVEFORMATEX before = format;
    EXPECT_EQ(mover.Work(ScratchFile("missing.raw"), format), 0);
    const std::string path = ScratchFile("blocked.raw");
    const Bytes original = Le16({1, 2, 3, 4});
    ASSERT_TRUE(WriteFileBytes(path, original));
    ASSERT_TRUE(CreateDirectoryA((path + "-Tmp").c_str(), nullptr));
    EXPECT_EQ(mover.Work(path, format), 0);
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(0, memcmp(&format, &before, sizeof before));
    WAVEFORMATEX empty = MakeFormat(0, 44100, 16);
    EXPECT_EQ(mover.Work(path, empty), 0);
    RemoveDirectoryA((path + "-Tmp").c_str());
}

std::vector<std::string> Items(HWND panel, int id, UINT countMessage, UINT textMessage)
{
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageA(panel, id, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendDlgItemMessageA(panel, id, textMessage, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

std::string Text(HWND panel, int id)
{
    char text[64] = {};
    GetDlgItemTextA(panel, id, text, sizeof text);
    return text;
}

void Click(HWND panel, int id)
{
    SendDlgItemMessageA(panel, id, BM_CLICK, 0, 0);
}

TEST_F(ChannelMoverTest, PanelListsAndStoresMoves)
{
    Settings(2, 4, {{1, 2}, {2, 1}});
    PluginUnderTest mover("ChannelMover.dll");
    dsp::testing::HostWindow host;
    HWND panel = mover.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Items(panel, 1012, CB_GETCOUNT, CB_GETLBTEXT),
              (std::vector<std::string>{"[as source]", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(Items(panel, 1018, CB_GETCOUNT, CB_GETLBTEXT),
              (std::vector<std::string>{"Added / Count", "Added", "+80% channels", "+60% channels",
                                        "+50% channels", "+40% channels", "+30% channels", "+20% channels",
                                        "+10% channels", "Drop"}));
    EXPECT_EQ(SendDlgItemMessageA(panel, 1012, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(panel, 1018, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT),
              (std::vector<std::string>{"Move Channel 1 to 2", "Move Channel 2 to 1"}));
    EXPECT_EQ(Text(panel, 1016), "1");
    EXPECT_EQ(Text(panel, 1017), "2");

    SetDlgItemTextA(panel, 1016, "3");
    SetDlgItemTextA(panel, 1017, "1");
    Click(panel, 1014);
    EXPECT_EQ(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT).back(), "Move Channel 3 to 1");
    EXPECT_EQ(Stored("ChannelMove-ch-from-2"), 3u);
    EXPECT_EQ(Stored("ChannelMove-ch-to-2"), 1u);
    EXPECT_EQ(Stored("ChannelMove-ch-from-3"), 0u);
    EXPECT_TRUE(
        dsp::settings::ValueExists("ChannelMove-ch-to-3", HKEY_CURRENT_USER, dsp::settings::kPluginKey));

    // A move naming channel 0 is neither listed nor stored.
    SetDlgItemTextA(panel, 1016, "0");
    Click(panel, 1014);
    EXPECT_EQ(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT).size(), 3u);

    SendDlgItemMessageA(panel, 1012, CB_SETCURSEL, 1, 0);
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1012, CBN_SELCHANGE), (LPARAM)GetDlgItem(panel, 1012));
    SendDlgItemMessageA(panel, 1018, CB_SETCURSEL, 9, 0);
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1018, CBN_SELCHANGE), (LPARAM)GetDlgItem(panel, 1018));
    EXPECT_EQ(Stored("ChannelMove-ChannelCount"), 1u);
    EXPECT_EQ(Stored("ChannelMove-Downsample"), 9u);

    Click(panel, 1015);
    EXPECT_TRUE(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT).empty());
    EXPECT_EQ(Stored("ChannelMove-ch-from-0"), 0u);
    EXPECT_EQ(Stored("ChannelMove-ch-to-0"), 0u);

    // A hundred moves fit; the 101st is refused.
    SetDlgItemTextA(panel, 1016, "1");
    SetDlgItemTextA(panel, 1017, "2");
    for (int i = 0; i < 101; ++i)
        Click(panel, 1014);
    EXPECT_EQ(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT).size(), 100u);
    EXPECT_EQ(Stored("ChannelMove-ch-from-99"), 1u);
    EXPECT_FALSE(
        dsp::settings::ValueExists("ChannelMove-ch-from-100", HKEY_CURRENT_USER, dsp::settings::kPluginKey));
    mover.Remove();

    // What was stored comes back with the next load.
    ASSERT_TRUE(mover.Reload());
    panel = mover.Show(host.Handle());
    EXPECT_EQ(SendDlgItemMessageA(panel, 1012, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageA(panel, 1018, CB_GETCURSEL, 0, 0), 9);
    EXPECT_EQ(Items(panel, 1013, LB_GETCOUNT, LB_GETTEXT).size(), 100u);
    mover.Remove();
}

} // namespace
