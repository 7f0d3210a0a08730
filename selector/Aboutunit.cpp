#include "Aboutunit.h"

#include "Aboutres.h"
#include "DialogLayout.h"
#include "Mainres.h"
#include "Shellopen.h"
#include "cb_version.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Where the names cycle stands, for the whole run: a second opening of the
// window carries on from here.
int g_nameIndex = 0;

// The credits, in no order (the window sorts them), and the line that closes
// the cycle.
const char* const kContributors[] = {
    "Tobin Ashgrove",
    "mira_quell",
    "Ysolde Brack",
    "Kasimir Fenn",
    "Orla Thistlewood",
    "Pell Arrowby",
    "Dace Marrin",
    "Juno Halloway",
    "Rurik Stavely",
    "Wren Ostergaard",
    "Idris Penhallow",
    "Greer Vantongeren",
    "Lorcan Fitch",
    "Saffi Dunleavy",
    "Bram Kettleby",
    "Nell Corrigan",
    "Quill",
    "Hestia Marbeck",
    "zed_the_loud",
    "Emrys Thornquist",
};
const char* const kClosingLine = "...and you, for listening. Thanks for playing!";

struct TLabel
{
    int id;
    int left, top, width, height; // width 0: as wide as its text
    const char* text;
};

// The window's layout in client pixels, with the texts of its labels.
const TLabel kLayout[] = {
    {IDC_ABOUT_LOGOIMAGE, 0, 0, TAboutForm::BannerWidth, TAboutForm::BannerHeight, nullptr},
    {IDC_ABOUT_LOGOICON, 12, 52, 32, 32, nullptr},
    {IDC_ABOUT_LABEL1, 56, 52, 0, 13, "Cuebinder " CB_VERSION_SHORT},
    {IDC_ABOUT_LABEL3, 56, 68, 0, 13, "Written by Tobin Ashgrove and friends."},
    {IDC_ABOUT_SITELABEL, 56, 84, 0, 13, TAboutForm::SiteAddress},
    {IDC_ABOUT_LABEL4, 56, 108, 277, 52,
     "Cuebinder is a program that allows Veltrane players to play multiple wave files over the Veltrane "
     "voice communication system."},
    {IDC_ABOUT_BEVEL, 56, 156, 275, 2, nullptr},
    {IDOK, 156, 172, 75, 25, nullptr},
    {IDC_ABOUT_SECRETBEVEL, 56, 212, 275, 2, nullptr},
    {IDC_ABOUT_LABEL2, 116, 224, 0, 13, "The following people own you:"},
    {IDC_ABOUT_NAMELABEL, 56, 240, 277, 13, "..."},
    {IDC_ABOUT_LABEL5, 104, 260, 0, 13, "Tune in to our friends at Driftwave Radio:"},
    {IDC_ABOUT_URLLABEL, 116, 276, 157, 13, TAboutForm::PartnerAddress},
};

const char* const kSiteHint = "Click here to visit the CUBD website!";
const char* const kCreditsHint = "Testers, sound makers and patient team mates.";

int TextWidth(HWND control, const char* text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

} // namespace

TAboutForm::TAboutForm() : TDialog("TAboutForm", IDD_ABOUT) {}

TAboutForm::~TAboutForm()
{
    if (m_hLinkFont)
        DeleteObject(m_hLinkFont);
    if (m_hBanner)
        DeleteObject(m_hBanner);
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

int TAboutForm::NameIndex()
{
    return g_nameIndex;
}

INT_PTR TAboutForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:
        if (wp == ResizeTimerId)
            ResizeTimerTimer();
        else if (wp == NamesTimerId)
            NamesTimerTimer();
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        if (id != IDC_ABOUT_SITELABEL && id != IDC_ABOUT_URLLABEL)
            return FALSE;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wp));
        if (id != IDC_ABOUT_SITELABEL && id != IDC_ABOUT_URLLABEL)
            return FALSE;
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

