#include "panel_fields.h"

#include <cstdlib>

#include "core/durations.h"
#include "panel.h"
#include "plugin.h"
#include "settings_store.h"

namespace dsp::basic {

namespace {

// The one panel of this plug-in's rows.
CheckedFields g_checked;

bool RowTexts(HWND dialog, const ClockFields& row, uint32_t* ms)
{
    return ClockFromTexts(FieldText(dialog, row.minutes).c_str(), FieldText(dialog, row.seconds).c_str(),
                          FieldText(dialog, row.milliseconds).c_str(), ms);
}

} // namespace

void ShowClock(HWND dialog, const ClockFields& row, uint32_t ms)
{
    const ClockParts parts = SplitMilliseconds(ms);
    SetDlgNumber(dialog, row.minutes, static_cast<long>(parts.minutes));
    SetDlgNumber(dialog, row.seconds, static_cast<long>(parts.seconds));
    SetDlgNumber(dialog, row.milliseconds, static_cast<long>(parts.milliseconds));
    for (int id : {row.minutes, row.seconds, row.milliseconds})
        g_checked.Remember(dialog, id);
}

uint32_t ReadClock(HWND dialog, const ClockFields& row)
{
    uint32_t ms = 0;
    RowTexts(dialog, row, &ms);
    return ms;
}

bool AcceptClockEntry(HWND dialog, const ClockFields& row, int id)
{
    uint32_t ms = 0;
    return g_checked.Check(dialog, id, RowTexts(dialog, row, &ms)) != CheckedFields::Entry::kRefused;
}

long FieldNumber(HWND dialog, int id)
{
    return std::strtol(FieldText(dialog, id).c_str(), nullptr, 10);
}

void LoadClocks(ClockSettings settings)
{
    for (const ClockSetting& s : settings)
        *s.value = settings::ReadNumber(s.name);
}

void FillClocks(HWND dialog, ClockSettings settings)
{
    for (const ClockSetting& s : settings)
        ShowClock(dialog, s.row, *s.value);
}

bool IsClockControl(ClockSettings settings, int id)
{
    for (const ClockSetting& s : settings) {
        if (InClock(s.row, id))
            return true;
    }
    return false;
}

bool AcceptClockEntry(HWND dialog, ClockSettings settings, int id)
{
    for (const ClockSetting& s : settings) {
        if (InClock(s.row, id))
            return AcceptClockEntry(dialog, s.row, id);
    }
    return true;
}

void SaveClocks(HWND dialog, ClockSettings settings)
{
    for (const ClockSetting& s : settings)
        *s.value = ReadClock(dialog, s.row);
    for (const ClockSetting& s : settings)
        settings::WriteNumber(s.name, *s.value);
}

INT_PTR ClockPanelMessage(HWND dialog, UINT message, WPARAM wParam, ClockSettings settings)
{
    if (message == WM_INITDIALOG) {
        FillingGuard filling;
        FillClocks(dialog, settings);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    if (!plugin::g_filling && IsClockControl(settings, id) && AcceptClockEntry(dialog, settings, id))
        SaveClocks(dialog, settings);
    return 1;
}

} // namespace dsp::basic
