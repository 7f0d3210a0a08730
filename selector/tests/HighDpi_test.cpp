// The program's windows on a 144-dpi screen: this test runs in a Wine prefix
// of its own whose screen has 144 dpi (high-dpi.sh). Every window is built
// from its 96-dpi places scaled by one and a half, and nothing in it is cut:
// each control lies inside its window and each caption fits its control in
// the font the system gives it at this DPI.
#include "Aboutres.h"
#include "Aboutunit.h"
#include "Cubdfuncs.h"
#include "DialogLayout.h"
#include "Genericunit.h"
#include "Gdlocatorunit.h"
#include "Mainunit.h"
#include "Optionsunit.h"
#include "Prompts.h"
#include "Scriptunit.h"
#include "Statusunit.h"
#include "TestFiles.h"
#include "Tpathfinder.h"
#include "Treplacer.h"
#include "Tsettings.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>

namespace {

using testfiles::RemoveTree;
using testfiles::WinPath;
using testfiles::WriteOrFail;

std::string ClassOf(HWND control)
{
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

std::string TextOf(HWND control)
{
    char text[1024] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// The extent of `text` in the control's font: one line, or wrapped at `wrapWidth`.
SIZE TextExtent(HWND control, const std::string& text, UINT flags, int wrapWidth = 0)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r = {0, 0, wrapWidth, 0};
    DrawTextA(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// Every visible child of `window` lies inside its client area (but those of
// `beyondEdge`, which lie beyond it in the design too), and the caption of
// every label, button, check box and group box fits its control.
void ExpectNothingCut(HWND window, const char* what, std::initializer_list<int> beyondEdge = {})
{
    RECT client;
    GetClientRect(window, &client);
    int checked = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c))
            continue;
        ++checked;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        const std::string where =
            std::string(what) + ", control " + std::to_string(GetDlgCtrlID(c)) + " \"" + TextOf(c) + "\"";
        const bool inside = r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
        EXPECT_TRUE(inside ||
                    std::find(beyondEdge.begin(), beyondEdge.end(), GetDlgCtrlID(c)) != beyondEdge.end())
            << where << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " in "
            << client.right << "x" << client.bottom;

        const std::string text = TextOf(c);
        if (text.empty())
            continue;
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        RECT room;
        GetClientRect(c, &room);
        const std::string kind = ClassOf(c);
        if (lstrcmpiA(kind.c_str(), "Static") == 0) {
            const LONG type = style & SS_TYPEMASK;
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
                continue;
            const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            if (type == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE)) {
                const SIZE s = TextExtent(c, text, DT_SINGLELINE | prefix);
                EXPECT_LE(s.cx, room.right) << where;
                EXPECT_LE(s.cy, room.bottom) << where;
            } else {
                const SIZE s = TextExtent(c, text, DT_WORDBREAK | prefix, room.right);
                EXPECT_LE(s.cy, room.bottom) << where << " wraps to " << s.cx << "x" << s.cy;
            }
        } else if (lstrcmpiA(kind.c_str(), "Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            const SIZE s = TextExtent(c, text, DT_SINGLELINE);
            int space = room.right - 2 * GetSystemMetrics(SM_CXEDGE);
            if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                type == BS_AUTORADIOBUTTON)
                space = room.right - GetSystemMetrics(SM_CXMENUCHECK) - GetSystemMetrics(SM_CXEDGE);
            else if (type == BS_GROUPBOX)
                space = room.right - Scaled(16); // the frame's corner on either side
            EXPECT_LE(s.cx, space) << where;
            EXPECT_LE(s.cy, room.bottom) << where;
        }
    }
    EXPECT_GT(checked, 0) << what << " has no visible controls";
}

// A dialog shown modeless over `owner`, checked, then closed.
template <typename Form>
void ExpectDialogNothingCut(Form& form, HWND owner, const char* what, int clientWidth, int clientHeight,
                            std::initializer_list<int> beyondEdge = {})
{
    ASSERT_TRUE(form.Show(owner)) << what;
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, Scaled(clientWidth)) << what;
    EXPECT_EQ(client.bottom, Scaled(clientHeight)) << what;
    ExpectNothingCut(form.Handle(), what, beyondEdge);
    form.End(IDCANCEL);
}

class HighDpi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Without the 144-dpi screen this test would prove nothing.
        ASSERT_EQ(ScreenDpi(), 144) << "run through high-dpi.sh";
        dir_ = WinPath(std::string(CB_TEST_TMP)) + "\\highdpi-" + std::to_string(GetCurrentProcessId());
        RemoveTree(dir_);
        CreateDirectoryA(dir_.c_str(), nullptr);
        SetLogFileName(dir_ + "\\log.txt");
        // No game directory: the status bar says so, in its longest text.
        WriteOrFail(dir_ + "\\Cuebinder.ini", "[App]\r\nLoadLastAtStart=0\r\n");
        settings_ = std::make_unique<TSettings>(dir_ + "\\Cuebinder.ini");
        form_ = std::make_unique<TMainForm>(*settings_, replacer_);
        ASSERT_TRUE(form_->Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
    }
    void TearDown() override
    {
        form_.reset();
        SetLogFileName("");
        RemoveTree(dir_);
    }

    std::string dir_;
    TScriptedPrompts prompts_;
    TPromptsScope scope_{prompts_};
    TReplacer replacer_;
    PathFinder finder_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TMainForm> form_;
};

