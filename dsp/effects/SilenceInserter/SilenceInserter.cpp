// SilenceInserter: adds silence before the start of the file, after its end,
// or both. The end alone is appended in place; with a start length the whole
// result (silence, the audio, silence) is written to the "-Tmp" sibling of
// the input (a stale one from a killed run is taken over), which then replaces
// the input in one move. No progress is reported.
#include <windows.h>

#include "core/durations.h"
#include "file_steps.h"
#include "clock_panel_plugin.h"
#include "core/plans.h"
#include "plugin.h"
#include "replace.h"
#include "panel_ids.h"

namespace {

constexpr const char* kStartName = "Silence-LenStart-mSec";
constexpr const char* kEndName = "Silence-Len-mSec";

uint32_t g_startMs = 0;
uint32_t g_endMs = 0;

const dsp::basic::ClockSetting kRows[] = {
    {{IDC_START_MINUTES, IDC_START_SECONDS, IDC_START_MSEC}, kStartName, &g_startMs},
    {{IDC_END_MINUTES, IDC_END_SECONDS, IDC_END_MSEC}, kEndName, &g_endMs},
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
    dsp::DiskFile file;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(file, path, GENERIC_READ | GENERIC_WRITE, &size))
        return 0;
    const uint8_t silence = SilenceByte(format->bitsPerSample);
    const uint64_t endBytes = FrameBytesForMilliseconds(*format, g_endMs);
    const uint64_t startBytes = FrameBytesForMilliseconds(*format, g_startMs);
    if (startBytes == 0)
        return dsp::AppendFill(file, silence, endBytes) ? 1 : 0;

    const bool done = dsp::ReplaceThroughFile(dsp::SiblingPath(path, "-Tmp"), path, [&](dsp::DiskFile& out) {
        const bool complete = dsp::WriteFill(out, silence, startBytes) &&
                              dsp::CopyRange(file, 0, size, out, dsp::kSilencePiece, nullptr) &&
                              dsp::WriteFill(out, silence, endBytes);
        file.Close(); // the input must be closed before the result can take its place
        return complete;
    });
    return done ? 1 : 0;
}

} // namespace plugin
