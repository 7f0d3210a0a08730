// The recorder's main window driven as a user drives it: the window runs its
// modal loop on the test's thread while a driver thread sends it what typing,
// clicking and the keyboard send, and reads back what it shows.
#include "main_window.h"

#include "main_window_ids.h"
#include "modal_driver.h"
#include "prompts.h"
#include "temp_file.h"
#include "recorder_registry.h"
#include "recorder_settings.h"
#include "settings_store.h"
#include "skin_button.h"
#include "standin_files.h"
#include "testing/plugin_under_test.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using auxiliary::testing::ReadAll;
using auxiliary::testing::Record;
using auxiliary::testing::WriteAll;

using namespace auxiliary;
namespace t = auxiliary::testing;
namespace keys = auxiliary::settings;
namespace store = dsp::settings;

constexpr const char* kTitle = "Tonvask Recaster - Auxiliary Input";
constexpr const char* kCodec = "Standin Codec";

// Polls `condition` for up to `ms` milliseconds.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    for (int waited = 0; waited <= ms; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return false;
}

// ---- What the window shows, read from the driver's thread ----

HWND ListOf(HWND window)
{
    return GetDlgItem(window, IDC_TRACKS);
}

int ItemCount(HWND window)
{
    return static_cast<int>(SendMessageA(ListOf(window), LVM_GETITEMCOUNT, 0, 0));
}

