// The recorder's option dialogs driven as a user would, with the registry,
// the folder browser, the template editor and the encoder library checked
// exactly.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "modal_driver.h"
#include "options.h"
#include "options_ids.h"
#include "prompts.h"
#include "recorder_registry.h"
#include "settings_store.h"
#include "standin_files.h"
#include "suite_environment.h"
#include "testing/plugin_under_test.h"

namespace {

namespace t = auxiliary::testing;
namespace keys = auxiliary::settings;
using t::Stored;

// ---- A template editor that answers from the test and notes its calls --------

struct EditorCall
{
    HWND owner;
    std::string given;
    std::string title;
};
std::vector<EditorCall> g_editorCalls;
std::optional<std::string> g_editorAnswer; // nullopt: the user cancels

bool ScriptedEditor(HWND owner, char* templ, const char* title)
{
    g_editorCalls.push_back({owner, templ, title});
    if (!g_editorAnswer)
        return false;
    std::snprintf(templ, 260, "%s", g_editorAnswer->c_str());
    return true;
}

std::vector<std::string> g_started;
bool NoteStart(const std::string& commandLine)
{
    g_started.push_back(commandLine);
    return true;
}

std::vector<std::pair<HWND, std::string>> g_opened;
void NoteOpen(HWND owner, const std::string& path)
{
    g_opened.emplace_back(owner, path);
}

// What pressing F1 in a dialog sends it.
void PressF1(HWND dialog)
{
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.hItemHandle = dialog;
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
}

// Installs the test's editor, starter and prompts, and clears the recorder's
// settings, for one test.
class OptionsFixture : public ::testing::Test
{
protected:
    OptionsFixture()
    {
        g_editorCalls.clear();
        g_editorAnswer.reset();
        g_started.clear();
        g_opened.clear();
        auxiliary::SetTemplateEditor(&ScriptedEditor);
        auxiliary::SetCommandStarter(&NoteStart);
        auxiliary::SetPageOpener(&NoteOpen);
    }
    ~OptionsFixture() override
    {
        auxiliary::SetTemplateEditor(nullptr);
        auxiliary::SetCommandStarter(nullptr);
        auxiliary::SetPageOpener(nullptr);
    }

    t::RecorderRegistryScope registry_;
    dsp::ScriptedPrompts prompts_;
    dsp::PromptsScope promptsScope_{prompts_};
};

std::vector<std::string> ComboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    for (int i = 0; i < t::ComboCount(dialog, id); ++i)
        items.push_back(t::ComboItemText(dialog, id, i));
    return items;
}

// What "tVC - Options" shows.
struct OptionsView
{
    std::string device, rate, bits, channels;
    bool autoStart, autoEnd;
    std::string startPercent, startFor, endPercent, endFor, fileCreation, outputTo;
};

OptionsView ReadOptions(HWND d)
{
    return {t::ComboSelectionText(d, IDC_RECORD_USING),
            t::ComboSelectionText(d, IDC_QUALITY),
            t::ComboSelectionText(d, IDC_BITS),
            t::ComboSelectionText(d, IDC_CHANNELS),
            t::IsChecked(d, IDC_AUTO_START),
            t::IsChecked(d, IDC_AUTO_END),
            t::ItemText(d, IDC_AUTO_START_PERCENT),
            t::ItemText(d, IDC_AUTO_START_FOR),
            t::ItemText(d, IDC_AUTO_END_PERCENT),
            t::ItemText(d, IDC_AUTO_END_FOR),
            t::ItemText(d, IDC_FILE_CREATION),
            t::ItemText(d, IDC_OUTPUT_TO)};
}

INT_PTR RunOptions(char* folder, const std::function<void(HWND)>& drive)
{
    bool found = false;
    const INT_PTR result =
        t::RunModal([&] { return auxiliary::ShowOptions(nullptr, folder); }, "tVC - Options", drive, &found);
    EXPECT_TRUE(found);
    return result;
}

