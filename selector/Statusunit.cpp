#include "Statusunit.h"

#include "DialogLayout.h"
#include "Tsettings.h"

#include <vector>

namespace {
const char* const kClassName = "TStatusForm";
}

const char* TStatusForm::ClassName()
{
    return kClassName;
}

TStatusForm::TStatusForm(TSettings& settings) : TWindow(kClassName), m_Settings(settings)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_hFont = CreateFontA(-MulDiv(10, ScreenDpi(), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, "Tahoma");
    m_hBackground = CreateSolidBrush(RGB(0, 0, 0));

    int width = GetSystemMetrics(SM_CXSCREEN);
    // A pop-up without border or caption; the tool-window style keeps it out
    // of the task bar, and it never takes the focus from the game.
    WNDCLASSEXA wc{};
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!CreateHandle(instance, wc, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "Status",
                      WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, Scaled(BarHeight), nullptr, nullptr))
        return;

    m_hStatus =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                        0, width, Scaled(BarHeight), Handle(), nullptr, instance, nullptr);
    if (m_hStatus && m_hFont)
        SendMessageA(m_hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
}

TStatusForm::~TStatusForm()
{
    if (Handle())
        KillTimer(Handle(), StatusTimerId);
    DestroyHandle();
    if (m_hFont)
        DeleteObject(m_hFont);
    if (m_hBackground)
        DeleteObject(m_hBackground);
}

std::string TStatusForm::StatusText() const
{
    if (!m_hStatus)
        return std::string();
    int n = GetWindowTextLengthA(m_hStatus);
    std::vector<char> buf(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(m_hStatus, buf.data(), n + 1);
    return std::string(buf.data());
}

void TStatusForm::EnableTimer(bool enabled)
{
    if (!Handle())
        return;
    if (enabled)
        SetTimer(Handle(), StatusTimerId, StatusTimerInterval, nullptr);
    else
        KillTimer(Handle(), StatusTimerId);
    m_TimerEnabled = enabled;
}

void TStatusForm::ShowStatus(const std::string& text)
{
    if (!Handle())
        return;
    EnableTimer(false);
    SetWindowTextA(m_hStatus, text.c_str());

    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    RECT r;
    GetWindowRect(Handle(), &r);
    int top = r.top;
    int align = m_Settings.GetBarAlign();
    if (align == 0)
        top = 0;
    else if (align == 1)
        top = height - Scaled(BarHeight);
    SetWindowPos(Handle(), nullptr, 0, top, width, Scaled(BarHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(m_hStatus, 0, 0, width, Scaled(BarHeight), TRUE);

    if (align != 2) {
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnableTimer(true);
}

void TStatusForm::StatusTimerTimer()
{
    if (!Handle())
        return;
    ShowWindow(Handle(), SW_HIDE);
    EnableTimer(false);
}

LRESULT TStatusForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:
        if (wp == StatusTimerId) {
            StatusTimerTimer();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(m_hBackground);
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CLOSE:
        // Only the owner ends the bar; a close request just hides it.
        StatusTimerTimer();
        return 0;
    default:
        break;
    }
    return TWindow::HandleMessage(msg, wp, lp);
}
