#include "Optionsunit.h"

#include "Cubdfuncs.h"
#include "DialogLayout.h"
#include "Gdlocatorunit.h"
#include "Prompts.h"
#include "Tsettings.h"
#include "core/OptionsValues.h"
#include "core/SettingsValues.h"

#include <commctrl.h>

#include <exception>

namespace {

// Group box contents are placed relative to their box.
constexpr int kBox1X = 8, kBox1Y = 8;
constexpr int kBox2X = 8, kBox2Y = 216;
constexpr int kTickLeft[] = {16, 56, 96, 140, 184, 228, 268};

const TControlPlace kPlaces[] = {
    {IDC_OPT_GROUPBOX1, kBox1X, kBox1Y, 309, 201},
    {IDC_OPT_LABEL1, kBox1X + 12, kBox1Y + 20, 200, 13},
    {IDC_OPT_DIRECTORY, kBox1X + 12, kBox1Y + 36, 285, 21},
    {IDC_OPT_AUTOSEARCHBUTTON, kBox1X + 132, kBox1Y + 64, 83, 25},
    {IDC_OPT_BROWSEBUTTON, kBox1X + 216, kBox1Y + 64, 83, 25},
    {IDC_OPT_LABEL11, kBox1X + 12, kBox1Y + 100, 200, 13},
    {IDC_OPT_BARALIGN, kBox1X + 12, kBox1Y + 116, 285, 120}, // height: the dropped list
    {IDC_OPT_MINWHENACTIVATED, kBox1X + 12, kBox1Y + 144, 281, 17},
    {IDC_OPT_LOADLASTATSTART, kBox1X + 12, kBox1Y + 168, 281, 17},
    {IDC_OPT_GROUPBOX2, kBox2X, kBox2Y, 309, 161},
    {IDC_OPT_LABEL2, kBox2X + 16, kBox2Y + 24, 200, 13},
    // Four lines of Tahoma 8 pt: the text needs them at this width.
    {IDC_OPT_LABEL3, kBox2X + 16, kBox2Y + 40, 277, 52},
    {IDC_OPT_BUFFERSIZE, kBox2X + 16, kBox2Y + 92, 277, 36},
    {IDOK, 164, 388, 75, 25},
    {IDCANCEL, 240, 388, 75, 25},
};

const char* const kBarAlignItems[] = {"Top", "Bottom", "Hidden"};

} // namespace

