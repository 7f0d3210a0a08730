// The in-game status bar: where it goes for each alignment, what it shows,
// what it looks like on the screen, and when it goes away.
#include "Statusunit.h"

#include "Tsettings.h"

#include <gtest/gtest.h>

namespace {

void Pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

RECT Bounds(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

} // namespace

TEST(StatusBar, PlacedByBarAlign)
{
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    struct Case
    {
        int align;
        bool visible;
        int top;
    };
    const Case cases[] = {
        {0, true, 0}, {1, true, h - 22}, {2, false, -1}, {7, true, 0}}; // 7: shown, top left where it was
    for (const Case& c : cases) {
        TSettings settings("unused.ini");
        settings.SetBarAlign(c.align);
        TStatusForm status(settings);
        ASSERT_NE(status.Handle(), nullptr);
        EXPECT_FALSE(IsWindowVisible(status.Handle())) << "hidden at start";
        EXPECT_FALSE(status.IsTimerEnabled());

        status.ShowStatus("Current Sound: C:\\Sounds\\hello there.wav");
        EXPECT_EQ(status.StatusText(), "Current Sound: C:\\Sounds\\hello there.wav");
        EXPECT_EQ(IsWindowVisible(status.Handle()) != FALSE, c.visible) << "align " << c.align;
        RECT r = Bounds(status.Handle());
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, w);
        EXPECT_EQ(r.bottom - r.top, 22);
        if (c.top >= 0)
            EXPECT_EQ(r.top, c.top) << "align " << c.align;
        EXPECT_NE(GetWindowLongA(status.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        EXPECT_TRUE(status.IsTimerEnabled()) << "the timer runs even when the bar is not shown";

        // The label fills the bar.
        RECT label;
        GetClientRect(status.StatusLabel(), &label);
        EXPECT_EQ(label.right, w);
        EXPECT_EQ(label.bottom, 22);

        // The timer's message hides it and stops the timer.
        SendMessageA(status.Handle(), WM_TIMER, TStatusForm::StatusTimerId, 0);
        EXPECT_FALSE(IsWindowVisible(status.Handle()));
        EXPECT_FALSE(status.IsTimerEnabled());
    }
}

TEST(StatusBar, AnotherAlignmentLeavesTheBarWhereItWas)
{
    TSettings settings("unused.ini");
    settings.SetBarAlign(1);
    TStatusForm status(settings);
    status.ShowStatus("Current Sound: a.wav");
    const int bottomTop = GetSystemMetrics(SM_CYSCREEN) - 22;
    EXPECT_EQ(Bounds(status.Handle()).top, bottomTop);
    status.StatusTimerTimer();
    settings.SetBarAlign(2);
    status.ShowStatus("Current Sound: b.wav");
    EXPECT_EQ(Bounds(status.Handle()).top, bottomTop);
    EXPECT_FALSE(IsWindowVisible(status.Handle()));
    EXPECT_EQ(status.StatusText(), "Current Sound: b.wav");
}

TEST(StatusBar, LooksLikeABlackBarWithWhiteBoldText)
{
    TSettings settings("unused.ini");
    settings.SetBarAlign(0);
    TStatusForm status(settings);
    char cls[64] = {};
    GetClassNameA(status.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TStatusForm");
    LONG style = GetWindowLongA(status.Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU), 0);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(status.StatusLabel(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72));

    status.ShowStatus("Current Sound: C:\\Sounds\\WWWWWWWWWWWWWWWWWWWWWWWW.wav");
    Pump(500);
    // Read the screen back: black everywhere in the bar, white in the middle
    // where the centred text runs, and nothing but black and white.
    const int w = GetSystemMetrics(SM_CXSCREEN);
    int white = 0, black = 0, grey = 0, coloured = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < w; x += 2) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(255, 255, 255))
                ++white;
            else if (c == RGB(0, 0, 0))
                ++black;
            else if (GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c))
                ++grey;
            else
                ++coloured;
        }
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, w - 3, 19), RGB(0, 0, 0));
    EXPECT_GT(white, 100) << "white text";
    EXPECT_GT(black, white * 3);
    // Anti-aliased edges of the letters are grey; no colour anywhere.
    EXPECT_EQ(coloured, 0) << "black " << black << " white " << white << " grey " << grey;
    // The text stands in the middle third of the bar.
    int firstWhite = -1, lastWhite = -1;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < 22; ++y)
            if (GetPixel(dc, x, y) == RGB(255, 255, 255)) {
                if (firstWhite < 0)
                    firstWhite = x;
                lastWhite = x;
                break;
            }
    EXPECT_GT(firstWhite, w / 4);
    EXPECT_LT(lastWhite, w - w / 4);
    EXPECT_LE(std::abs((firstWhite + lastWhite) / 2 - w / 2), 4);
    ReleaseDC(nullptr, dc);
}

// The real timer: a second press restarts the five seconds.
TEST(StatusBar, HiddenFiveSecondsAfterTheLastShow)
{
    TSettings settings("unused.ini");
    settings.SetBarAlign(0);
    TStatusForm status(settings);
    status.ShowStatus("Current Sound: first.wav");
    Pump(3000);
    ASSERT_TRUE(IsWindowVisible(status.Handle()));
    status.ShowStatus("Current Sound: second.wav");
    Pump(3500); // 6.5 s after the first show, 3.5 s after the second
    EXPECT_TRUE(IsWindowVisible(status.Handle()));
    EXPECT_EQ(status.StatusText(), "Current Sound: second.wav");
    Pump(2500); // 6 s after the second
    EXPECT_FALSE(IsWindowVisible(status.Handle()));
    EXPECT_FALSE(status.IsTimerEnabled());
}
