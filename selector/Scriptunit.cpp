#include "Scriptunit.h"

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

// Builds a dialog template in memory: the window needs no resource of its own.
class TemplateBuilder
{
public:
    TemplateBuilder(DWORD style, const char* title, WORD pointSize, const char* font)
    {
        DLGTEMPLATE head{};
        head.style = style;
        head.cx = 100;
        head.cy = 100;
        Append(&head, sizeof head);
        Word(0); // no menu
        Word(0); // the standard dialog class
        Text(title);
        Word(pointSize);
        Text(font);
    }

    // `classAtom`: 0x80 button, 0x81 edit, 0x82 static.
    void Item(WORD classAtom, int id, DWORD style, const char* text)
    {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.cx = 10;
        item.cy = 10;
        item.id = static_cast<WORD>(id);
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0); // no creation data
        ++m_Count;
        reinterpret_cast<DLGTEMPLATE*>(m_Data.data())->cdit = m_Count;
    }

    const DLGTEMPLATE* Get()
    {
        // DWORD-aligned storage for the dialog manager.
        m_Aligned.assign((m_Data.size() + 3) / 4, 0);
        std::memcpy(m_Aligned.data(), m_Data.data(), m_Data.size());
        return reinterpret_cast<const DLGTEMPLATE*>(m_Aligned.data());
    }

private:
    void Append(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const unsigned char*>(p);
        m_Data.insert(m_Data.end(), b, b + n);
    }
    void Word(WORD w) { Append(&w, sizeof w); }
    void Text(const char* s)
    {
        int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
        std::vector<wchar_t> wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
        if (n > 0)
            MultiByteToWideChar(CP_ACP, 0, s, -1, wide.data(), n);
        Append(wide.data(), wide.size() * sizeof(wchar_t));
    }
    void Align()
    {
        while (m_Data.size() % 4)
            m_Data.push_back(0);
    }

    std::vector<unsigned char> m_Data;
    std::vector<DWORD> m_Aligned;
    WORD m_Count = 0;
};

void BuildTemplate(TemplateBuilder& t)
{
    const auto& captions = cb::ModChoiceCaptions();
    t.Item(0x82, TScriptForm::IdPromptLabel, SS_LEFT | SS_NOPREFIX, "Please select the mod you use:");
    for (int i = 0; i < 6; ++i) {
        DWORD style = BS_AUTORADIOBUTTON | WS_TABSTOP;
        if (i == 0)
            style |= WS_GROUP;
        t.Item(0x80, TScriptForm::IdMainline + i, style, captions[static_cast<std::size_t>(i)].c_str());
    }
    t.Item(0x82, TScriptForm::IdOtherLabel, SS_LEFT | SS_NOPREFIX | WS_GROUP,
           "If you chose other, enter the mod directory in the box:");
    t.Item(0x81, TScriptForm::IdOtherEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, "");
    t.Item(0x80, TScriptForm::IdCancelButton, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, "&Cancel");
    t.Item(0x80, TScriptForm::IdSetupButton, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "Setup");
}

const DWORD kFormStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

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

TScriptForm::TScriptForm(HWND owner) : m_Owner(owner) {}

TScriptForm::~TScriptForm()
{
    if (m_hWnd && !m_Modal) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        DestroyWindow(m_hWnd);
    }
}

int TScriptForm::ShowModal()
{
    TemplateBuilder t(kFormStyle, "Script Setup", 8, "Tahoma");
    BuildTemplate(t);
    m_Modal = true;
    m_ModalResult = 0;
    INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), m_Owner, &TScriptForm::DialogProc,
                                        reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    m_ModalResult = (r == IDOK) ? IDOK : IDCANCEL;
    return m_ModalResult;
}

bool TScriptForm::ShowModeless()
{
    TemplateBuilder t(kFormStyle, "Script Setup", 8, "Tahoma");
    BuildTemplate(t);
    m_Modal = false;
    m_ModalResult = 0;
    HWND hwnd = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(), m_Owner,
                                           &TScriptForm::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return false;
    ShowWindow(hwnd, SW_SHOW);
    return true;
}

INT_PTR CALLBACK TScriptForm::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        auto* form = reinterpret_cast<TScriptForm*>(lp);
        form->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    }
    auto* self = reinterpret_cast<TScriptForm*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        return FALSE;
    }
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (...) {
        return FALSE;
    }
}

void TScriptForm::FormCreate()
{
    // Client area of 170 by 245 pixels, centred over the main window.
    RECT frame = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT around;
    if (!m_Owner || !GetWindowRect(m_Owner, &around))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    int left = around.left + ((around.right - around.left) - width) / 2;
    int top = around.top + ((around.bottom - around.top) - height) / 2;
    SetWindowPos(m_hWnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    struct Place
    {
        int id, x, y, w, h;
    };
    static const Place places[] = {
        {IdPromptLabel, 6, 6, 158, 28},  {IdMainline, 14, 34, 150, 17},     {IdSkarrow, 14, 52, 150, 17},
        {IdHarrowkeep, 14, 70, 150, 17}, {IdIronmarch, 14, 88, 150, 17},    {IdRebound, 14, 106, 150, 17},
        {IdOther, 14, 124, 150, 17},     {IdOtherLabel, 6, 144, 158, 42},   {IdOtherEdit, 6, 186, 158, 21},
        {IdSetupButton, 6, 213, 77, 25}, {IdCancelButton, 87, 213, 77, 25},
    };
    for (const Place& p : places)
        MoveWindow(GetDlgItem(m_hWnd, p.id), p.x, p.y, p.w, p.h, FALSE);
    CheckRadioButton(m_hWnd, IdMainline, IdOther, IdMainline);
}

void TScriptForm::CloseWith(int result)
{
    if (result == IDOK) {
        // The buttons are tested in order and the first checked one counts;
        // when none of the named mods is checked, "Other" counts.
        m_Choice = cb::ModChoice::Other;
        for (int i = 0; i < 5; ++i)
            if (IsDlgButtonChecked(m_hWnd, IdMainline + i) == BST_CHECKED) {
                m_Choice = static_cast<cb::ModChoice>(i);
                break;
            }
        HWND edit = GetDlgItem(m_hWnd, IdOtherEdit);
        int n = GetWindowTextLengthA(edit);
        std::vector<char> text(static_cast<std::size_t>(n) + 1, '\0');
        GetWindowTextA(edit, text.data(), n + 1);
        m_OtherText = text.data();
    }
    m_ModalResult = result;
    if (m_Modal)
        EndDialog(m_hWnd, result);
    else
        DestroyWindow(m_hWnd);
}

INT_PTR TScriptForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        FormCreate();
        return TRUE; // the focus goes to the first tab stop
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            CloseWith(LOWORD(wp));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        CloseWith(IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return FALSE;
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
        TScriptForm form(owner);
        if (form.ShowModal() != IDOK)
            return TScriptSetupResult::Cancelled;
        folder = gameDirectory + form.ModFolder();
    }
    return InstallScript(owner, folder);
}
