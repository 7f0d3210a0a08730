// Script Setup: the window where the player picks the mod, and the operation
// that appends the console script to the mod's autoexec.cfg and its key
// bindings to config.cfg. The window's handlers are named after the window
// events they serve (OnInit is the form's creation, OnOK its Setup button).
#pragma once

#include "FormBase.h"
#include "core/ScriptText.h"

#include <windows.h>

#include <string>

class TSettings;

class TScriptForm : public TDialog
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

    // Shown with ShowModal(owner) (IDOK when closed with Setup, IDCANCEL
    // otherwise) or Show(owner) for tests that drive it by messages; either
    // way it is centred over the owner, the main window.
    TScriptForm();

    // The choice as it stood when Setup closed the window.
    cb::ModChoice Choice() const { return m_Choice; }
    // The chosen mod folder, ending in "\".
    std::string ModFolder() const { return cb::ModFolderFor(m_Choice, m_OtherText); }

protected:
    // FormCreate: the client size, the places of the controls, the first mod checked.
    bool OnInit() override;
    // Setup: reads the choice and the typed folder, then closes with IDOK.
    void OnOK() override;

private:
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
