#include "Scriptunit.h"

#include "DialogLayout.h"
#include "FileSteps.h"
#include "Prompts.h"
#include "Tsettings.h"

#include <cstring>
#include <vector>

namespace {

const char* const kFailedText = "The Script Setup feature failed.";
const char* const kNoDirectoryText = "This feature only works when there is a game directory set. Please set "
                                     "your game directory and try again.";
const char* const kSuccessText = "The script has been setup! You may now hold down INSERT to play a .WAV or "
                                 "press DELETE to toggle a .WAV on "
                                 "and off.";

// The window needs no resource of its own: its template is built in memory and
// the controls are placed in pixels when it opens.
TDialogTemplate ScriptFormTemplate()
{
    TDialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Script Setup", 8, "Tahoma");
    const auto& captions = cb::ModChoiceCaptions();
    t.Item(TDialogTemplate::Static, TScriptForm::IdPromptLabel, SS_LEFT | SS_NOPREFIX,
           "Please select the mod you use:");
    for (int i = 0; i < 6; ++i) {
        DWORD style = BS_AUTORADIOBUTTON | WS_TABSTOP;
        if (i == 0)
            style |= WS_GROUP;
        t.Item(TDialogTemplate::Button, TScriptForm::IdMainline + i, style,
               captions[static_cast<std::size_t>(i)].c_str());
    }
    t.Item(TDialogTemplate::Static, TScriptForm::IdOtherLabel, SS_LEFT | SS_NOPREFIX | WS_GROUP,
           "If you chose other, enter the mod directory in the box:");
    t.Item(TDialogTemplate::Edit, TScriptForm::IdOtherEdit,
           ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, "");
    t.Item(TDialogTemplate::Button, TScriptForm::IdCancelButton, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
           "&Cancel");
    t.Item(TDialogTemplate::Button, TScriptForm::IdSetupButton, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
           "Setup");
    return t;
}

bool AppendPieces(const std::string& fileName, const std::vector<std::string>& pieces)
{
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok =
        SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
    for (const auto& piece : pieces)
        ok = ok && WriteAll(file, piece.data(), piece.size());
    if (!CloseHandle(file))
        ok = false;
    return ok;
}

} // namespace

TScriptForm::TScriptForm() : TDialog("TScriptForm", ScriptFormTemplate()) {}

bool TScriptForm::OnInit()
{
    // A client area of 170 by 245 pixels (the base centres it over the owner).
    SetClientSize(Handle(), ClientWidth, ClientHeight);
    static const TControlPlace places[] = {
        {IdPromptLabel, 6, 6, 158, 28},  {IdMainline, 14, 34, 150, 17},     {IdSkarrow, 14, 52, 150, 17},
        {IdHarrowkeep, 14, 70, 150, 17}, {IdIronmarch, 14, 88, 150, 17},    {IdRebound, 14, 106, 150, 17},
        {IdOther, 14, 124, 150, 17},     {IdOtherLabel, 6, 144, 158, 42},   {IdOtherEdit, 6, 186, 158, 21},
        {IdSetupButton, 6, 213, 77, 25}, {IdCancelButton, 87, 213, 77, 25},
    };
    PlaceControls(Handle(), places);
    CheckRadioButton(Handle(), IdMainline, IdOther, IdMainline);
    return true; // the focus goes to the first tab stop
}

void TScriptForm::OnOK()
{
    // The buttons are tested in order and the first checked one counts; when
    // none of the named mods is checked, "Other" counts.
    m_Choice = cb::ModChoice::Other;
    for (int i = 0; i < 5; ++i)
        if (IsDlgButtonChecked(Handle(), IdMainline + i) == BST_CHECKED) {
            m_Choice = static_cast<cb::ModChoice>(i);
            break;
        }
    m_OtherText = ItemText(IdOtherEdit);
    End(IDOK);
}

TScriptSetupResult InstallScript(HWND owner, const std::string& folder)
{
    if (!AppendPieces(folder + "autoexec.cfg", cb::AutoexecScriptPieces()) ||
        !AppendPieces(folder + "config.cfg", cb::ConfigBindingPieces())) {
        Prompts().Message(owner, kFailedText, "Failure", MB_OK | MB_ICONERROR);
        return TScriptSetupResult::Failed;
    }
    Prompts().Message(owner, kSuccessText, "Success", MB_OK | MB_ICONINFORMATION);
    return TScriptSetupResult::Done;
}

TScriptSetupResult RunScriptSetup(HWND owner, const TSettings& settings)
{
    std::string gameDirectory = settings.GetInstallPath();
    if (gameDirectory.empty() || gameDirectory == "\\") {
        Prompts().Message(owner, kNoDirectoryText, "Error", MB_OK | MB_ICONERROR);
        return TScriptSetupResult::NoGameDirectory;
    }
    std::string folder;
    {
        TScriptForm form;
        if (form.ShowModal(owner) != IDOK)
            return TScriptSetupResult::Cancelled;
        folder = gameDirectory + form.ModFolder();
    }
    return InstallScript(owner, folder);
}
