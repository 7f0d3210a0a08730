// The real Auxiliary.exe under Wine in a prepared program folder (the
// converter stand-in as Recaster.exe, a stand-in encoder and decoder, the
// skin), driven from outside only, as a user would: three tracks named
// through the label edits, one unticked with the keyboard, Start Recording
// pressed; the converter's command line, the job files, the registry values
// and the playlist are then what the recorder promised.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "main_window_ids.h"
#include "modal_driver.h"
#include "recorder_program.h"
#include "recorder_registry.h"
#include "recorder_settings.h"
#include "settings_store.h"
#include "standin_files.h"
#include "temp_file.h"
#include "testing/plugin_under_test.h"

namespace {

using auxiliary::testing::ReadAll;
using auxiliary::testing::Record;
using auxiliary::testing::WaitFor;
using auxiliary::testing::WindowText;
using auxiliary::testing::WriteAll;

namespace t = auxiliary::testing;
namespace keys = auxiliary::settings;
namespace store = dsp::settings;

constexpr const char* kCodec = t::kStandInCodec;

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void PostKey(HWND target, WPARAM key)
{
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

HWND EditControl(HWND list)
{
    return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
}

class RecorderEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program_ = program.Folder();
        output_ = program.Output();
        lists_ = program.Root() + "Lists\\";
        // The converter writes ".sin" files, which the stand-in decoder reads.
        ASSERT_TRUE(WriteAll(program_ + "RecasterStandin.ini", "[Standin]\r\nExtension=sin\r\n"));
        store::WriteNumber(keys::kWritePlaylist, 1, HKEY_CURRENT_USER, keys::kBoostkitKey);
        store::WriteNumber(keys::kPlaylistType, 0, HKEY_CURRENT_USER, keys::kBoostkitKey);
        store::WriteText(keys::kPlaylistFolder, lists_.c_str(), HKEY_CURRENT_USER, keys::kBoostkitKey);
    }

    HWND Start() { return program.Start(); }
    long WaitForExit(DWORD ms) const { return program.WaitForExit(ms); }

    t::RecorderRegistryScope registry_;
    t::RecorderProgram program;
    std::string program_, output_, lists_;
};

TEST_F(RecorderEndToEnd, ThreeNamedTracksTwoTickedStartRecordingGivesTheJobTheValuesAndThePlaylist)
{
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, IDC_TRACKS);
    HWND status = GetDlgItem(main, IDC_STATUS);
    EXPECT_EQ(WindowText(status), "Converting 1 Tracks");

    // Three tracks.
    SetDlgItemTextA(main, IDC_TRACK_COUNT, "3");
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3; }));
    EXPECT_EQ(WindowText(status), "Converting 3 Tracks");

    // Enter selects the first track, Rename opens its name; every name
    // finished with Enter opens the next track's name.
    SendMessageA(main, WM_COMMAND, IDC_NEXT_TRACK, 0);
    SendMessageA(main, WM_COMMAND, ID_RENAME, 0);
    HWND previous = nullptr;
    for (const char* name : {"Intro", "Rain", "Snow"}) {
        SCOPED_TRACE(name);
        HWND edit = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (edit = EditControl(list)) != nullptr && edit != previous; }));
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
        PostKey(edit, VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(edit) || EditControl(list) != edit; }));
        previous = edit;
    }

    // Enter until the third track is selected; the space bar unticks it.
    for (int presses = 0; presses < 3 && SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) != 2;
         ++presses)
        SendMessageA(main, WM_COMMAND, IDC_NEXT_TRACK, 0);
    ASSERT_EQ(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 2);
    PostKey(list, VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return WindowText(status) == "Converting 2 Tracks"; }));

    SetDlgItemTextA(main, IDC_ARTIST, "Varnette");
    SetDlgItemTextA(main, IDC_ALBUM, "Glasshouse");
    SetDlgItemTextA(main, IDC_GENRE, "Pop");
    SetDlgItemTextA(main, IDC_YEAR, "1992");

    // Start Recording: a left click on the REC button.
    HWND record = GetDlgItem(main, IDC_BUTTON_RECORD);
    ASSERT_NE(record, nullptr);
    PostMessageA(record, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
    PostMessageA(record, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    const std::string calls = program_ + "RecasterStandin-calls.txt";
    ASSERT_TRUE(WaitFor([&] { return dsp::testing::FileExists(calls); }, 30000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && IsWindowEnabled(main); }, 30000));

    // The converter was started once, with the recorder's profile and its
    // last settings, from the program folder (which the recorder keeps in
    // upper case).
    EXPECT_EQ(ReadAll(calls),
              "\"" + Upper(program_) + "Recaster.exe\" <Profile>AuxInput <UseLastSettings>\r\n");
    EXPECT_EQ(ReadAll(program_ + "AddThis.Bin"),
              Record("\\\\Aux\\Track01.aux") + Record("\\\\Aux\\Track02.aux"));
    EXPECT_EQ(ReadAll(program_ + "AddThisOuputTo.Bin"),
              Record("Varnette - Intro") + Record("Varnette - Rain"));
    EXPECT_EQ(ReadAll(output_ + "Varnette - Intro.sin"), "\\\\Aux\\Track01.aux\r\n");
    EXPECT_EQ(ReadAll(output_ + "Varnette - Rain.sin"), "\\\\Aux\\Track02.aux\r\n");
    EXPECT_FALSE(dsp::testing::FileExists(output_ + "Varnette - Snow.sin"));

    const char* names[] = {"Intro", "Rain", "Snow"};
    for (int i = 0; i < 3; ++i) {
        char value[16];
        std::snprintf(value, sizeof value, "Track%02d", i + 1);
        EXPECT_EQ(t::Stored(keys::kRunDataKey, value).text, names[i]);
        std::snprintf(value, sizeof value, "TrackSmartLen%02d", i + 1);
        EXPECT_EQ(t::Stored(keys::kRunDataKey, value).number, 0u);
    }
    EXPECT_EQ(t::Stored(keys::kRunDataKey, "Artist").text, "Varnette");
    EXPECT_EQ(t::Stored(keys::kRunDataKey, "Year").text, "1992");
    EXPECT_EQ(t::Stored(keys::kSuiteKey, keys::kLastCodec).text, kCodec);

    // The playlist lists both files with the stand-in decoder's tags; the
    // entries share only the drive with the playlist's folder.
    auto fromRoot = [](const std::string& path) { return path.substr(path.find('\\')); };
    EXPECT_EQ(ReadAll(lists_ + "Varnette - Glasshouse.m3u"),
              "#EXTM3U\r\n"
              "#EXTINF:187,Stand-in Artist - Stand-in Title\r\n" +
                  fromRoot(output_ + "Varnette - Intro.sin") +
                  "\r\n"
                  "#EXTINF:187,Stand-in Artist - Stand-in Title\r\n" +
                  fromRoot(output_ + "Varnette - Rain.sin") + "\r\n");

    // Closing keeps the window's place and ends the program cleanly.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(30000), 0);
    EXPECT_EQ(t::Stored(keys::kSuiteKey, keys::kWindowW).number, 900u);
}

} // namespace