TEST_F(HighDpi, TheMainWindowIsScaledAndItsStatusTextIsWhole)
{
    HWND main = form_->Handle();
    // the design's 470 by 312 and its columns at one and a half times
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 705);
    EXPECT_EQ(r.bottom - r.top, 468);
    EXPECT_EQ(ListView_GetColumnWidth(form_->SoundsList(), 0), 405);
    EXPECT_EQ(ListView_GetColumnWidth(form_->SoundsList(), 1), 98);
    EXPECT_EQ(ListView_GetColumnWidth(form_->SoundsList(), 2), 150);
    // the toolbar's images are 24 pixels and its buttons hold them
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(form_->Toolbar(), TB_GETIMAGELIST, 0, 0)),
                          &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 24);
    RECT button;
    SendMessageA(form_->Toolbar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    EXPECT_GE(button.right - button.left, 24 + 2);
    EXPECT_GE(button.bottom - button.top, 24 + 2);
    RECT toolbar;
    GetClientRect(form_->Toolbar(), &toolbar);
    EXPECT_LE(button.bottom, toolbar.bottom);

    // the status text, "...Set one in the Options window." to its last letter
    char text[256] = {};
    SendMessageA(form_->StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    ASSERT_EQ(std::string(text), "There is no game directory set. Set one in the Options window.");
    RECT part;
    SendMessageA(form_->StatusBar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    const SIZE s = TextExtent(form_->StatusBar(), text, DT_SINGLELINE | DT_NOPREFIX);
    const int grip = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_LE(s.cx + 2 * GetSystemMetrics(SM_CXEDGE), part.right - part.left - grip);
    EXPECT_LE(s.cy, part.bottom - part.top);
    ExpectNothingCut(main, "main window");
}

TEST_F(HighDpi, TheInGameStatusBarIsScaledAndItsTextIsWhole)
{
    TStatusForm& bar = *form_->StatusForm();
    const std::string text = "Current Sound: C:\\sounds\\a long name for a sound.wav";
    bar.ShowStatus(text); // BarAlign 0: at the top of the screen
    RECT r;
    GetWindowRect(bar.Handle(), &r);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom - r.top, 33);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    RECT label;
    GetClientRect(bar.StatusLabel(), &label);
    EXPECT_EQ(label.bottom, 33);
    const SIZE s = TextExtent(bar.StatusLabel(), text, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_LE(s.cx, label.right);
    EXPECT_LE(s.cy, label.bottom);
    // the bold 10-point Tahoma of the design, at 144 dpi: 20 pixels of character height
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(bar.StatusLabel(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, -20);
    bar.StatusTimerTimer();
}

TEST_F(HighDpi, EveryDialogIsScaledAndNothingInItIsCut)
{
    HWND main = form_->Handle();
    {
        TOptionsForm options(finder_);
        ExpectDialogNothingCut(options, main, "Options", TOptionsForm::ClientWidth,
                               TOptionsForm::ClientHeight);
    }
    {
        TGenericForm generic;
        ExpectDialogNothingCut(generic, main, "Add", TGenericForm::ClientWidth, TGenericForm::ClientHeight);
    }
    {
        TGDLocatorForm locator(finder_);
        ExpectDialogNothingCut(locator, main, "Game Directory Locator", TGDLocatorForm::ClientWidth,
                               TGDLocatorForm::ClientHeight);
    }
    {
        TScriptForm script;
        ExpectDialogNothingCut(script, main, "Script Setup", TScriptForm::ClientWidth,
                               TScriptForm::ClientHeight);
    }
    {
        TAboutForm about;
        // The banner is wider than the window, and the credits lie below its
        // first bottom edge until it grows: so they are at 96 dpi too.
        ExpectDialogNothingCut(
            about, main, "About", TAboutForm::ClientWidth, TAboutForm::ClientHeight,
            {IDC_ABOUT_LOGOIMAGE, IDC_ABOUT_SECRETBEVEL, IDC_ABOUT_LABEL2, IDC_ABOUT_LABEL5});
        // the banner fills its scaled place
        BITMAP banner{};
        TAboutForm again;
        ASSERT_TRUE(again.Show(main));
        auto image = reinterpret_cast<HBITMAP>(
            SendMessageA(GetDlgItem(again.Handle(), IDC_ABOUT_LOGOIMAGE), STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(image, nullptr);
        GetObjectA(image, sizeof banner, &banner);
        EXPECT_EQ(banner.bmWidth, Scaled(TAboutForm::BannerWidth));
        EXPECT_EQ(banner.bmHeight, Scaled(TAboutForm::BannerHeight));
        again.End(IDCANCEL);
    }
}

} // namespace