bool TAboutForm::OnInit()
{
    for (const TLabel& l : kLayout) {
        HWND control = Item(l.id);
        if (l.text)
            SetWindowTextA(control, l.text);
        // A label as wide as its text measures it in the font of the screen's DPI.
        const int width = l.width ? Scaled(l.width) : TextWidth(control, l.text) + 1;
        MoveWindow(control, Scaled(l.left), Scaled(l.top), width, Scaled(l.height), FALSE);
    }
    SetClientSize(Handle(), ClientWidth, ClientHeight);

    // The banner and the icon at the size of their places.
    const HINSTANCE program = GetModuleHandleA(nullptr);
    m_hBanner = static_cast<HBITMAP>(LoadImageA(program, MAKEINTRESOURCEA(IDB_ABOUTBANNER), IMAGE_BITMAP,
                                                Scaled(BannerWidth), Scaled(BannerHeight), 0));
    if (m_hBanner) {
        const auto old = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(
            Handle(), IDC_ABOUT_LOGOIMAGE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hBanner)));
        if (old && old != m_hBanner)
            DeleteObject(old);
    }
    m_hIcon = static_cast<HICON>(
        LoadImageA(program, MAKEINTRESOURCEA(IDI_CUEBINDER), IMAGE_ICON, Scaled(32), Scaled(32), 0));
    SendDlgItemMessageA(Handle(), IDC_ABOUT_LOGOICON, STM_SETICON, reinterpret_cast<WPARAM>(m_hIcon), 0);

    // The site's address is underlined like a link; the partner's is only blue.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfUnderline = TRUE;
    m_hLinkFont = CreateFontIndirectA(&font);
    SendDlgItemMessageA(Handle(), IDC_ABOUT_SITELABEL, WM_SETFONT, reinterpret_cast<WPARAM>(m_hLinkFont),
                        FALSE);

    m_hTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    for (auto [id, hint] :
         {std::pair{IDC_ABOUT_SITELABEL, kSiteHint}, std::pair{IDC_ABOUT_LABEL2, kCreditsHint}}) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
        tool.lpszText = const_cast<char*>(hint);
        SendMessageA(m_hTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }

    FormCreate();
    SetFocus(Item(IDOK));
    return false; // the focus is set
}

bool TAboutForm::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_ABOUT_LOGOICON:
        if (code == STN_DBLCLK)
            LogoIconDblClick();
        return true;
    case IDC_ABOUT_SITELABEL:
        if (code == STN_CLICKED)
            CUBDSiteLabelClick();
        return true;
    case IDC_ABOUT_URLLABEL:
        if (code == STN_CLICKED)
            URLLabelClick();
        return true;
    default:
        return TDialog::OnCommand(id, code); // OK, Escape and the close box
    }
}

void TAboutForm::FormCreate()
{
    m_Names.assign(std::begin(kContributors), std::end(kContributors));
    std::sort(m_Names.begin(), m_Names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    m_Names.push_back(kClosingLine);
}

void TAboutForm::FormClose()
{
    EnableTimer(NamesTimerId, NamesTimerInterval, m_NamesTimer, false);
    EnableTimer(ResizeTimerId, ResizeTimerInterval, m_ResizeTimer, false);
    m_Names.clear();
}

void TAboutForm::LogoIconDblClick()
{
    EnableTimer(ResizeTimerId, ResizeTimerInterval, m_ResizeTimer, true);
    ShowWindow(Item(IDC_ABOUT_NAMELABEL), SW_SHOW);
    ShowWindow(Item(IDC_ABOUT_URLLABEL), SW_SHOW);
}

void TAboutForm::ResizeTimerTimer()
{
    RECT r;
    GetWindowRect(Handle(), &r);
    const int height = r.bottom - r.top;
    if (height < Scaled(GrownHeight)) {
        SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, height + 1,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        EnableTimer(NamesTimerId, NamesTimerInterval, m_NamesTimer, true);
        EnableTimer(ResizeTimerId, ResizeTimerInterval, m_ResizeTimer, false);
    }
}

void TAboutForm::NamesTimerTimer()
{
    if (m_Names.empty())
        return;
    if (g_nameIndex < 0 || g_nameIndex >= static_cast<int>(m_Names.size()))
        g_nameIndex = 0;
    SetDlgItemTextA(Handle(), IDC_ABOUT_NAMELABEL, m_Names[static_cast<std::size_t>(g_nameIndex)].c_str());
    if (++g_nameIndex == static_cast<int>(m_Names.size()))
        g_nameIndex = 0;
}

void TAboutForm::CUBDSiteLabelClick()
{
    ShellOpen({Handle(), "open", SiteAddress, "", "c:\\", SW_SHOWMAXIMIZED});
}

void TAboutForm::URLLabelClick()
{
    ShellOpen({Handle(), "open", PartnerAddress, "", "c:\\", SW_SHOWMAXIMIZED});
}

void TAboutForm::EnableTimer(UINT_PTR id, UINT interval, bool& flag, bool enabled)
{
    if (enabled)
        SetTimer(Handle(), id, interval, nullptr);
    else
        KillTimer(Handle(), id);
    flag = enabled;
}

void TAboutForm::OnOK()
{
    FormClose();
    End(IDOK);
}

void TAboutForm::OnCancel()
{
    FormClose();
    End(IDCANCEL);
}
