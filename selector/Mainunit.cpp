#include "Mainunit.h"

#include "FileSteps.h"

#include "Aboutunit.h"
#include "Cubdfuncs.h"
#include "DialogLayout.h"
#include "Genericunit.h"
#include "Mainres.h"
#include "Optionsunit.h"
#include "Prompts.h"
#include "Scriptunit.h"
#include "Shellopen.h"
#include "Statusunit.h"
#include "Tpathfinder.h"
#include "Treplacer.h"
#include "Tsettings.h"
#include "core/HotKeyValue.h"
#include "core/WindowPlace.h"

#include <commctrl.h>

#include <algorithm>
#include <ctime>
#include <exception>
#include <vector>

// ---------------------------------------------------------------------------
// Shortcut texts

namespace {

// The keyboard layout's name for a key: the key-name text of its scan code.
std::string LayoutKeyName(std::uint8_t vk)
{
    UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    if (scan == 0)
        return {};
    LONG lparam = static_cast<LONG>(scan << 16);
    if (cb::IsExtendedKey(vk))
        lparam |= 1L << 24;
    char name[64] = {};
    int n = GetKeyNameTextA(lparam, name, sizeof name);
    return n > 0 ? std::string(name, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

const cb::TKeyNames& KeyNames()
{
    static const cb::TKeyNames names(&LayoutKeyName);
    return names;
}

std::string ShortCutToText(std::uint16_t code)
{
    return cb::ShortCutToText(code, KeyNames());
}

std::uint16_t TextToShortCut(const std::string& text)
{
    return cb::TextToShortCut(text, KeyNames());
}

std::string FileSizeText(const std::string& fileName)
{
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return cb::SizeText(std::nullopt);
    DWORD size = GetFileSize(h, nullptr); // the low 32 bits
    CloseHandle(h);
    return cb::SizeText(size);
}

// ---------------------------------------------------------------------------
// Window

namespace {

// Toolbar buttons are 23 by 22 pixels; a separator is a 6-pixel gap. The
// images are 16 by 16. All in 96-dpi design pixels, scaled on other screens.
constexpr int kImageSize = 16;
constexpr int kToolButtonWidth = 23;
constexpr int kToolButtonHeight = 22;
constexpr int kToolSeparatorWidth = 6;

struct TToolButton
{
    int image; // -1: separator
    int command;
    const char* hint;
    bool enabled;
};

// Left to right.
constexpr TToolButton kToolButtons[] = {
    {IMG_NEW, IDM_NEW, "New", true},
    {IMG_OPEN, IDM_OPEN, "Open", true},
    {IMG_SAVE, IDM_SAVE, "Save", true},
    {-1, 0, nullptr, true},
    {IMG_OPTIONS_TB, IDM_OPTIONS, "Options", true},
    {IMG_SCRIPTSETUP, IDM_SCRIPTSETUP, "Script Setup", true},
    {-1, 0, nullptr, true},
    {IMG_ADD, IDM_ADD, "Add", true},
    {IMG_EDIT, IDM_EDIT, "Edit", true},
    {IMG_DELETE, IDM_TB_DELETE, "Delete", true},
    {-1, 0, nullptr, true},
    {IMG_ACTIVATE, IDM_ACTIVATE, "Activate", true},
    {IMG_DEACTIVATE, IDM_DEACTIVATE, "Deactivate", false},
    {-1, 0, nullptr, true},
    {IMG_ONLINEHELP, IDM_ONLINEHELP, "Online Help", true},
    {IMG_README, IDM_README, "View Readme", true},
    {IMG_ABOUT, IDM_ABOUT, "About", true},
};

// The images of the menu items (main menu and pop-up menu alike).
struct TMenuImage
{
    int command;
    int image;
};
constexpr TMenuImage kMenuImages[] = {
    {IDM_NEW, IMG_NEW},
    {IDM_OPEN, IMG_OPEN},
    {IDM_SAVE, IMG_SAVE},
    {IDM_OPTIONS, IMG_OPTIONS},
    {IDM_SCRIPTSETUP, IMG_SCRIPTSETUP},
    {IDM_ADD, IMG_ADD},
    {IDM_EDIT, IMG_EDIT},
    {IDM_DELETE, IMG_DELETE},
    {IDM_ACTIVATE, IMG_ACTIVATE},
    {IDM_DEACTIVATE, IMG_DEACTIVATE},
    {IDM_ONLINEHELP, IMG_ONLINEHELP},
    {IDM_README, IMG_README},
    {IDM_ABOUT, IMG_ABOUT},
};

int MenuImageOf(UINT command)
{
    for (const TMenuImage& m : kMenuImages)
        if (static_cast<UINT>(m.command) == command)
            return m.image;
    return -1;
}

// True for an existing file; false for a missing one or a folder.
bool FileExists(const std::string& name)
{
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The image strip of the resources at the screen's image size: a strip of
// 16-pixel images, stretched pixel by pixel on a screen of more than 96 dpi
// (no blending, so the magenta mask colour stays exact).
HBITMAP LoadImageStrip(HINSTANCE instance, int imageSize)
{
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_MENUIMAGES), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip || imageSize == kImageSize)
        return strip;
    BITMAP design{};
    GetObjectA(strip, sizeof design, &design);
    const int width = MulDiv(design.bmWidth, imageSize, kImageSize);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = imageSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP scaled = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (scaled) {
        HDC from = CreateCompatibleDC(screen);
        HDC to = CreateCompatibleDC(screen);
        HGDIOBJ oldFrom = SelectObject(from, strip);
        HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width, imageSize, from, 0, 0, design.bmWidth, design.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
    }
    ReleaseDC(nullptr, screen);
    if (!scaled)
        return strip;
    DeleteObject(strip);
    return scaled;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<cb::TScreenRect>*>(areas)->push_back(
            {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
    return TRUE;
}

// The work areas of every monitor (screen coordinates).
std::vector<cb::TScreenRect> WorkAreas()
{
    std::vector<cb::TScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

const char* const kBadFilenameText = "The file doesn't exist. Please check the filename and try again.";

// The commands that the inactive state offers and the active state withholds.
constexpr int kListCommands[] = {IDM_NEW,    IDM_OPEN,      IDM_OPTIONS, IDM_ADD,      IDM_EDIT,
                                 IDM_DELETE, IDM_TB_DELETE, IDM_CLEAR,   IDM_ACTIVATE, IDM_DEACTIVATE};

struct TColumn
{
    const char* caption;
    int width;
    int format;
};
constexpr TColumn kColumns[] = {
    {"Filename", 270, LVCFMT_LEFT},
    {"Size", 65, LVCFMT_RIGHT},
    {"Shortcut", 100, LVCFMT_RIGHT},
};

} // namespace

TMainForm::TMainForm(TSettings& settings, TReplacer& replacer)
    : TWindow(ClassName), m_Settings(settings), m_Replacer(replacer)
{}

TMainForm::~TMainForm()
{
    // The window goes first, before the images and the font it draws with.
    DestroyHandle();
    m_StatusForm.reset();
    if (m_hPopupMenuBar)
        DestroyMenu(m_hPopupMenuBar);
    if (m_MenuImages)
        ImageList_Destroy(m_MenuImages);
    if (m_hFont)
        DeleteObject(m_hFont);
}

bool TMainForm::Create(HINSTANCE instance, int showCommand)
{
    WNDCLASSEXA wc{};
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CUEBINDER));
    wc.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_CUEBINDER), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    if (!CreateHandle(instance, wc, 0, "Cuebinder",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME |
                          WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, Scaled(MinWidth), Scaled(MinHeight), nullptr, menu)) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    CreateControls(instance);
    try {
        FormCreate();
    } catch (const std::exception& e) {
        ShowException(e.what());
    }
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    return true;
}

void TMainForm::CreateControls(HINSTANCE instance)
{
    const int height = -MulDiv(8, ScreenDpi(), 72);
    m_hFont =
        CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");

    m_ImageSize = Scaled(kImageSize);
    m_MenuImages = ImageList_Create(m_ImageSize, m_ImageSize, ILC_COLOR24 | ILC_MASK, IMG_COUNT, 0);
    if (HBITMAP strip = LoadImageStrip(instance, m_ImageSize)) {
        ImageList_AddMasked(m_MenuImages, strip, RGB(255, 0, 255));
        DeleteObject(strip);
    }

    m_hToolbar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE, 0,
        0, 0, Scaled(ToolbarHeight), Handle(), reinterpret_cast<HMENU>(IDC_MAINTOOLBAR), instance, nullptr);
    SendMessageA(m_hToolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_hToolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_MenuImages));
    SendMessageA(m_hToolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_ImageSize, m_ImageSize));
    SendMessageA(m_hToolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(Scaled(kToolButtonWidth), Scaled(kToolButtonHeight)));
    for (const TToolButton& b : kToolButtons) {
        TBBUTTON button{};
        button.iBitmap = b.image < 0 ? Scaled(kToolSeparatorWidth) : b.image; // a separator's width
        button.idCommand = b.command;
        button.fsState = static_cast<BYTE>(b.enabled ? TBSTATE_ENABLED : 0);
        button.fsStyle = static_cast<BYTE>(b.image < 0 ? BTNS_SEP : BTNS_BUTTON);
        button.iString = -1;
        SendMessageA(m_hToolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }

    m_hSoundsList = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(IDC_SOUNDSLIST), instance, nullptr);
    SendMessageA(m_hSoundsList, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    ListView_SetExtendedListViewStyle(m_hSoundsList, LVS_EX_FULLROWSELECT);
    ListView_SetImageList(m_hSoundsList, m_MenuImages, LVSIL_SMALL);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = Scaled(kColumns[i].width);
        column.pszText = const_cast<char*>(kColumns[i].caption);
        column.iSubItem = i;
        SendMessageA(m_hSoundsList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }

    m_hStatus = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                Handle(), reinterpret_cast<HMENU>(IDC_STATUS), instance, nullptr);
    SendMessageA(m_hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    // One panel across the whole bar.
    int parts[1] = {-1};
    SendMessageA(m_hStatus, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    m_hPopupMenuBar = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_POPUPMENU));
    m_hPopupMenu = GetSubMenu(m_hPopupMenuBar, 0);
    SetMenuImages(GetMenu(Handle()));
    SetMenuImages(m_hPopupMenu);
    LayoutControls();
}

