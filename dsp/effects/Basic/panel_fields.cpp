#include "panel_fields.h"

#include <cstdlib>

#include "core/durations.h"
#include "panel.h"
#include "plugin.h"
#include "settings_store.h"

namespace dsp::basic {

void ShowClock(HWND dialog, const ClockFields& row, uint32_t ms)
{
    const ClockParts parts = SplitMilliseconds(ms);
    SetDlgNumber(dialog, row.minutes, static_cast<long>(parts.minutes));
    SetDlgNumber(dialog, row.seconds, static_cast<long>(parts.seconds));
    SetDlgNumber(dialog, row.milliseconds, static_cast<long>(parts.milliseconds));
}

uint32_t ReadClock(HWND dialog, const ClockFields& row)
{
    return JoinMilliseconds(FieldNumber(dialog, row.minutes), FieldNumber(dialog, row.seconds),
                            FieldNumber(dialog, row.milliseconds));
}

long FieldNumber(HWND dialog, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return std::strtol(text, nullptr, 10);
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
    if (!plugin::g_filling && IsClockControl(settings, LOWORD(wParam)))
        SaveClocks(dialog, settings);
    return 1;
}

} // namespace dsp::basic
