// SilenceRemover: finds where the sound ends (trailing pass) and where it
// begins (leading pass). The trailing cut alone is made in place; with the
// leading pass the kept part is copied once to the ".TMP" sibling, which then
// replaces the input in one step, so the input is either untouched or
// completely processed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "panel.h"
#include "plugin.h"
#include "progress.h"
#include "replace.h"
#include "settings_store.h"
#include "silence_detector.h"
#include "panel_ids.h"

namespace {

constexpr const char* kLevelName = "Silence-Remove-Level";
constexpr const char* kWindowName = "Silence-DetectionThresholdms";
constexpr const char* kBeginName = "Silence-Remove-Begin";
constexpr const char* kNotEndName = "Silence-Remove-NotEnd";

double g_levelPercent = silence::kDefaultLevelPercent;
uint32_t g_windowMs = silence::kDefaultWindowMs;
bool g_removeBegin = false;
bool g_removeEnd = true;

// Set while one of the two level fields is being written from the other, so
// the change it causes does not echo back.
bool g_decibelsFromPercent = false;
bool g_percentFromDecibels = false;

// An entry the stored form cannot hold (a level past it, a decibel figure
// that is not finite or gives such a level, a window beyond 32 bits) is
// refused: the field gets its last valid text back and nothing is stored.
dsp::CheckedFields g_checked;
using Entry = dsp::CheckedFields::Entry;

// Blocks of the open file, read into one reused buffer.
class FileBlocks : public silence::BlockSource
{
public:
    FileBlocks(dsp::DiskFile& file, std::vector<uint8_t>& buffer) : file_(file), buffer_(buffer) {}
    bool Read(uint64_t offset, size_t count, const uint8_t*& bytes) override
    {
        if (count > buffer_.size() || !file_.Seek(static_cast<int64_t>(offset), FILE_BEGIN))
            return false;
        if (file_.Read(buffer_.data(), static_cast<uint32_t>(count)) != count)
            return false;
        bytes = buffer_.data();
        return true;
    }

private:
    dsp::DiskFile& file_;
    std::vector<uint8_t>& buffer_;
};

struct Geometry
{
    silence::Layout layout;
    uint32_t frameBytes;
    uint32_t blockBytes; // one second in whole frames
};

// Where the kept audio begins and ends, found before anything is written.
struct Cuts
{
    bool found = false; // false: a read failed
    uint64_t size = 0;
    uint64_t start = 0;
    uint64_t end = 0;
};

// The trailing pass finds the end of the last sound in the whole file; the
// leading pass then looks for the first sound in what the trailing cut keeps
// (a partial last frame is never measured).
Cuts FindCuts(dsp::DiskFile& file, const Geometry& g, silence::Detector& detector,
              std::vector<uint8_t>& buffer, bool removeBegin, bool removeEnd)
{
    Cuts cuts;
    bool error = false;
    cuts.size = file.Size(&error);
    if (error)
        return cuts;
    FileBlocks blocks(file, buffer);
    cuts.end = cuts.size;
    if (removeEnd) {
        const uint64_t audio = cuts.size - cuts.size % g.frameBytes;
        const auto found = silence::FindTrailingEnd(blocks, detector, audio, g.blockBytes, g.layout);
        if (found.kind == silence::PassResult::kReadFailed)
            return cuts;
        if (found.kind == silence::PassResult::kFound && found.position < cuts.size)
            cuts.end = found.position;
    }
    if (removeBegin) {
        const uint64_t audio = cuts.end - cuts.end % g.frameBytes;
        const auto found = silence::FindLeadingStart(blocks, detector, audio, g.blockBytes, g.layout);
        if (found.kind == silence::PassResult::kReadFailed)
            return cuts;
        if (found.kind == silence::PassResult::kFound)
            cuts.start = found.position;
    }
    cuts.found = true;
    return cuts;
}

void SaveSettings(HWND dialog)
{
    const int32_t stored = silence::StoredFromLevelText(dsp::FieldText(dialog, IDC_LEVEL_PERCENT).c_str());
    g_levelPercent = silence::LevelFromStored(stored);
    g_windowMs = silence::WindowFromPanel(dsp::GetDlgNumber(dialog, IDC_WINDOW_MS));
    g_removeBegin = dsp::GetCheck(dialog, IDC_FROM_BEGINNING);
    g_removeEnd = dsp::GetCheck(dialog, IDC_AT_END);
    dsp::settings::WriteNumber(kLevelName, static_cast<uint32_t>(stored));
    dsp::settings::WriteNumber(kWindowName, g_windowMs);
    dsp::settings::WriteBool(kBeginName, g_removeBegin);
    dsp::settings::WriteBool(kNotEndName, !g_removeEnd);
}

// The percent field's text is known to fit (LevelTextFits).
void ShowDecibelsOfPercent(HWND dialog)
{
    const double percent = -static_cast<double>(silence::StoredFromLevelText(
                               dsp::FieldText(dialog, IDC_LEVEL_PERCENT).c_str())) /
                           100.0;
    g_decibelsFromPercent = true;
    SetDlgItemTextA(dialog, IDC_LEVEL_DECIBELS, silence::DecibelTextFromPercent(percent).c_str());
    g_decibelsFromPercent = false;
    g_checked.Remember(dialog, IDC_LEVEL_DECIBELS);
}

void ShowPercentOfDecibels(HWND dialog, double decibels)
{
    g_percentFromDecibels = true;
    SetDlgItemTextA(dialog, IDC_LEVEL_PERCENT, silence::PercentTextFromDecibels(decibels).c_str());
    g_percentFromDecibels = false;
    g_checked.Remember(dialog, IDC_LEVEL_PERCENT);
}

} // namespace

