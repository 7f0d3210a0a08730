// A small plug-in built only for the framework's tests: it records its
// start-ups, follows the panel pattern with one edit and one check box, and
// its work step throws or fails on request (by the file name it is given).
#include "panel.h"
#include "plugin.h"
#include "settings_store.h"

#include "panel_ids.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace {
constexpr const char* kKey = "Software\\DspFrameworkTests\\Probe";
long g_number = 0;
bool g_switch = false;
} // namespace

namespace plugin {

void LoadSettings()
{
    // Start-ups are counted in the test key; the default key must be the plug-in key by now.
    dsp::settings::WriteNumber("Loads", dsp::settings::ReadNumber("Loads", HKEY_CURRENT_USER, kKey) + 1,
                               HKEY_CURRENT_USER, kKey);
    dsp::settings::WriteText("DefaultPath", dsp::settings::DefaultPath(), HKEY_CURRENT_USER, kKey);
    g_number = static_cast<long>(dsp::settings::ReadNumber("Number", HKEY_CURRENT_USER, kKey));
    g_switch = dsp::settings::ReadBool("Switch", HKEY_CURRENT_USER, kKey);
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        dsp::FillingGuard filling;
        dsp::SetDlgNumber(dialog, IDC_PROBE_NUMBER, g_number);
        dsp::SetCheck(dialog, IDC_PROBE_SWITCH, g_switch);
        dsp::EnableControl(dialog, IDC_PROBE_NUMBER, g_switch);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PROBE_THROW)
            throw std::runtime_error("thrown by the panel");
        if ((LOWORD(wParam) == IDC_PROBE_NUMBER || LOWORD(wParam) == IDC_PROBE_SWITCH) && !g_filling) {
            g_number = dsp::GetDlgNumber(dialog, IDC_PROBE_NUMBER);
            g_switch = dsp::GetCheck(dialog, IDC_PROBE_SWITCH);
            dsp::settings::WriteNumber("Number", static_cast<uint32_t>(g_number), HKEY_CURRENT_USER, kKey);
            dsp::settings::WriteBool("Switch", g_switch, HKEY_CURRENT_USER, kKey);
            dsp::EnableControl(dialog, IDC_PROBE_NUMBER, g_switch);
        }
        return 1;
    }
    return 0;
}

int WorkOnFile(const char* path, WAVEFORMATEX* format)
{
    if (std::strstr(path, "throw"))
        throw std::runtime_error("thrown by the effect");
    if (std::strstr(path, "nomemory"))
        throw std::bad_alloc();
    if (std::strstr(path, "fail"))
        return 0;
    format->nChannels = 1; // the record is in and out
    return 0x101;          // only the low byte counts; the export reduces it to 1
}

} // namespace plugin
