#include "skin_button.h"

#include "skin.h"
#include "skin_core.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace auxiliary {

namespace {

constexpr const char* kButtonProperty = "tvcSkinButton";
constexpr const char* kTipClass = "tvcSkinTip";
constexpr DWORD kHoverPeriodMs = 250;
constexpr DWORD kTipPeriodMs = 50;
constexpr DWORD kTipDelayMs = 1000;

class MutexLock
{
public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) { WaitForSingleObject(mutex_, INFINITE); }
    ~MutexLock() { ReleaseMutex(mutex_); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE mutex_;
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// A bitmap file's picture, or nullptr when the file is missing or is not a
// whole bitmap (truncated, not a bitmap at all). The file is checked and
// decoded here rather than by the system's loader, which reads past the end
// of a truncated file.
HBITMAP LoadBitmapFile(const std::string& path)
{
    constexpr size_t kMostBitmapBytes = 32u << 20;
    const std::string bytes = ReadSmallFile(path, kMostBitmapBytes);
    const BitmapFileLayout layout = CheckBitmapFile(bytes);
    if (!layout.usable)
        return nullptr;
    void* pixels = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bytes.data() + layout.infoOffset),
                         DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(pixels, bytes.data() + layout.pixelsOffset, layout.pixelBytes);
    return bitmap;
}

// One form of a button: the image, combined with the backdrop under the
// button through its mask when the mask exists.
HBITMAP LoadForm(const std::string& path, HDC backdrop, int x, int y)
{
    HBITMAP image = LoadBitmapFile(path);
    if (!image)
        return nullptr;
    HBITMAP mask = LoadBitmapFile(MaskBitmapName(path));
    if (!mask || !backdrop) {
        if (mask)
            DeleteObject(mask); // no backdrop to combine it with
        return image;
    }
    const SIZE size = BitmapSize(image);
    HDC screen = GetDC(nullptr);
    HBITMAP combined = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HDC target = CreateCompatibleDC(screen);
    HDC source = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!combined || !target || !source) {
        // Without the surfaces the plain image is still a face for the button.
        if (source)
            DeleteDC(source);
        if (target)
            DeleteDC(target);
        if (combined)
            DeleteObject(combined);
        DeleteObject(mask);
        return image;
    }
    HGDIOBJ oldTarget = SelectObject(target, combined);
    BitBlt(target, 0, 0, size.cx, size.cy, backdrop, x, y, SRCCOPY);
    HGDIOBJ oldSource = SelectObject(source, mask);
    BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCAND);
    SelectObject(source, image);
    BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCPAINT);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    DeleteObject(mask);
    DeleteObject(image);
    return combined;
}

} // namespace

// The state both threads share. Made once and never freed: the threads run
// until the process ends, past the destructors of static objects.
struct SkinButtonThreads
{
    HANDLE buttonMutex = CreateMutexA(nullptr, FALSE, nullptr);
    std::vector<SkinButton*> buttons;
    bool hoverStarted = false;

    struct Tip
    {
        HWND button;
        std::string text;
    };
    HANDLE tipMutex = CreateMutexA(nullptr, FALSE, nullptr);
    std::vector<Tip> tips;
    bool tipStarted = false;

    static SkinButtonThreads& Get()
    {
        static SkinButtonThreads* threads = new SkinButtonThreads;
        return *threads;
    }

    // Called with the button mutex held.
    static void SetHover(SkinButton* button, bool hover)
    {
        if (button->hover_ == hover)
            return;
        button->hover_ = hover;
        InvalidateRect(button->window_, nullptr, FALSE);
        if (button->linked_)
            InvalidateRect(button->linked_->window_, nullptr, FALSE);
    }

    static DWORD WINAPI HoverThread(void*)
    {
        SkinButtonThreads& self = Get();
        for (;;) {
            Sleep(kHoverPeriodMs);
            POINT cursor{};
            GetCursorPos(&cursor);
            HWND under = WindowFromPoint(cursor);
            MutexLock lock(self.buttonMutex);
            for (SkinButton* button : self.buttons)
                SetHover(button, button->window_ == under);
        }
    }

