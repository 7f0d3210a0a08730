// Quietener: makes the whole file quieter in place, every sample scaled by
// (100 - percent) / 100, one second at a time. The percentage is limited to
// 0..100, so the factor never turns negative or grows past 1: the panel
// refuses a percentage outside it, and a decibel figure that is not finite or
// lies above full scale (the field gets its last valid text back).
#include <windows.h>

#include <string>
#include <vector>

#include "core/decibels.h"
#include "file_steps.h"
#include "panel_fields.h"
#include "core/transforms.h"
#include "panel.h"
#include "plugin.h"
#include "panel_ids.h"
#include "settings_store.h"

namespace {

constexpr const char* kPercentName = "Vol-Quiet-PCLessenBy";
constexpr uint32_t kDefaultPercent = 20;

uint32_t g_percent = kDefaultPercent;
bool g_fillingDecibels = false; // the decibel field is being set from the percentage
bool g_fillingPercent = false;  // the percentage field is being set from the decibels
dsp::CheckedFields g_checked;
using Entry = dsp::CheckedFields::Entry;

// Sets a flag for the lifetime of the object.
class Flag
{
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }

private:
    bool& flag_;
};

void ShowDecibels(HWND dialog)
{
    Flag guard(g_fillingDecibels);
    SetDlgItemTextA(dialog, IDC_DECIBELS,
                    dsp::basic::PercentAsDecibelText(static_cast<long>(g_percent)).c_str());
    g_checked.Remember(dialog, IDC_DECIBELS);
}

void ShowPercent(HWND dialog)
{
    Flag guard(g_fillingPercent);
    dsp::SetDlgNumber(dialog, IDC_PERCENT, static_cast<long>(g_percent));
    g_checked.Remember(dialog, IDC_PERCENT);
}

// False when the typed percentage is refused (nothing to store).
bool OnPercentChanged(HWND dialog)
{
    if (g_fillingPercent)
        return true;
    const Entry entry = g_checked.CheckWhole(dialog, IDC_PERCENT, 0, 100);
    if (entry != Entry::kNew)
        return entry == Entry::kSame;
    g_percent = dsp::basic::LimitPercent(dsp::basic::FieldNumber(dialog, IDC_PERCENT));
    ShowDecibels(dialog);
    return true;
}

// False when the typed figure is refused (nothing to store).
bool OnDecibelsChanged(HWND dialog)
{
    const std::string text = dsp::FieldText(dialog, IDC_DECIBELS);
    // The figure shown for a percentage reads back as a slightly different
    // percentage (-14.0 for 20 reads as 19), so only a new text converts.
    const Entry entry = g_checked.Check(dialog, IDC_DECIBELS, dsp::basic::DecibelTextFits(text.c_str()));
    if (entry != Entry::kNew)
        return entry == Entry::kSame;
    g_percent = static_cast<uint32_t>(dsp::basic::PercentFromDecibelText(text.c_str()));
    ShowPercent(dialog);
    return true;
}

} // namespace

namespace plugin {

void LoadSettings()
{
    const uint32_t stored = dsp::settings::ReadNumber(kPercentName);
    g_percent = stored == 0 ? kDefaultPercent : stored > 100 ? 100 : stored;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        dsp::FillingGuard filling;
        ShowPercent(dialog);
        ShowDecibels(dialog);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    if (id == IDC_PERCENT) {
        if (OnPercentChanged(dialog) && !g_filling)
            dsp::settings::WriteNumber(kPercentName, g_percent);
    } else if (id == IDC_DECIBELS && !g_filling && !g_fillingDecibels) {
        if (OnDecibelsChanged(dialog))
            dsp::settings::WriteNumber(kPercentName, g_percent);
    }
    return 1;
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    const dsp::WaveFormat* format = dsp::WorkableInput(path, record);
    if (!format)
        return 0;
    const uint32_t percent = g_percent;
    dsp::Progress progress;
    dsp::DiskFile file;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(file, path, GENERIC_READ | GENERIC_WRITE, &size))
        return 0;
    if (percent == 0)
        return 1; // a factor of 1 changes no sample
    const uint16_t bits = format->bitsPerSample;
    const bool complete = dsp::RewriteInPlace(
        file, size, dsp::BytesForMilliseconds(*format, 1000), progress,
        [&](uint8_t* block, uint32_t bytes) { dsp::basic::QuietenBlock(block, bytes, bits, percent); });
    return complete ? 1 : 0;
}

} // namespace plugin
