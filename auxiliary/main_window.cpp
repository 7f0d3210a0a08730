#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "options.h"
#include "recorder_settings.h"
#include "settings_store.h"
#include "skin_button.h"
#include "suite_paths.h"

namespace auxiliary {

namespace {

namespace store = dsp::settings;

constexpr UINT_PTR kTimerId = 1;
// A one-shot timer that maximises the window once the dialog has been shown:
// the dialog's own first showing (when its queue first runs empty) would
// restore a window maximised before it.
constexpr UINT_PTR kMaximiseTimerId = 2;
constexpr UINT kTimerPeriodMs = 250;

// Header controls in 96-dpi pixels: x, y, width, height.
struct Place
{
    int id, x, y, width, height;
};
constexpr Place kHeaderControls[] = {
    {IDC_TRACK_COUNT, 163, 5, 46, 220}, {IDC_ARTIST, 290, 5, 150, 20},   {IDC_ALBUM, 290, 26, 150, 20},
    {IDC_GENRE, 521, 5, 140, 220},      {IDC_COMMENT, 521, 26, 140, 20}, {IDC_YEAR, 716, 5, 54, 220},
};

// Labels painted on the header band: text, x, y (96-dpi pixels), right-aligned to x.
struct Label
{
    const char* text;
    int x, y;
    bool right;
};
constexpr Label kHeaderLabels[] = {
    {"Artist", 286, 8, true},  {"Album", 286, 29, true}, {"Record", 124, 8, false},
    {"Tracks", 214, 8, false}, {"Genre", 517, 8, true},  {"Comment", 517, 29, true},
    {"Year", 712, 8, true},
};

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int CurrentYear()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wYear;
}

void DrawSunkenFrame(HDC dc, int left, int top, int right, int bottom)
{
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HPEN grey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ old = SelectObject(dc, white);
    MoveToEx(dc, left, bottom, nullptr);
    LineTo(dc, left, top);
    LineTo(dc, right, top);
    SelectObject(dc, grey);
    LineTo(dc, right, bottom);
    LineTo(dc, left, bottom);
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(grey);
}

bool AppendLine(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A file whose last line has no end gets one first, so the new line
    // stands on its own.
    std::string line = text + "\r\n";
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char last = '\n';
        DWORD got = 0;
        LARGE_INTEGER at{};
        at.QuadPart = size.QuadPart - 1;
        if (reader != INVALID_HANDLE_VALUE) {
            if (SetFilePointerEx(reader, at, nullptr, FILE_BEGIN) &&
                ReadFile(reader, &last, 1, &got, nullptr) && got == 1 && last != '\n' && last != '\r')
                line = "\r\n" + line;
            CloseHandle(reader);
        }
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
    CloseHandle(file);
    return ok;
}

} // namespace