    static LRESULT CALLBACK TipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
            char text[260] = {};
            GetWindowTextA(window, text, sizeof text);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static void ShowTip(HWND tip, const std::string& text, POINT cursor)
    {
        SetWindowTextA(tip, text.c_str());
        HDC dc = GetDC(tip);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(tip, dc);
        SetWindowPos(tip, HWND_TOPMOST, cursor.x, cursor.y + 20, size.cx + 10, size.cy + 6,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        InvalidateRect(tip, nullptr, TRUE);
    }

    static DWORD WINAPI TipThread(void*)
    {
        SkinButtonThreads& self = Get();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TipProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kTipClass;
        RegisterClassA(&windowClass);
        HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTipClass, "",
                                   WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        HWND restingOn = nullptr;
        DWORD restingSince = 0;
        bool shown = false;
        for (;;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kTipPeriodMs, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            POINT cursor{};
            GetCursorPos(&cursor);
            HWND under = WindowFromPoint(cursor);
            std::string text;
            bool known = false;
            {
                MutexLock lock(self.tipMutex);
                for (const Tip& t : self.tips) {
                    if (t.button == under && IsWindowVisible(under)) {
                        known = true;
                        text = t.text;
                    }
                }
            }
            if (!known || under != restingOn) {
                if (shown && tip)
                    ShowWindow(tip, SW_HIDE);
                shown = false;
                restingOn = known ? under : nullptr;
                restingSince = GetTickCount();
                continue;
            }
            if (!shown && tip && GetTickCount() - restingSince > kTipDelayMs) {
                ShowTip(tip, text, cursor);
                shown = true;
            }
        }
    }

    void Add(SkinButton* button)
    {
        MutexLock lock(buttonMutex);
        buttons.push_back(button);
        if (!hoverStarted) {
            hoverStarted = true;
            if (HANDLE thread = CreateThread(nullptr, 0, HoverThread, nullptr, 0, nullptr))
                CloseHandle(thread);
        }
    }

    void Remove(SkinButton* button)
    {
        {
            MutexLock lock(buttonMutex);
            buttons.erase(std::remove(buttons.begin(), buttons.end(), button), buttons.end());
            for (SkinButton* other : buttons) {
                if (other->linked_ == button)
                    other->linked_ = nullptr;
            }
        }
        MutexLock lock(tipMutex);
        tips.erase(std::remove_if(tips.begin(), tips.end(),
                                  [&](const Tip& t) { return t.button == button->window_; }),
                   tips.end());
    }

    void AddTip(HWND button, const std::string& text)
    {
        MutexLock lock(tipMutex);
        tips.push_back({button, text});
        if (!tipStarted) {
            tipStarted = true;
            if (HANDLE thread = CreateThread(nullptr, 0, TipThread, nullptr, 0, nullptr))
                CloseHandle(thread);
        }
    }
};

SkinButton* SkinButton::Create(HWND parent, int id, int x, int y, const std::string& bitmapPath, HDC backdrop,
                               const DefaultFace& face, const std::string& tooltip,
                               std::function<void()> leftClick, std::function<void()> rightClick)
{
    SkinButton* button = new SkinButton;
    button->face_ = face;
    button->forms_[0] = LoadForm(bitmapPath, backdrop, x, y);
    if (button->forms_[0]) {
        button->forms_[1] = LoadForm(HoverBitmapName(bitmapPath), backdrop, x, y);
        button->forms_[2] = LoadForm(PressedBitmapName(bitmapPath), backdrop, x, y);
    }
    const SIZE size = button->forms_[0] ? BitmapSize(button->forms_[0]) : SIZE{face.width, face.height};
    button->width_ = size.cx;
    button->height_ = size.cy;
    button->leftClick_ = std::move(leftClick);
    button->rightClick_ = std::move(rightClick);
    button->window_ = CreateWindowExA(
        0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, x, y, size.cx, size.cy, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!button->window_) {
        delete button;
        return nullptr;
    }
    SetPropA(button->window_, kButtonProperty, button);
    button->staticProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button->window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinButton::Procedure)));
    SkinButtonThreads::Get().Add(button);
    if (!tooltip.empty())
        SkinButtonThreads::Get().AddTip(button->window_, tooltip);
    return button;
}

SkinButton::~SkinButton()
{
    for (HBITMAP form : forms_) {
        if (form)
            DeleteObject(form);
    }
}