const char* const kOptionValues[] = {"Aux-RecUsing",     "Aux-RecFreq",     "Aux-RecBits",
                                     "Aux-RecChannels",  "Aux-AutoStart",   "Aux-AutoStartPC",
                                     "Aux-AutoStartFor", "Aux-AutoEnd",     "Aux-AutoEndPC",
                                     "Aux-AutoEndFor",   "Aux-FileCreation"};

using AuxOptionsDialog = OptionsFixture;

TEST_F(AuxOptionsDialog, WithNoSettingsShowsTheDefaultsAndTheListsInTheirStoredOrder)
{
    char folder[260] = "C:\\Converted Music\\";
    OptionsView shown{};
    std::vector<std::string> devices, rates, bits, channels;
    const INT_PTR result = RunOptions(folder, [&](HWND d) {
        shown = ReadOptions(d);
        devices = ComboItems(d, IDC_RECORD_USING);
        rates = ComboItems(d, IDC_QUALITY);
        bits = ComboItems(d, IDC_BITS);
        channels = ComboItems(d, IDC_CHANNELS);
        PressF1(d);
        t::Click(d, IDC_OPTIONS_CANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(shown.device, "[Default]");
    EXPECT_EQ(shown.rate, "44.1 KHz (CD Quality)");
    EXPECT_EQ(shown.bits, "16");
    EXPECT_EQ(shown.channels, "Stereo");
    EXPECT_FALSE(shown.autoStart);
    EXPECT_FALSE(shown.autoEnd);
    EXPECT_EQ(shown.startPercent, "10");
    EXPECT_EQ(shown.startFor, "750");
    EXPECT_EQ(shown.endPercent, "10");
    EXPECT_EQ(shown.endFor, "3000");
    EXPECT_EQ(shown.fileCreation, "[artist] - [track]");
    EXPECT_EQ(shown.outputTo, "C:\\Converted Music\\");

    // The device list: "[Default]", then every wave input device by product name, in device order.
    std::vector<std::string> wantDevices = {"[Default]"};
    for (UINT i = 0; i < waveInGetNumDevs(); ++i) {
        WAVEINCAPSA caps{};
        waveInGetDevCapsA(i, &caps, sizeof caps);
        wantDevices.emplace_back(caps.szPname);
    }
    EXPECT_EQ(devices, wantDevices);
    EXPECT_EQ(rates, (std::vector<std::string>{"44.1 KHz (CD Quality)", "22.5 KHz", "11.2 KHz", "48 KHz",
                                               "96 KHz", "192 KHz"}));
    EXPECT_EQ(bits, (std::vector<std::string>{"16", "8", "24"}));
    EXPECT_EQ(channels, (std::vector<std::string>{"Stereo", "Mono", "3 Ch.", "4 Ch.", "5 Ch.", "6 Ch.",
                                                  "7 Ch.", "8 Ch.", "9 Ch."}));
    for (const char* name : kOptionValues)
        EXPECT_FALSE(Stored(keys::kSuiteKey, name).exists) << name;
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].second, auxiliary::ProgramFolder() + "Help\\tVC\\AuxiliaryOptions.htm");
}

TEST_F(AuxOptionsDialog, ShowsStoredValuesAndTakesDamagedListPositionsAsTheFirstEntry)
{
    const std::string tooLong(300, 'x'); // does not fit a 260-byte buffer: reads as missing
    const struct
    {
        const char* name;
        uint32_t rate, bits, channels;
        std::string startPercent, fileCreation;                                      // stored
        const char *wantRate, *wantBits, *wantChannels, *wantPercent, *wantTemplate; // shown
    } cases[] = {
        {"a stored Aux-RecFreq of 5 selects 192 KHz", 5, 2, 8, "abc", "%RR %a^ - %T", "192 KHz", "24",
         "9 Ch.", "abc", "[track number xx] [artist]^ - [track]"},
        {"positions beyond the lists and empty texts", 99, 3, 9, "", "", "44.1 KHz (CD Quality)", "16",
         "Stereo", "10", "[artist] - [track]"},
        {"texts too long for their buffers", 1, 0, 0, tooLong, tooLong, "22.5 KHz", "16", "Stereo", "10",
         "[artist] - [track]"},
        {"mixed-case percent codes", 3, 1, 1, "5", "%l\\%rrr %t", "48 KHz", "8", "Mono", "5",
         "[album]\\[track number xxx] [track]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dsp::settings::WriteNumber("Aux-RecFreq", c.rate, HKEY_CURRENT_USER, keys::kSuiteKey);
        dsp::settings::WriteNumber("Aux-RecBits", c.bits, HKEY_CURRENT_USER, keys::kSuiteKey);
        dsp::settings::WriteNumber("Aux-RecChannels", c.channels, HKEY_CURRENT_USER, keys::kSuiteKey);
        dsp::settings::WriteNumber("Aux-AutoStart", 0xFFFFFFFF, HKEY_CURRENT_USER, keys::kSuiteKey);
        dsp::settings::WriteNumber("Aux-AutoEnd", 1, HKEY_CURRENT_USER, keys::kSuiteKey);
        dsp::settings::WriteText("Aux-AutoStartPC", c.startPercent.c_str(), HKEY_CURRENT_USER,
                                 keys::kSuiteKey);
        dsp::settings::WriteText("Aux-FileCreation", c.fileCreation.c_str(), HKEY_CURRENT_USER,
                                 keys::kSuiteKey);
        char folder[260] = "";
        OptionsView shown{};
        RunOptions(folder, [&](HWND d) {
            shown = ReadOptions(d);
            SendMessageA(d, WM_COMMAND, IDCANCEL, 0); // Escape
        });
        EXPECT_EQ(shown.rate, c.wantRate);
        EXPECT_EQ(shown.bits, c.wantBits);
        EXPECT_EQ(shown.channels, c.wantChannels);
        EXPECT_EQ(shown.device, "[Default]");
        EXPECT_TRUE(shown.autoStart); // any non-zero number is ticked
        EXPECT_TRUE(shown.autoEnd);
        EXPECT_EQ(shown.startPercent, c.wantPercent);
        EXPECT_EQ(shown.fileCreation, c.wantTemplate);
        // Escape wrote nothing back.
        EXPECT_EQ(Stored(keys::kSuiteKey, "Aux-RecFreq").number, c.rate);
        EXPECT_EQ(Stored(keys::kSuiteKey, "Aux-FileCreation").text, c.fileCreation);
    }
}

TEST_F(AuxOptionsDialog, OKWritesEveryValueAsTypedAndTakesTheOutputFolderIntoTheWindowsMemory)
{
    char folder[260] = "C:\\Converted Music\\";
    prompts_.FolderAnswers = {std::string("D:\\Recordings"), std::string(""), std::nullopt};
    g_editorAnswer = "[album]\\[Track Number XX] [track]";
    std::string afterBrowsing, afterEmpty, afterCancel, afterEditor;
    HWND dialog = nullptr;
    const INT_PTR result = RunOptions(folder, [&](HWND d) {
        dialog = d;
        t::Click(d, IDC_OUTPUT_SET);
        afterBrowsing = t::ItemText(d, IDC_OUTPUT_TO);
        t::Click(d, IDC_OUTPUT_SET); // an empty path
        afterEmpty = t::ItemText(d, IDC_OUTPUT_TO);
        t::Click(d, IDC_OUTPUT_SET); // cancelled
        afterCancel = t::ItemText(d, IDC_OUTPUT_TO);
        t::Click(d, IDC_FILE_CREATION_SET);
        afterEditor = t::ItemText(d, IDC_FILE_CREATION);
        t::Click(d, IDC_INPUT_SOURCE);
        t::Click(d, IDC_AUTO_START);
        t::Type(d, IDC_AUTO_START_PERCENT, "x5");
        t::Type(d, IDC_AUTO_START_FOR, "");
        t::Type(d, IDC_AUTO_END_PERCENT, " 7 ");
        t::Type(d, IDC_AUTO_END_FOR, std::string(300, '9').c_str()); // cut to 259
        t::Choose(d, IDC_QUALITY, 5);
        t::Choose(d, IDC_BITS, 2);
        t::Choose(d, IDC_CHANNELS, 1);
        t::Click(d, IDC_OPTIONS_OK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(afterBrowsing, "D:\\Recordings");
    EXPECT_EQ(afterEmpty, "D:\\Recordings");
    EXPECT_EQ(afterCancel, "D:\\Recordings");
    EXPECT_EQ(afterEditor, "[album]\\[Track Number XX] [track]");
    EXPECT_STREQ(folder, "D:\\Recordings");

    ASSERT_EQ(prompts_.Calls.size(), 3u);
    for (const auto& asked : prompts_.Calls) {
        EXPECT_EQ(asked.kind, "folder");
        EXPECT_EQ(asked.text, "Output Ripped Files To...");
        EXPECT_EQ(asked.owner, dialog);
        EXPECT_EQ(asked.type & (BIF_EDITBOX | BIF_NEWDIALOGSTYLE),
                  static_cast<UINT>(BIF_EDITBOX | BIF_NEWDIALOGSTYLE));
    }
    ASSERT_EQ(g_editorCalls.size(), 1u);
    EXPECT_EQ(g_editorCalls[0].owner, dialog);
    EXPECT_EQ(g_editorCalls[0].given, "[artist] - [track]");
    EXPECT_EQ(g_editorCalls[0].title, "tVC Auxiliary Input - Set File Creation");

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ(g_started, std::vector<std::string>{"\"" + std::string(system) + "\\sndvol32.exe\" -r"});

    const struct
    {
        const char* name;
        DWORD type;
        std::string text;
        uint32_t number;
    } stored[] = {
        {"Aux-FileCreation", REG_SZ, "%L\\%RR %T", 0},
        {"Aux-AutoStart", REG_DWORD, "", 1},
        {"Aux-AutoStartPC", REG_SZ, "x5", 0},
        {"Aux-AutoStartFor", REG_SZ, "", 0},
        {"Aux-AutoEnd", REG_DWORD, "", 0},
        {"Aux-AutoEndPC", REG_SZ, " 7 ", 0},
        {"Aux-AutoEndFor", REG_SZ, std::string(259, '9'), 0},
        {"Aux-RecUsing", REG_DWORD, "", 0},
        {"Aux-RecFreq", REG_DWORD, "", 5},
        {"Aux-RecBits", REG_DWORD, "", 2},
        {"Aux-RecChannels", REG_DWORD, "", 1},
    };
    for (const auto& s : stored) {
        SCOPED_TRACE(s.name);
        const t::StoredValue v = Stored(keys::kSuiteKey, s.name);
        ASSERT_TRUE(v.exists);
        EXPECT_EQ(v.type, s.type);
        EXPECT_EQ(v.text, s.text);
        EXPECT_EQ(v.number, s.number);
    }
    // The output folder is not the dialog's to store.
    EXPECT_FALSE(Stored(keys::CodecKey("Mp3 (Lame)").c_str(), "TVCUserFolderStr").exists);
}

TEST_F(AuxOptionsDialog, CancelEscapeAndTheCloseBoxSaveNothing)
{
    const struct
    {
        const char* name;
        void (*end)(HWND);
    } ways[] = {
        {"Cancel", [](HWND d) { t::Click(d, IDC_OPTIONS_CANCEL); }},
        {"Escape", [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        char folder[260] = "C:\\Before\\";
        prompts_.FolderAnswers = {std::string("D:\\After")};
        const INT_PTR result = RunOptions(folder, [&](HWND d) {
            t::Click(d, IDC_OUTPUT_SET);
            t::Click(d, IDC_AUTO_START);
            t::Choose(d, IDC_QUALITY, 4);
            way.end(d);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_STREQ(folder, "C:\\Before\\");
        for (const char* name : kOptionValues)
            EXPECT_FALSE(Stored(keys::kSuiteKey, name).exists) << name;
    }
}

// ---- "tVC - Boostkit Options" -------------------------------------------------

using AuxBoostkitDialog = OptionsFixture;

struct BoostkitView
{
    bool write;
    std::string type, folder, creation;
    bool playAudio;
    std::vector<bool> enabled; // 1026 to 1029 and the Set button
};

BoostkitView ReadBoostkit(HWND d)
{
    BoostkitView v{t::IsChecked(d, IDC_BK_WRITE),      t::ComboSelectionText(d, IDC_BK_TYPE),
                   t::ItemText(d, IDC_BK_FOLDER),      t::ItemText(d, IDC_BK_CREATION),
                   t::IsChecked(d, IDC_BK_PLAY_AUDIO), {}};
    for (int id : {IDC_BK_TYPE, IDC_BK_FOLDER, IDC_BK_BROWSE, IDC_BK_CREATION, IDC_BK_CREATION_SET})
        v.enabled.push_back(t::IsEnabled(d, id));
    return v;
}

INT_PTR RunBoostkit(auxiliary::AddOnSettings& values, const std::function<void(HWND)>& drive)
{
    bool found = false;
    const INT_PTR result = t::RunModal([&] { return auxiliary::ShowBoostkitOptions(nullptr, values); },
                                       "tVC - Boostkit Options", drive, &found);
    EXPECT_TRUE(found);
    return result;
}

TEST_F(AuxBoostkitDialog, ShowsTheDefaultsAndEnablesThePlaylistControlsOnlyWhileWriteIsTicked)
{
    auxiliary::AddOnSettings values = auxiliary::LoadAddOnSettings();
    EXPECT_FALSE(values.writePlaylist);
    EXPECT_EQ(values.playlistType, 0u);
    EXPECT_EQ(values.playlistFolder, "C:\\Converted Music\\Playlists\\");
    EXPECT_EQ(values.playlistCreation, "%a - %l");
    EXPECT_FALSE(values.playAudio);

    std::vector<BoostkitView> views;
    std::vector<std::string> types;
    bool bitmaps = false;
    RunBoostkit(values, [&](HWND d) {
        views.push_back(ReadBoostkit(d));
        types = ComboItems(d, IDC_BK_TYPE);
        bitmaps = SendDlgItemMessageA(d, IDC_BK_PICTURE_1, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0 &&
                  SendDlgItemMessageA(d, IDC_BK_PICTURE_2, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        t::Click(d, IDC_BK_WRITE);
        views.push_back(ReadBoostkit(d));
        t::Click(d, IDC_BK_WRITE);
        views.push_back(ReadBoostkit(d));
        PressF1(d);
        SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].second, auxiliary::ProgramFolder() + "Help\\tVC\\AuxiliaryBK.htm");
    ASSERT_EQ(views.size(), 3u);
    EXPECT_FALSE(views[0].write);
    EXPECT_EQ(views[0].type, "m3u");
    EXPECT_EQ(views[0].folder, "C:\\Converted Music\\Playlists\\");
    EXPECT_EQ(views[0].creation, "[artist] - [album]");
    EXPECT_FALSE(views[0].playAudio);
    EXPECT_EQ(types, (std::vector<std::string>{"m3u", "pls"}));
    EXPECT_TRUE(bitmaps);
    EXPECT_EQ(views[0].enabled, std::vector<bool>(5, false));
    EXPECT_TRUE(views[1].write);
    EXPECT_EQ(views[1].enabled, std::vector<bool>(5, true));
    EXPECT_EQ(views[2].enabled, std::vector<bool>(5, false));

    // Opened with "Write" ticked, the controls start enabled.
    values.writePlaylist = true;
    BoostkitView opened{};
    RunBoostkit(values, [&](HWND d) {
        opened = ReadBoostkit(d);
        SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(opened.enabled, std::vector<bool>(5, true));
}

TEST_F(AuxBoostkitDialog, OKAndTheCloseBoxKeepTheChangesEscapeDiscardsThem)
{
    const struct
    {
        const char* name;
        void (*end)(HWND);
        INT_PTR result;
        bool kept;
    } ways[] = {
        {"OK", [](HWND d) { t::Click(d, IDOK); }, IDOK, true},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDOK, true},
        {"Escape", [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }, IDCANCEL, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        auxiliary::AddOnSettings values = auxiliary::LoadAddOnSettings();
        const auxiliary::AddOnSettings before = values;
        prompts_.Calls.clear();
        prompts_.FolderAnswers = {std::string("E:\\Lists")};
        g_editorCalls.clear();
        g_editorAnswer = "[year]\\[Album]";
        HWND dialog = nullptr;
        const INT_PTR result = RunBoostkit(values, [&](HWND d) {
            dialog = d;
            t::Click(d, IDC_BK_WRITE);
            t::Choose(d, IDC_BK_TYPE, 1);
            t::Click(d, IDC_BK_BROWSE);
            t::Click(d, IDC_BK_CREATION_SET);
            t::Click(d, IDC_BK_PLAY_AUDIO);
            way.end(d);
        });
        EXPECT_EQ(result, way.result);
        ASSERT_EQ(prompts_.Calls.size(), 1u);
        EXPECT_EQ(prompts_.Calls[0].text, "Select Playlist Save Folder");
        EXPECT_EQ(prompts_.Calls[0].owner, dialog);
        ASSERT_EQ(g_editorCalls.size(), 1u);
        EXPECT_EQ(g_editorCalls[0].given, "[artist] - [album]");
        EXPECT_EQ(g_editorCalls[0].title, "tVC Auxiliary Input - Set Playlist Creation");
        if (way.kept) {
            EXPECT_TRUE(values.writePlaylist);
            EXPECT_EQ(values.playlistType, 1u);
            EXPECT_EQ(values.playlistFolder, "E:\\Lists");
            EXPECT_EQ(values.playlistCreation, "%Y\\%L");
            EXPECT_TRUE(values.playAudio);
        } else {
            EXPECT_EQ(values.writePlaylist, before.writePlaylist);
            EXPECT_EQ(values.playlistType, before.playlistType);
            EXPECT_EQ(values.playlistFolder, before.playlistFolder);
            EXPECT_EQ(values.playlistCreation, before.playlistCreation);
            EXPECT_EQ(values.playAudio, before.playAudio);
        }
        // The dialog edits the values in memory only.
        EXPECT_FALSE(Stored(keys::kBoostkitKey, "BK-AuxInput-WritePlaylist").exists);
    }
}

TEST_F(AuxBoostkitDialog, AddOnSettingsAreStoredWithTheirKeysAndTypes)
{
    auxiliary::AddOnSettings values;
    values.writePlaylist = true;
    values.playlistType = 1;
    values.playlistFolder = "F:\\P\\";
    values.playlistCreation = "%a - %l";
    values.playAudio = true;
    auxiliary::SaveAddOnSettings(values);
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-WritePlaylist").number, 1u);
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-WritePlaylist").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-PlaylistType").number, 1u);
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-PlaylistStr").text, "F:\\P\\");
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-PlaylistCreation").text, "%a - %l");
    EXPECT_EQ(Stored(keys::kBoostkitKey, "BK-AuxInput-PlayAudio").number, 1u);
    const auxiliary::AddOnSettings back = auxiliary::LoadAddOnSettings();
    EXPECT_TRUE(back.writePlaylist);
    EXPECT_EQ(back.playlistType, 1u);
    EXPECT_EQ(back.playlistFolder, "F:\\P\\");
    EXPECT_TRUE(back.playAudio);
}

// ---- "Compression Settings" ---------------------------------------------------

// Puts the stand-in encoder into the Compression folder below this test
// program's folder (its program folder) and removes it again.
class CompressionFolder
{
public:
    explicit CompressionFolder(const char* codec)
        : folder_(auxiliary::InProgramFolder("Compression\\")), path_(folder_ + codec + ".dll")
    {
        CreateDirectoryA(folder_.c_str(), nullptr);
        ok_ = t::CopyStandIn("StandInEncoder.dll", path_);
    }
    ~CompressionFolder()
    {
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    bool Ok() const { return ok_; }

private:
    std::string folder_, path_;
    bool ok_ = false;
};

std::string Hex(HWND window)
{
    char text[32];
    std::snprintf(text, sizeof text, "%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

int ChildCount(HWND window)
{
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

TEST(AuxCompressionDialog, CallsTheEncoderWithTheDialogsWindowAndTheProfileAuxInput)
{
    t::CallLog log;
    CompressionFolder encoder("Stand-in Codec");
    ASSERT_TRUE(encoder.Ok());
    const struct
    {
        const char* name;
        void (*end)(HWND);
    } ways[] = {
        {"OK", [](HWND d) { t::Click(d, IDOK); }},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape", [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        log.Clear();
        HWND dialog = nullptr;
        std::string text;
        bool optionShown = false;
        int children = 0;
        bool found = false;
        const INT_PTR result =
            t::RunModal([] { return auxiliary::ShowCompressionSettings(nullptr, "Stand-in Codec"); },
                        "Compression Settings",
                        [&](HWND d) {
                            dialog = d;
                            text = t::ItemText(d, IDC_COMPRESSION_TEXT);
                            optionShown = GetDlgItem(d, 4001) != nullptr;
                            children = ChildCount(d);
                            way.end(d);
                        },
                        &found);
        EXPECT_TRUE(found);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(text, "Compression Settings for 'Stand-in Codec'");
        EXPECT_TRUE(optionShown);
        EXPECT_EQ(children, 3); // the text, OK and the encoder's own control
        EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                                   "Stand-in Codec.dll SetProfile AuxInput",
                                   "Stand-in Codec.dll ShowConfigBit " + Hex(dialog),
                                   "Stand-in Codec.dll RemoveConfigBit " + Hex(dialog),
                               }));
    }

    // Without a usable encoder library (none, a file that is no library, a
    // library without any encoder entry point) the dialog holds only its
    // text and OK, and nothing is called.
    const std::string folder = auxiliary::InProgramFolder("Compression\\");
    ASSERT_TRUE(t::WriteAll(folder + "Garbage Codec.dll", std::string("MZ") + std::string(5000, '\x13')));
    ASSERT_TRUE(t::CopyStandIn("StandInDecoder.dll", folder + "Decoder Codec.dll"));
    for (const char* codec : {"No Such Codec", "Garbage Codec", "Decoder Codec"}) {
        SCOPED_TRACE(codec);
        log.Clear();
        std::string text;
        int children = 0;
        const INT_PTR result = t::RunModal([&] { return auxiliary::ShowCompressionSettings(nullptr, codec); },
                                           "Compression Settings",
                                           [&](HWND d) {
                                               text = t::ItemText(d, IDC_COMPRESSION_TEXT);
                                               children = ChildCount(d);
                                               t::Click(d, IDOK);
                                           });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(text, std::string("Compression Settings for '") + codec + "'");
        EXPECT_EQ(children, 2);
        EXPECT_TRUE(log.Lines().empty());
    }
    DeleteFileA((folder + "Garbage Codec.dll").c_str());
    DeleteFileA((folder + "Decoder Codec.dll").c_str());
}

} // namespace
