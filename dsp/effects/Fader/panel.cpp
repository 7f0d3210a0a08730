// The fader's settings panel: two switches, each with its length in
// milliseconds; every change is saved at once. A length the panel cannot
// show back with "%d" (negative, past 2147483647, not finite) is refused:
// the field gets its last valid text again and nothing is saved.
#include <climits>

#include "panel_ids.h"
#include "fader_settings.h"
#include "panel.h"
#include "plugin.h"

namespace {

dsp::CheckedFields g_lengths;

void UpdateEnabled(HWND dialog)
{
    dsp::EnableControl(dialog, IDC_FADE_IN_LENGTH, fader::g_settings.fadeIn);
    dsp::EnableControl(dialog, IDC_FADE_OUT_LENGTH, fader::g_settings.fadeOut);
}

} // namespace

namespace plugin {

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    fader::Settings& s = fader::g_settings;
    switch (message) {
    case WM_INITDIALOG: {
        dsp::FillingGuard filling;
        dsp::SetDlgNumber(dialog, IDC_FADE_IN_LENGTH, static_cast<long>(s.inLength));
        dsp::SetDlgNumber(dialog, IDC_FADE_OUT_LENGTH, static_cast<long>(s.outLength));
        dsp::SetCheck(dialog, IDC_FADE_IN, s.fadeIn);
        dsp::SetCheck(dialog, IDC_FADE_OUT, s.fadeOut);
        UpdateEnabled(dialog);
        g_lengths.Remember(dialog, IDC_FADE_IN_LENGTH);
        g_lengths.Remember(dialog, IDC_FADE_OUT_LENGTH);
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        switch (id) {
        case IDC_FADE_IN_LENGTH:
        case IDC_FADE_OUT_LENGTH:
            if (g_filling ||
                g_lengths.CheckWhole(dialog, id, 0, INT_MAX) == dsp::CheckedFields::Entry::kRefused)
                break;
            [[fallthrough]];
        case IDC_FADE_IN:
        case IDC_FADE_OUT:
            if (!g_filling) {
                s.fadeIn = dsp::GetCheck(dialog, IDC_FADE_IN);
                s.fadeOut = dsp::GetCheck(dialog, IDC_FADE_OUT);
                s.inLength = static_cast<uint32_t>(dsp::GetDlgNumber(dialog, IDC_FADE_IN_LENGTH));
                s.outLength = static_cast<uint32_t>(dsp::GetDlgNumber(dialog, IDC_FADE_OUT_LENGTH));
                fader::Save();
                UpdateEnabled(dialog);
            }
            break;
        }
        return 1;
    }
    }
    return 0;
}

} // namespace plugin
