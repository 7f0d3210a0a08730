// For plug-ins whose settings are only lengths shown as minutes, seconds and
// milliseconds rows: linking effects_basic_clock_panel gives them
// plugin::LoadSettings and plugin::PanelProc over the rows they name here:
//
//   const dsp::basic::ClockSetting kRows[] = {...};
//   extern const dsp::basic::ClockSettings dsp::basic::kPanelRows = kRows;
#pragma once

#include "panel_fields.h"

namespace dsp::basic {

extern const ClockSettings kPanelRows;

} // namespace dsp::basic
