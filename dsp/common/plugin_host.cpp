#include "plugin_host.h"

namespace dsp {

namespace {

// The panel's fixed top in its parent, and where the frame shows it.
constexpr int kPanelY = 208;
constexpr int kMargin = 20;
constexpr int kShift = kPanelY - kMargin;
constexpr int kFirstWidth = 560;
constexpr int kFirstHeight = 400;
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
const char* const kCanvasClass = "DspHostCanvas";

void RegisterOnce(const char* name, WNDPROC proc)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

} // namespace

LoadedPlugin::LoadedPlugin(std::string path) : path_(std::move(path))
{
    Load();
}

LoadedPlugin::~LoadedPlugin()
{
    Unload();
}

void LoadedPlugin::Load()
{
    Unload();
    module_ = LoadLibraryA(path_.c_str());
    if (!module_) {
        problem_ = "cannot load the plug-in '" + path_ + "': " + LastErrorText();
        return;
    }
    work = reinterpret_cast<DSPWorkOnThisFileFn>(GetProcAddress(module_, "DSPWorkOnThisFile"));
    show = reinterpret_cast<ShowDSPSettingsFn>(GetProcAddress(module_, "ShowDSPSettings"));
    remove = reinterpret_cast<RemoveDSPSettingsFn>(GetProcAddress(module_, "RemoveDSPSettings"));
    if (!Complete())
        problem_ =
            "'" + path_ +
            "' is not a DSP plug-in (DSPWorkOnThisFile, ShowDSPSettings or RemoveDSPSettings is missing)";
}

void LoadedPlugin::Unload()
{
    if (module_)
        FreeLibrary(module_);
    module_ = nullptr;
    work = nullptr;
    show = nullptr;
    remove = nullptr;
    problem_.clear();
}

std::string LastErrorText()
{
    const DWORD e = GetLastError();
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, e, 0, text,
                   sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(e) : s;
}

PanelHostWindow::PanelHostWindow(const char* className, const std::string& title, bool visible,
                                 Handler handler)
    : handler_(std::move(handler))
{
    RegisterOnce(className, FrameProc);
    RegisterOnce(kCanvasClass, DefWindowProcA);
    RECT r{0, 0, kFirstWidth, kFirstHeight};
    AdjustWindowRect(&r, kFrameStyle, FALSE);
    frame_ = CreateWindowExA(0, className, title.c_str(), kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                             this);
    if (!frame_)
        return;
    canvas_ = CreateWindowExA(WS_EX_CONTROLPARENT, kCanvasClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, 0, 0, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
    PlaceCanvas();
    if (visible) {
        ShowWindow(frame_, SW_SHOWNORMAL);
        UpdateWindow(frame_);
    }
}

PanelHostWindow::~PanelHostWindow()
{
    if (frame_ && IsWindow(frame_))
        DestroyWindow(frame_);
}

HWND PanelHostWindow::Panel() const
{
    return canvas_ ? GetWindow(canvas_, GW_CHILD) : nullptr;
}

void PanelHostWindow::PlaceCanvas()
{
    if (!canvas_)
        return;
    RECT client{};
    GetClientRect(frame_, &client);
    MoveWindow(canvas_, 0, -kShift, client.right, client.bottom + kShift, TRUE);
}

void PanelHostWindow::FitToPanel()
{
    HWND panel = Panel();
    if (!panel)
        return;
    RECT pr{};
    GetWindowRect(panel, &pr);
    MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&pr), 2);
    RECT want{0, 0, pr.right + kMargin, pr.bottom + kMargin};
    AdjustWindowRect(&want, kFrameStyle, FALSE);
    SetWindowPos(frame_, nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PanelHostWindow::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PanelHostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_SIZE && self->frame_ == window)
        self->PlaceCanvas();
    LRESULT result = 0;
    if (self && self->handler_ && self->handler_(window, message, wParam, lParam, &result))
        return result;
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->frame_ = nullptr;
        self->canvas_ = nullptr;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace dsp
