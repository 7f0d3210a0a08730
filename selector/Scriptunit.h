// Script Setup: the window where the player picks the mod, and the operation
// that appends the console script to the mod's autoexec.cfg and its key
// bindings to config.cfg.
#pragma once

#include "core/ScriptText.h"

#include <windows.h>

#include <string>

class TSettings;

class TScriptForm
{
public:
    // Control identifiers (the radio buttons run consecutively from IdMainline).
    enum : int {
        IdMainline = 101,
        IdSkarrow = 102,
        IdHarrowkeep = 103,
        IdIronmarch = 104,
        IdRebound = 105,
        IdOther = 106,
        IdOtherEdit = 110,
        IdPromptLabel = 111,
        IdOtherLabel = 112,
        IdSetupButton = IDOK,
        IdCancelButton = IDCANCEL,
    };
    static constexpr int ClientWidth = 170;
    static constexpr int ClientHeight = 245;

    // `owner` is the main window; the form is centred over it.
    explicit TScriptForm(HWND owner);
    ~TScriptForm();
    TScriptForm(const TScriptForm&) = delete;
    TScriptForm& operator=(const TScriptForm&) = delete;

    // Runs the window modally; IDOK when closed with Setup, IDCANCEL otherwise.
    int ShowModal();
    // Creates the same window without a modal loop (tests drive it by
    // messages); it destroys itself when closed, and ModalResult() tells how.
    bool ShowModeless();

    HWND Handle() const { return m_hWnd; }
    // 0 while open; IDOK or IDCANCEL once closed.
    int ModalResult() const { return m_ModalResult; }

    // The choice and the typed folder as they stood when the window closed.
    cb::ModChoice Choice() const { return m_Choice; }
    const std::string& OtherText() const { return m_OtherText; }
    // The chosen mod folder, ending in "\".
    std::string ModFolder() const { return cb::ModFolderFor(m_Choice, m_OtherText); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    void CloseWith(int result);

    HWND m_Owner = nullptr;
    HWND m_hWnd = nullptr;
    bool m_Modal = false;
    int m_ModalResult = 0;
    cb::ModChoice m_Choice = cb::ModChoice::Mainline;
    std::string m_OtherText;
};

enum class TScriptSetupResult {
    NoGameDirectory, // no game directory set: "Error" message, nothing shown or written
    Cancelled,       // the window was cancelled: nothing written
    Failed,          // a file could not be opened or written: "Failure" message
    Done,            // both files appended: "Success" message
};

// The whole Script Setup command, for the main window's menu item and toolbar
// button: checks the game directory, runs the window modally over `owner`,
// appends the script and reports through Prompts().
TScriptSetupResult RunScriptSetup(HWND owner, const TSettings& settings);

// The file part on its own: appends the script to folder + "autoexec.cfg" and
// the bindings to folder + "config.cfg" (`folder` ends in "\") and shows the
// "Failure" or "Success" message.
TScriptSetupResult InstallScript(HWND owner, const std::string& folder);