std::vector<std::string> FindCodecs(const std::string& encoderFolder)
{
    std::vector<std::string> codecs;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((encoderFolder + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return codecs;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string name = found.cFileName;
        if (name.size() >= 4 && SameIgnoringCase(std::string_view(name).substr(name.size() - 4), ".dll"))
            name.resize(name.size() - 4);
        codecs.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return codecs;
}

void FillRecordToMenu(HMENU recordTo, const std::vector<std::string>& codecs, const std::string& current)
{
    for (size_t i = 0; i < codecs.size(); ++i) {
        UINT flags = MF_STRING;
        if (SameIgnoringCase(codecs[i], current))
            flags |= MF_CHECKED;
        AppendMenuA(recordTo, flags, ID_RECORD_TO_FIRST + i, codecs[i].c_str());
    }
    DeleteMenu(recordTo, ID_RECORD_TO_PLACEHOLDER, MF_BYCOMMAND);
}

MainWindow::MainWindow(Setup setup) : Dialog(IDD_MAIN), setup_(std::move(setup)) {}

MainWindow::~MainWindow()
{
    if (labelFont_)
        DeleteObject(labelFont_);
    if (backdropBrush_)
        DeleteObject(backdropBrush_);
}

HWND MainWindow::List() const
{
    return Item(IDC_TRACKS);
}

bool MainWindow::OnInit()
{
    dpi_ = ScreenDpi();
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_AUXILIARY));
    if (icon)
        SetClassLongPtrA(Handle(), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    codec_ = ReadCodec();
    std::strncpy(outputFolder_, ReadOutputFolder(codec_).c_str(), sizeof outputFolder_ - 1);

    labelFont_ = CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");

    PlaceHeaderControls();

    backdrop_.Build(setup_.programFolder + kSkinFolder + "backdrop.jpg");
    if (backdrop_.Bitmap())
        backdropBrush_ = CreatePatternBrush(backdrop_.Bitmap());
    CreateButtons();

    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 300;
    column.pszText = const_cast<char*>("Track");
    SendMessageA(List(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = X(120);
    column.pszText = const_cast<char*>("Smart Track Length");
    SendMessageA(List(), LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));

    FillLists();
    BuildTrackList(1);

    addOn_ = LoadAddOnSettings();
    ShowWindow(Item(IDC_SMART_MINUTES), SW_SHOW);
    ShowWindow(Item(IDC_SMART_SECONDS), SW_SHOW);

    // Placed (and so shown, when maximised) once every control exists.
    RestorePlacement();
    Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
    SetTimer(Handle(), kTimerId, kTimerPeriodMs, nullptr);
    return true;
}

void MainWindow::RestorePlacement()
{
    using namespace settings;
    if (store::ValueExists(kWindowX, HKEY_CURRENT_USER, kSuiteKey)) {
        const int x = static_cast<int>(store::ReadNumber(kWindowX, HKEY_CURRENT_USER, kSuiteKey));
        const int y = static_cast<int>(store::ReadNumber(kWindowY, HKEY_CURRENT_USER, kSuiteKey));
        const int w = static_cast<int>(store::ReadNumber(kWindowW, HKEY_CURRENT_USER, kSuiteKey));
        const int h = static_cast<int>(store::ReadNumber(kWindowH, HKEY_CURRENT_USER, kSuiteKey));
        // A stored place that no screen shows, or a size of nothing (values
        // damaged or of the wrong type), would leave no window to see: such a
        // place counts as none.
        const RECT place{x, y, x + w, y + h};
        if (w > 0 && h > 0 && x <= INT_MAX - w && y <= INT_MAX - h &&
            MonitorFromRect(&place, MONITOR_DEFAULTTONULL)) {
            MoveWindow(Handle(), x, y, w, h, FALSE);
            return;
        }
    }
    SetTimer(Handle(), kMaximiseTimerId, 1, nullptr);
}

void MainWindow::PlaceHeaderControls()
{
    for (const Place& p : kHeaderControls)
        MoveWindow(Item(p.id), X(p.x), Y(p.y), X(p.width), Y(p.height), FALSE);
    // The two edits sit between their labels, whatever width the label font gives them.
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, labelFont_ ? labelFont_ : GetStockObject(DEFAULT_GUI_FONT));
    auto right = [&](const char* text, int x) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
        return x + static_cast<int>(size.cx) + 4;
    };
    const int minutesLeft = std::max(right("Smart Track Length", X(9)), X(141) - X(40));
    const int secondsLeft = std::max(right("Minutes", X(141)), X(215) - X(40));
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    const int band = HeaderHeight(dpi_) + 9;
    MoveWindow(Item(IDC_SMART_MINUTES), minutesLeft, band, std::max(X(141) - 4 - minutesLeft, 16), Y(20),
               FALSE);
    MoveWindow(Item(IDC_SMART_SECONDS), secondsLeft, band, std::max(X(215) - 4 - secondsLeft, 16), Y(20),
               FALSE);
}

void MainWindow::CreateButtons()
{
    // The default faces take the size of the skin's own bitmaps, so a skin
    // that cannot be read leaves the header as it is laid out.
    const std::string skin = setup_.programFolder + kSkinFolder;
    HDC backdrop = backdrop_.Dc();
    SkinButton* record = SkinButton::Create(
        Handle(), IDC_BUTTON_RECORD, X(7), Y(4), skin + "aux-convert-to.bmp", backdrop, {"Record", 43, 38},
        "Start Recording", [this] { recordPending_ = true; }, [this] { recordWithOptionsPending_ = true; });
    menuButton_ = SkinButton::Create(Handle(), IDC_BUTTON_RECORD_MENU, X(7) + 43, Y(4),
                                     skin + "aux-convert-to-menu.bmp", backdrop, {"", 12, 38, true}, "",
                                     [this] { ShowRecordMenu(); });
    SkinButton::Link(record, menuButton_);
    SkinButton::Create(Handle(), IDC_BUTTON_OPTIONS, X(66), Y(4), skin + "aux-options.bmp", backdrop,
                       {"Options", 56, 20}, "Options", [this] { OpenOptions(); });
    SkinButton::Create(Handle(), IDC_BUTTON_LEVEL_TEST, X(131), Y(27), skin + "aux-test-rl.bmp", backdrop,
                       {"Test Input Level", 110, 17}, "Test Recording Input Level",
                       [this] { InputLevelTest(Handle()); });
    SkinButton::Create(Handle(), IDC_BUTTON_BOOSTKIT, X(704), Y(27), skin + "bk-auxinput-p.bmp", backdrop,
                       {"Boostkit", 64, 17}, "Boostkit Options", [this] { OpenBoostkitOptions(); });
    SkinButton::Create(Handle(), IDC_BUTTON_HELP, X(773), 6, setup_.programFolder + kHelpBitmap, backdrop,
                       {"?", 22, 38}, "Help", [this] { OpenHelpFile(); });
}

