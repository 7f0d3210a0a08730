// The contract between the framework and one plug-in.
//
// The framework (target dsp_plugin) provides DllMain and the three exports:
//   DSPWorkOnThisFile(path, format) -> 1 applied / 0 failed; never lets an exception out
//   ShowDSPSettings(parent)         -> creates dialog 101 of the plug-in as a child of
//                                      parent, moves it to 20,208, shows it
//   RemoveDSPSettings()             -> destroys that panel
// At process and thread attach it stores the instance handle, sets the
// settings default to HKEY_CURRENT_USER + dsp::settings::kPluginKey and calls
// plugin::LoadSettings().
//
// Each plug-in provides, in its own folder, the three functions below and a
// .def file exporting DSPWorkOnThisFile, ShowDSPSettings and RemoveDSPSettings.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include "core/wave_format.h"

namespace plugin {

extern HINSTANCE g_instance; // the plug-in's own module (set at attach)
extern HWND g_panel;         // the settings panel while it exists
extern bool g_filling;       // true while the panel's controls are being filled

// Provided by each plug-in:
void LoadSettings();
INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int WorkOnFile(const char* path, WAVEFORMATEX* format);

// The host's format record seen as the portable layout.
inline dsp::WaveFormat& Format(WAVEFORMATEX* format)
{
    return *reinterpret_cast<dsp::WaveFormat*>(format);
}

} // namespace plugin

static_assert(sizeof(WAVEFORMATEX) == sizeof(dsp::WaveFormat), "format record layout");

extern "C" {
int __cdecl DSPWorkOnThisFile(char* path, WAVEFORMATEX* format);
int __cdecl ShowDSPSettings(HWND parent);
int __cdecl RemoveDSPSettings();
}

// The same exports as function-pointer types, for hosts.
using DSPWorkOnThisFileFn = int(__cdecl*)(char*, WAVEFORMATEX*);
using ShowDSPSettingsFn = int(__cdecl*)(HWND);
using RemoveDSPSettingsFn = int(__cdecl*)();