std::string ItemText(HWND window, int item, int column = 0)
{
    char text[260] = {};
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = sizeof text;
    SendMessageA(ListOf(window), LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
    return text;
}

std::vector<std::string> Names(HWND window)
{
    std::vector<std::string> names;
    for (int i = 0; i < ItemCount(window); ++i)
        names.push_back(ItemText(window, i));
    return names;
}

// The positions of the checked items.
std::vector<int> Checked(HWND window)
{
    std::vector<int> checked;
    for (int i = 0; i < ItemCount(window); ++i) {
        const UINT state =
            static_cast<UINT>(SendMessageA(ListOf(window), LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
        if ((state >> 12) != 1)
            checked.push_back(i);
    }
    return checked;
}

std::vector<int> Selected(HWND window)
{
    std::vector<int> selected;
    for (int i = 0; i < ItemCount(window); ++i) {
        if (SendMessageA(ListOf(window), LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED)
            selected.push_back(i);
    }
    return selected;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// ---- What a user does ----

void SetState(HWND window, int item, UINT mask, UINT state)
{
    LVITEMA change{};
    change.stateMask = mask;
    change.state = state;
    SendMessageA(ListOf(window), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&change));
}

void Select(HWND window, const std::vector<int>& items)
{
    SetState(window, -1, LVIS_SELECTED, 0);
    for (int item : items)
        SetState(window, item, LVIS_SELECTED, LVIS_SELECTED);
    if (!items.empty())
        SendMessageA(ListOf(window), LVM_SETSELECTIONMARK, 0, items.front());
}

void SetCheck(HWND window, int item, bool checked)
{
    SetState(window, item, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1));
}

void Rename(HWND window, int item, const char* name, int column = 0)
{
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = const_cast<char*>(name);
    SendMessageA(ListOf(window), LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
}

// Types a track count and waits for the timer to rebuild the list.
bool TypeTrackCount(HWND window, const char* text, int expected)
{
    SetDlgItemTextA(window, IDC_TRACK_COUNT, text);
    return WaitFor([&] { return ItemCount(window) == expected; }, 3000);
}

void Notify(HWND window, UINT code)
{
    NMITEMACTIVATE note{};
    note.hdr.hwndFrom = ListOf(window);
    note.hdr.idFrom = IDC_TRACKS;
    note.hdr.code = code;
    SendMessageA(window, WM_NOTIFY, IDC_TRACKS, reinterpret_cast<LPARAM>(&note));
}

void PressKey(HWND target, WPARAM key)
{
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// A click of the left (or right) mouse button at x, y of a child window.
void ClickAt(HWND target, int x, int y, bool right = false)
{
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageA(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    SendMessageA(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}

void ClearWindowValues()
{
    for (const char* name :
         {keys::kWindowX, keys::kWindowY, keys::kWindowW, keys::kWindowH, keys::kLastCodec})
        store::DeleteValue(name, HKEY_CURRENT_USER, keys::kSuiteKey);
    store::DeleteKeyTree(HKEY_CURRENT_USER, keys::kSuiteKey, "Auxiliary");
}

// A program folder of the test's own, a clean recorder key, and the main
// window run with them.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearWindowValues();
        program_ = dsp::testing::ScratchDir(CB_TEST_TMP);
    }
    void TearDown() override { ClearWindowValues(); }

    // Runs the window until `drive` has returned, then closes it as its
    // close box does.
    void Run(const std::function<void(HWND)>& drive)
    {
        MainWindow::Setup setup;
        setup.programFolder = program_;
        MainWindow window(setup);
        bool found = false;
        t::RunModal([&] { return window.ShowModal(nullptr); }, kTitle,
                    [&](HWND w) {
                        drive(w);
                        SendMessageA(w, WM_CLOSE, 0, 0);
                    },
                    &found);
        EXPECT_TRUE(found);
    }

    t::RecorderRegistryScope registry_;
    std::string program_;
};

TEST_F(MainWindowTest, TrackCountRebuildsFreshCheckedTracksAndTheStatusCountsTheChecks)
{
    Run([&](HWND w) {
        EXPECT_EQ(Names(w), std::vector<std::string>{"Track01"});
        EXPECT_EQ(Checked(w), std::vector<int>{0});
        EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting 1 Tracks");
        EXPECT_EQ(t::ItemText(w, IDC_TRACK_COUNT), "1");
        ASSERT_EQ(t::ComboCount(w, IDC_TRACK_COUNT), 20);
        EXPECT_EQ(t::ComboItemText(w, IDC_TRACK_COUNT, 19), "20");

        ASSERT_TRUE(TypeTrackCount(w, "3", 3));
        Rename(w, 1, "Rain");
        SetCheck(w, 0, false);
        EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting 2 Tracks");

        struct Case
        {
            const char* typed;
            int count;
        } cases[] = {{"5", 5}, {"7", 7}, {"abc", 0}, {"150", 99}, {"2", 2}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            ASSERT_TRUE(TypeTrackCount(w, c.typed, c.count));
            const std::vector<std::string> names = Names(w);
            for (int i = 0; i < c.count; ++i)
                EXPECT_EQ(names[i], TrackName(i + 1));
            EXPECT_EQ(Checked(w).size(), static_cast<size_t>(c.count));
            EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting " + std::to_string(c.count) + " Tracks");
        }

        // The check commands act on every item.
        ASSERT_TRUE(TypeTrackCount(w, "5", 5));
        struct Command
        {
            int id;
            std::vector<int> before, after;
        } commands[] = {
            {ID_UNCHECK_ALL, {0, 1, 2, 3, 4}, {}},
            {ID_INVERT_CHECKS, {}, {0, 1, 2, 3, 4}},
            {ID_INVERT_CHECKS, {1, 3}, {0, 2, 4}},
            {ID_CHECK_ALL, {2}, {0, 1, 2, 3, 4}},
        };
        for (const Command& c : commands) {
            SCOPED_TRACE(c.id);
            for (int i = 0; i < 5; ++i)
                SetCheck(w, i, std::find(c.before.begin(), c.before.end(), i) != c.before.end());
            SendMessageA(w, WM_COMMAND, c.id, 0);
            EXPECT_EQ(Checked(w), c.after);
            EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting " + std::to_string(c.after.size()) + " Tracks");
        }
    });
}

TEST_F(MainWindowTest, SmartLengthEditsStoreTheirTextOnTheSelectedTrackAndAClickShowsItAgain)
{
    Run([&](HWND w) {
        ASSERT_TRUE(TypeTrackCount(w, "4", 4));
        // Nothing selected: the first track is selected and takes the text.
        t::Type(w, IDC_SMART_MINUTES, "3");
        t::Type(w, IDC_SMART_SECONDS, "7");
        EXPECT_EQ(Selected(w), std::vector<int>{0});
        EXPECT_EQ(ItemText(w, 0, 1), "3:07");

        struct Case
        {
            int item;
            const char* minutes;
            const char* seconds;
            const char* stored;
        } cases[] = {
            {1, "0", "7", "7"},
            {2, "0", "0", ""},
            {3, "2", "0", "2:00"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.item);
            Select(w, {c.item});
            t::Type(w, IDC_SMART_MINUTES, c.minutes);
            t::Type(w, IDC_SMART_SECONDS, c.seconds);
            EXPECT_EQ(ItemText(w, c.item, 1), c.stored);
        }

        struct Shown
        {
            int item;
            const char* minutes;
            const char* seconds;
        } shown[] = {{0, "3", "7"}, {1, "", "7"}, {2, "", ""}, {3, "2", "0"}};
        for (const Shown& s : shown) {
            SCOPED_TRACE(s.item);
            Select(w, {s.item});
            Notify(w, NM_CLICK);
            EXPECT_EQ(t::ItemText(w, IDC_SMART_MINUTES), s.minutes);
            EXPECT_EQ(t::ItemText(w, IDC_SMART_SECONDS), s.seconds);
            // Showing a length does not change it.
            EXPECT_EQ(ItemText(w, s.item, 1), (std::vector<std::string>{"3:07", "7", "", "2:00"}[s.item]));
        }
    });
}

TEST_F(MainWindowTest, EnterSelectsTheTrackAfterTheLastSelectedWrapsToTheFirstAndFocusesMinutes)
{
    Run([&](HWND w) {
        ASSERT_TRUE(TypeTrackCount(w, "3", 3));
        Rename(w, 0, "1:05", 1);
        HWND artist = GetDlgItem(w, IDC_ARTIST);
        struct Case
        {
            std::vector<int> selected;
            int next;
        } cases[] = {{{}, 0}, {{0}, 1}, {{1}, 2}, {{2}, 0}, {{0, 2}, 0}, {{0, 1}, 2}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.next);
            Select(w, c.selected);
            // Enter in a field goes to the hidden default button.
            PressKey(artist, VK_RETURN);
            ASSERT_TRUE(WaitFor([&] { return Selected(w) == std::vector<int>{c.next}; }));
            EXPECT_EQ(SendMessageA(ListOf(w), LVM_GETSELECTIONMARK, 0, 0), c.next);
            EXPECT_EQ(FocusOf(w), GetDlgItem(w, IDC_SMART_MINUTES));
            EXPECT_EQ(t::ItemText(w, IDC_SMART_MINUTES), c.next == 0 ? "1" : "");
            EXPECT_EQ(t::ItemText(w, IDC_SMART_SECONDS), c.next == 0 ? "5" : "");
        }
    });
}

TEST_F(MainWindowTest, RenameAndF2EditTheMarkedTrackAndEachNameGivenOpensTheNextTrack)
{
    Run([&](HWND w) {
        ASSERT_TRUE(TypeTrackCount(w, "3", 3));
        Select(w, {0});
        SendMessageA(w, WM_COMMAND, ID_RENAME, 0);
        const char* names[] = {"Intro", "Rain", "Snow"};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(names[i]);
            HWND edit = nullptr;
            ASSERT_TRUE(WaitFor([&] {
                return (edit = reinterpret_cast<HWND>(SendMessageA(ListOf(w), LVM_GETEDITCONTROL, 0, 0))) !=
                       nullptr;
            }));
            SetWindowTextA(edit, names[i]);
            PressKey(edit, VK_RETURN);
            ASSERT_TRUE(WaitFor([&] { return ItemText(w, i) == names[i]; }));
        }
        // After the last track no edit opens.
        Sleep(700);
        EXPECT_EQ(SendMessageA(ListOf(w), LVM_GETEDITCONTROL, 0, 0), 0);
        EXPECT_EQ(Names(w), (std::vector<std::string>{"Intro", "Rain", "Snow"}));

        // F2 on the list edits the marked track; an empty name changes nothing
        // and opens no further edit.
        Select(w, {1});
        PressKey(ListOf(w), VK_F2);
        HWND edit = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            return (edit = reinterpret_cast<HWND>(SendMessageA(ListOf(w), LVM_GETEDITCONTROL, 0, 0))) !=
                   nullptr;
        }));
        SetWindowTextA(edit, "");
        PressKey(edit, VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(ListOf(w), LVM_GETEDITCONTROL, 0, 0) == 0; }));
        Sleep(700);
        EXPECT_EQ(SendMessageA(ListOf(w), LVM_GETEDITCONTROL, 0, 0), 0);
        EXPECT_EQ(ItemText(w, 1), "Rain");
    });
}