TOptionsForm::TOptionsForm(PathFinder& finder) : TDialog("TOptionsForm", IDD_OPTIONS), m_Finder(finder)
{
    // The track bar's window class.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

void TOptionsForm::LoadFrom(const TSettings& settings)
{
    m_Values.InstallPath = settings.GetInstallPath();
    m_Values.MinWhenActivated = settings.GetMinWhenActivated();
    m_Values.LoadLastAtStart = settings.GetLoadLastAtStart();
    m_Values.BarAlign = settings.GetBarAlign();
    m_Values.BufferSize = settings.GetBufferSize();
}

void TOptionsForm::SaveTo(TSettings& settings) const
{
    settings.SetInstallPath(m_Values.InstallPath);
    settings.SetMinWhenActivated(m_Values.MinWhenActivated);
    settings.SetLoadLastAtStart(m_Values.LoadLastAtStart);
    settings.SetBarAlign(m_Values.BarAlign);
    settings.SetBufferSize(m_Values.BufferSize);
}

bool TOptionsForm::OnInit()
{
    SetClientSize(Handle(), ClientWidth, ClientHeight);
    PlaceControls(Handle(), kPlaces);
    for (int i = 0; i < 7; ++i)
        // Each label reaches to the next one; the last stays inside its box.
        PlaceControl(Item(IDC_OPT_TICKLABEL0 + i), kBox2X + kTickLeft[i], kBox2Y + 128,
                     i < 6 ? kTickLeft[i + 1] - kTickLeft[i] : 30, 13);

    SetWindowTextA(Item(IDC_OPT_DIRECTORY), m_Values.InstallPath.c_str());
    CheckDlgButton(Handle(), IDC_OPT_MINWHENACTIVATED,
                   m_Values.MinWhenActivated ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_OPT_LOADLASTATSTART, m_Values.LoadLastAtStart ? BST_CHECKED : BST_UNCHECKED);
    HWND barAlign = Item(IDC_OPT_BARALIGN);
    for (const char* item : kBarAlignItems)
        SendMessageA(barAlign, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(barAlign, CB_SETCURSEL, static_cast<WPARAM>(cb::BarAlignItem(m_Values.BarAlign)), 0);
    HWND bufferSize = Item(IDC_OPT_BUFFERSIZE);
    SendMessageA(bufferSize, TBM_SETRANGE, TRUE, MAKELPARAM(0, 6));
    SendMessageA(bufferSize, TBM_SETTICFREQ, 1, 0);
    SendMessageA(bufferSize, TBM_SETPAGESIZE, 0, 1);
    SendMessageA(bufferSize, TBM_SETPOS, TRUE, cb::BufferSizePosition(m_Values.BufferSize));
    return true;
}

bool TOptionsForm::OnCommand(int id, int code)
{
    if (id == IDC_OPT_BROWSEBUTTON && code == BN_CLICKED) {
        BrowseButtonClick();
        return true;
    }
    if (id == IDC_OPT_AUTOSEARCHBUTTON && code == BN_CLICKED) {
        AutoSearchButtonClick();
        return true;
    }
    return TDialog::OnCommand(id, code);
}

void TOptionsForm::OnOK()
{
    m_Values.InstallPath = ItemText(IDC_OPT_DIRECTORY);
    m_Values.MinWhenActivated = IsDlgButtonChecked(Handle(), IDC_OPT_MINWHENACTIVATED) == BST_CHECKED;
    m_Values.LoadLastAtStart = IsDlgButtonChecked(Handle(), IDC_OPT_LOADLASTATSTART) == BST_CHECKED;
    m_Values.BarAlign =
        cb::BarAlignOfItem(static_cast<int>(SendMessageA(Item(IDC_OPT_BARALIGN), CB_GETCURSEL, 0, 0)));
    m_Values.BufferSize =
        cb::BufferSizeAtPosition(static_cast<int>(SendMessageA(Item(IDC_OPT_BUFFERSIZE), TBM_GETPOS, 0, 0)));
    End(IDOK);
}

void TOptionsForm::BrowseButtonClick()
{
    std::string folder;
    if (!Prompts().BrowseFolder(Handle(), folder, BrowsePrompt))
        return;
    SetWindowTextA(Item(IDC_OPT_DIRECTORY), cb::WithTrailingBackslash(folder).c_str());
}

void TOptionsForm::AutoSearchButtonClick()
{
    try {
        TGDLocatorForm locator(m_Finder);
        if (locator.ShowModal(Handle()) != IDOK)
            return;
        if (!locator.SelectedDirectory()) {
            // OK with no directory selected (possible after a second search):
            // the directory stays as it was.
            WriteLog("Unhandled exception in TMainForm::AutoSearchButtonClick()");
            return;
        }
        SetWindowTextA(Item(IDC_OPT_DIRECTORY), locator.SelectedDirectory()->c_str());
    } catch (...) {
        WriteLog("Unhandled exception in TMainForm::AutoSearchButtonClick()");
    }
}

bool RunOptionsWindow(HWND owner, TSettings& settings, PathFinder& finder)
{
    bool changed = false;
    try {
        TOptionsForm form(finder);
        form.LoadFrom(settings);
        if (form.ShowModal(owner) == IDOK) {
            form.SaveTo(settings);
            changed = true;
            settings.Save();
        }
    } catch (...) {
        WriteLog("Unhandled exception in TMainForm::OptionsMenuClick()");
    }
    return changed;
}
