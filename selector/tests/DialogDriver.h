// Acts on modal dialogs from inside their own message loops. A thread timer
// runs while a test calls something that shows a dialog modally, and works
// through a queue of two kinds of entries:
// - When(caption, action): waits for a visible window of this thread with that
//   caption and hands it to the action (to fill in controls, read them back
//   and close it). The action runs alone: ticks from loops nested in it do
//   nothing.
// - plain steps (given to the constructor or to Then): each runs on the next
//   tick, on whatever dialog is open then, so a step may open another modal
//   dialog and the following steps act on it from its nested loop.
//
// Nothing waits for ever: an awaited caption that does not show within ten
// seconds is dropped and listed in Missed; a dialog of this thread still up ten
// seconds after the last entry ran (a minute while WaitWhile's condition
// holds) is cancelled, and TimedOut() tells so. Either way the dialogs of this
// thread are cancelled, so a failing test ends instead of hanging.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testfiles {

// The text of a dialog's control (up to 1023 characters).
inline std::string ItemText(HWND dialog, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline std::string WindowText(HWND window)
{
    char buf[2048] = {};
    GetWindowTextA(window, buf, sizeof buf);
    return buf;
}

class DialogDriver
{
public:
    using Step = std::function<void()>;

    DialogDriver()
    {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 15, &DialogDriver::Tick);
    }
    explicit DialogDriver(std::deque<Step> steps) : DialogDriver()
    {
        for (Step& step : steps)
            Then(std::move(step));
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The next window titled `caption` is handed to `action`.
    void When(const std::string& caption, std::function<void(HWND)> action)
    {
        queue_.push_back({caption, std::move(action), nullptr});
    }
    // A step run on the next tick after the entries before it.
    void Then(Step step) { queue_.push_back({std::string(), nullptr, std::move(step)}); }
    // While `busy` answers true (a search running inside a step, say), the
    // ticks that arrive from loops nested in that step run nothing.
    void WaitWhile(std::function<bool()> busy) { busy_ = std::move(busy); }

    // Entries not run yet (a dialog that closed too early leaves some).
    std::size_t Pending() const { return queue_.size(); }
    // Captions of windows that never showed (their actions were dropped).
    std::vector<std::string> Missed;
    // Whether dialogs were cancelled because they stayed up too long.
    bool TimedOut() const { return timedOut_; }

    // Presses a dialog's button as a click would.
    static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

private:
    struct Entry
    {
        std::string caption;
        std::function<void(HWND)> action;
        Step step;
    };

    static DialogDriver*& Current()
    {
        static DialogDriver* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = Current();
        if (!self || self->inAction_)
            return;
        const bool busy = self->busy_ && self->busy_();
        if (self->queue_.empty() || busy) {
            if (GetTickCount() - self->lastRun_ >= (busy ? 60000u : 10000u)) {
                self->lastRun_ = GetTickCount();
                self->timedOut_ = CancelDialogs() || self->timedOut_;
            }
            return;
        }
        Entry& front = self->queue_.front();
        if (front.step) {
            Step step = std::move(front.step);
            self->queue_.pop_front();
            self->lastRun_ = GetTickCount();
            step(); // may run a nested modal loop that ticks on
            self->lastRun_ = GetTickCount();
            return;
        }
        HWND found = FindVisible(front.caption);
        if (!found) {
            if (GetTickCount() - self->lastRun_ >= 10000u) {
                self->lastRun_ = GetTickCount();
                self->Missed.push_back(front.caption);
                self->queue_.pop_front();
                CancelDialogs();
            }
            return;
        }
        auto action = std::move(front.action);
        self->queue_.pop_front();
        self->inAction_ = true;
        action(found);
        self->inAction_ = false;
        self->lastRun_ = GetTickCount();
    }
    // The visible window of this thread with this caption.
    static HWND FindVisible(const std::string& caption)
    {
        struct Search
        {
            const std::string* caption;
            HWND found;
        } search{&caption, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM lp) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                char text[256] = {};
                GetWindowTextA(hwnd, text, sizeof text);
                if (IsWindowVisible(hwnd) && *s->caption == text) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Cancels every visible dialog of this thread; true when there was one.
    static bool CancelDialogs()
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

    UINT_PTR timer_ = 0;
    bool inAction_ = false;
    std::function<bool()> busy_;
    DWORD lastRun_ = GetTickCount();
    bool timedOut_ = false;
    std::deque<Entry> queue_;
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

// Presses a key on a control as the keyboard would: the message is posted, so
// the dialog's own loop gives it to the dialog manager.
inline void PressKey(HWND control, WPARAM key)
{
    SetFocus(control);
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

} // namespace testfiles
