#include "Genericunit.h"

#include "DialogLayout.h"
#include "Genericres.h"
#include "Prompts.h"
#include "core/HotKeyValue.h"

#include <commctrl.h>

namespace {

// The dialog's layout in client pixels.
constexpr TControlPlace kLayout[] = {
    {IDC_GENERIC_FILENAMELABEL, 12, 12, 60, 13},
    {IDC_GENERIC_FILENAME, 12, 28, 209, 21},
    {IDC_GENERIC_BROWSE, 228, 28, 25, 21},
    {IDC_GENERIC_SHORTCUTLABEL, 12, 64, 60, 13},
    {IDC_GENERIC_SHORTCUT, 12, 80, 241, 21},
    {IDC_GENERIC_BEVEL, 12, 112, 241, 2},
    {IDOK, 104, 128, 75, 25},
    {IDCANCEL, 180, 128, 75, 25},
};

} // namespace

TGenericForm::TGenericForm() : TDialog("TGenericForm", IDD_GENERIC) {}

bool TGenericForm::OnInit()
{
    PlaceControls(Handle(), kLayout);
    SetClientSize(Handle(), ClientWidth, ClientHeight);
    SetWindowTextA(Handle(), Caption.c_str());
    SetWindowTextA(Item(IDC_GENERIC_FILENAME), Filename.c_str());
    // A key without a modifier is invalid, with no modifier to put in its place.
    SendMessageA(Item(IDC_GENERIC_SHORTCUT), HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(0, 0));
    SendMessageA(Item(IDC_GENERIC_SHORTCUT), HKM_SETHOTKEY, cb::HotKeyValueFromShortCut(ShortCut), 0);
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
            const auto value =
                static_cast<std::uint16_t>(SendMessageA(Item(IDC_GENERIC_SHORTCUT), HKM_GETHOTKEY, 0, 0));
            if (cb::IsKeyWithoutModifier(value))
                SendMessageA(Item(IDC_GENERIC_SHORTCUT), HKM_SETHOTKEY, 0, 0);
        }
        return true;
    default:
        return TDialog::OnCommand(id, code); // OK and Cancel
    }
}

void TGenericForm::OnOK()
{
    Filename = ItemText(IDC_GENERIC_FILENAME);
    const auto value =
        static_cast<std::uint16_t>(SendMessageA(Item(IDC_GENERIC_SHORTCUT), HKM_GETHOTKEY, 0, 0));
    ShortCut = cb::ShortCutFromHotKeyValue(value);
    End(IDOK);
}

void TGenericForm::BrowseButtonClick()
{
    std::string name;
    if (Prompts().OpenFile(Handle(), name, WavFilter, nullptr, nullptr))
        SetWindowTextA(Item(IDC_GENERIC_FILENAME), name.c_str());
}
