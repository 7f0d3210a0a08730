// Drives modal dialogs from inside their own message loops: the steps of a
// script run one per timer tick, each on whatever dialog is open then, so a
// step may open another modal dialog and the following steps act on it.
//
// A script never waits for ever: when a dialog of this thread is still up ten
// seconds after the last step ran (a minute while WaitWhile's condition
// holds), every such dialog is cancelled, so the test fails instead of hanging,
// and TimedOut() tells so.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace testfiles {

class DialogScript
{
public:
    using Step = std::function<void()>;

    explicit DialogScript(std::deque<Step> steps) : m_Steps(std::move(steps))
    {
        Current() = this;
        m_Timer = SetTimer(nullptr, 0, 15, &DialogScript::Tick);
    }
    ~DialogScript()
    {
        KillTimer(nullptr, m_Timer);
        Current() = nullptr;
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Steps not run yet (a dialog that closed too early leaves some).
    std::size_t Left() const { return m_Steps.size(); }
    // Whether dialogs were cancelled because the script waited too long.
    bool TimedOut() const { return m_TimedOut; }
    // While `busy` answers true (a search running inside a step, say), the
    // ticks that arrive from loops nested in that step run nothing.
    void WaitWhile(std::function<bool()> busy) { m_Busy = std::move(busy); }

private:
    static DialogScript*& Current()
    {
        static DialogScript* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogScript* self = Current();
        if (!self)
            return;
        const bool busy = self->m_Busy && self->m_Busy();
        if (self->m_Steps.empty() || busy) {
            const DWORD limit = busy ? 60000 : 10000;
            if (GetTickCount() - self->m_LastStep >= limit) {
                self->m_LastStep = GetTickCount();
                self->m_TimedOut = self->CancelDialogs() || self->m_TimedOut;
            }
            return;
        }
        Step step = std::move(self->m_Steps.front());
        self->m_Steps.pop_front();
        self->m_LastStep = GetTickCount();
        step(); // may run a nested modal loop that ticks on
        self->m_LastStep = GetTickCount();
    }
    // Cancels every visible dialog of this thread; true when there was one.
    bool CancelDialogs()
    {
        bool any = false;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM lp) CALLBACK -> BOOL {
                char cls[16] = {};
                GetClassNameA(window, cls, sizeof cls);
                if (IsWindowVisible(window) && std::string(cls) == "#32770") {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                    *reinterpret_cast<bool*>(lp) = true;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&any));
        return any;
    }

    std::deque<Step> m_Steps;
    std::function<bool()> m_Busy;
    UINT_PTR m_Timer = 0;
    DWORD m_LastStep = GetTickCount();
    bool m_TimedOut = false;
};

// The dialog of this thread with `title` (dialogs appear a moment after they
// are created, so callers look from a later step). Only this thread's windows
// count: tests in other processes open windows with the same titles.
inline HWND FindDialog(const char* title)
{
    struct Search
    {
        const char* title;
        HWND found;
    } search{title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lp) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[16] = {}, text[256] = {};
            GetClassNameA(window, cls, sizeof cls);
            GetWindowTextA(window, text, sizeof text);
            if (std::string(cls) == "#32770" && std::string(text) == s->title) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string WindowText(HWND window)
{
    char buf[2048] = {};
    GetWindowTextA(window, buf, sizeof buf);
    return buf;
}

// Presses a key on a control as the keyboard would: the message is posted, so
// the dialog's own loop gives it to the dialog manager.
inline void PressKey(HWND control, WPARAM key)
{
    SetFocus(control);
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

} // namespace testfiles