void SkinButton::Link(SkinButton* a, SkinButton* b)
{
    if (!a || !b)
        return;
    MutexLock lock(SkinButtonThreads::Get().buttonMutex);
    a->linked_ = b;
    b->linked_ = a;
}

SkinButton* SkinButton::FromWindow(HWND window)
{
    return window ? static_cast<SkinButton*>(GetPropA(window, kButtonProperty)) : nullptr;
}

SkinButton::Form SkinButton::CurrentForm() const
{
    MutexLock lock(SkinButtonThreads::Get().buttonMutex);
    if (pressed_)
        return Form::Pressed;
    if (hover_ || (linked_ && (linked_->hover_ || linked_->pressed_)))
        return Form::Hover;
    return Form::Normal;
}

void SkinButton::DrawDefaultFace(HDC dc, Form form) const
{
    RECT box{0, 0, width_, height_};
    UINT state = DFCS_BUTTONPUSH;
    if (form == Form::Pressed)
        state |= DFCS_PUSHED;
    else if (form == Form::Hover)
        state |= DFCS_HOT;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
    const int shift = form == Form::Pressed ? 1 : 0;
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    if (face_.arrow) {
        const int cx = width_ / 2 + shift, cy = height_ / 2 + shift;
        const POINT points[] = {{cx - 3, cy - 2}, {cx + 3, cy - 2}, {cx, cy + 2}};
        HBRUSH brush = CreateSolidBrush(ink);
        HPEN pen = CreatePen(PS_SOLID, 1, ink);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        Polygon(dc, points, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
        return;
    }
    // A small font of fixed pixel height, as the bitmaps it stands for do
    // not grow with the screen's resolution either.
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text{shift, shift, width_ + shift, height_ + shift};
    DrawTextA(dc, face_.caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (font)
        DeleteObject(font);
}

void SkinButton::Draw(const DRAWITEMSTRUCT& item)
{
    const Form form = CurrentForm();
    if (!forms_[0]) {
        DrawDefaultFace(item.hDC, form);
        return;
    }
    HBITMAP bitmap = forms_[static_cast<int>(form)];
    if (!bitmap)
        bitmap = forms_[0];
    if (!bitmap)
        return;
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(item.hDC, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void SkinButton::Redraw()
{
    InvalidateRect(window_, nullptr, FALSE);
    if (linked_)
        InvalidateRect(linked_->window_, nullptr, FALSE);
}

void SkinButton::SetPressed(bool pressed)
{
    {
        MutexLock lock(SkinButtonThreads::Get().buttonMutex);
        if (pressed_ == pressed)
            return;
        pressed_ = pressed;
    }
    Redraw();
}

bool SkinButton::CursorInside() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    return PtInRect(&bounds, cursor) != FALSE;
}

LRESULT CALLBACK SkinButton::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SkinButton* button = FromWindow(window);
    if (!button)
        return DefWindowProcA(window, message, wParam, lParam);
    return button->OnMessage(message, wParam, lParam);
}

LRESULT SkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        captured_ = (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) ? 1 : 2;
        SetCapture(window_);
        SetPressed(true);
        return 0;
    case WM_MOUSEMOVE:
        if (captured_) {
            SetPressed(CursorInside());
        } else {
            MutexLock lock(SkinButtonThreads::Get().buttonMutex);
            SkinButtonThreads::SetHover(this, true);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const int button = message == WM_LBUTTONUP ? 1 : 2;
        if (captured_ != button)
            return 0;
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client{0, 0, width_, height_};
        const bool inside = PtInRect(&client, at) != FALSE;
        captured_ = 0;
        ReleaseCapture();
        SetPressed(false);
        if (inside) {
            // The action may open a modal window and outlive this message.
            std::function<void()> action = (button == 2 && rightClick_) ? rightClick_ : leftClick_;
            if (action)
                action();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (captured_) {
            captured_ = 0;
            SetPressed(false);
        }
        return 0;
    case WM_NCDESTROY: {
        WNDPROC original = staticProcedure_;
        HWND window = window_;
        SkinButtonThreads::Get().Remove(this);
        RemovePropA(window, kButtonProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        delete this;
        return CallWindowProcA(original, window, WM_NCDESTROY, wParam, lParam);
    }
    default:
        return CallWindowProcA(staticProcedure_, window_, message, wParam, lParam);
    }
}

} // namespace auxiliary
