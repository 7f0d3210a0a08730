// Helpers for a plug-in's settings panel (a child dialog living in the host's
// window). The dialog-procedure pattern every panel follows:
//
//   WM_INITDIALOG: { dsp::FillingGuard filling; put each setting into its
//                    control; enable dependent controls; } return 0
//   WM_COMMAND:    if the control is one of the effect's editable controls and
//                  !plugin::g_filling: read every control back, write every
//                  setting to the store at once, refresh enabled states.
//                  Any notification code counts, so a keystroke saves.
//                  Return 1 for every command message.
//   anything else: return 0
#pragma once

#include <windows.h>

namespace dsp {

// Shows a number with "%d".
void SetDlgNumber(HWND dialog, int id, long value);
// Reads a control's text as a decimal integer; an empty or non-numeric text gives 0.
long GetDlgNumber(HWND dialog, int id);
// Parses a whole text as a decimal integer (optional sign, digits only); 0 otherwise.
long ParseDecimal(const char* text);

void SetCheck(HWND dialog, int id, bool checked);
bool GetCheck(HWND dialog, int id);
void EnableControl(HWND dialog, int id, bool enabled);

// Sets plugin::g_filling for its lifetime (while controls are being filled
// from the settings, so the change notifications they cause save nothing).
class FillingGuard
{
public:
    FillingGuard();
    ~FillingGuard();
    FillingGuard(const FillingGuard&) = delete;
    FillingGuard& operator=(const FillingGuard&) = delete;
};

} // namespace dsp