void TMainForm::FormCreate()
{
    m_Sounds.clear();
    m_StatusForm = std::make_unique<TStatusForm>(m_Settings);

    m_Settings.Load();
    m_SettingsApplied = true;
    // The stored rectangle, unless no monitor shows enough of it (a monitor
    // since removed, a damaged file): then it moves onto the nearest one.
    const TWindowBounds b = m_Settings.GetWindowBounds();
    const cb::TScreenRect place = cb::PlaceOnWorkAreas({b.Left, b.Top, b.Right, b.Bottom}, Scaled(MinWidth),
                                                       Scaled(MinHeight), Scaled(GripSize), WorkAreas());
    SetWindowPos(Handle(), nullptr, place.Left, place.Top, place.Right - place.Left, place.Bottom - place.Top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 3; ++i)
        if (int width = m_Settings.GetColumnWidth(i))
            ListView_SetColumnWidth(m_hSoundsList, i, width);
    if (!m_Settings.HasInstallPath()) {
        Prompts().Message(Handle(),
                          "You currently have no game directory defined. Use the Options window to select a "
                          "game directory.\n\nFor more help, use the help file provided with this program.",
                          "Notice", MB_OK | MB_ICONWARNING);
        WriteLog("No game directory set. User informed.");
    }
    RefreshState();
    if (!m_Settings.GetLastFile().empty() && m_Settings.GetLoadLastAtStart())
        LoadSoundList(m_Settings.GetLastFile());
}

