// The Add/Edit sound dialog: a WAV file name and a keyboard shortcut.
#pragma once

#include "FormBase.h"

#include <windows.h>

#include <cstdint>
#include <string>

class TGenericForm : public TDialog
{
public:
    static constexpr int ClientWidth = 267;
    static constexpr int ClientHeight = 165;
    static constexpr const char* WavFilter = "WAV Files|*.wav|All Files|*.*";

    // Shown with ShowModal(owner): IDOK when closed with OK, IDCANCEL for
    // Cancel, Escape or the close box. Centred over the owner.
    TGenericForm();

    // Set before showing; after OK they hold what the dialog showed when it
    // closed (the Filename box as typed, the Shortcut control's code).
    std::string Caption;
    std::string Filename;
    std::uint16_t ShortCut = 0;

    // Handlers
    void BrowseButtonClick();

protected:
    // FormCreate: the client size, the places of the controls, the caption
    // and the values to show.
    bool OnInit() override;
    // Browse, and the shortcut control's changes (a bare key is refused).
    bool OnCommand(int id, int code) override;
    // OK: reads the box and the control, then closes with IDOK.
    void OnOK() override;
};
