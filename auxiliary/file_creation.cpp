#include "file_creation.h"

#include "file_creation_dialog.h"
#include "file_creation_ids.h"
#include "file_template.h"
#include "prompts.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace auxiliary {

namespace {

void PlayInformationSound()
{
    MessageBeep(MB_ICONASTERISK);
}

void (*g_informationSound)() = PlayInformationSound;

// The window class of the template (CLASS "clsFCDialog"): a dialog class in
// every respect but its name.
void RegisterWindowClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefDlgProcA;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = FileCreationDialog::kClassName;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
}

std::string Cut(std::string text)
{
    if (text.size() > kTemplateLength)
        text.resize(kTemplateLength);
    return text;
}

} // namespace

FileCreationDialog::FileCreationDialog(std::string title, std::string text, TemplateStore& store)
    : Dialog(IDD_FILE_CREATION), title_(std::move(title)), text_(Cut(std::move(text))), store_(store)
{
    RegisterWindowClass();
}

FileCreationDialog::~FileCreationDialog()
{
    if (font_)
        DeleteObject(font_);
}

void FileCreationDialog::SetInformationSound(void (*play)())
{
    g_informationSound = play ? play : PlayInformationSound;
}

bool FileCreationDialog::OnInit()
{
    HWND window = Handle();
    SetWindowTextA(window, title_.c_str());

    font_ = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    // 440 by 435 pixels, in the middle of the screen.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    SetWindowPos(window, nullptr, x, y, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();

    // Elements with their descriptions in a second column.
    HWND elements = Item(IDC_FC_ELEMENTS);
    HDC dc = GetDC(elements);
    HGDIOBJ old = SelectObject(dc, font_);
    int column = 0;
    for (const TemplateElement& e : kTemplateElements) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, e.element, static_cast<int>(std::strlen(e.element)), &extent);
        column = std::max(column, static_cast<int>(extent.cx));
    }
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(elements, dc);
    // Tab stops count quarters of the list's average character width.
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    const int tab = (column + 16) * 4 / average + 1;
    SendMessageA(elements, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab));
    for (const TemplateElement& e : kTemplateElements) {
        const std::string line = std::string(e.element) + "\t" + e.description;
        SendMessageA(elements, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    for (const char* predefined : kPredefinedTemplates)
        SendMessageA(Item(IDC_FC_PREDEFINED), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(predefined));

    SendMessageA(Item(IDC_FC_TEMPLATE), CB_LIMITTEXT, kTemplateLength, 0);
    SetTemplate(text_, text_.size());
    UpdateExample(text_);
    return true;
}

void FileCreationDialog::Layout()
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int margin = 8;
    const int width = client.right - 2 * margin;
    const int line = 14;
    const int itemHeight =
        std::max(1, static_cast<int>(SendMessageA(Item(IDC_FC_ELEMENTS), LB_GETITEMHEIGHT, 0, 0)));
    const int elementsHeight = static_cast<int>(std::size(kTemplateElements)) * itemHeight + 4;
    const int predefinedHeight = static_cast<int>(std::size(kPredefinedTemplates)) * itemHeight + 4;
    const int buttonWidth = 75, buttonHeight = 23;

    int y = margin;
    auto place = [&](int id, int x, int top, int w, int h) { MoveWindow(Item(id), x, top, w, h, FALSE); };
    place(IDC_FC_LABEL, margin, y, width, line);
    y += line + 2;
    // A drop-down box's height includes its opened list.
    place(IDC_FC_TEMPLATE, margin, y, width, 200);
    RECT combo{};
    GetWindowRect(Item(IDC_FC_TEMPLATE), &combo);
    y += (combo.bottom - combo.top) + 6;
    place(IDC_FC_EXAMPLE, margin, y, width, line);
    y += line + 10;
    place(IDC_FC_ELEMENTS_LABEL, margin, y, width, line);
    y += line + 2;
    place(IDC_FC_ELEMENTS, margin, y, width, elementsHeight);
    y += elementsHeight + 8;
    place(IDC_FC_PREDEFINED_LABEL, margin, y, width, line);
    y += line + 2;
    const int buttonsTop = client.bottom - margin - buttonHeight;
    // The predefined list takes the room down to the buttons.
    place(IDC_FC_PREDEFINED, margin, y, width, std::max(predefinedHeight, buttonsTop - 10 - y));
    place(IDCANCEL, client.right - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
    place(IDOK, client.right - margin - 2 * buttonWidth - 6, buttonsTop, buttonWidth, buttonHeight);
}

void FileCreationDialog::SetTemplate(const std::string& text, size_t caret)
{
    const std::string cut = Cut(text);
    SetText(IDC_FC_TEMPLATE, cut.c_str());
    const LPARAM at = static_cast<LPARAM>(std::min(caret, cut.size()));
    SendMessageA(Item(IDC_FC_TEMPLATE), CB_SETEDITSEL, 0, MAKELPARAM(at, at));
}

void FileCreationDialog::UpdateExample(const std::string& text)
{
    SetText(IDC_FC_EXAMPLE, ExampleLine(text, store_).c_str());
}

void FileCreationDialog::TemplateEdited()
{
    std::string text = Text(IDC_FC_TEMPLATE);
    const std::string typed = text;
    if (RemoveForbiddenCharacters(text)) {
        // Keep the caret where it was, less what was removed before it.
        const DWORD selection = static_cast<DWORD>(SendMessageA(Item(IDC_FC_TEMPLATE), CB_GETEDITSEL, 0, 0));
        std::string before = typed.substr(0, std::min<size_t>(HIWORD(selection), typed.size()));
        RemoveForbiddenCharacters(before);
        SetTemplate(text, before.size());
        g_informationSound();
    }
    UpdateExample(text);
}

void FileCreationDialog::FillHistory()
{
    const std::string current = Text(IDC_FC_TEMPLATE);
    HWND combo = Item(IDC_FC_TEMPLATE);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : store_.History())
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetTemplate(current, current.size());
}

