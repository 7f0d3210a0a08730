#include "clock_panel_plugin.h"

#include "plugin.h"

namespace plugin {

void LoadSettings()
{
    dsp::basic::LoadClocks(dsp::basic::kPanelRows);
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return dsp::basic::ClockPanelMessage(dialog, message, wParam, dsp::basic::kPanelRows);
}

} // namespace plugin