void MainWindow::FillLists()
{
    HWND year = Item(IDC_YEAR);
    for (const std::string& y : YearChoices(CurrentYear()))
        SendMessageA(year, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(y.c_str()));
    HWND genre = Item(IDC_GENRE);
    for (const char* name : kGenres)
        SendMessageA(genre, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    AddCustomGenresFromFile();
    HWND count = Item(IDC_TRACK_COUNT);
    for (int i = 1; i <= 20; ++i) {
        const std::string n = std::to_string(i);
        SendMessageA(count, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
    }
    SendMessageA(count, CB_SETCURSEL, 0, 0);
}

void MainWindow::AddCustomGenresFromFile()
{
    // A genre file grows by one line per new genre typed; one far larger than
    // that is damaged, and filling the sorted list with all of it would keep
    // the window from opening for many seconds. Its first lines are taken.
    constexpr int kMostCustomGenres = 1000;
    const std::string text = ReadSmallFile(setup_.programFolder + kCustomGenreFile, 1u << 20);
    size_t at = 0;
    for (int taken = 0; at < text.size() && taken < kMostCustomGenres; ++taken) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 259)
            line.resize(259);
        if (!line.empty())
            SendMessageA(Item(IDC_GENRE), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        at = end + 1;
    }
}

// ---- Track list -------------------------------------------------------------------

void MainWindow::BuildTrackList(int count)
{
    HWND list = List();
    spreadingChecks_ = true;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    for (int i = 0; i < count; ++i) {
        std::string name = TrackName(i + 1);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name.data();
        const int at =
            static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetChecked(at, true);
    }
    spreadingChecks_ = false;
    trackCount_ = count;
    RefreshStatus();
}

int MainWindow::TrackCount() const
{
    return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
}

bool MainWindow::IsChecked(int item) const
{
    const UINT state = static_cast<UINT>(SendMessageA(List(), LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state >> 12) != 1;
}

void MainWindow::SetChecked(int item, bool checked)
{
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(List(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

std::string MainWindow::ItemText(int item, int column) const
{
    char text[260] = {};
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = sizeof text;
    SendMessageA(List(), LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
    return text;
}

void MainWindow::SetItemText(int item, int column, const std::string& text)
{
    std::string copy = text;
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = copy.data();
    SendMessageA(List(), LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&request));
}

int MainWindow::FirstSelected() const
{
    return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void MainWindow::RefreshStatus()
{
    int checked = 0;
    const int count = TrackCount();
    for (int i = 0; i < count; ++i) {
        if (IsChecked(i))
            ++checked;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Converting %d Tracks", checked);
    SetText(IDC_STATUS, text);
}

void MainWindow::FillSmartLengthEdits(int item)
{
    const SmartLengthFields fields = item >= 0 ? SmartLengthToFields(ItemText(item, 1)) : SmartLengthFields{};
    fillingEdits_ = true;
    SetText(IDC_SMART_MINUTES, fields.minutes.c_str());
    SetText(IDC_SMART_SECONDS, fields.seconds.c_str());
    fillingEdits_ = false;
}

void MainWindow::SmartLengthEdited()
{
    int item = FirstSelected();
    if (item < 0) {
        if (TrackCount() == 0)
            return;
        item = 0;
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
        SendMessageA(List(), LVM_SETSELECTIONMARK, 0, item);
    }
    SetItemText(item, 1, SmartLengthFromFields(Text(IDC_SMART_MINUTES), Text(IDC_SMART_SECONDS)));
}

void MainWindow::NextTrack()
{
    HWND list = List();
    const int count = TrackCount();
    if (count == 0)
        return;
    int last = -1;
    for (int i = FirstSelected(); i >= 0;
         i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, i, LVNI_SELECTED)))
        last = i;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    const int next = (last < 0 || last + 1 >= count) ? 0 : last + 1;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, next, reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, next);
    SendMessageA(list, LVM_ENSUREVISIBLE, next, FALSE);
    FillSmartLengthEdits(next);
    SetFocus(Item(IDC_SMART_MINUTES));
}

void MainWindow::StartLabelEdit(int item)
{
    if (item < 0 || item >= TrackCount())
        return;
    SetFocus(List());
    SendMessageA(List(), LVM_EDITLABELA, item, 0);
}

void MainWindow::CheckCommand(int id)
{
    spreadingChecks_ = true;
    const int count = TrackCount();
    for (int i = 0; i < count; ++i) {
        if (id == ID_CHECK_ALL)
            SetChecked(i, true);
        else if (id == ID_UNCHECK_ALL)
            SetChecked(i, false);
        else
            SetChecked(i, !IsChecked(i));
    }
    spreadingChecks_ = false;
    RefreshStatus();
}

void MainWindow::ConvertThisTrackOnly()
{
    const int mark = static_cast<int>(SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0));
    spreadingChecks_ = true;
    const int count = TrackCount();
    for (int i = 0; i < count; ++i)
        SetChecked(i, i == mark);
    spreadingChecks_ = false;
    RefreshStatus();
    InvalidateRect(Handle(), nullptr, TRUE);
    recordPending_ = true;
}

void MainWindow::ShowListMenu()
{
    if (SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0) == 0)
        return;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
    if (!menu)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const int command = TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                       cursor.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
    if (command)
        OnCommand(command, 0);
}

// ---- Menus and buttons -----------------------------------------------------------------

void MainWindow::ShowRecordMenu()
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RECORD_MENU));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    codecs_ = FindCodecs(setup_.programFolder + kEncoderFolder);
    FillRecordToMenu(GetSubMenu(popup, 3), codecs_, codec_);
    RECT under{};
    if (menuButton_)
        GetWindowRect(menuButton_->Handle(), &under);
    const int command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                       under.left, under.bottom, 0, Handle(), nullptr);
    DestroyMenu(menu);
    if (command)
        OnCommand(command, 0);
}

