// The window and dialog bases: what a handler throws stays inside the
// procedure and is logged, the object lets go of its window when the window
// goes, and dialogs end with the result they were given, Escape and Enter
// being Cancel and OK.
#include "FormBase.h"
#include "LogCapture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT kThrowStd = WM_APP + 1;
constexpr UINT kThrowOther = WM_APP + 2;
constexpr UINT kAnswer = WM_APP + 3;
constexpr UINT kAct = WM_APP + 4;
constexpr int kEditId = 100;
constexpr int kThrowingCommand = 200;

class TProbeWindow : public TWindow
{
public:
    TProbeWindow() : TWindow("TProbeWindow") {}
    bool Create()
    {
        return CreateHandle(GetModuleHandleA(nullptr), WNDCLASSEXA{}, 0, "Probe", WS_POPUP, 0, 0, 50, 50,
                            nullptr, nullptr);
    }
    int NcDestroySeen = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == kThrowStd)
            throw std::runtime_error("boom");
        if (msg == kThrowOther)
            throw 42;
        if (msg == kAnswer)
            return 7;
        if (msg == WM_NCDESTROY)
            ++NcDestroySeen;
        return TWindow::HandleMessage(msg, wp, lp);
    }
};

TEST(WindowBase, ExceptionsStayInsideTheProcedureAndAreLogged)
{
    testfiles::ScratchDir dir;
    testfiles::LogCapture log(dir / "log.txt");
    TProbeWindow first, second; // the second finds its class registered
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    struct Case
    {
        UINT msg;
        LRESULT result;
        const char* logLine; // nullptr: nothing logged
    };
    const Case cases[] = {
        {kThrowStd, 0, "Failure in TProbeWindow::WndProc(): boom"},
        {kThrowOther, 0, "Failure in TProbeWindow::WndProc()"},
        {kAnswer, 7, nullptr},
    };
    for (const Case& c : cases) {
        const std::size_t before = log.Messages().size();
        EXPECT_EQ(SendMessageA(first.Handle(), c.msg, 0, 0), c.result) << c.msg;
        const std::vector<std::string> lines = log.Messages();
        ASSERT_EQ(lines.size(), before + (c.logLine ? 1 : 0)) << c.msg;
        if (c.logLine) {
            EXPECT_EQ(lines.back(), c.logLine);
        }
    }

    // Destroyed from outside: the object sees the last message and lets go.
    HWND hwnd = first.Handle();
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(first.NcDestroySeen, 1);
    EXPECT_EQ(first.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_NE(second.Handle(), nullptr);
}

// A dialog of an edit box, OK and Cancel, that runs `act` once it is up.
class TProbeDialog : public TDialog
{
public:
    explicit TProbeDialog(std::function<void(TProbeDialog&)> act)
        : TDialog("TProbeDialog", Template()), m_Act(act)
    {}
    using TDialog::End;
    RECT WindowRect{};

protected:
    bool OnInit() override
    {
        PostMessageA(Handle(), kAct, 0, 0);
        SetTimer(Handle(), 1, 5000, nullptr); // a key that did nothing ends the case as -2
        return true;
    }
    bool OnCommand(int id, int code) override
    {
        if (id == kThrowingCommand)
            throw std::runtime_error("bad command");
        return TDialog::OnCommand(id, code);
    }
    INT_PTR HandleMessage(UINT msg, WPARAM, LPARAM) override
    {
        if (msg == WM_TIMER) {
            End(-2);
            return TRUE;
        }
        if (msg != kAct)
            return FALSE;
        GetWindowRect(Handle(), &WindowRect);
        m_Act(*this);
        return TRUE;
    }

private:
    static TDialogTemplate Template()
    {
        TDialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Probe", 8, "Tahoma", 120, 60);
        t.Item(TDialogTemplate::Edit, kEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, "", 5, 5, 110, 12);
        t.Item(TDialogTemplate::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 5, 40, 50, 14);
        t.Item(TDialogTemplate::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 65, 40, 50, 14);
        return t;
    }
    std::function<void(TProbeDialog&)> m_Act;
};

void PressKey(TProbeDialog& d, WPARAM vk)
{
    HWND focus = GetFocus();
    PostMessageA(focus ? focus : d.Handle(), WM_KEYDOWN, vk, 1);
}

TEST(DialogBase, ShowModalReturnsHowTheDialogEnded)
{
    testfiles::ScratchDir dir;
    testfiles::LogCapture log(dir / "log.txt");
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 100, 50, 470, 312, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    struct Case
    {
        const char* name;
        std::function<void(TProbeDialog&)> act;
        INT_PTR result;
        const char* logLine;
    };
    const Case cases[] = {
        {"End", [](TProbeDialog& d) { d.End(42); }, 42, nullptr},
        {"Escape", [](TProbeDialog& d) { PressKey(d, VK_ESCAPE); }, IDCANCEL, nullptr},
        {"Enter", [](TProbeDialog& d) { PressKey(d, VK_RETURN); }, IDOK, nullptr},
        {"close box", [](TProbeDialog& d) { PostMessageA(d.Handle(), WM_CLOSE, 0, 0); }, IDCANCEL, nullptr},
        {"throwing handler",
         [](TProbeDialog& d) {
             SendMessageA(d.Handle(), WM_COMMAND, kThrowingCommand, 0);
             d.End(7);
         },
         7, "Failure in TProbeDialog::DialogProc(): bad command"},
    };
    for (const Case& c : cases) {
        const std::size_t before = log.Messages().size();
        TProbeDialog dialog(c.act);
        EXPECT_EQ(dialog.ShowModal(owner), c.result) << c.name;
        EXPECT_EQ(dialog.ModalResult(), c.result) << c.name;
        EXPECT_EQ(dialog.Handle(), nullptr) << c.name;
        // centred over the owner (470 by 312 at 100, 50)
        EXPECT_NEAR((dialog.WindowRect.left + dialog.WindowRect.right) / 2, 100 + 235, 1) << c.name;
        EXPECT_NEAR((dialog.WindowRect.top + dialog.WindowRect.bottom) / 2, 50 + 156, 1) << c.name;
        const std::vector<std::string> lines = log.Messages();
        ASSERT_EQ(lines.size(), before + (c.logLine ? 1 : 0)) << c.name;
        if (c.logLine) {
            EXPECT_EQ(lines.back(), c.logLine);
        }
    }
    DestroyWindow(owner);
}

TEST(DialogBase, ModelessDialogTakesEscapeFromTheLoopAndLetsGoWhenDestroyed)
{
    TProbeDialog dialog([](TProbeDialog& d) { PressKey(d, VK_ESCAPE); });
    ASSERT_TRUE(dialog.Show(nullptr));
    const DWORD end = GetTickCount() + 5000;
    MSG msg;
    while (dialog.Handle() && static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TDialog::PreTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.ModalResult(), IDCANCEL);
}

} // namespace
