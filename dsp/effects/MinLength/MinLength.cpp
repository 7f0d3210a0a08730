// MinLength: pads a file that is shorter than a minimum length with silence
// at its end, up to exactly that length (in whole frames). Longer files are
// left alone. The padding is appended in place; if it cannot be written the
// file is cut back to its old size. No progress is reported.
#include <windows.h>

#include "core/durations.h"
#include "file_steps.h"
#include "clock_panel_plugin.h"
#include "core/plans.h"
#include "panel_ids.h"
#include "plugin.h"

namespace {

constexpr const char* kMinimumName = "Min-Len-mSec";

uint32_t g_minimumMs = 0;

const dsp::basic::ClockSetting kRows[] = {
    {{IDC_MIN_MINUTES, IDC_MIN_SECONDS, IDC_MIN_MSEC}, kMinimumName, &g_minimumMs},
};

} // namespace

extern const dsp::basic::ClockSettings dsp::basic::kPanelRows = kRows;

namespace plugin {

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    using namespace dsp::basic;
    const dsp::WaveFormat* format = dsp::WorkableInput(path, record);
    if (!format)
        return 0;
    const uint64_t target = FrameBytesForMilliseconds(*format, g_minimumMs);
    dsp::DiskFile file;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(file, path, GENERIC_READ | GENERIC_WRITE, &size))
        return 0;
    return dsp::AppendFill(file, SilenceByte(format->bitsPerSample), PaddingToReach(size, target)) ? 1 : 0;
}

} // namespace plugin