void MainWindow::OpenOptions()
{
    ShowOptions(Handle(), outputFolder_);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::OpenBoostkitOptions()
{
    ShowBoostkitOptions(Handle(), addOn_);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::OpenCompressionSettings()
{
    ShowCompressionSettings(Handle(), codec_.c_str());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::OpenHelpFile()
{
    ShellExecuteA(Handle(), "Open", (setup_.programFolder + kHelpPage).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void MainWindow::OnHelp()
{
    OpenHelpFile();
}

// ---- Timer and recording -----------------------------------------------------------------

void MainWindow::Tick()
{
    // A recording keeps the window's messages flowing; its own ticks wait.
    if (recording_)
        return;
    if (pendingLabelEdit_ >= 0) {
        const int item = pendingLabelEdit_;
        pendingLabelEdit_ = -1;
        StartLabelEdit(item);
    }
    const int count = TrackCountFromText(Text(IDC_TRACK_COUNT));
    if (count != trackCount_)
        BuildTrackList(count);
    if (recordPending_) {
        recordPending_ = false;
        Record(true);
    }
    if (recordWithOptionsPending_) {
        recordWithOptionsPending_ = false;
        Record(false);
    }
}

RecordingRequest MainWindow::Request() const
{
    RecordingRequest request;
    request.window = Handle();
    request.artistField = Item(IDC_ARTIST);
    request.programFolder = setup_.programFolder;
    request.codec = codec_;
    request.outputFolder = outputFolder_;
    const int count = TrackCount();
    for (int i = 0; i < count; ++i)
        request.tracks.push_back({ItemText(i, 0), ItemText(i, 1), IsChecked(i)});
    request.album = {Text(IDC_ARTIST), Text(IDC_ALBUM), Text(IDC_GENRE), Text(IDC_COMMENT), Text(IDC_YEAR)};
    request.playlist = PlaylistSettingsOf(addOn_);
    return request;
}

void MainWindow::Record(bool useLastSettings)
{
    // A label edit under way ends here, so the list holds the name typed.
    SetFocus(Item(IDC_ARTIST));
    RecordingRequest request = Request();
    request.saveSettings = [this] {
        SaveAddOnSettings(addOn_);
        AddCustomGenre();
    };
    recording_ = true;
    StartRecording(request, useLastSettings);
    recording_ = false;
    // A close asked for while the converter ran is carried out now that it has ended.
    if (closeRequested_) {
        closeRequested_ = false;
        OnClose();
    }
}

void MainWindow::AddCustomGenre()
{
    const std::string genre = Text(IDC_GENRE);
    if (genre.empty())
        return;
    HWND list = Item(IDC_GENRE);
    if (SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(genre.c_str())) != CB_ERR)
        return;
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(genre.c_str()));
    // Adding an item may clear the edit field's text of a sorted combo box.
    SetText(IDC_GENRE, genre.c_str());
    AppendLine(setup_.programFolder + kCustomGenreFile, genre);
}

// ---- Commands and notifications -----------------------------------------------------------

bool MainWindow::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_NEXT_TRACK:
        NextTrack();
        return true;
    case IDC_SMART_MINUTES:
    case IDC_SMART_SECONDS:
        if (code == EN_CHANGE && !fillingEdits_)
            SmartLengthEdited();
        return true;
    case ID_RENAME:
        StartLabelEdit(static_cast<int>(SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0)));
        return true;
    case ID_CHECK_ALL:
    case ID_UNCHECK_ALL:
    case ID_INVERT_CHECKS:
        CheckCommand(id);
        return true;
    case ID_CONVERT_THIS_TRACK:
        ConvertThisTrackOnly();
        return true;
    case ID_RECORD:
        recordPending_ = true;
        return true;
    case ID_RECORD_WITH_OPTIONS:
        recordWithOptionsPending_ = true;
        return true;
    case ID_COMPRESSION_SETTINGS:
        OpenCompressionSettings();
        return true;
    case IDCANCEL:
    case IDOK:
        // Escape and Enter never close the recorder; Enter goes to the next
        // track through the hidden default button.
        return true;
    default:
        if (id >= ID_RECORD_TO_FIRST && id < ID_RECORD_TO_FIRST + static_cast<int>(codecs_.size())) {
            codec_ = codecs_[id - ID_RECORD_TO_FIRST];
            return true;
        }
        return false;
    }
}

