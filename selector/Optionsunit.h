// The Options window: the game directory (picked with the folder picker or
// found by the locator), the in-game status bar alignment, the two start and
// activation options and the copy-buffer size. Handlers are named after the
// window events they serve (BrowseButtonClick: the Browse button was clicked).
#pragma once

#include "FormBase.h"
#include "Optionsres.h"

#include <windows.h>

#include <string>

class PathFinder;
class TSettings;

// The values the window edits, as the settings object holds them.
struct TOptionsValues
{
    std::string InstallPath;
    bool MinWhenActivated = false;
    bool LoadLastAtStart = false;
    int BarAlign = 0;
    int BufferSize = 0;
};

class TOptionsForm : public TDialog
{
public:
    static constexpr int ClientWidth = 327;
    static constexpr int ClientHeight = 423;
    // The folder picker's prompt.
    static constexpr const char* BrowsePrompt =
        "Select the game directory.\nFor example, C:\\Halvern\\Veltrane or C:\\Halvern\\Skarrow.";

    // `finder` runs the searches of the Auto-Find window.
    explicit TOptionsForm(PathFinder& finder);

    // Fills the window from the settings before it is shown: the game
    // directory as the settings' getter gives it (with its trailing "\"),
    // the bar alignment as an item (0 for anything but 1 and 2), the buffer
    // size as a track bar position (1 MB for a size not offered).
    void LoadFrom(const TSettings& settings);
    // The values as they stood when the window closed with OK (or as loaded).
    const TOptionsValues& Values() const { return m_Values; }
    // Sets the five settings from Values(); saving is the caller's.
    void SaveTo(TSettings& settings) const;

    void BrowseButtonClick();
    void AutoSearchButtonClick();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    // OK and Enter: reads the controls back into Values() and closes with IDOK.
    void OnOK() override;

private:
    PathFinder& m_Finder;
    TOptionsValues m_Values;
};

// The main window's Options command: opens the window over `owner` filled
// from `settings`; after OK sets the settings from it and saves them. Any
// error is caught and logged as "Unhandled exception in
// TMainForm::OptionsMenuClick()". True when the window closed with OK (the
// settings in memory changed, even if saving them failed), so the caller
// refreshes its state; false after Cancel, Escape or the close box.
bool RunOptionsWindow(HWND owner, TSettings& settings, PathFinder& finder);
