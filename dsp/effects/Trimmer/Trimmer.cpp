// Trimmer: cuts a length off the end of the file and then a length off its
// beginning (measured on what the end cut left). Both cuts fall on frame
// boundaries. An end cut alone, or a beginning cut that takes everything
// left, shortens the file in place; otherwise what stays is copied into a
// file beside the input (path + "-Tmp") that replaces the input in one move
// once it is complete, so a failed copy leaves the input as it was.
#include <windows.h>

#include "core/durations.h"
#include "file_steps.h"
#include "clock_panel_plugin.h"
#include "core/plans.h"
#include "plugin.h"
#include "replace.h"
#include "panel_ids.h"

namespace {

constexpr const char* kBeginName = "Trim-Begin-Len";
constexpr const char* kEndName = "Trim-End-Len";

uint32_t g_trimBeginMs = 0;
uint32_t g_trimEndMs = 0;

const dsp::basic::ClockSetting kRows[] = {
    {{IDC_BEGIN_MINUTES, IDC_BEGIN_SECONDS, IDC_BEGIN_MSEC}, kBeginName, &g_trimBeginMs},
    {{IDC_END_MINUTES, IDC_END_SECONDS, IDC_END_MSEC}, kEndName, &g_trimEndMs},
};

// Ends the file at `size` in place.
int CutInPlace(const char* path, uint64_t size)
{
    dsp::DiskFile file;
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING))
        return 0;
    return file.TruncateAt(size) ? 1 : 0;
}

} // namespace

extern const dsp::basic::ClockSettings dsp::basic::kPanelRows = kRows;

namespace plugin {

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    using namespace dsp::basic;
    const dsp::WaveFormat* format = dsp::WorkableInput(path, record);
    if (!format)
        return 0;
    const uint64_t beginBytes = FrameBytesForMilliseconds(*format, g_trimBeginMs);
    const uint64_t endBytes = FrameBytesForMilliseconds(*format, g_trimEndMs);
    if (beginBytes == 0 && endBytes == 0)
        return 1;
    bool sizeError = false;
    const uint64_t size = dsp::FileSize(path, &sizeError);
    if (sizeError)
        return 0;
    const uint64_t kept = SizeAfterEndCut(size, endBytes, *format);
    const BeginCutPlan plan = PlanBeginCut(kept, beginBytes);
    if (plan.kind == BeginCut::kNone)
        return kept == size ? 1 : CutInPlace(path, kept);
    if (plan.kind == BeginCut::kEmpty)
        return CutInPlace(path, 0);

    dsp::Progress progress;
    return dsp::KeepRange(path, "-Tmp", plan.rest.start, plan.rest.length, dsp::kCopyPiece, &progress) ? 1
                                                                                                       : 0;
}

} // namespace plugin