TEST_F(MainWindowTest, ACheckClickedOnASelectedTrackGoesToEveryOtherSelectedTrack)
{
    Run([&](HWND w) {
        ASSERT_TRUE(TypeTrackCount(w, "4", 4));
        // The check box lies left of the item's icon.
        auto clickCheck = [&](int item) {
            RECT icon{};
            icon.left = LVIR_ICON;
            SendMessageA(ListOf(w), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
            ClickAt(ListOf(w), icon.left - 8, (icon.top + icon.bottom) / 2);
        };

        Select(w, {0, 2});
        clickCheck(0);
        ASSERT_TRUE(WaitFor([&] { return Checked(w) == std::vector<int>{1, 3}; }));
        EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting 2 Tracks");
        clickCheck(2);
        ASSERT_TRUE(WaitFor([&] { return Checked(w) == std::vector<int>{0, 1, 2, 3}; }));

        // A track that is not selected changes alone.
        Select(w, {0, 2});
        clickCheck(3);
        WaitFor([&] { return Checked(w) == std::vector<int>{0, 1, 2}; });
        EXPECT_EQ(Checked(w), (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(Selected(w), (std::vector<int>{0, 2}));
    });
}

TEST_F(MainWindowTest, GenreYearAndCountListsAndTypedGenresKeptInCustomGenreTxt)
{
    const std::string custom = program_ + "CustomGenre.txt";
    ASSERT_TRUE(WriteAll(custom, "Chiptune\r\nVaporwave\r\n\r\n"));
    Run([&](HWND w) {
        ASSERT_EQ(t::ComboCount(w, IDC_GENRE), 130);
        int undefined = 0;
        std::set<std::string> genres;
        for (int i = 0; i < 130; ++i) {
            const std::string g = t::ComboItemText(w, IDC_GENRE, i);
            undefined += g == "Undefined";
            genres.insert(g);
        }
        EXPECT_EQ(undefined, 2);
        for (const char* name : kGenres)
            EXPECT_EQ(genres.count(name), 1u) << name;
        EXPECT_EQ(genres.count("Chiptune"), 1u);
        EXPECT_EQ(genres.count("Vaporwave"), 1u);
        // Sorted list.
        EXPECT_EQ(t::ComboItemText(w, IDC_GENRE, 0), "A capella");

        SYSTEMTIME now{};
        GetLocalTime(&now);
        const int years = t::ComboCount(w, IDC_YEAR);
        EXPECT_EQ(years, now.wYear - 1994);
        EXPECT_EQ(t::ComboItemText(w, IDC_YEAR, 0), std::to_string(now.wYear));
        EXPECT_EQ(t::ComboItemText(w, IDC_YEAR, years - 1), "1995");

        SetDlgItemTextA(w, IDC_GENRE, "Lo-Fi House");
    });
    EXPECT_EQ(ReadAll(custom), "Chiptune\r\nVaporwave\r\n\r\nLo-Fi House\r\n");

    // A genre already listed, in any case, is not added again; nor is an empty one.
    for (const char* genre : {"blues", "LO-FI HOUSE", ""}) {
        SCOPED_TRACE(genre);
        Run([&](HWND w) {
            EXPECT_EQ(t::ComboCount(w, IDC_GENRE), 131);
            SetDlgItemTextA(w, IDC_GENRE, genre);
        });
        EXPECT_EQ(ReadAll(custom), "Chiptune\r\nVaporwave\r\n\r\nLo-Fi House\r\n");
    }
}

TEST_F(MainWindowTest, PlacementIsRestoredAndSavedAndAWindowClosedMaximisedOpensMaximised)
{
    const char* names[] = {keys::kWindowX, keys::kWindowY, keys::kWindowW, keys::kWindowH};
    auto stored = [&](int i) { return t::Stored(keys::kSuiteKey, names[i]); };
    const uint32_t first[] = {40, 30, 820, 560};
    for (int i = 0; i < 4; ++i)
        store::WriteNumber(names[i], first[i], HKEY_CURRENT_USER, keys::kSuiteKey);

    Run([&](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 30);
        EXPECT_EQ(r.right - r.left, 820);
        EXPECT_EQ(r.bottom - r.top, 560);
        EXPECT_FALSE(IsZoomed(w));
        MoveWindow(w, 60, 50, 900, 600, TRUE);
    });
    const uint32_t second[] = {60, 50, 900, 600};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(stored(i).type, static_cast<DWORD>(REG_DWORD)) << names[i];
        EXPECT_EQ(stored(i).number, second[i]) << names[i];
    }
    // The codec and its output folder are kept at every close.
    EXPECT_EQ(t::Stored(keys::kSuiteKey, keys::kCodec).text, "Mp3 (Lame)");
    EXPECT_EQ(t::Stored(keys::CodecKey("Mp3 (Lame)").c_str(), keys::kOutputFolder).text,
              "C:\\Converted Music\\");

    // Closed maximised: the placement goes, and the next window opens maximised.
    Run([&](HWND w) {
        ShowWindow(w, SW_MAXIMIZE);
        EXPECT_TRUE(IsZoomed(w));
    });
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(stored(i).exists) << names[i];
    Run([&](HWND w) { EXPECT_TRUE(WaitFor([&] { return IsZoomed(w) != FALSE; }, 3000)); });
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(stored(i).exists) << names[i];
}

TEST(MainWindowRecordTo, ListsTheEncoderLibrariesAndChecksTheCurrentCodec)
{
    const std::string folder = dsp::testing::ScratchDir(CB_TEST_TMP);
    for (const char* file : {"Mp3 (Lame).dll", "Ogg Vorbis.DLL", "readme.txt"})
        ASSERT_TRUE(WriteAll(folder + file, "x"));
    CreateDirectoryA((folder + "old.dll").c_str(), nullptr);
    const std::vector<std::string> codecs = FindCodecs(folder);
    EXPECT_EQ(std::set<std::string>(codecs.begin(), codecs.end()),
              (std::set<std::string>{"Mp3 (Lame)", "Ogg Vorbis"}));
    EXPECT_TRUE(FindCodecs(folder + "missing\\").empty());

    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RECORD_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    char text[64] = {};
    GetMenuStringA(popup, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Record To");
    HMENU recordTo = GetSubMenu(popup, 3);
    FillRecordToMenu(recordTo, codecs, "mp3 (LAME)");
    ASSERT_EQ(GetMenuItemCount(recordTo), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(codecs[i]);
        EXPECT_EQ(GetMenuItemID(recordTo, i), static_cast<UINT>(ID_RECORD_TO_FIRST + i));
        GetMenuStringA(recordTo, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(text, codecs[i]);
        const bool checked = (GetMenuState(recordTo, i, MF_BYPOSITION) & MF_CHECKED) != 0;
        EXPECT_EQ(checked, codecs[i] == "Mp3 (Lame)");
    }
    DestroyMenu(menu);
}

TEST(MainWindowSkin, BackdropTilesThePictureOrPaintsTheGradientWhenThePictureIsMissingEmptyOrUndecodable)
{
    const std::string folder = dsp::testing::ScratchDir(CB_TEST_TMP);
    const std::string picture = std::string(CB_DIST_DIR) + "/Compression/skin/backdrop.jpg";
    ASSERT_TRUE(WriteAll(folder + "empty.jpg", ""));
    ASSERT_TRUE(WriteAll(folder + "broken.jpg", "not a picture at all"));
    struct Case
    {
        std::string path;
        bool fromPicture;
    } cases[] = {
        {picture, true},
        {folder + "missing.jpg", false},
        {folder + "empty.jpg", false},
        {folder + "broken.jpg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Backdrop backdrop;
        backdrop.Build(c.path);
        ASSERT_NE(backdrop.Dc(), nullptr);
        EXPECT_EQ(backdrop.Width(), GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(backdrop.FromPicture(), c.fromPicture);
        const int w = backdrop.Width();
        const Rgb left = GradientColour(0, w), right = GradientColour(w - 1, w);
        const bool gradient =
            GetPixel(backdrop.Dc(), 0, 0) == RGB(left.red, left.green, left.blue) &&
            GetPixel(backdrop.Dc(), w - 1, backdrop.Height() - 1) == RGB(right.red, right.green, right.blue);
        EXPECT_EQ(gradient, !c.fromPicture);
        if (c.fromPicture) {
            // The 128-pixel tile repeats across and down.
            for (int x : {0, 5, 77})
                EXPECT_EQ(GetPixel(backdrop.Dc(), x, 9), GetPixel(backdrop.Dc(), x + 128, 9 + 256)) << x;
        }
    }
}

TEST(MainWindowSkin, ColoursFileLinesOfAnyLengthAreReadAsTheirNumbersAndGarbageAsZero)
{
    const std::string folder = dsp::testing::ScratchDir(CB_TEST_TMP);
    std::string longLines, garbage;
    for (const char* number : {"255", "255", "255", "24", "40", "72"})
        longLines += number + std::string(10000, ' ') + "\r\n";
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>('A' + i % 26);
    struct Case
    {
        const char* what;
        std::string text;
        LabelColours colours;
    } cases[] = {
        {"lines of 10000 characters", longLines, {{255, 255, 255}, {24, 40, 72}}},
        {"garbage", garbage, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteAll(folder + "aux-colors.txt", c.text));
        EXPECT_EQ(ReadLabelColours(folder + "aux-colors.txt"), c.colours);
    }
}

// ---- Recording from the window ----

class MainWindowRecording : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        output_ = program_ + "Out\\";
        store::WriteText(keys::kCodec, kCodec, HKEY_CURRENT_USER, keys::kSuiteKey);
        store::WriteText(keys::kOutputFolder, output_.c_str(), HKEY_CURRENT_USER,
                         keys::CodecKey(kCodec).c_str());
        // The record button's bitmaps, so it has a size to click on.
        const std::string skin = program_ + "Compression\\skin\\";
        dsp::CreateAllDirectories(skin.c_str());
        for (const char* form :
             {"aux-convert-to", "aux-convert-to-m", "aux-convert-to-d", "aux-convert-to-menu"})
            CopyFileA((std::string(CB_DIST_DIR) + "/Compression/skin/" + form + ".bmp").c_str(),
                      (skin + form + ".bmp").c_str(), FALSE);
        ASSERT_TRUE(t::CopyStandIn("RecasterStandin.exe", program_ + "Recaster.exe"));
    }
    void TearDown() override
    {
        store::DeleteValue(keys::kUnique, HKEY_CURRENT_USER, keys::kSuiteKey);
        MainWindowTest::TearDown();
    }

    // Five tracks with 2 and 4 checked, named, with smart lengths and album fields.
    void FillFiveTracks(HWND w)
    {
        ASSERT_TRUE(TypeTrackCount(w, "5", 5));
        const char* names[] = {"Intro", "Rain", "Sun", "Snow", "End"};
        const char* lengths[][2] = {{"", ""}, {"3", "7"}, {"", "45"}, {"", ""}, {"2", "0"}};
        for (int i = 0; i < 5; ++i) {
            Rename(w, i, names[i]);
            Select(w, {i});
            t::Type(w, IDC_SMART_MINUTES, lengths[i][0]);
            t::Type(w, IDC_SMART_SECONDS, lengths[i][1]);
            SetCheck(w, i, i == 1 || i == 3);
        }
        Select(w, {});
        t::Type(w, IDC_ARTIST, "Varnette");
        t::Type(w, IDC_ALBUM, "Glasshouse");
        SetDlgItemTextA(w, IDC_GENRE, "Pop");
        t::Type(w, IDC_COMMENT, "first take");
        SetDlgItemTextA(w, IDC_YEAR, "1992");
    }

    // Waits until the converter stand-in was called `calls` times and the
    // window is back.
    bool WaitForRun(HWND w, size_t calls)
    {
        return WaitFor(
            [&] {
                const std::string log = ReadAll(program_ + "RecasterStandin-calls.txt");
                size_t lines = 0;
                for (char c : log)
                    lines += c == '\n';
                return lines == calls && IsWindowEnabled(w) && IsWindowVisible(w);
            },
            30000);
    }

    std::string output_;
};

TEST_F(MainWindowRecording,
       StartRecordingHandsTheCheckedTracksToTheConverterLeftWithLastSettingsRightWithOptions)
{
    Run([&](HWND w) {
        FillFiveTracks(w);
        HWND record = GetDlgItem(w, IDC_BUTTON_RECORD);
        ASSERT_NE(record, nullptr);
        struct Case
        {
            bool right;
            const char* options;
        } cases[] = {
            {false, "<Profile>AuxInput <UseLastSettings>"},
            {true, "<Profile>AuxInput <ConvertTo>Standin Codec"},
        };
        std::string calls;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.options);
            ClickAt(record, 5, 5, c.right);
            calls += "\"" + program_ + "Recaster.exe\" " + c.options + "\r\n";
            ASSERT_TRUE(WaitForRun(w, &c == &cases[0] ? 1 : 2));
            EXPECT_EQ(ReadAll(program_ + "RecasterStandin-calls.txt"), calls);
            EXPECT_EQ(ReadAll(program_ + "AddThis.Bin"),
                      Record("\\\\Aux\\Track02.aux") + Record("\\\\Aux\\Track04.aux"));
            EXPECT_EQ(ReadAll(program_ + "AddThisOuputTo.Bin"),
                      Record("Varnette - Rain") + Record("Varnette - Snow"));
            EXPECT_EQ(ReadAll(output_ + "Varnette - Rain.mp3"), "\\\\Aux\\Track02.aux\r\n");
        }
        const char* names[] = {"Intro", "Rain", "Sun", "Snow", "End"};
        const uint32_t seconds[] = {0, 187, 45, 0, 120};
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(names[i]);
            EXPECT_EQ(t::Stored(keys::kRunDataKey, TrackValueName(i + 1).c_str()).text, names[i]);
            EXPECT_EQ(t::Stored(keys::kRunDataKey, SmartLengthValueName(i + 1).c_str()).number, seconds[i]);
        }
        const char* fields[][2] = {{"Artist", "Varnette"},
                                   {"Album", "Glasshouse"},
                                   {"Genre", "Pop"},
                                   {"Comment", "first take"},
                                   {"Year", "1992"}};
        for (const auto& f : fields)
            EXPECT_EQ(t::Stored(keys::kRunDataKey, f[0]).text, f[1]) << f[0];
        EXPECT_EQ(t::Stored(keys::kSuiteKey, keys::kLastCodec).text, kCodec);
        EXPECT_EQ(t::Stored(keys::CodecKey(kCodec).c_str(), keys::kOutputFolderFlag).number, 0xFFFFFFFFu);
    });
}