LRESULT MainWindow::OnNotify(NMHDR* header)
{
    if (header->idFrom != IDC_TRACKS)
        return 0;
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
        const UINT oldImage = (change->uOldState & LVIS_STATEIMAGEMASK) >> 12;
        const UINT newImage = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
        if (!spreadingChecks_ && (change->uChanged & LVIF_STATE) && change->iItem >= 0 && oldImage != 0 &&
            newImage != 0 && oldImage != newImage &&
            (SendMessageA(List(), LVM_GETITEMSTATE, change->iItem, LVIS_SELECTED) & LVIS_SELECTED)) {
            // A selected item's check goes to every other selected item.
            spreadingChecks_ = true;
            for (int i = FirstSelected(); i >= 0;
                 i = static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, i, LVNI_SELECTED))) {
                if (i != change->iItem)
                    SetChecked(i, newImage != 1);
            }
            spreadingChecks_ = false;
        }
        RefreshStatus();
        return 0;
    }
    case NM_CLICK:
        FillSmartLengthEdits(FirstSelected());
        return 0;
    case NM_RCLICK:
        ShowListMenu();
        return 0;
    case NM_RELEASEDCAPTURE:
        pendingLabelEdit_ = -1;
        return 0;
    case LVN_KEYDOWN: {
        const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
        if (key->wVKey == VK_F2)
            StartLabelEdit(static_cast<int>(SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0)));
        return 0;
    }
    case LVN_ENDLABELEDITA: {
        const NMLVDISPINFOA* info = reinterpret_cast<const NMLVDISPINFOA*>(header);
        if (!info->item.pszText || !info->item.pszText[0])
            return FALSE;
        const int next = info->item.iItem + 1;
        pendingLabelEdit_ = next < TrackCount() ? next : -1;
        return TRUE;
    }
    default:
        return 0;
    }
}

