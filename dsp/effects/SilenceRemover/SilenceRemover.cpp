// SilenceRemover: cuts trailing silence in place, then leading silence by
// copying the rest of the file to the ".TMP" sibling and moving that over the
// input in one step.
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

// Trailing pass: the end of file moves back to just after the last sound.
// False on a read or truncation failure; a file that cannot be opened is
// skipped.
bool CutTrailing(const char* path, const Geometry& g, silence::Detector& detector,
                 std::vector<uint8_t>& buffer)
{
    dsp::DiskFile file;
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING))
        return true;
    bool error = false;
    const uint64_t size = file.Size(&error);
    if (error)
        return false;
    FileBlocks blocks(file, buffer);
    const uint64_t audio = size - size % g.frameBytes; // a partial last frame is not measured
    const auto found = silence::FindTrailingEnd(blocks, detector, audio, g.blockBytes, g.layout);
    if (found.kind == silence::PassResult::kReadFailed)
        return false;
    if (found.kind == silence::PassResult::kFound && found.position < size)
        return file.TruncateAt(found.position);
    return true;
}

// Leading pass: everything from one window before the first sound is copied
// to the sibling, which then replaces the input. The input stays as it was
// on any failure, and the sibling is removed.
bool CutLeading(const char* path, const Geometry& g, silence::Detector& detector,
                std::vector<uint8_t>& buffer, dsp::Progress& progress)
{
    dsp::DiskFile input;
    if (!input.Open(path, GENERIC_READ, OPEN_EXISTING))
        return true;
    bool error = false;
    const uint64_t size = input.Size(&error);
    if (error)
        return false;
    FileBlocks blocks(input, buffer);
    const uint64_t audio = size - size % g.frameBytes;
    const auto found = silence::FindLeadingStart(blocks, detector, audio, g.blockBytes, g.layout);
    if (found.kind == silence::PassResult::kReadFailed)
        return false;
    if (found.kind == silence::PassResult::kNotFound || found.position == 0)
        return true;

    return dsp::ReplaceThroughFile(dsp::SiblingPath(path, ".TMP"), path, [&](dsp::DiskFile& sibling) {
        const uint64_t toCopy = size - found.position;
        const auto piece = static_cast<uint32_t>(buffer.size());
        const bool complete = dsp::CopyRange(input, found.position, toCopy, sibling, piece, &progress);
        input.Close();
        return complete;
    });
}

std::string ControlText(HWND dialog, int id)
{
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void SaveSettings(HWND dialog)
{
    const int32_t stored = silence::StoredFromLevelText(ControlText(dialog, IDC_LEVEL_PERCENT).c_str());
    g_levelPercent = silence::LevelFromStored(stored);
    g_windowMs = silence::WindowFromPanel(dsp::GetDlgNumber(dialog, IDC_WINDOW_MS));
    g_removeBegin = dsp::GetCheck(dialog, IDC_FROM_BEGINNING);
    g_removeEnd = dsp::GetCheck(dialog, IDC_AT_END);
    dsp::settings::WriteNumber(kLevelName, static_cast<uint32_t>(stored));
    dsp::settings::WriteNumber(kWindowName, g_windowMs);
    dsp::settings::WriteBool(kBeginName, g_removeBegin);
    dsp::settings::WriteBool(kNotEndName, !g_removeEnd);
}

void ShowDecibelsOfPercent(HWND dialog)
{
    const double percent =
        -silence::StoredFromLevelText(ControlText(dialog, IDC_LEVEL_PERCENT).c_str()) / 100.0;
    g_decibelsFromPercent = true;
    SetDlgItemTextA(dialog, IDC_LEVEL_DECIBELS, silence::DecibelTextFromPercent(percent).c_str());
    g_decibelsFromPercent = false;
}

void ShowPercentOfDecibels(HWND dialog)
{
    const double decibels = std::strtod(ControlText(dialog, IDC_LEVEL_DECIBELS).c_str(), nullptr);
    g_percentFromDecibels = true;
    SetDlgItemTextA(dialog, IDC_LEVEL_PERCENT, silence::PercentTextFromDecibels(decibels).c_str());
    g_percentFromDecibels = false;
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

    Geometry g;
    g.layout = {format.bitsPerSample, dsp::StoredSampleBytes(format.bitsPerSample)};
    g.frameBytes = g.layout.bytesPerSample * format.channels;
    g.blockBytes = dsp::SecondOfWholeFrames(format, g.frameBytes);
    const auto window = silence::WindowFor(dsp::BytesForMilliseconds(format, g_windowMs), format.channels,
                                           g.layout.bytesPerSample);
    silence::Detector detector(window, format.channels, silence::LoudThreshold(g_levelPercent));
    std::vector<uint8_t> buffer(g.blockBytes);
    dsp::Progress progress;

    int result = 1;
    // The trailing cut is made first and stands even when the leading pass fails.
    if (g_removeEnd && !CutTrailing(path, g, detector, buffer))
        result = 0;
    if (g_removeBegin && !CutLeading(path, g, detector, buffer, progress))
        result = 0;
    return result;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        dsp::FillingGuard filling;
        char level[32];
        snprintf(level, sizeof level, "%0.1f", g_levelPercent);
        SetDlgItemTextA(dialog, IDC_LEVEL_PERCENT, level);
        ShowDecibelsOfPercent(dialog);
        dsp::SetDlgNumber(dialog, IDC_WINDOW_MS, static_cast<long>(g_windowMs));
        dsp::SetCheck(dialog, IDC_FROM_BEGINNING, g_removeBegin);
        dsp::SetCheck(dialog, IDC_AT_END, g_removeEnd);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case IDC_LEVEL_PERCENT:
        // Only a change of the text converts; focus changes must not rewrite
        // the other field.
        if (code == EN_CHANGE && !g_percentFromDecibels)
            ShowDecibelsOfPercent(dialog);
        if (!plugin::g_filling)
            SaveSettings(dialog);
        break;
    case IDC_LEVEL_DECIBELS:
        if (plugin::g_filling)
            break;
        if (code == EN_CHANGE && !g_decibelsFromPercent)
            ShowPercentOfDecibels(dialog);
        SaveSettings(dialog);
        break;
    case IDC_WINDOW_MS:
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