TEST_F(MainWindowRecording, APressReleasedOffTheButtonStartsNothingAndThePairShowsItsForms)
{
    Run([&](HWND w) {
        SkinButton* record = SkinButton::FromWindow(GetDlgItem(w, IDC_BUTTON_RECORD));
        SkinButton* menu = SkinButton::FromWindow(GetDlgItem(w, IDC_BUTTON_RECORD_MENU));
        ASSERT_NE(record, nullptr);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(record->Width(), 43);
        EXPECT_EQ(record->Height(), 38);
        // A button without its bitmaps here shows a default face of its usual size.
        SkinButton* options = SkinButton::FromWindow(GetDlgItem(w, IDC_BUTTON_OPTIONS));
        EXPECT_TRUE(options->ShowsDefaultFace());
        EXPECT_EQ(options->Width(), 56);
        EXPECT_EQ(options->Height(), 20);
        EXPECT_FALSE(record->ShowsDefaultFace());

        SendMessageA(record->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(record->CurrentForm(), SkinButton::Form::Pressed);
        EXPECT_EQ(menu->CurrentForm(), SkinButton::Form::Hover);
        SendMessageA(record->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
        EXPECT_EQ(record->CurrentForm(), SkinButton::Form::Normal);
        Sleep(800);
        EXPECT_FALSE(dsp::testing::FileExists(program_ + "RecasterStandin-calls.txt"));
        EXPECT_FALSE(dsp::testing::FileExists(program_ + "AddThis.Bin"));
    });
}

TEST_F(MainWindowRecording, ConvertThisTrackOnlyWithoutTheConverterSaysSoAndDeletesTheJob)
{
    ASSERT_TRUE(DeleteFileA((program_ + "Recaster.exe").c_str()));
    dsp::ScriptedPrompts prompts;
    dsp::PromptsScope scope(prompts);
    Run([&](HWND w) {
        ASSERT_TRUE(TypeTrackCount(w, "4", 4));
        Select(w, {2});
        SendMessageA(w, WM_COMMAND, ID_CONVERT_THIS_TRACK, 0);
        EXPECT_EQ(Checked(w), std::vector<int>{2});
        EXPECT_EQ(t::ItemText(w, IDC_STATUS), "Converting 1 Tracks");
        ASSERT_TRUE(WaitFor([&] { return !prompts.Calls.empty() && IsWindowEnabled(w); }, 10000));
    });
    ASSERT_EQ(prompts.Calls.size(), 1u);
    EXPECT_EQ(prompts.Calls[0].text, "Tonvask Recaster is not installed!.");
    EXPECT_EQ(prompts.Calls[0].caption, "Tonvask Recaster");
    EXPECT_EQ(prompts.Calls[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(dsp::testing::FileExists(program_ + "AddThis.Bin"));
    EXPECT_FALSE(dsp::testing::FileExists(program_ + "AddThisOuputTo.Bin"));
    EXPECT_EQ(t::Stored(keys::kRunDataKey, "Track03").text, "Track03");
}

} // namespace
