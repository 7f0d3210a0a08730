// Grabber: keeps one section of the file and drops the rest: a length from a
// position counted from the beginning or back from the end. The section is
// copied into a file beside the input (path + "-Tmp") that replaces the input
// in one move once it is complete. Start and length are whole frames.
#include <windows.h>

#include "core/durations.h"
#include "file_steps.h"
#include "panel_fields.h"
#include "core/plans.h"
#include "panel.h"
#include "plugin.h"
#include "replace.h"
#include "settings_store.h"
#include "panel_ids.h"

namespace {

constexpr const char* kLengthName = "Sound-Grabber-Len";
constexpr const char* kPositionName = "Sound-Grabber-Position";
constexpr const char* kFromEndName = "Sound-Grabber-FromEnd";
constexpr uint32_t kDefaultLengthMs = 10000;

uint32_t g_lengthMs = kDefaultLengthMs;
uint32_t g_positionMs = 0;
bool g_fromEnd = false;

const dsp::basic::ClockSetting kRows[] = {
    {{IDC_LENGTH_MINUTES, IDC_LENGTH_SECONDS, IDC_LENGTH_MSEC}, kLengthName, &g_lengthMs},
    {{IDC_POSITION_MINUTES, IDC_POSITION_SECONDS, IDC_POSITION_MSEC}, kPositionName, &g_positionMs},
};

} // namespace

namespace plugin {

void LoadSettings()
{
    g_lengthMs = dsp::settings::ReadNumber(kLengthName);
    if (g_lengthMs == 0)
        g_lengthMs = kDefaultLengthMs;
    g_positionMs = dsp::settings::ReadNumber(kPositionName);
    g_fromEnd = dsp::settings::ReadNumber(kFromEndName) != 0;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        dsp::FillingGuard filling;
        dsp::basic::FillClocks(dialog, kRows);
        dsp::SetCheck(dialog, IDC_FROM_END, g_fromEnd);
        dsp::SetCheck(dialog, IDC_FROM_BEGINNING, !g_fromEnd);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    if (!g_filling && id >= IDC_LENGTH_MINUTES && id <= IDC_POSITION_MSEC &&
        dsp::basic::AcceptClockEntry(dialog, kRows, id)) {
        dsp::basic::SaveClocks(dialog, kRows);
        g_fromEnd = dsp::GetCheck(dialog, IDC_FROM_END);
        dsp::settings::WriteNumber(kFromEndName, g_fromEnd ? 1 : 0);
    }
    return 1;
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    using namespace dsp::basic;
    const dsp::WaveFormat* format = dsp::WorkableInput(path, record);
    if (!format)
        return 0;
    if (g_lengthMs == 0)
        return 1;
    bool sizeError = false;
    const uint64_t size = dsp::FileSize(path, &sizeError);
    if (sizeError)
        return 0;
    const Span keep = SectionToKeep(size, FrameBytesForMilliseconds(*format, g_positionMs),
                                    FrameBytesForMilliseconds(*format, g_lengthMs), g_fromEnd, *format);
    if (keep.length == 0)
        return 1; // nothing to keep: the file stays as it is

    dsp::Progress progress;
    return dsp::KeepRange(path, "-Tmp", keep.start, keep.length, dsp::kCopyPiece, &progress) ? 1 : 0;
}

} // namespace plugin
