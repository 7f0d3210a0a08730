// The real Auxiliary.exe in a program folder of its own, prepared for a
// test and driven from outside: start it, wait for its window, press its
// skin buttons, answer its message boxes, check that it still answers, close
// it. The fault tables and the end-to-end test share it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace auxiliary::testing {

// Polls `condition` every 25 ms for up to `ms`.
bool WaitFor(const std::function<bool()>& condition, int ms = 10000);
// A window's text (up to 259 characters), read across processes.
std::string WindowText(HWND window);
// True when `window` handles a WM_NULL within a second: its thread is not stuck.
bool Answers(HWND window);

// The codec the prepared folder's stand-in encoder is named after.
constexpr const char* kStandInCodec = "Standin Codec";

class RecorderProgram
{
public:
    // What goes into the program folder beside Auxiliary.exe.
    enum Parts : unsigned {
        kSkin = 1,      // Compression\skin\ and help\Help.bmp from dist/
        kConverter = 2, // the converter stand-in as Recaster.exe
        kCodecs = 4,    // the stand-in encoder (kStandInCodec) and decoder
        kEverything = kSkin | kConverter | kCodecs,
    };
    // Makes a scratch folder with "Tonvask\" as the program folder, and
    // stores kStandInCodec with the output folder "<root>Out\" and a window
    // placement (so the window opens at once, not maximised).
    explicit RecorderProgram(unsigned parts = kEverything);
    // The same around a program folder prepared elsewhere (ending in a
    // backslash), whose parent is the root.
    explicit RecorderProgram(const std::string& preparedFolder);
    // Ends the program if it still runs and removes the values it stored.
    ~RecorderProgram();
    RecorderProgram(const RecorderProgram&) = delete;
    RecorderProgram& operator=(const RecorderProgram&) = delete;

    const std::string& Root() const { return root_; }
    const std::string& Folder() const { return folder_; } // with its trailing backslash
    std::string Output() const { return root_ + "Out\\"; }

    // Starts the program and returns its main window once shown (nullptr
    // when it did not start or showed none within 30 s).
    HWND Start();
    HWND Main() const { return main_; }
    DWORD Thread() const { return process_.dwThreadId; }
    // A dialog or message box of the program captioned `title`, once shown.
    HWND WaitForDialog(const char* title, int ms = 30000) const;
    // A left (or right) press and release over one of the skin buttons.
    void Click(int buttonId, bool right = false) const;
    // The exit code once the program has ended within `ms`, else -1.
    long WaitForExit(DWORD ms = 30000) const;
    // Asks the main window to close and waits for the program to end.
    long Close(DWORD ms = 30000) const;

private:
    void StoreSettings() const;

    std::string root_, folder_;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

} // namespace auxiliary::testing