namespace plugin {

void LoadSettings()
{
    g_levelPercent = silence::LevelFromStored(static_cast<int32_t>(dsp::settings::ReadNumber(kLevelName)));
    g_windowMs = silence::WindowFromStored(dsp::settings::ReadNumber(kWindowName));
    g_removeBegin = dsp::settings::ReadBool(kBeginName);
    g_removeEnd = !dsp::settings::ReadBool(kNotEndName);
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    const dsp::WaveFormat& format = Format(record);
    if (!dsp::FormatDescribesAudio(format))
        return 0;
    const bool removeBegin = g_removeBegin;
    const bool removeEnd = g_removeEnd;
    if (!removeBegin && !removeEnd)
        return 1; // nothing asked for

    Geometry g;
    g.layout = {format.bitsPerSample, dsp::StoredSampleBytes(format.bitsPerSample)};
    g.frameBytes = g.layout.bytesPerSample * format.channels;
    g.blockBytes = dsp::SecondOfWholeFrames(format, g.frameBytes);
    const auto window = silence::WindowFor(dsp::BytesForMilliseconds(format, g_windowMs), format.channels,
                                           g.layout.bytesPerSample);
    silence::Detector detector(window, format.channels, silence::LoudThreshold(g_levelPercent));
    std::vector<uint8_t> buffer(g.blockBytes);

    // With the leading pass the result goes through a second file, so the
    // input is only read; the trailing pass alone cuts the file in place.
    dsp::DiskFile file;
    const DWORD access = removeBegin ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    if (!file.Open(path, access, OPEN_EXISTING))
        return 0;
    const Cuts cuts = FindCuts(file, g, detector, buffer, removeBegin, removeEnd);
    if (!cuts.found)
        return 0;
    if (cuts.start == 0 && cuts.end == cuts.size)
        return 1; // no silence to cut
    if (!removeBegin)
        return file.TruncateAt(cuts.end) ? 1 : 0;

    // Both cut points are known: the kept part is written once to the
    // sibling, which replaces the input in one step.
    file.Close();
    dsp::Progress progress;
    return dsp::KeepRange(path, ".TMP", cuts.start, cuts.end - cuts.start, g.blockBytes, &progress) ? 1 : 0;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        dsp::FillingGuard filling;
        char level[32];
        snprintf(level, sizeof level, "%0.1f", g_levelPercent);
        SetDlgItemTextA(dialog, IDC_LEVEL_PERCENT, level);
        g_checked.Remember(dialog, IDC_LEVEL_PERCENT);
        ShowDecibelsOfPercent(dialog);
        dsp::SetDlgNumber(dialog, IDC_WINDOW_MS, static_cast<long>(g_windowMs));
        g_checked.Remember(dialog, IDC_WINDOW_MS);
        dsp::SetCheck(dialog, IDC_FROM_BEGINNING, g_removeBegin);
        dsp::SetCheck(dialog, IDC_AT_END, g_removeEnd);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    switch (id) {
    case IDC_LEVEL_PERCENT: {
        const std::string text = dsp::FieldText(dialog, IDC_LEVEL_PERCENT);
        const Entry entry = g_checked.Check(dialog, id, silence::LevelTextFits(text.c_str()));
        if (entry == Entry::kRefused)
            break;
        // Only a new text converts; focus changes and the notices that
        // follow a refused entry must not rewrite the other field.
        if (entry == Entry::kNew && !g_percentFromDecibels)
            ShowDecibelsOfPercent(dialog);
        if (!plugin::g_filling)
            SaveSettings(dialog);
        break;
    }
    case IDC_LEVEL_DECIBELS: {
        if (plugin::g_filling)
            break;
        const std::string text = dsp::FieldText(dialog, IDC_LEVEL_DECIBELS);
        double decibels = 0;
        const Entry entry = g_checked.Check(dialog, id, silence::DecibelsFromText(text.c_str(), &decibels));
        if (entry == Entry::kRefused)
            break;
        if (entry == Entry::kNew && !g_decibelsFromPercent)
            ShowPercentOfDecibels(dialog, decibels);
        SaveSettings(dialog);
        break;
    }
    case IDC_WINDOW_MS:
        // Any 32-bit number is taken (the window is then held to 50..750);
        // beyond that the panel's reading would turn it into 0.
        if (!plugin::g_filling && g_checked.CheckWhole(dialog, id, INT32_MIN, INT32_MAX) != Entry::kRefused)
            SaveSettings(dialog);
        break;
    case IDC_FROM_BEGINNING:
    case IDC_AT_END:
        if (!plugin::g_filling)
            SaveSettings(dialog);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace plugin
