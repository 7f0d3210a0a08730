// TagSetter: changes no audio. Its panel keeps an ordered list of tag
// assignments (element name and value) in the settings store, where the
// host finds them.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "panel.h"
#include "plugin.h"
#include "settings_store.h"
#include "tag_list.h"
#include "panel_ids.h"

namespace {

char g_chosenElement[MAX_PATH] = {};

std::string ReadStored(const std::string& name, size_t bufferSize)
{
    std::vector<char> buffer(bufferSize, '\0');
    dsp::settings::ReadText(name.c_str(), buffer.data(), static_cast<uint32_t>(bufferSize));
    return buffer.data();
}

void WriteStored(const std::string& name, const std::string& text)
{
    dsp::settings::WriteText(name.c_str(), text.c_str());
}

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_TAG_LIST);
}

std::string ItemText(HWND list, int row, int column, size_t bufferSize)
{
    std::vector<char> buffer(bufferSize, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(bufferSize);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer.data();
}

void SetItemText(HWND list, int row, int column, const char* text)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void InsertRow(HWND list, int row, const std::string& value, const std::string& element)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(value.c_str());
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetItemText(list, at, 1, element.c_str());
}

// The rows as they stand, top row first, written as the numbered list.
void SaveTagList(HWND dialog)
{
    HWND list = List(dialog);
    tagset::AssignmentList rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back(
            {ItemText(list, row, 1, tagset::kElementBuffer), ItemText(list, row, 0, tagset::kValueBuffer)});
    tagset::SaveAssignments(rows, WriteStored);
}

void InsertColumn(HWND list, int index, const char* title, int width, int format)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

// The list view is made here rather than in the template: report view, one selection, labels
// editable in place, at 2, 2, 221 x 55 dialog units.
HWND CreateList(HWND dialog)
{
    RECT place{2, 2, 2 + 221, 2 + 55};
    MapDialogRect(dialog, &place);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                    LVS_EDITLABELS | LVS_SHOWSELALWAYS,
                                place.left, place.top, place.right - place.left, place.bottom - place.top,
                                dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TAG_LIST)),
                                plugin::g_instance, nullptr);
    SendMessageA(list, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return list;
}

void FillPanel(HWND dialog)
{
    dsp::FillingGuard filling;
    HWND list = CreateList(dialog);
    InsertColumn(list, 0, "Value", 240, LVCFMT_LEFT);
    InsertColumn(list, 1, "Tag Element", 75, LVCFMT_RIGHT);
    const tagset::AssignmentList rows = tagset::LoadAssignments(ReadStored);
    for (size_t n = 0; n < rows.size(); ++n)
        InsertRow(list, static_cast<int>(n), rows[n].value, rows[n].element);
}

void KeepChosenElement(HWND chooser)
{
    GetDlgItemTextA(chooser, IDC_ELEMENT_COMBO, g_chosenElement, sizeof g_chosenElement);
}

INT_PTR CALLBACK ChooserProc(HWND chooser, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(chooser, IDC_ELEMENT_COMBO, tagset::kDefaultElement);
        for (const char* element : tagset::kElementChoices)
            SendDlgItemMessageA(chooser, IDC_ELEMENT_COMBO, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(element));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            KeepChosenElement(chooser);
            EndDialog(chooser, IDOK);
            return 1;
        }
        return LOWORD(wParam) == IDCANCEL ? 1 : 0; // Escape does nothing
    case WM_CLOSE:
        // Closing from the title bar adds what the chooser shows, like OK.
        KeepChosenElement(chooser);
        EndDialog(chooser, IDOK);
        return 1;
    default:
        return 0;
    }
}

void AddElement(HWND dialog)
{
    g_chosenElement[0] = '\0';
    DialogBoxParamA(plugin::g_instance, MAKEINTRESOURCEA(IDD_ELEMENT_CHOOSER), dialog, ChooserProc, 0);
    if (g_chosenElement[0] == '\0')
        return;
    HWND list = List(dialog);
    InsertRow(list, 0, tagset::kPlaceholderValue, g_chosenElement);
    SaveTagList(dialog);
    SetFocus(list);
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
    SendMessageA(list, LVM_EDITLABELA, 0, 0); // the user types the value over the placeholder
}

INT_PTR OnNotify(HWND dialog, const NMHDR* header)
{
    if (header->idFrom != IDC_TAG_LIST)
        return 0;
    HWND list = List(dialog);
    switch (header->code) {
    case LVN_KEYDOWN: {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
        if (key->wVKey == VK_F2) {
            const auto mark = SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0);
            if (mark != -1)
                SendMessageA(list, LVM_EDITLABELA, mark, 0);
        }
        return 0;
    }
    case LVN_ENDLABELEDITA: {
        const auto* info = reinterpret_cast<const NMLVDISPINFOA*>(header);
        if (!tagset::EditAccepted(info->item.iItem, info->item.pszText))
            return 0;
        SetItemText(list, info->item.iItem, 0, info->item.pszText);
        if (!plugin::g_filling)
            SaveTagList(dialog);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return 1;
    }
    case LVN_ITEMCHANGED:
        if (!plugin::g_filling)
            SaveTagList(dialog);
        return 0;
    default:
        return 0;
    }
}

} // namespace

namespace plugin {

void LoadSettings() {} // the list is read by the panel itself

// No audio changes: the host applies the stored list to the file's tags.
int WorkOnFile(const char*, WAVEFORMATEX*)
{
    return 1;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        FillPanel(dialog);
        return 0;
    case WM_NOTIFY:
        return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TAG_ADD:
            AddElement(dialog);
            return 1;
        case IDC_TAG_REMOVE: {
            HWND list = List(dialog);
            const auto mark = SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0);
            if (mark != -1)
                SendMessageA(list, LVM_DELETEITEM, mark, 0);
            SaveTagList(dialog);
            return 1;
        }
        case IDC_TAG_CLEAR:
            SendMessageA(List(dialog), LVM_DELETEALLITEMS, 0, 0);
            SaveTagList(dialog);
            return 1;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

} // namespace plugin
