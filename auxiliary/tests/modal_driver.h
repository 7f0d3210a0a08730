// Drives a modal dialog from a second thread, as a user would: the test's
// thread runs the dialog's own modal loop, and the driver finds the window by
// its caption and sends it what a user's actions send (WM_COMMAND, BM_CLICK,
// WM_CLOSE, ...). Messages sent across threads are handled by the modal loop,
// in order, before SendMessage returns.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace auxiliary::testing {

// Polls (up to `timeoutMs`) for a visible dialog of thread `thread` with
// exactly the caption `title` (nullptr: any dialog); nullptr if none appeared.
HWND WaitForDialog(DWORD thread, const char* title, int timeoutMs = 15000);

// The exit code of `process`, or -1 when it has not ended within `ms`.
long ExitCodeWithin(HANDLE process, DWORD ms);

// Calls `show()` (which runs a modal loop) on this thread; once a dialog
// captioned `title` is shown, calls `drive(window)` on a driver thread. When
// the driver finds no dialog, or returns while the dialog is still open, every
// dialog of this thread is cancelled so the test never hangs.
// Returns show()'s result; *found tells whether the driver saw the dialog.
INT_PTR RunModal(const std::function<INT_PTR()>& show, const char* title,
                 const std::function<void(HWND)>& drive, bool* found = nullptr);

// The text of a control (up to 259 characters), read across threads.
std::string ItemText(HWND dialog, int id);
// The selected item's text and position of a drop-down list.
std::string ComboSelectionText(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);
std::string ComboItemText(HWND dialog, int id, int index);
int ComboCount(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// What a click on a button sends its dialog.
void Click(HWND dialog, int id);
// The same without waiting: for a button whose action runs a modal loop of
// its own (SendMessage would wait until that one ends).
void ClickLater(HWND dialog, int id);
// Types `text` into an edit control (WM_SETTEXT, which notifies EN_CHANGE).
void Type(HWND dialog, int id, const char* text);
// Chooses list position `index` in a drop-down list, notifying the dialog.
void Choose(HWND dialog, int id, int index);

} // namespace auxiliary::testing
