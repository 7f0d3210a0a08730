#include "Gdlocatorunit.h"

#include "DialogLayout.h"
#include "Mainres.h"
#include "Tpathfinder.h"

#include <vector>

namespace {

// Places in pixels, from the top of the client area.
const TControlPlace kPlaces[] = {
    {IDC_LOC_IMAGE, 8, 8, 32, 32},
    {IDC_LOC_DESCLABEL, 52, 8, 337, 65}, // five lines of Tahoma 8 pt
    {IDC_LOC_RESULTSLABEL, 52, 74, 120, 13},
    {IDC_LOC_SEARCHINGLABEL, 52, 74, 120, 13},
    {IDC_LOC_CURDIRLABEL, 52, 90, 337, 13},
    {IDC_LOC_RESULTS, 52, 90, 337, 73},
    {IDOK, 152, 168, 75, 27},
    {IDCANCEL, 228, 168, 75, 27},
    {IDC_LOC_SEARCHBUTTON, 308, 168, 75, 27},
};

} // namespace

TGDLocatorForm::TGDLocatorForm(PathFinder& finder)
    : TDialog("TGDLocatorForm", IDD_GDLOCATOR), m_Finder(finder)
{}

bool TGDLocatorForm::OnInit()
{
    SetClientSize(Handle(), ClientWidth, ClientHeight);
    PlaceControls(Handle(), kPlaces);
    // The program's icon; the system's when the program carries none.
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CUEBINDER));
    if (!icon)
        icon = LoadIconA(nullptr, IDI_APPLICATION);
    SendMessageA(Item(IDC_LOC_IMAGE), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    // The Search button is first in the tab order and has the focus.
    SetFocus(Item(IDC_LOC_SEARCHBUTTON));
    return false;
}

bool TGDLocatorForm::OnCommand(int id, int code)
{
    if (id == IDC_LOC_SEARCHBUTTON && code == BN_CLICKED) {
        SearchButtonClick();
        return true;
    }
    if (id == IDC_LOC_RESULTS && code == LBN_SELCHANGE) {
        ResultsClick();
        return true;
    }
    return TDialog::OnCommand(id, code);
}

void TGDLocatorForm::ShowControl(int id, bool visible)
{
    ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
}

bool TGDLocatorForm::Searching() const
{
    return m_Finder.Searching();
}

void TGDLocatorForm::SearchButtonClick()
{
    if (m_Finder.Searching())
        return;
    HWND dialog = Handle();
    SendMessageA(Item(IDC_LOC_RESULTS), LB_RESETCONTENT, 0, 0);
    ShowControl(IDC_LOC_RESULTS, false);
    ShowControl(IDC_LOC_RESULTSLABEL, false);
    m_Finder.SetStatusLabel(Item(IDC_LOC_CURDIRLABEL));
    ShowControl(IDC_LOC_SEARCHINGLABEL, true);
    ShowControl(IDC_LOC_CURDIRLABEL, true);
    // The focus leaves the button before it is disabled, so the keyboard
    // (Escape, Enter) still reaches the window during the search.
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    EnableWindow(Item(IDC_LOC_SEARCHBUTTON), FALSE);

    m_Finder.Find(); // the finder's own flag refuses a second search meanwhile
    // A modeless window closed during the search is gone by now.
    if (!Handle())
        return;

    EnableWindow(Item(IDC_LOC_SEARCHBUTTON), TRUE);
    HWND results = Item(IDC_LOC_RESULTS);
    if (const std::vector<std::string>* found = m_Finder.ResultList())
        for (const std::string& dir : *found)
            SendMessageA(results, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dir.c_str()));
    ShowControl(IDC_LOC_SEARCHINGLABEL, false);
    ShowControl(IDC_LOC_CURDIRLABEL, false);
    ShowControl(IDC_LOC_RESULTS, true);
    ShowControl(IDC_LOC_RESULTSLABEL, true);
    // The focus went to Cancel for the search, which made Cancel the button
    // Enter presses; OK is that button again, and the focus goes back where
    // the user carries on: the list when it holds something, otherwise Search.
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    const bool anything = SendMessageA(results, LB_GETCOUNT, 0, 0) > 0;
    SendMessageA(dialog, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(anything ? results : Item(IDC_LOC_SEARCHBUTTON)), TRUE);
}

void TGDLocatorForm::ResultsClick()
{
    bool selected = SendMessageA(Item(IDC_LOC_RESULTS), LB_GETCURSEL, 0, 0) != LB_ERR;
    EnableWindow(Item(IDOK), selected ? TRUE : FALSE);
}

void TGDLocatorForm::FormCloseQuery()
{
    m_Finder.Stop();
    if (m_Finder.StatusLabel() == Item(IDC_LOC_CURDIRLABEL))
        m_Finder.SetStatusLabel(nullptr);
}

void TGDLocatorForm::OnOK()
{
    if (!IsWindowEnabled(Item(IDOK)))
        return;
    m_Selected.reset();
    HWND results = Item(IDC_LOC_RESULTS);
    LRESULT index = SendMessageA(results, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) {
        LRESULT length = SendMessageA(results, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length != LB_ERR) {
            std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
            SendMessageA(results, LB_GETTEXT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(text.data()));
            m_Selected = text.data();
        }
    }
    FormCloseQuery();
    End(IDOK);
}

void TGDLocatorForm::OnCancel()
{
    m_Selected.reset();
    FormCloseQuery();
    End(IDCANCEL);
}
