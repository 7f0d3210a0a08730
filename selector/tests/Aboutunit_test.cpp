// The About window shown modally and driven from inside its message loop:
// its texts and links, the credits area that grows into view, and the names
// cycle that carries on across openings.
#include "Aboutres.h"
#include "Aboutunit.h"
#include "DialogDriver.h"
#include "Shellopen.h"
#include "cb_version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using testfiles::DialogDriver;
using testfiles::ItemText;

bool Visible(HWND dialog, int id)
{
    return (GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

int OuterHeight(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// Lets the window's timers run until `done` or five seconds pass.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD end = GetTickCount() + 5000;
    while (!done() && GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return done();
}

class AboutForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 640, 480,
                                 nullptr, nullptr, nullptr, nullptr);
        SetShellHook([this](const TShellRequest& r) { shell_.push_back(r); });
    }
    void TearDown() override
    {
        SetShellHook({});
        EXPECT_TRUE(driver_.Missed.empty()) << driver_.Missed.front();
        DestroyWindow(owner_);
    }
    HWND owner_ = nullptr;
    std::vector<TShellRequest> shell_;
    DialogDriver driver_;
};

TEST_F(AboutForm, OpensWithTheCreditsOutOfSightAndOpensItsLinksMaximised)
{
    TAboutForm form;
    driver_.When("About", [&](HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 343);
        EXPECT_EQ(client.bottom, 209);
        EXPECT_EQ(GetWindowLongPtrA(dialog, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_VSCROLL), 0);
        EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NAMELABEL), "...");
        // the program's name with the project's version as major.minor, the minor in two digits
        int major = -1, minor = -1;
        ASSERT_EQ(std::sscanf(CB_VERSION_TEXT, "%d.%d", &major, &minor), 2);
        char name[32];
        std::snprintf(name, sizeof name, "Cuebinder %d.%02d", major, minor);
        EXPECT_EQ(ItemText(dialog, IDC_ABOUT_LABEL1), name);
        EXPECT_FALSE(Visible(dialog, IDC_ABOUT_NAMELABEL));
        EXPECT_FALSE(Visible(dialog, IDC_ABOUT_URLLABEL));
        EXPECT_FALSE(form.IsNamesTimerEnabled() || form.IsResizeTimerEnabled());
        // the credits area lies below the bottom edge
        RECT bevel;
        GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_SECRETBEVEL), &bevel);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bevel), 2);
        EXPECT_GE(bevel.top, client.bottom);
        // OK is the default button but not a tab stop
        EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), IDOK);
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dialog, IDOK), GWL_STYLE) & WS_TABSTOP, 0);

        for (int id : {IDC_ABOUT_SITELABEL, IDC_ABOUT_URLLABEL})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(form.ShowModal(owner_), IDCANCEL);
    const char* addresses[] = {TAboutForm::SiteAddress, TAboutForm::PartnerAddress};
    ASSERT_EQ(shell_.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(shell_[i].verb, "open");
        EXPECT_EQ(shell_[i].file, addresses[i]);
        EXPECT_EQ(shell_[i].parameters, "");
        EXPECT_EQ(shell_[i].directory, "c:\\");
        EXPECT_EQ(shell_[i].show, SW_SHOWMAXIMIZED);
    }
}

TEST_F(AboutForm, ADoubleClickOnTheIconGrowsTheWindowPixelByPixelThenStartsTheNames)
{
    TAboutForm form;
    driver_.When("About", [&](HWND dialog) {
        const int start = OuterHeight(dialog);
        ASSERT_LT(start, TAboutForm::GrownHeight);
        HWND icon = GetDlgItem(dialog, IDC_ABOUT_LOGOICON);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LOGOICON, STN_DBLCLK),
                     reinterpret_cast<LPARAM>(icon));
        EXPECT_TRUE(Visible(dialog, IDC_ABOUT_NAMELABEL));
        EXPECT_TRUE(Visible(dialog, IDC_ABOUT_URLLABEL));
        EXPECT_TRUE(form.IsResizeTimerEnabled());
        // one tick, one pixel
        form.ResizeTimerTimer();
        EXPECT_EQ(OuterHeight(dialog), start + 1);
        // a second double click while growing changes nothing
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LOGOICON, STN_DBLCLK),
                     reinterpret_cast<LPARAM>(icon));
        EXPECT_EQ(OuterHeight(dialog), start + 1);
        // the real 10 ms timer finishes the growth and hands over to the names
        EXPECT_TRUE(PumpUntil([&] { return form.IsNamesTimerEnabled(); }));
        EXPECT_EQ(OuterHeight(dialog), TAboutForm::GrownHeight);
        EXPECT_FALSE(form.IsResizeTimerEnabled());
        EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NAMELABEL), "...");
        // grown: a double click turns the resize timer on, its next tick off again
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LOGOICON, STN_DBLCLK),
                     reinterpret_cast<LPARAM>(icon));
        form.ResizeTimerTimer();
        EXPECT_FALSE(form.IsResizeTimerEnabled());
        EXPECT_EQ(OuterHeight(dialog), TAboutForm::GrownHeight);
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(form.ShowModal(owner_), IDOK);
    EXPECT_TRUE(form.Names().empty()); // freed when the window closed
}

TEST_F(AboutForm, TheNamesCycleWrapsAfterTheClosingLineAndResumesOnReopening)
{
    std::vector<std::string> names;
    std::vector<std::string> shown;
    auto show = [&](int ticks) {
        TAboutForm form;
        driver_.When("About", [&](HWND dialog) {
            names = form.Names();
            for (int i = 0; i < ticks; ++i) {
                form.NamesTimerTimer();
                shown.push_back(ItemText(dialog, IDC_ABOUT_NAMELABEL));
            }
            DialogDriver::Click(dialog, IDOK);
        });
        form.ShowModal(owner_);
    };
    const int first = TAboutForm::NameIndex();
    show(22);
    ASSERT_EQ(names.size(), 21u);
    // twenty contributors in case-insensitive order, then the closing line
    for (std::size_t i = 1; i < 20; ++i)
        EXPECT_LT(lstrcmpiA(names[i - 1].c_str(), names[i].c_str()), 0) << names[i];
    EXPECT_EQ(names[20], "...and you, for listening. Thanks for playing!");
    // 22 ticks from anywhere pass the closing line once and wrap to the first name
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(shown[static_cast<std::size_t>(i)], names[static_cast<std::size_t>((first + i) % 21)]) << i;
    EXPECT_EQ(TAboutForm::NameIndex(), (first + 22) % 21);

    // a second opening carries on where the first left off
    show(1);
    ASSERT_EQ(shown.size(), 23u);
    EXPECT_EQ(shown[22], names[static_cast<std::size_t>((first + 22) % 21)]);
}

} // namespace
