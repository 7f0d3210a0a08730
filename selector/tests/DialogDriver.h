// Acts on modal dialogs from inside their own message loops. A thread timer
// runs while a test calls something that shows a dialog modally; when a
// window of this thread with the awaited caption is up, the next queued action
// gets its handle (to fill in controls, read them back and close it).
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

class DialogDriver
{
public:
    DialogDriver()
    {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 25, &DialogDriver::Tick);
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
        queue_.emplace_back(caption, std::move(action));
    }
    // Actions still waiting for their window.
    std::size_t Pending() const { return queue_.size(); }
    // Captions of windows that never showed (their actions were dropped).
    std::vector<std::string> Missed;

    // Presses a dialog's button as a click would.
    static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

private:
    static DialogDriver*& Current()
    {
        static DialogDriver* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = Current();
        if (!self || self->busy_ || self->queue_.empty())
            return;
        struct Search
        {
            const std::string* caption;
            HWND found;
        } search{&self->queue_.front().first, nullptr};
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
        if (!search.found) {
            // Ten seconds without the awaited window: cancel whatever dialog
            // is up, so a failing test ends instead of waiting for ever.
            if (++self->waited_ >= 400) {
                self->waited_ = 0;
                self->Missed.push_back(self->queue_.front().first);
                self->queue_.pop_front();
                EnumThreadWindows(
                    GetCurrentThreadId(),
                    [](HWND hwnd, LPARAM) CALLBACK -> BOOL {
                        char cls[32] = {};
                        GetClassNameA(hwnd, cls, sizeof cls);
                        if (IsWindowVisible(hwnd) && std::string(cls) == "#32770")
                            PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
                        return TRUE;
                    },
                    0);
            }
            return;
        }
        self->waited_ = 0;
        auto action = std::move(self->queue_.front().second);
        self->queue_.pop_front();
        self->busy_ = true;
        action(search.found);
        self->busy_ = false;
    }

    UINT_PTR timer_ = 0;
    bool busy_ = false;
    int waited_ = 0;
    std::deque<std::pair<std::string, std::function<void(HWND)>>> queue_;
};

} // namespace testfiles
