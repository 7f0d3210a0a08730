#include "Genericunit.h"

#include "Genericres.h"
#include "Prompts.h"
#include "core/HotKeyValue.h"

#include <commctrl.h>

#include <exception>
#include <vector>

namespace {

struct TPlace
{
    int id;
    int left, top, width, height;
};

// The dialog's layout in client pixels.
constexpr TPlace kLayout[] = {
    {IDC_GENERIC_FILENAMELABEL, 12, 12, 60, 13},
    {IDC_GENERIC_FILENAME, 12, 28, 209, 21},
    {IDC_GENERIC_BROWSE, 228, 28, 25, 21},
    {IDC_GENERIC_SHORTCUTLABEL, 12, 64, 60, 13},
    {IDC_GENERIC_SHORTCUT, 12, 80, 241, 21},
    {IDC_GENERIC_BEVEL, 12, 112, 241, 2},
    {IDOK, 104, 128, 75, 25},
    {IDCANCEL, 180, 128, 75, 25},
};

// Sizes `dialog` to a client area of width by height and centres it over `owner`
// (over the screen's work area when there is none).
void CentreOver(HWND dialog, HWND owner, int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    RECT around;
    if (!owner || !GetWindowRect(owner, &around))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    SetWindowPos(dialog, nullptr, around.left + (around.right - around.left - w) / 2,
                 around.top + (around.bottom - around.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ControlText(HWND control)
{
    const int n = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(control, text.data(), n + 1);
    return text.data();
}

} // namespace

TGenericForm::TGenericForm(HWND owner) : m_Owner(owner) {}

TGenericForm::~TGenericForm() = default;

int TGenericForm::ShowModal()
{
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GENERIC), m_Owner,
                                &TGenericForm::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return r == IDOK ? IDOK : IDCANCEL;
}

INT_PTR CALLBACK TGenericForm::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
        reinterpret_cast<TGenericForm*>(lp)->m_hWnd = hwnd;
    }
    auto* self = reinterpret_cast<TGenericForm*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        switch (msg) {
        case WM_INITDIALOG:
            return self->OnInit();
        case WM_COMMAND:
            return self->OnCommand(LOWORD(wp), HIWORD(wp));
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            return FALSE;
        default:
            return FALSE;
        }
    } catch (const std::exception&) {
        return FALSE;
    }
}

bool TGenericForm::OnInit()
{
    for (const TPlace& p : kLayout)
        MoveWindow(GetDlgItem(m_hWnd, p.id), p.left, p.top, p.width, p.height, FALSE);
    CentreOver(m_hWnd, m_Owner, ClientWidth, ClientHeight);
    SetWindowTextA(m_hWnd, Caption.c_str());
    SetDlgItemTextA(m_hWnd, IDC_GENERIC_FILENAME, Filename.c_str());
    HWND shortcut = GetDlgItem(m_hWnd, IDC_GENERIC_SHORTCUT);
    // A key without a modifier is invalid, with no modifier to put in its place.
    SendMessageA(shortcut, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(0, 0));
    SendMessageA(shortcut, HKM_SETHOTKEY, cb::HotKeyValueFromShortCut(ShortCut), 0);
    return true; // the focus goes to the first control, Filename
}

bool TGenericForm::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_GENERIC_BROWSE:
        if (code == BN_CLICKED)
            BrowseButtonClick();
        return true;
    case IDC_GENERIC_SHORTCUT:
        // The control substitutes nothing for an invalid combination and would
        // keep the bare key: refuse it here, so the control shows no shortcut.
        if (code == EN_CHANGE) {
            HWND control = GetDlgItem(m_hWnd, IDC_GENERIC_SHORTCUT);
            const auto value = static_cast<std::uint16_t>(SendMessageA(control, HKM_GETHOTKEY, 0, 0));
            if (cb::IsKeyWithoutModifier(value))
                SendMessageA(control, HKM_SETHOTKEY, 0, 0);
        }
        return true;
    case IDOK:
        ReadControls();
        CloseWith(IDOK);
        return true;
    case IDCANCEL:
        CloseWith(IDCANCEL);
        return true;
    default:
        return false;
    }
}

void TGenericForm::BrowseButtonClick()
{
    std::string name;
    if (Prompts().OpenFile(m_hWnd, name, WavFilter, nullptr, nullptr))
        SetDlgItemTextA(m_hWnd, IDC_GENERIC_FILENAME, name.c_str());
}

void TGenericForm::ReadControls()
{
    Filename = ControlText(GetDlgItem(m_hWnd, IDC_GENERIC_FILENAME));
    const auto value =
        static_cast<std::uint16_t>(SendDlgItemMessageA(m_hWnd, IDC_GENERIC_SHORTCUT, HKM_GETHOTKEY, 0, 0));
    ShortCut = cb::ShortCutFromHotKeyValue(value);
}

void TGenericForm::CloseWith(int result)
{
    EndDialog(m_hWnd, result);
}