void MainWindow::OnClose()
{
    // The converter owns the job and the recorder its log until the converter
    // ends: the window closes after that, not while it waits.
    if (recording_) {
        closeRequested_ = true;
        return;
    }
    using namespace settings;
    KillTimer(Handle(), kTimerId);
    AddCustomGenre();
    WriteCodec(codec_);
    WriteOutputFolder(codec_, outputFolder_);
    for (const char* name : {kWindowX, kWindowY, kWindowW, kWindowH})
        store::DeleteValue(name, HKEY_CURRENT_USER, kSuiteKey);
    if (!IsZoomed(Handle()) && !IsIconic(Handle())) {
        RECT r{};
        GetWindowRect(Handle(), &r);
        store::WriteNumber(kWindowX, static_cast<uint32_t>(r.left), HKEY_CURRENT_USER, kSuiteKey);
        store::WriteNumber(kWindowY, static_cast<uint32_t>(r.top), HKEY_CURRENT_USER, kSuiteKey);
        store::WriteNumber(kWindowW, static_cast<uint32_t>(r.right - r.left), HKEY_CURRENT_USER, kSuiteKey);
        store::WriteNumber(kWindowH, static_cast<uint32_t>(r.bottom - r.top), HKEY_CURRENT_USER, kSuiteKey);
    }
    End(IDOK);
}

// ---- Skin and layout -------------------------------------------------------------------------

void MainWindow::Layout()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const MainLayout layout = LayoutMainWindow(client.right, client.bottom, dpi_);
    auto place = [&](int id, const Box& b) { MoveWindow(Item(id), b.x, b.y, b.width, b.height, TRUE); };
    place(IDC_TRACKS, layout.list);
    place(IDC_STATUS_FRAME, layout.statusFrame);
    place(IDC_STATUS, layout.statusText);
}

void MainWindow::PaintBackground(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    // The children paint themselves (and their borders); keep off them.
    const int saved = SaveDC(dc);
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    if (backdrop_.Dc())
        BitBlt(dc, 0, 0, client.right, client.bottom, backdrop_.Dc(), 0, 0, SRCCOPY);
    else
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    const int header = HeaderHeight(dpi_);
    const int bandBottom = header + Y(22) + 9;
    HGDIOBJ oldFont = SelectObject(dc, labelFont_ ? labelFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const COLORREF shadow =
        RGB(setup_.colours.shadow.red, setup_.colours.shadow.green, setup_.colours.shadow.blue);
    const COLORREF label =
        RGB(setup_.colours.label.red, setup_.colours.label.green, setup_.colours.label.blue);
    auto draw = [&](const char* text, int x, int y, bool right) {
        SetTextAlign(dc, (right ? TA_RIGHT : TA_LEFT) | TA_TOP);
        const int length = static_cast<int>(std::strlen(text));
        SetTextColor(dc, shadow);
        TextOutA(dc, x + 1, y + 1, text, length);
        SetTextColor(dc, label);
        TextOutA(dc, x, y, text, length);
    };
    for (const Label& l : kHeaderLabels)
        draw(l.text, X(l.x), Y(l.y), l.right);
    DrawSunkenFrame(dc, 2, 2, client.right - 3, header + 3);
    DrawSunkenFrame(dc, 2, header + 6, client.right - 3, bandBottom);
    draw("Smart Track Length", X(9), header + 13, false);
    draw("Minutes", X(141), header + 13, false);
    draw("Seconds", X(215), header + 13, false);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
}

HBRUSH MainWindow::StaticBrush(HDC dc, HWND control)
{
    SetBkMode(dc, TRANSPARENT);
    if (!backdropBrush_)
        return GetSysColorBrush(COLOR_BTNFACE);
    // The pattern lines up with the backdrop behind the control.
    POINT origin{0, 0};
    MapWindowPoints(control, Handle(), &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return backdropBrush_;
}

INT_PTR MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerId) {
            handled = true;
            Tick();
        } else if (wParam == kMaximiseTimerId) {
            handled = true;
            KillTimer(Handle(), kMaximiseTimerId);
            ShowWindow(Handle(), SW_SHOWMAXIMIZED);
        }
        return 0;
    case WM_SIZE:
        Layout();
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_RESTORED)
            InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
        handled = true;
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        const int id = GetDlgCtrlID(control);
        if (id != IDC_STATUS && id != IDC_STATUS_FRAME)
            return 0;
        handled = true;
        return reinterpret_cast<INT_PTR>(StaticBrush(reinterpret_cast<HDC>(wParam), control));
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (SkinButton* button = SkinButton::FromWindow(item->hwndItem)) {
            button->Draw(*item);
            handled = true;
            return TRUE;
        }
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace auxiliary
