#include "FormBase.h"

#include "Cubdfuncs.h"

#include <cstring>
#include <exception>

namespace {

// The event log line for an exception caught at a callback boundary. Writing
// it must not throw in turn.
void LogCaught(const char* name, const char* procedure, const char* what) noexcept
{
    try {
        std::string line = std::string("Failure in ") + name + "::" + procedure + "()";
        if (what)
            line += std::string(": ") + what;
        WriteLog(line);
    } catch (...) {
    }
}

// The one policy at the callback boundary: runs `handler`, and whatever it
// throws is logged and answered with `safe`.
template <class Result, class Handler>
Result Guarded(const char* name, const char* procedure, Result safe, Handler handler) noexcept
{
    try {
        return handler();
    } catch (const std::exception& e) {
        LogCaught(name, procedure, e.what());
    } catch (...) {
        LogCaught(name, procedure, nullptr);
    }
    return safe;
}

} // namespace

// ---------------------------------------------------------------------------
// TWindow

TWindow::~TWindow()
{
    DestroyHandle();
}

bool TWindow::CreateHandle(HINSTANCE instance, WNDCLASSEXA wc, DWORD exStyle, const char* title, DWORD style,
                           int x, int y, int width, int height, HWND parent, HMENU menu)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, m_Name, &existing)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TWindow::WndProc;
        wc.hInstance = instance;
        wc.lpszClassName = m_Name;
        if (!RegisterClassExA(&wc))
            return false;
    }
    return CreateWindowExA(exStyle, m_Name, title, style, x, y, width, height, parent, menu, instance,
                           this) != nullptr;
}

void TWindow::DestroyHandle()
{
    if (!m_hWnd)
        return;
    HWND hwnd = m_hWnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    DestroyWindow(hwnd);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK TWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        created->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT result =
        Guarded(self->m_Name, "WndProc", LRESULT{0}, [&] { return self->HandleMessage(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

// ---------------------------------------------------------------------------
// TDialogTemplate

TDialogTemplate::TDialogTemplate(DWORD style, const char* title, WORD pointSize, const char* font, short cx,
                                 short cy)
{
    DLGTEMPLATE head{};
    head.style = style | DS_SETFONT;
    head.cx = cx;
    head.cy = cy;
    Append(&head, sizeof head);
    Word(0); // no menu
    Word(0); // the standard dialog class
    Text(title);
    Word(pointSize);
    Text(font);
}

void TDialogTemplate::Item(WORD classAtom, int id, DWORD style, const char* text, short x, short y, short cx,
                           short cy)
{
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = static_cast<WORD>(id);
    Append(&item, sizeof item);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0); // no creation data
    ++reinterpret_cast<DLGTEMPLATE*>(m_Data.data())->cdit;
}

const DLGTEMPLATE* TDialogTemplate::Get() const
{
    return m_Size ? reinterpret_cast<const DLGTEMPLATE*>(m_Data.data()) : nullptr;
}

void TDialogTemplate::Append(const void* p, std::size_t n)
{
    m_Data.resize((m_Size + n + 3) / 4, 0);
    std::memcpy(reinterpret_cast<unsigned char*>(m_Data.data()) + m_Size, p, n);
    m_Size += n;
}

void TDialogTemplate::Word(WORD w)
{
    Append(&w, sizeof w);
}

void TDialogTemplate::Text(const char* s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, s, -1, wide.data(), n);
    Append(wide.data(), wide.size() * sizeof(wchar_t));
}

void TDialogTemplate::Align()
{
    static const unsigned char zeros[4] = {};
    if (m_Size % 4)
        Append(zeros, 4 - m_Size % 4);
}

// ---------------------------------------------------------------------------
// TDialog

TDialog::TDialog(const char* name, int resourceId, HINSTANCE instance)
    : m_Name(name), m_ResourceId(resourceId), m_Instance(instance)
{}

TDialog::TDialog(const char* name, TDialogTemplate dialogTemplate)
    : m_Name(name), m_Template(std::move(dialogTemplate)), m_FromTemplate(true)
{}

TDialog::~TDialog()
{
    // A modeless dialog still open goes with its object; a modal one cannot
    // outlive ShowModal.
    if (m_hWnd) {
        HWND hwnd = m_hWnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        DestroyWindow(hwnd);
    }
}

HINSTANCE TDialog::Instance() const
{
    return m_Instance ? m_Instance : GetModuleHandleA(nullptr);
}

INT_PTR TDialog::ShowModal(HWND owner)
{
    m_Owner = owner;
    m_Modal = true;
    m_ModalResult = 0;
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    INT_PTR r =
        m_FromTemplate
            ? DialogBoxIndirectParamA(Instance(), m_Template.Get(), owner, &TDialog::DialogProc, self)
            : DialogBoxParamA(Instance(), MAKEINTRESOURCEA(m_ResourceId), owner, &TDialog::DialogProc, self);
    m_hWnd = nullptr;
    if (r == -1)
        return -1;
    return m_ModalResult = r;
}

bool TDialog::Show(HWND owner)
{
    m_Owner = owner;
    m_Modal = false;
    m_ModalResult = 0;
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND hwnd = m_FromTemplate ? CreateDialogIndirectParamA(Instance(), m_Template.Get(), owner,
                                                            &TDialog::DialogProc, self)
                               : CreateDialogParamA(Instance(), MAKEINTRESOURCEA(m_ResourceId), owner,
                                                    &TDialog::DialogProc, self);
    if (!hwnd)
        return false;
    ShowWindow(hwnd, SW_SHOW);
    return true;
}

void TDialog::End(INT_PTR result)
{
    m_ModalResult = result;
    if (!m_hWnd)
        return;
    if (m_Modal)
        EndDialog(m_hWnd, result);
    else
        DestroyWindow(m_hWnd);
}

bool TDialog::PreTranslate(MSG& msg)
{
    if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    // Only the dialogs of this base: their procedure is ours.
    if (!root || GetWindowLongPtrA(root, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&TDialog::DialogProc))
        return false;
    return IsDialogMessageA(root, &msg) != FALSE;
}

bool TDialog::OnCommand(int id, int)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool TDialog::OnNotify(const NMHDR&, LRESULT&)
{
    return false;
}

INT_PTR TDialog::HandleMessage(UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void TDialog::CenterOnOwner()
{
    RECT frame;
    GetWindowRect(m_hWnd, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT around;
    if (!m_Owner || !GetWindowRect(m_Owner, &around))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    const int left = around.left + ((around.right - around.left) - width) / 2;
    const int top = around.top + ((around.bottom - around.top) - height) / 2;
    SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TDialog::ItemText(int id) const
{
    HWND item = Item(id);
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return text.data();
}

INT_PTR TDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const bool focus = OnInit();
        CenterOnOwner();
        return focus ? TRUE : FALSE;
    }
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<const NMHDR*>(lp), result))
            return FALSE;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    default:
        return HandleMessage(msg, wp, lp);
    }
}

INT_PTR CALLBACK TDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        auto* created = reinterpret_cast<TDialog*>(lp);
        created->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    }
    auto* self = reinterpret_cast<TDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    const INT_PTR result =
        Guarded(self->m_Name, "DialogProc", INT_PTR{FALSE}, [&] { return self->Dispatch(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}
