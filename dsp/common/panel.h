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

#include <cstdint>
#include <map>
#include <string>

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

// A control's text, up to 259 characters.
std::string FieldText(HWND dialog, int id);

// Number fields that refuse what their setting cannot take. The panel
// remembers each field's text once it has filled it, and passes every command
// from a field, with its check's verdict on the field's text, to Check. An
// accepted text becomes the field's last valid text; a refused one is
// replaced by the last valid text, and nothing is to be stored.
class CheckedFields
{
public:
    enum class Entry {
        kRefused, // do nothing: the text was put back (or this is the notice of that)
        kSame,    // the last valid text still: nothing changed
        kNew,     // a new valid text
    };
    void Remember(HWND dialog, int id);
    Entry Check(HWND dialog, int id, bool fits);
    // Check for a field of whole numbers from `min` to `max`
    // (WholeNumberTextFits).
    Entry CheckWhole(HWND dialog, int id, int64_t min, int64_t max);

private:
    std::map<int, std::string> valid_;
    bool puttingBack_ = false;
};

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
