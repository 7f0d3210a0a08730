// The in-game status bar: a borderless black bar, 22 pixels high, across the
// top or bottom of the primary screen, showing the sound just loaded in white
// bold text for 5000 ms after the last ShowStatus. Its handlers are named
// after the window events they serve (StatusTimerTimer: the StatusTimer fired).
#pragma once

#include "FormBase.h"

#include <windows.h>

#include <string>

class TSettings;

class TStatusForm : public TWindow
{
public:
    static constexpr UINT_PTR StatusTimerId = 1;
    static constexpr UINT StatusTimerInterval = 5000; // ms
    static constexpr int BarHeight = 22;              // 96-dpi design pixels, scaled by the screen's DPI

    // Creates the window hidden (topmost, no task-bar button). The BarAlign
    // setting is read from `settings` at each ShowStatus.
    explicit TStatusForm(TSettings& settings);
    ~TStatusForm();
    TStatusForm(const TStatusForm&) = delete;
    TStatusForm& operator=(const TStatusForm&) = delete;

    // Shows `text` (the caller passes "Current Sound: " + path) in the bar at
    // the place BarAlign chooses (0 top, 1 bottom, 2 not shown) and restarts
    // the 5000 ms StatusTimer.
    void ShowStatus(const std::string& text);
    // The StatusTimer's handler: hides the bar and stops the timer.
    void StatusTimerTimer();

    // The label that fills the bar.
    HWND StatusLabel() const { return m_hStatus; }
    std::string StatusText() const;
    bool IsTimerEnabled() const { return m_TimerEnabled; }

    // Name of the window class ("TStatusForm").
    static const char* ClassName();

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void EnableTimer(bool enabled);

    TSettings& m_Settings;
    HWND m_hStatus = nullptr;
    HFONT m_hFont = nullptr;
    HBRUSH m_hBackground = nullptr;
    bool m_TimerEnabled = false;
};
