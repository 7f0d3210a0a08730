// The Game Directory Locator: runs the finder over the fixed drives, shows
// which directory is being searched, lists the game directories found and lets
// the player pick one. The Options window opens it modally. Handlers are named
// after the window events they serve (SearchButtonClick: the Search button was
// clicked; FormCloseQuery: the window is about to close).
#pragma once

#include "FormBase.h"
#include "Gdlocatorres.h"

#include <windows.h>

#include <optional>
#include <string>

class PathFinder;

class TGDLocatorForm : public TDialog
{
public:
    static constexpr int ClientWidth = 397;
    static constexpr int ClientHeight = 204;

    // Shown with ShowModal(owner) or, for tests that drive it by messages,
    // Show(owner); centred over the owner either way.
    explicit TGDLocatorForm(PathFinder& finder);

    // The directory selected in Results when the window closed with OK;
    // nothing when no item was selected then (or it closed another way).
    const std::optional<std::string>& SelectedDirectory() const { return m_Selected; }

    // The Search button: runs a whole search and lists what it found. The
    // button is disabled while the search runs, so no search starts inside
    // another.
    void SearchButtonClick();
    // The finder's own flag: a search runs.
    bool Searching() const;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    // OK: stops a running search and closes with IDOK, keeping the selection.
    // Enter does the same only while the OK button is enabled.
    void OnOK() override;
    // Cancel, Escape, and any other close: stops a running search and closes.
    void OnCancel() override;

private:
    // A click (or a keyboard move) in Results: OK is enabled exactly when an item is selected.
    void ResultsClick();
    // Every way out of the window: the finder stops and lets go of the label.
    void FormCloseQuery();
    void ShowControl(int id, bool visible);

    PathFinder& m_Finder;
    std::optional<std::string> m_Selected;
};