void FileCreationDialog::HistoryChosen()
{
    HWND combo = Item(IDC_FC_TEMPLATE);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (index == CB_ERR || length == CB_ERR)
        return;
    std::string entry(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(std::strlen(entry.c_str()));
    entry = Cut(entry);
    SetTemplate(entry, entry.size());
    UpdateExample(entry);
}

void FileCreationDialog::ListPicked(int id)
{
    const LRESULT index = SendMessageA(Item(id), LB_GETCURSEL, 0, 0);
    std::string text;
    if (id == IDC_FC_ELEMENTS && index >= 0 && index < static_cast<LRESULT>(std::size(kTemplateElements)))
        text = Cut(Text(IDC_FC_TEMPLATE) + kTemplateElements[index].element);
    else if (id == IDC_FC_PREDEFINED && index >= 0 &&
             index < static_cast<LRESULT>(std::size(kPredefinedTemplates)))
        text = kPredefinedTemplates[index];
    else
        return;
    SetTemplate(text, text.size());
    UpdateExample(text);
}

void FileCreationDialog::Accept()
{
    const std::string text = Text(IDC_FC_TEMPLATE);
    if (!IsValidArrangement(text)) {
        dsp::CurrentPrompts().Message(Handle(), kInvalidArrangementText, kInvalidArrangementCaption,
                                      MB_OK | MB_ICONERROR);
        return;
    }
    store_.AddToHistory(text);
    accepted_ = text;
    End(IDOK);
}

bool FileCreationDialog::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_FC_TEMPLATE:
        if (code == CBN_EDITCHANGE)
            TemplateEdited();
        else if (code == CBN_DROPDOWN)
            FillHistory();
        else if (code == CBN_SELCHANGE)
            HistoryChosen();
        else
            return false;
        return true;
    case IDC_FC_ELEMENTS:
    case IDC_FC_PREDEFINED:
        if (code != LBN_DBLCLK)
            return false;
        ListPicked(id);
        return true;
    case IDOK:
        Accept();
        return true;
    default:
        return Dialog::OnCommand(id, code);
    }
}

bool EditTemplate(HWND owner, char* templ, const char* title)
{
    if (!templ)
        return false;
    TemplateStore store;
    FileCreationDialog dialog(title ? title : "", std::string(templ, strnlen(templ, kTemplateLength)), store);
    if (dialog.ShowModal(owner) != IDOK)
        return false;
    const std::string& accepted = dialog.Accepted();
    const size_t n = std::min(accepted.size(), kTemplateLength);
    std::memcpy(templ, accepted.data(), n);
    templ[n] = '\0';
    return true;
}

} // namespace auxiliary
