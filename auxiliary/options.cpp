#include "options.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "dialog_base.h"
#include "file_creation.h"
#include "file_template.h"
#include "options_ids.h"
#include "prompts.h"
#include "suite_environment.h"

namespace auxiliary {

using namespace settings;

namespace {

constexpr const char* kSetFileCreationTitle = "tVC Auxiliary Input - Set File Creation";
constexpr const char* kSetPlaylistCreationTitle = "tVC Auxiliary Input - Set Playlist Creation";
constexpr const char* kOutputBrowserTitle = "Output Ripped Files To...";
constexpr const char* kPlaylistBrowserTitle = "Select Playlist Save Folder";
constexpr const char* kInputProfile = "AuxInput";

bool StartDetached(const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

TemplateEditor g_editor = nullptr;
CommandStarter g_starter = nullptr;
PageOpener g_opener = nullptr;

bool EditWithCurrentEditor(HWND owner, char* templ, const char* title)
{
    return g_editor ? g_editor(owner, templ, title) : EditTemplate(owner, templ, title);
}

void OpenHelp(HWND owner, const char* page)
{
    const std::string path = InProgramFolder(page);
    if (g_opener)
        g_opener(owner, path);
    else
        ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void FillList(HWND combo, const char* const* items, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

uint32_t Selection(HWND combo)
{
    const LRESULT position = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return position == CB_ERR ? 0 : static_cast<uint32_t>(position);
}

void Select(HWND combo, uint32_t stored)
{
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    SendMessageA(combo, CB_SETCURSEL, ListPosition(stored, count > 0 ? static_cast<size_t>(count) : 0), 0);
}

// A template in percent form as the user sees it, and back.
std::string DisplayForm(const std::string& percent)
{
    char text[260] = {};
    std::strncpy(text, percent.c_str(), sizeof text - 1);
    ToDisplayForm(text, sizeof text);
    return text;
}

std::string PercentForm(const std::string& display)
{
    char text[260] = {};
    std::strncpy(text, display.c_str(), sizeof text - 1);
    ToPercentForm(text, sizeof text);
    return text;
}

// Opens the template editor on a read-only field and puts an accepted
// template back into it.
void EditTemplateField(const Dialog& dialog, int field, const char* title)
{
    char templ[260] = {};
    std::strncpy(templ, dialog.Text(field).c_str(), sizeof templ - 1);
    if (EditWithCurrentEditor(dialog.Handle(), templ, title)) {
        templ[sizeof templ - 1] = '\0';
        dialog.SetText(field, templ);
    }
}

// Asks for a folder; a non-empty choice goes into `field`.
void BrowseIntoField(const Dialog& dialog, int field, const char* title, UINT flags)
{
    char folder[MAX_PATH] = {};
    if (dsp::CurrentPrompts().BrowseFolder(dialog.Handle(), title, flags, folder) && folder[0] != '\0')
        dialog.SetText(field, folder);
}

void LimitText(HWND edit)
{
    SendMessageA(edit, EM_LIMITTEXT, 259, 0);
}

// ---- "tVC - Options" ----------------------------------------------------------

class OptionsDialog final : public Dialog
{
public:
    explicit OptionsDialog(char* outputFolder) : Dialog(IDD_OPTIONS), outputFolder_(outputFolder) {}

protected:
    bool OnInit() override
    {
        const RecorderOptions options = LoadRecorderOptions();
        for (int id : {IDC_OUTPUT_TO, IDC_AUTO_START_PERCENT, IDC_AUTO_START_FOR, IDC_AUTO_END_PERCENT,
                       IDC_AUTO_END_FOR})
            LimitText(Item(id));
        SetText(IDC_OUTPUT_TO, outputFolder_);
        SetText(IDC_FILE_CREATION, DisplayForm(options.fileCreation).c_str());
        SetCheck(IDC_AUTO_START, options.autoStart);
        SetText(IDC_AUTO_START_PERCENT, options.autoStartPercent.c_str());
        SetText(IDC_AUTO_START_FOR, options.autoStartFor.c_str());
        SetCheck(IDC_AUTO_END, options.autoEnd);
        SetText(IDC_AUTO_END_PERCENT, options.autoEndPercent.c_str());
        SetText(IDC_AUTO_END_FOR, options.autoEndFor.c_str());

        HWND devices = Item(IDC_RECORD_USING);
        SendMessageA(devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDefaultDevice));
        const UINT deviceCount = waveInGetNumDevs();
        for (UINT device = 0; device < deviceCount; ++device) {
            WAVEINCAPSA caps{};
            if (waveInGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR)
                caps.szPname[0] = '\0';
            caps.szPname[sizeof caps.szPname - 1] = '\0';
            SendMessageA(devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caps.szPname));
        }
        Select(devices, options.device);
        FillList(Item(IDC_QUALITY), kRateChoices, std::size(kRateChoices));
        Select(Item(IDC_QUALITY), options.rate);
        FillList(Item(IDC_BITS), kBitChoices, std::size(kBitChoices));
        Select(Item(IDC_BITS), options.bits);
        FillList(Item(IDC_CHANNELS), kChannelChoices, std::size(kChannelChoices));
        Select(Item(IDC_CHANNELS), options.channels);
        return true;
    }

    bool OnCommand(int id, int code) override
    {
        switch (id) {
        case IDC_OUTPUT_SET:
            BrowseIntoField(*this, IDC_OUTPUT_TO, kOutputBrowserTitle,
                            BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE);
            return true;
        case IDC_FILE_CREATION_SET:
            EditTemplateField(*this, IDC_FILE_CREATION, kSetFileCreationTitle);
            return true;
        case IDC_INPUT_SOURCE: {
            char system[MAX_PATH] = {};
            const UINT length = GetSystemDirectoryA(system, sizeof system);
            const std::string line = MixerCommandLine(length < sizeof system ? system : "");
            if (g_starter)
                g_starter(line);
            else
                StartDetached(line);
            return true;
        }
        case IDC_OPTIONS_OK:
            Save();
            End(IDOK);
            return true;
        case IDC_OPTIONS_CANCEL:
            End(IDCANCEL);
            return true;
        default:
            return Dialog::OnCommand(id, code);
        }
    }

    void OnHelp() override { OpenHelp(Handle(), kOptionsHelpPage); }

private:
    void Save()
    {
        RecorderOptions options;
        options.fileCreation = PercentForm(Text(IDC_FILE_CREATION));
        options.autoStart = Checked(IDC_AUTO_START);
        options.autoStartPercent = Text(IDC_AUTO_START_PERCENT);
        options.autoStartFor = Text(IDC_AUTO_START_FOR);
        options.autoEnd = Checked(IDC_AUTO_END);
        options.autoEndPercent = Text(IDC_AUTO_END_PERCENT);
        options.autoEndFor = Text(IDC_AUTO_END_FOR);
        options.device = Selection(Item(IDC_RECORD_USING));
        options.rate = Selection(Item(IDC_QUALITY));
        options.bits = Selection(Item(IDC_BITS));
        options.channels = Selection(Item(IDC_CHANNELS));
        SaveRecorderOptions(options);
        const std::string folder = Text(IDC_OUTPUT_TO);
        std::strncpy(outputFolder_, folder.c_str(), 259);
        outputFolder_[259] = '\0';
    }

    char* outputFolder_;
};

// ---- "tVC - Boostkit Options" -------------------------------------------------

class BoostkitDialog final : public Dialog
{
public:
    explicit BoostkitDialog(AddOnSettings& values) : Dialog(IDD_BOOSTKIT), values_(values) {}

protected:
    bool OnInit() override
    {
        LimitText(Item(IDC_BK_FOLDER));
        SetCheck(IDC_BK_WRITE, values_.writePlaylist);
        FillList(Item(IDC_BK_TYPE), kPlaylistTypeChoices, std::size(kPlaylistTypeChoices));
        Select(Item(IDC_BK_TYPE), values_.playlistType);
        SetText(IDC_BK_FOLDER, values_.playlistFolder.c_str());
        SetText(IDC_BK_CREATION, DisplayForm(values_.playlistCreation).c_str());
        SetCheck(IDC_BK_PLAY_AUDIO, values_.playAudio);
        EnablePlaylistControls();
        return true;
    }

    bool OnCommand(int id, int code) override
    {
        switch (id) {
        case IDC_BK_WRITE:
            EnablePlaylistControls();
            return true;
        case IDC_BK_BROWSE:
            BrowseIntoField(*this, IDC_BK_FOLDER, kPlaylistBrowserTitle, BIF_RETURNONLYFSDIRS);
            return true;
        case IDC_BK_CREATION_SET:
            EditTemplateField(*this, IDC_BK_CREATION, kSetPlaylistCreationTitle);
            return true;
        case IDOK:
            Keep();
            End(IDOK);
            return true;
        default:
            return Dialog::OnCommand(id, code); // IDCANCEL (Escape) discards
        }
    }

    void OnClose() override
    {
        // The close box keeps the changes, like OK.
        Keep();
        End(IDOK);
    }

    void OnHelp() override { OpenHelp(Handle(), kBoostkitHelpPage); }

private:
    void EnablePlaylistControls() const
    {
        const bool write = Checked(IDC_BK_WRITE);
        for (int id : {IDC_BK_TYPE, IDC_BK_FOLDER, IDC_BK_BROWSE, IDC_BK_CREATION, IDC_BK_CREATION_SET})
            Enable(id, write);
    }

    void Keep()
    {
        values_.writePlaylist = Checked(IDC_BK_WRITE);
        values_.playlistType = Selection(Item(IDC_BK_TYPE));
        values_.playlistFolder = Text(IDC_BK_FOLDER);
        values_.playlistCreation = PercentForm(Text(IDC_BK_CREATION));
        values_.playAudio = Checked(IDC_BK_PLAY_AUDIO);
    }

    AddOnSettings& values_;
};

// ---- "Compression Settings" ---------------------------------------------------

class CompressionDialog final : public Dialog
{
public:
    explicit CompressionDialog(const char* codec) : Dialog(IDD_COMPRESSION), codec_(codec ? codec : "") {}

protected:
    bool OnInit() override
    {
        SetText(IDC_COMPRESSION_TEXT, CompressionSettingsText(codec_).c_str());
        if (encoder_.Load(EncoderPlugin::PathFor(codec_))) {
            encoder_.SetProfile(kInputProfile);
            encoder_.ShowConfigBit(Handle());
        }
        return true;
    }

    bool OnCommand(int id, int code) override
    {
        // Every way out (OK, Escape) lets the encoder take its part down, and
        // so save what it keeps, as closing the window does.
        if (id == IDOK || id == IDCANCEL) {
            Finish();
            return true;
        }
        return Dialog::OnCommand(id, code);
    }

    void OnClose() override { Finish(); }

private:
    void Finish()
    {
        if (!finished_)
            encoder_.RemoveConfigBit(Handle());
        finished_ = true;
        End(IDOK);
    }

    bool finished_ = false;
    std::string codec_;
    EncoderPlugin encoder_;
};

} // namespace

// ---- Dialogs ----------------------------------------------------------------------

INT_PTR ShowOptions(HWND owner, char* outputFolder)
{
    char fallback[260] = {};
    OptionsDialog dialog(outputFolder ? outputFolder : fallback);
    return dialog.ShowModal(owner);
}

INT_PTR ShowBoostkitOptions(HWND owner, AddOnSettings& values)
{
    BoostkitDialog dialog(values);
    return dialog.ShowModal(owner);
}

INT_PTR ShowCompressionSettings(HWND owner, const char* codec)
{
    CompressionDialog dialog(codec);
    return dialog.ShowModal(owner);
}

void SetTemplateEditor(TemplateEditor editor)
{
    g_editor = editor;
}

void SetCommandStarter(CommandStarter starter)
{
    g_starter = starter;
}

void SetPageOpener(PageOpener opener)
{
    g_opener = opener;
}

} // namespace auxiliary
