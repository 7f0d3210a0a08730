// The main window: the sound list and its list file, the hotkeys that play the
// list's sounds into the game, and the commands that reach them. Handlers are
// named after the window events they serve: control and event
// (NewMenuClick: the New menu item was clicked; FormCloseQuery: the form is
// asked whether it may close; ApplicationEvents1Message: the application's
// message hook saw a message).
#pragma once

#include "FormBase.h"

#include "core/ShortcutText.h"
#include "core/SoundList.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

class TSettings;
class TReplacer;
class TStatusForm;

// Shortcut texts with the names of the keyboard layout in use (read once).
std::string ShortCutToText(std::uint16_t code);
std::uint16_t TextToShortCut(const std::string& text);
const cb::TKeyNames& KeyNames();

// "<kilobytes> KB" for the file, "0 KB" when it cannot be opened.
std::string FileSizeText(const std::string& fileName);

class TMainForm : public TWindow
{
public:
    // Sizes in 96-dpi design pixels; the window scales them by the screen's DPI.
    static constexpr int MinWidth = 470;
    static constexpr int MinHeight = 312;
    static constexpr int ToolbarHeight = 24;
    // A stored place opens as it is when a monitor shows at least this much of
    // the window across and down; otherwise it moves onto the nearest monitor.
    static constexpr int GripSize = 32;
    static constexpr const char* ClassName = "TMainForm";
    static constexpr const char* ListFilter = "CUBD Scripts|*.qbl|All Files|*.*";
    static constexpr const char* OnlineHelpAddress = "http://cuebinder.example.net/help/";

    TMainForm(TSettings& settings, TReplacer& replacer);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Creates the window and runs FormCreate (settings, the no-game-directory
    // notice, the state refresh and the automatic load of the last list).
    bool Create(HINSTANCE instance, int showCommand);
    HWND SoundsList() const { return m_hSoundsList; }
    HWND StatusBar() const { return m_hStatus; }
    HWND Toolbar() const { return m_hToolbar; }
    HMENU PopupMenu() const { return m_hPopupMenu; }
    TStatusForm* StatusForm() const { return m_StatusForm.get(); }

    // The list file that is open ("" while untitled) and whether the list was
    // changed since it was last loaded, saved or emptied.
    std::string CurrentFile;
    bool Modified = false;

    const cb::TSoundList& Sounds() const { return m_Sounds; }
    // Appends an entry and its row.
    void AppendSound(const cb::TSound& sound);
    // Destroys all entries and rows.
    void ClearSounds();

    // List files.
    void LoadSoundList(const std::string& fileName);
    // Throws EIniWriteError ("Unable to write to <file>") when a write is refused.
    void SaveSoundList(const std::string& fileName);

    // Commands.
    void NewMenuClick();
    void OpenMenuClick();
    void SaveMenuClick();
    void SaveAsMenuClick();
    void OptionsMenuClick();
    void ScriptSetupMenuClick();
    void ExitMenuClick();
    void AddMenuClick();
    void EditMenuClick();
    // Also the toolbar's Delete button and the Del key.
    void DeleteMenuClick();
    void ClearMenuClick();
    void ViewReadmeMenuClick(); // Online Help
    void ReadmeMenuClick();
    void AboutMenuClick();
    void ActivateMenuClick() { ActivateHotKeys(); }
    void DeactivateMenuClick() { DeactivateHotKeys(); }
    // True when the window may close; asks about unsaved changes.
    bool FormCloseQuery();
    // Every change of the window's size: the outer rectangle is stored and saved.
    void FormResize();
    // The window closes: the column widths are stored and saved.
    void FormClose();
    // Saves the settings. A settings file that cannot be written is shown
    // once, not at every resize, until a save succeeds again.
    void SaveSettings();

    // Hotkeys.
    bool ActivateHotKeys();
    void DeactivateHotKeys();
    std::int32_t NewHotKeyID();
    int IndexFromID(std::int32_t id);
    void OnHotKey(const MSG& message);
    // OnHotKey with every failure written to the log (the player is in the game).
    void PlayHotKey(const MSG& message);
    // Sees every message taken from the application's own loop; hands WM_HOTKEY
    // to OnHotKey and marks it handled, so it is not dispatched as well. In
    // the loops of modal windows, message boxes and file dialogs the hotkey is
    // dispatched to the main window, whose procedure plays it: once a press,
    // wherever it arrives.
    void ApplicationEvents1Message(const MSG& message, bool& handled);

    // State.
    void RefreshState();
    void EnableListCommands(bool enabled);
    // Active: the Deactivate command is available (hotkeys registered).
    bool IsActive() const;
    bool IsCommandEnabled(int id) const;
    std::string StatusBarText() const;

    // Runs a command as the menu would, showing an escaped error's text in a
    // message box (the application's default error handler).
    void RunCommand(int id);
    // The default error handler: the error's text in an "Exception" message box.
    void ShowException(const char* text);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void CreateControls(HINSTANCE instance);
    void FormCreate();
    void LayoutControls();
    void SetCommandEnabled(int id, bool enabled);
    void AddRow(const cb::TSound& sound);
    void SetRow(int row, const cb::TSound& sound);
    void SetMenuImages(HMENU menu);
    bool MeasureMenuImage(MEASUREITEMSTRUCT& item);
    bool DrawMenuImage(const DRAWITEMSTRUCT& item);
    void ShowPopupMenu(LPARAM screenPoint);
    int AskUnsavedChanges(); // the question itself: IDYES, IDNO or IDCANCEL
    bool AskSaveChanges();   // false: the user cancelled

    TSettings& m_Settings;
    TReplacer& m_Replacer;
    HWND m_hToolbar = nullptr;
    HWND m_hSoundsList = nullptr;
    HWND m_hStatus = nullptr;
    HMENU m_hPopupMenuBar = nullptr; // the menu resource that holds the pop-up menu
    HMENU m_hPopupMenu = nullptr;
    bool m_SettingsWriteReported = false; // a failed settings save was shown; shown again after a success
    bool m_SettingsApplied = false;       // FormResize stores nothing before FormCreate read the settings
    HIMAGELIST m_MenuImages = nullptr;
    int m_ImageSize = 16; // of MenuImages, in pixels of the screen
    HFONT m_hFont = nullptr;
    std::unique_ptr<TStatusForm> m_StatusForm;
    cb::TSoundList m_Sounds;
    std::string m_StatusText; // reused for every hotkey press
};

// The application's message loop: the hook, the accelerators, dispatch.
int RunApplication(TMainForm& form, HACCEL accelerators);
