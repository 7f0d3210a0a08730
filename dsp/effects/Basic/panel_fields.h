// Panel fields the basic effects share: a length shown as minutes, seconds
// and milliseconds in three edits, and numbers read the way the C library's
// strtol reads them. A row refuses what its 32-bit setting cannot hold (see
// ClockFromTexts): the field typed into gets its last valid text back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace dsp::basic {

// The identifiers of one row of minutes, seconds and milliseconds edits.
struct ClockFields
{
    int minutes;
    int seconds;
    int milliseconds;
};

// Shows `ms` split into the row's three edits with "%d", and remembers
// the texts as the row's valid ones.
void ShowClock(HWND dialog, const ClockFields& row, uint32_t ms);

// Reads the row back as milliseconds (minutes * 60000 + seconds * 1000 +
// milliseconds); empty fields count 0. The row holds valid texts when every
// command from its fields went through AcceptClockEntry.
uint32_t ReadClock(HWND dialog, const ClockFields& row);

// Checks the row after a command from its field `id`: false (act on
// nothing) when the row would hold what its setting cannot, and the field
// then shows its last valid text again.
bool AcceptClockEntry(HWND dialog, const ClockFields& row, int id);

// A field's text (up to 259 characters) as a base-10 integer: leading blanks
// and a sign accepted, conversion stops at the first non-digit, no digits give 0.
long FieldNumber(HWND dialog, int id);

// True when `id` is one of the row's edits.
inline bool InClock(const ClockFields& row, int id)
{
    return id == row.minutes || id == row.seconds || id == row.milliseconds;
}

// A length setting shown in one row: its value name in the settings store
// and the global that holds it.
struct ClockSetting
{
    ClockFields row;
    const char* name;
    uint32_t* value;
};
using ClockSettings = std::span<const ClockSetting>;

// Reads every setting from the store into its global (a missing value is 0).
void LoadClocks(ClockSettings settings);

// Shows every setting in its row (call inside the filling phase).
void FillClocks(HWND dialog, ClockSettings settings);

// True when `id` belongs to one of the rows.
bool IsClockControl(ClockSettings settings, int id);

// AcceptClockEntry for the row that holds `id` (true when none does).
bool AcceptClockEntry(HWND dialog, ClockSettings settings, int id);

// Reads every row back into its global and writes every setting to the store.
void SaveClocks(HWND dialog, ClockSettings settings);

// The dialog procedure of a panel made only of such rows: fills them on
// initialisation; a command from any of their edits outside the filling
// phase reads and stores them all, unless the entry is refused. Returns what the procedure returns.
INT_PTR ClockPanelMessage(HWND dialog, UINT message, WPARAM wParam, ClockSettings settings);

} // namespace dsp::basic
