// Quietener: makes the whole file quieter in place, every sample scaled by
// (100 - percent) / 100, one second at a time. The percentage is limited to
// 0..100: the panel puts 100 back into its field when more is typed, so the
// factor never turns negative or grows past 1.
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
}

void ShowPercent(HWND dialog)
{
    Flag guard(g_fillingPercent);
    dsp::SetDlgNumber(dialog, IDC_PERCENT, static_cast<long>(g_percent));
}

void OnPercentChanged(HWND dialog)
{
    if (g_fillingPercent)
        return;
    const long typed = dsp::basic::FieldNumber(dialog, IDC_PERCENT);
    g_percent = dsp::basic::LimitPercent(typed);
    if (typed != static_cast<long>(g_percent))
        ShowPercent(dialog); // say so: more than 100 is 100
    ShowDecibels(dialog);
}

void OnDecibelsChanged(HWND dialog)
{
    if (g_fillingDecibels)
        return;
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, IDC_DECIBELS, text, sizeof text);
    g_percent = static_cast<uint32_t>(dsp::basic::PercentFromDecibelText(text));
    ShowPercent(dialog);
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
        OnPercentChanged(dialog);
        if (!g_filling)
            dsp::settings::WriteNumber(kPercentName, g_percent);
    } else if (id == IDC_DECIBELS && !g_filling && !g_fillingDecibels) {
        OnDecibelsChanged(dialog);
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
    if (!file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING))
        return 0;
    if (percent == 0)
        return 1; // a factor of 1 changes no sample
    bool sizeError = false;
    const uint64_t size = file.Size(&sizeError);
    if (sizeError)
        return 0;
    const uint16_t bits = format->bitsPerSample;
    const bool complete = dsp::RewriteInPlace(
        file, size, dsp::BytesForMilliseconds(*format, 1000), progress,
        [&](uint8_t* block, uint32_t bytes) { dsp::basic::QuietenBlock(block, bytes, bits, percent); });
    return complete ? 1 : 0;
}

} // namespace plugin
