#include "basic/panel_fields.h"

#include <cstdlib>

#include "basic/durations.h"
#include "panel.h"

namespace dsp::basic {

void ShowClock(HWND dialog, const ClockFields& row, uint32_t ms) {
  const ClockParts parts = SplitMilliseconds(ms);
  SetDlgNumber(dialog, row.minutes, static_cast<long>(parts.minutes));
  SetDlgNumber(dialog, row.seconds, static_cast<long>(parts.seconds));
  SetDlgNumber(dialog, row.milliseconds, static_cast<long>(parts.milliseconds));
}

uint32_t ReadClock(HWND dialog, const ClockFields& row) {
  return JoinMilliseconds(FieldNumber(dialog, row.minutes), FieldNumber(dialog, row.seconds),
                          FieldNumber(dialog, row.milliseconds));
}

long FieldNumber(HWND dialog, int id) {
  char text[MAX_PATH] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return std::strtol(text, nullptr, 10);
}

}  // namespace dsp::basic
