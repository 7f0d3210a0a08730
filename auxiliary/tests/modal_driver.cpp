#include "modal_driver.h"

#include <atomic>
#include <thread>
#include <vector>

namespace auxiliary::testing {

namespace {

struct Search
{
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    if (search->title) {
        char caption[260] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) != search->title)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM lParam)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

} // namespace

long ExitCodeWithin(HANDLE process, DWORD ms)
{
    if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

HWND WaitForDialog(DWORD thread, const char* title, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        Search search{title, nullptr};
        EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    }
    return nullptr;
}

INT_PTR RunModal(const std::function<INT_PTR()>& show, const char* title,
                 const std::function<void(HWND)>& drive, bool* found)
{
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> sawDialog{false};
    std::thread driver([&] {
        if (HWND dialog = WaitForDialog(thread, title)) {
            sawDialog = true;
            drive(dialog);
        }
        // Whatever is still open now is closed, so the modal loop returns.
        for (int round = 0; round < 50; ++round) {
            std::vector<HWND> open;
            EnumThreadWindows(thread, CollectDialogs, reinterpret_cast<LPARAM>(&open));
            if (open.empty())
                break;
            for (HWND window : open)
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    });
    const INT_PTR result = show();
    driver.join();
    if (found)
        *found = sawDialog;
    return result;
}

std::string ItemText(HWND dialog, int id)
{
    char buffer[260] = {};
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

int ComboSelection(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

std::string ComboItemText(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= 260)
        return "";
    char buffer[260] = {};
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string ComboSelectionText(HWND dialog, int id)
{
    return ComboItemText(dialog, id, ComboSelection(dialog, id));
}

int ComboCount(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0));
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ClickLater(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Type(HWND dialog, int id, const char* text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Choose(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

} // namespace auxiliary::testing