void TMainForm::LayoutControls()
{
    if (!m_hToolbar || !m_hSoundsList || !m_hStatus)
        return;
    RECT client;
    GetClientRect(Handle(), &client);
    SendMessageA(m_hStatus, WM_SIZE, 0, 0);
    RECT status;
    GetWindowRect(m_hStatus, &status);
    int statusHeight = status.bottom - status.top;
    const int toolbarHeight = Scaled(ToolbarHeight);
    MoveWindow(m_hToolbar, 0, 0, client.right, toolbarHeight, TRUE);
    MoveWindow(m_hSoundsList, 0, toolbarHeight, client.right,
               std::max(0, static_cast<int>(client.bottom) - toolbarHeight - statusHeight), TRUE);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_HOTKEY: {
        // Reached from the loop of whatever modal window is open.
        MSG message{Handle(), msg, wp, lp, 0, {}};
        PlayHotKey(message);
        return 0;
    }
    case WM_SIZE:
        LayoutControls();
        // A minimised window keeps its place: its rectangle is not the one to reopen at.
        if (wp == SIZE_RESTORED)
            FormResize();
        return 0;
    case WM_MEASUREITEM:
        if (MeasureMenuImage(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (DrawMenuImage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)))
            return TRUE;
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == m_hSoundsList) {
            ShowPopupMenu(lp);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (m_hSoundsList)
            SetFocus(m_hSoundsList);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize.x = Scaled(MinWidth);
        info->ptMinTrackSize.y = Scaled(MinHeight);
        return 0;
    }
    case WM_COMMAND:
        if (lp == 0 || reinterpret_cast<HWND>(lp) == m_hToolbar) {
            RunCommand(LOWORD(wp));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
            for (const TToolButton& b : kToolButtons)
                if (b.hint && static_cast<UINT_PTR>(b.command) == hdr->idFrom)
                    info->lpszText = const_cast<char*>(b.hint);
            return 0;
        }
        if (hdr->hwndFrom == m_hSoundsList && hdr->code == NM_DBLCLK) {
            RunCommand(IDM_EDIT);
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        // A list that cannot be saved keeps the window open; the error's text
        // goes to the player as the default error handler shows it.
        try {
            if (!FormCloseQuery())
                return 0;
        } catch (const std::exception& e) {
            ShowException(e.what());
            return 0;
        }
        try {
            FormClose();
        } catch (const std::exception& e) {
            ShowException(e.what()); // the window closes all the same
        }
        DestroyWindow(Handle());
        return 0;
    case WM_QUERYENDSESSION:
        // Logging off or shutting down asks as closing the window does; a
        // Cancel (or a list that could not be saved) holds the session open.
        try {
            return FormCloseQuery() ? TRUE : FALSE;
        } catch (const std::exception& e) {
            ShowException(e.what());
            return FALSE;
        }
    case WM_ENDSESSION:
        // The session ends and the process with it, without a WM_CLOSE: what
        // closing saves is saved now.
        if (wp) {
            try {
                FormClose();
            } catch (const std::exception& e) {
                WriteLog(std::string("Failure in TMainForm::FormClose(): ") + e.what());
            }
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return TWindow::HandleMessage(msg, wp, lp);
}

void TMainForm::RunCommand(int id)
{
    if (!IsCommandEnabled(id))
        return;
    try {
        switch (id) {
        case IDM_NEW:
            NewMenuClick();
            break;
        case IDM_OPEN:
            OpenMenuClick();
            break;
        case IDM_SAVE:
            SaveMenuClick();
            break;
        case IDM_SAVEAS:
            SaveAsMenuClick();
            break;
        case IDM_OPTIONS:
            OptionsMenuClick();
            break;
        case IDM_SCRIPTSETUP:
            ScriptSetupMenuClick();
            break;
        case IDM_ADD:
            AddMenuClick();
            break;
        case IDM_EDIT:
            EditMenuClick();
            break;
        case IDM_DELETE:
        case IDM_TB_DELETE: // the toolbar's Delete button runs the Delete command
            DeleteMenuClick();
            break;
        case IDM_CLEAR:
            ClearMenuClick();
            break;
        case IDM_ONLINEHELP:
            ViewReadmeMenuClick();
            break;
        case IDM_README:
            ReadmeMenuClick();
            break;
        case IDM_ABOUT:
            AboutMenuClick();
            break;
        case IDM_EXIT:
            ExitMenuClick();
            break;
        case IDM_ACTIVATE:
            ActivateMenuClick();
            break;
        case IDM_DEACTIVATE:
            DeactivateMenuClick();
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        ShowException(e.what());
    }
}

void TMainForm::ShowException(const char* text)
{
    Prompts().Message(Handle(), text, "Exception", MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------------------
// State

bool TMainForm::IsCommandEnabled(int id) const
{
    if (!Handle())
        return false;
    HMENU menu = GetMenu(Handle());
    UINT state = menu ? GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) : static_cast<UINT>(-1);
    if (state != static_cast<UINT>(-1))
        return (state & (MF_GRAYED | MF_DISABLED)) == 0;
    if (SendMessageA(m_hToolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0) >= 0)
        return SendMessageA(m_hToolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
    return true;
}

bool TMainForm::IsActive() const
{
    return m_hToolbar && SendMessageA(m_hToolbar, TB_ISBUTTONENABLED, IDM_DEACTIVATE, 0) != 0;
}

void TMainForm::SetCommandEnabled(int id, bool enabled)
{
    if (HMENU menu = GetMenu(Handle()))
        EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (m_hPopupMenu)
        EnableMenuItem(m_hPopupMenu, static_cast<UINT>(id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    SendMessageA(m_hToolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void TMainForm::EnableListCommands(bool enabled)
{
    for (int id : kListCommands)
        SetCommandEnabled(id, enabled);
    DrawMenuBar(Handle());
}

void TMainForm::RefreshState()
{
    // The active state survives the refresh (after Save or Save As while the
    // hotkeys are registered): the list commands stay withheld.
    const bool active = IsActive();
    const std::string gameDirectory = m_Settings.GetInstallPath();
    SendMessageA(m_hStatus, SB_SETTEXTA, 0,
                 reinterpret_cast<LPARAM>(cb::GameDirectoryStatusText(gameDirectory).c_str()));
    if (active) {
        EnableListCommands(false);
        SetCommandEnabled(IDM_DEACTIVATE, true);
    } else if (!gameDirectory.empty()) {
        EnableListCommands(true);
        SetCommandEnabled(IDM_DEACTIVATE, false);
    } else {
        EnableListCommands(false);
        SetCommandEnabled(IDM_OPTIONS, true);
    }
    DrawMenuBar(Handle());
    SetWindowTextA(Handle(), (cb::ListTitle(CurrentFile) + cb::kTitleSuffix).c_str());
}

std::string TMainForm::StatusBarText() const
{
    // The text is ours: at most a 2047-character game directory and a few words.
    char text[4096] = {};
    if (LOWORD(SendMessageA(m_hStatus, SB_GETTEXTLENGTHA, 0, 0)) >= sizeof text)
        return {};
    SendMessageA(m_hStatus, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    text[sizeof text - 1] = '\0';
    return text;
}

// ---------------------------------------------------------------------------
// The sound list and its file

void TMainForm::AddRow(const cb::TSound& sound)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(m_hSoundsList);
    item.pszText = const_cast<char*>(sound.Filename.c_str());
    item.iImage = IMG_SOUND;
    int row =
        static_cast<int>(SendMessageA(m_hSoundsList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    const std::string shortcut = ShortCutToText(sound.ShortCut);
    LVITEMA sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(sound.SizeText.c_str());
    SendMessageA(m_hSoundsList, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = const_cast<char*>(shortcut.c_str());
    SendMessageA(m_hSoundsList, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
}

void TMainForm::AppendSound(const cb::TSound& sound)
{
    m_Sounds.push_back(sound);
    AddRow(m_Sounds.back());
}

void TMainForm::ClearSounds()
{
    m_Sounds.clear();
    ListView_DeleteAllItems(m_hSoundsList);
}

void TMainForm::LoadSoundList(const std::string& fileName)
{
    CurrentFile = fileName;
    Modified = false;
    ClearSounds();
    const int count = cb::ParseCount(ReadProfileValue(fileName, cb::kConfigSection, cb::kCountKey, ""));
    const cb::TProfileSection sounds(count > 0 ? ReadProfileSection(fileName, cb::kSoundsSection) : "");
    SendMessageA(m_hSoundsList, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; ++i) {
        cb::TSoundValue value =
            cb::ParseSoundValue(sounds.Value(cb::SoundKey(static_cast<std::size_t>(i)), ";"));
        cb::TSound sound;
        sound.Filename = std::move(value.Filename);
        sound.ShortCut = TextToShortCut(value.ShortCutText);
        sound.SizeText = FileSizeText(sound.Filename);
        AppendSound(sound);
    }
    SendMessageA(m_hSoundsList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hSoundsList, nullptr, TRUE);
    m_Settings.SetLastFile(CurrentFile);
    SaveSettings();
    RefreshState();
}

void TMainForm::SaveSoundList(const std::string& fileName)
{
    // The keys go into a copy of the file that replaces it in one step: a
    // write refused half-way (a full disk) leaves the old list whole.
    TWholeFileRewrite rewrite(fileName);
    if (!rewrite.Begin())
        throw EIniWriteError(fileName);
    const std::string& copy = rewrite.Path();
    try {
        const int count = ListView_GetItemCount(m_hSoundsList);
        WriteProfileValue(copy, cb::kConfigSection, cb::kCountKey, std::to_string(count).c_str());
        WriteProfileValue(copy, cb::kSoundsSection, nullptr, nullptr);
        for (std::size_t i = 0; i < m_Sounds.size(); ++i) {
            const std::string key = cb::SoundKey(i);
            const std::string value =
                cb::SoundValue(m_Sounds[i].Filename, ShortCutToText(m_Sounds[i].ShortCut));
            WriteProfileValue(copy, cb::kSoundsSection, key.c_str(), value.c_str());
        }
    } catch (const EIniWriteError&) {
        throw EIniWriteError(fileName);
    }
    if (!rewrite.Commit())
        throw EIniWriteError(fileName);
    CurrentFile = fileName;
    Modified = false;
    m_Settings.SetLastFile(CurrentFile);
    SaveSettings();
    RefreshState();
}

void TMainForm::SaveSettings()
{
    try {
        m_Settings.Save();
        m_SettingsWriteReported = false;
    } catch (const EIniWriteError& e) {
        // A settings file that cannot be written (a read-only program folder)
        // is reported once, not at every resize, until a save succeeds again.
        if (m_SettingsWriteReported)
            return;
        m_SettingsWriteReported = true;
        ShowException(e.what());
    }
}

int TMainForm::AskUnsavedChanges()
{
    return Prompts().Message(Handle(), cb::UnsavedChangesText(cb::ListTitle(CurrentFile)), "Cuebinder",
                             MB_YESNOCANCEL | MB_ICONWARNING);
}

bool TMainForm::AskSaveChanges()
{
    if (!Modified)
        return true;
    const int answer = AskUnsavedChanges();
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES) {
        std::string name = CurrentFile;
        if (!Prompts().SaveFile(Handle(), name, ListFilter, "Save As", "qbl"))
            return false;
        SaveSoundList(name);
    }
    return true;
}

void TMainForm::NewMenuClick()
{
    if (!AskSaveChanges())
        return;
    CurrentFile.clear();
    Modified = false;
    ClearSounds();
    RefreshState();
}

void TMainForm::OpenMenuClick()
{
    if (!AskSaveChanges())
        return;
    std::string name;
    if (Prompts().OpenFile(Handle(), name, ListFilter, nullptr, nullptr))
        LoadSoundList(name);
}

void TMainForm::SaveMenuClick()
{
    if (CurrentFile.empty()) {
        SaveAsMenuClick();
        return;
    }
    SaveSoundList(CurrentFile);
}

void TMainForm::SaveAsMenuClick()
{
    std::string name = CurrentFile;
    if (Prompts().SaveFile(Handle(), name, ListFilter, "Save As", "qbl"))
        SaveSoundList(name);
}

bool TMainForm::FormCloseQuery()
{
    if (!Modified)
        return true;
    const int answer = AskUnsavedChanges();
    if (answer == IDCANCEL)
        return false;
    if (answer == IDNO)
        return true;
    if (CurrentFile.empty()) {
        std::string name;
        if (!Prompts().SaveFile(Handle(), name, ListFilter, "Save As", "qbl"))
            return false;
        SaveSoundList(name);
    } else {
        SaveSoundList(CurrentFile);
    }
    return true;
}

void TMainForm::ExitMenuClick()
{
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::ScriptSetupMenuClick()
{
    RunScriptSetup(Handle(), m_Settings);
}

// ---------------------------------------------------------------------------
// Hotkeys

std::int32_t TMainForm::NewHotKeyID()
{
    // The 64-bit clock: a 32-bit build's time() stops at 2038.
    return cb::NewHotKeyID(m_Sounds, static_cast<std::uint32_t>(_time64(nullptr)));
}

int TMainForm::IndexFromID(std::int32_t id)
{
    int index = cb::IndexFromID(m_Sounds, id);
    if (index < 0)
        WriteLog("Bad index/ID in TMainForm::IndexFromID()");
    return index;
}

bool TMainForm::ActivateHotKeys()
{
    m_Replacer.ApplyBufferSizeSetting(m_Settings.GetBufferSize());
    m_Replacer.SetFilename(m_Settings.GetInstallPath() + "voice_input.wav");
    std::size_t longest = 0;
    for (std::size_t i = 0; i < m_Sounds.size(); ++i) {
        cb::TSound& sound = m_Sounds[i];
        sound.ID = NewHotKeyID();
        if (!RegisterHotKey(Handle(), sound.ID, cb::HotKeyModifiers(sound.ShortCut),
                            cb::HotKeyKey(sound.ShortCut))) {
            Prompts().Message(Handle(),
                              cb::DuplicateShortcutText(i, sound.Filename, ShortCutToText(sound.ShortCut)),
                              "Error", MB_OK | MB_ICONERROR);
            DeactivateHotKeys();
            WriteLog("Failure in TMainForm::ActivateHotKeys()");
            return false;
        }
        longest = std::max(longest, sound.Filename.size());
    }
    // A press builds its status text in this buffer without allocating.
    m_StatusText.reserve(std::char_traits<char>::length(cb::kCurrentSoundPrefix) + longest);
    EnableListCommands(false);
    SetCommandEnabled(IDM_DEACTIVATE, true);
    DrawMenuBar(Handle());
    if (m_Settings.GetMinWhenActivated())
        SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return true;
}

void TMainForm::DeactivateHotKeys()
{
    for (const cb::TSound& sound : m_Sounds)
        UnregisterHotKey(Handle(), sound.ID);
    EnableListCommands(true);
    SetCommandEnabled(IDM_DEACTIVATE, false);
    DrawMenuBar(Handle());
}

void TMainForm::OnHotKey(const MSG& message)
{
    const int index = IndexFromID(static_cast<std::int32_t>(message.wParam));
    if (index < 0) {
        WriteLog("Bad index in TMainForm::OnHotKey()");
        return;
    }
    const cb::TSound& sound = m_Sounds[static_cast<std::size_t>(index)];
    if (!m_Replacer.Replace(sound.Filename))
        WriteLog("Replace() failed.");
    m_StatusText.assign(cb::kCurrentSoundPrefix);
    m_StatusText.append(sound.Filename);
    if (m_StatusForm)
        m_StatusForm->ShowStatus(m_StatusText);
}

void TMainForm::PlayHotKey(const MSG& message)
{
    try {
        OnHotKey(message);
    } catch (const std::exception& e) {
        // The player is in the game: problems go to the log, never on screen.
        WriteLog(std::string("Failure in TMainForm::OnHotKey(): ") + e.what());
    }
}

void TMainForm::ApplicationEvents1Message(const MSG& message, bool& handled)
{
    if (message.message != WM_HOTKEY)
        return;
    PlayHotKey(message);
    handled = true;
}

int RunApplication(TMainForm& form, HACCEL accelerators)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool handled = false;
        form.ApplicationEvents1Message(msg, handled);
        if (handled)
            continue;
        if (TDialog::PreTranslate(msg))
            continue;
        if (accelerators && form.Handle() && TranslateAcceleratorA(form.Handle(), accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// ---------------------------------------------------------------------------
// Editing the list

void TMainForm::SetRow(int row, const cb::TSound& sound)
{
    const std::string shortcut = ShortCutToText(sound.ShortCut);
    const std::string* texts[] = {&sound.Filename, &sound.SizeText, &shortcut};
    for (int column = 0; column < 3; ++column) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(texts[column]->c_str());
        SendMessageA(m_hSoundsList, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    }
}

void TMainForm::AddMenuClick()
{
    try {
        TGenericForm form;
        form.Caption = "Add Sound";
        if (form.ShowModal(Handle()) != IDOK)
            return;
        cb::TSound sound;
        sound.Filename = form.Filename;
        if (!FileExists(sound.Filename)) {
            Prompts().Message(Handle(), kBadFilenameText, "Error", MB_OK | MB_ICONERROR);
            WriteLog("Bad Filename in TMainForm::AddMenuClick()");
            return;
        }
        sound.ID = 0;
        sound.ShortCut = form.ShortCut;
        sound.SizeText = FileSizeText(sound.Filename);
        AppendSound(sound);
        Modified = true;
    } catch (...) {
        Prompts().Message(Handle(), "Unhandled exception.", "Exception", MB_OK | MB_ICONERROR);
        WriteLog("Unhandled exception in TMainForm::AddMenuClick()");
    }
}

void TMainForm::EditMenuClick()
{
    // Only while inactive, and only with a row selected (the first one counts).
    if (IsActive())
        return;
    const int row = ListView_GetNextItem(m_hSoundsList, -1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(m_Sounds.size()))
        return;
    try {
        TGenericForm form;
        form.Caption = "Edit Sound";
        form.Filename = m_Sounds[static_cast<std::size_t>(row)].Filename;
        form.ShortCut = m_Sounds[static_cast<std::size_t>(row)].ShortCut;
        if (form.ShowModal(Handle()) != IDOK)
            return;
        if (!FileExists(form.Filename)) {
            Prompts().Message(Handle(), kBadFilenameText, "Error", MB_OK | MB_ICONERROR);
            return;
        }
        cb::TSound& sound = m_Sounds[static_cast<std::size_t>(row)];
        sound.Filename = form.Filename;
        sound.ShortCut = form.ShortCut;
        sound.ID = 0;
        sound.SizeText = FileSizeText(sound.Filename);
        SetRow(row, sound);
        Modified = true; // even when nothing changed
    } catch (...) {
        Prompts().Message(Handle(), "Unhandled exception.", "Exception", MB_OK | MB_ICONERROR);
        WriteLog("EditMenuClick() -> Unhandled exception.");
    }
}

void TMainForm::DeleteMenuClick()
{
    if (ListView_GetSelectedCount(m_hSoundsList) == 0)
        return;
    if (Prompts().Message(Handle(), "Are you sure you want to delete the selected sound(s)?", "Question",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int rows = std::min(ListView_GetItemCount(m_hSoundsList), static_cast<int>(m_Sounds.size()));
    for (int row = 0; row < rows; ++row)
        m_Sounds[static_cast<std::size_t>(row)].Marked =
            ListView_GetItemState(m_hSoundsList, row, LVIS_SELECTED) != 0;
    // Rows go from the bottom up, so the indices of those still to go stay put.
    for (int row = rows - 1; row >= 0; --row)
        if (m_Sounds[static_cast<std::size_t>(row)].Marked)
            ListView_DeleteItem(m_hSoundsList, row);
    m_Sounds.erase(
        std::remove_if(m_Sounds.begin(), m_Sounds.end(), [](const cb::TSound& s) { return s.Marked; }),
        m_Sounds.end());
    Modified = true;
}

void TMainForm::ClearMenuClick()
{
    if (ListView_GetItemCount(m_hSoundsList) == 0)
        return;
    if (Prompts().Message(Handle(), "Are you absolutely sure you want to clear the sound list?", "Question",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ClearSounds();
    Modified = true;
}

// ---------------------------------------------------------------------------
// Options, help and About

void TMainForm::OptionsMenuClick()
{
    // The window saves the settings after OK and logs its own failures.
    if (RunOptionsWindow(Handle(), m_Settings, Finder()))
        RefreshState();
}

void TMainForm::ViewReadmeMenuClick()
{
    ShellOpen({Handle(), "open", OnlineHelpAddress, "", "", SW_SHOWMAXIMIZED});
}

void TMainForm::ReadmeMenuClick()
{
    std::string path = ProgramPath();
    path.erase(path.find_last_of('\\') + 1);
    path += "Readme.txt";
    if (FileExists(path))
        ShellOpen({Handle(), "open", "notepad", path, "", SW_SHOWMAXIMIZED});
    else
        WriteLog("Missing Readme.txt!");
}

void TMainForm::AboutMenuClick()
{
    try {
        TAboutForm form;
        form.ShowModal(Handle());
    } catch (...) {
        WriteLog("Unhandled exception in TMainForm::AboutMenuClick()");
    }
}

// ---------------------------------------------------------------------------
// Window place and columns

void TMainForm::FormResize()
{
    if (!m_SettingsApplied)
        return;
    RECT r;
    GetWindowRect(Handle(), &r);
    m_Settings.SetWindowBounds(r.left, r.top, r.right, r.bottom);
    SaveSettings();
}

void TMainForm::FormClose()
{
    for (int i = 0; i < 3; ++i)
        m_Settings.SetColumnWidth(i, ListView_GetColumnWidth(m_hSoundsList, i));
    SaveSettings();
}

// ---------------------------------------------------------------------------
// Menu images and the pop-up menu

void TMainForm::SetMenuImages(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            SetMenuImages(sub);
            continue;
        }
        if (MenuImageOf(GetMenuItemID(menu, i)) < 0)
            continue;
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP;
        info.hbmpItem = HBMMENU_CALLBACK; // drawn from MenuImages in WM_DRAWITEM
        SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    }
}

bool TMainForm::MeasureMenuImage(MEASUREITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU || MenuImageOf(item.itemID) < 0)
        return false;
    item.itemWidth = static_cast<UINT>(m_ImageSize + Scaled(4)); // the image with a little room beside it
    item.itemHeight = static_cast<UINT>(m_ImageSize);
    return true;
}

bool TMainForm::DrawMenuImage(const DRAWITEMSTRUCT& item)
{
    const int image = item.CtlType == ODT_MENU ? MenuImageOf(item.itemID) : -1;
    if (image < 0)
        return false;
    const int x = item.rcItem.left + (item.rcItem.right - item.rcItem.left - m_ImageSize) / 2;
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - m_ImageSize) / 2;
    const bool grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    ImageList_DrawEx(m_MenuImages, image, item.hDC, x, y, 0, 0, CLR_NONE, GetSysColor(COLOR_MENU),
                     grayed ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT);
    return true;
}

void TMainForm::ShowPopupMenu(LPARAM screenPoint)
{
    POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) { // from the keyboard: at the list's corner
        at = {4, 4};
        ClientToScreen(m_hSoundsList, &at);
    }
    TrackPopupMenu(m_hPopupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}
