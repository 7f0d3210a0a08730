// DllMain and the three exports of every plug-in. Nothing thrown inside a
// plug-in gets past these functions.
#include "plugin.h"

#include "core/float_environment.h"
#include "settings_store.h"

#include <commctrl.h>

namespace {

void StartUp(HINSTANCE instance)
{
    plugin::g_instance = instance;
    dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kPluginKey);
    plugin::LoadSettings();
}

INT_PTR CALLBACK GuardedPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return plugin::PanelProc(dialog, message, wParam, lParam);
    } catch (...) {
        plugin::g_filling = false;
        return message == WM_COMMAND ? 1 : 0;
    }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_THREAD_ATTACH) {
        try {
            StartUp(instance);
        } catch (...) {
        }
    }
    return TRUE;
}

extern "C" int __cdecl DSPWorkOnThisFile(char* path, WAVEFORMATEX* format)
{
    try {
        if (!path || !format)
            return 0;
        // The effect's arithmetic in the state it is written for, whatever
        // the host's thread was left in; the host gets its own state back.
        const dsp::FloatEnvironment pinned;
        return plugin::WorkOnFile(path, format) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

extern "C" int __cdecl ShowDSPSettings(HWND parent)
{
    try {
        // Panels use track bars, list views and the like: register those
        // classes before the template is turned into windows.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        HRSRC found =
            FindResourceA(plugin::g_instance, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        if (!found)
            return 0;
        HGLOBAL loaded = LoadResource(plugin::g_instance, found);
        const void* tmpl = loaded ? LockResource(loaded) : nullptr;
        if (!tmpl)
            return 0;
        plugin::g_panel = CreateDialogIndirectParamA(plugin::g_instance, static_cast<LPCDLGTEMPLATEA>(tmpl),
                                                     parent, GuardedPanelProc, 0);
        if (!plugin::g_panel)
            return 0;
        RECT r{};
        GetWindowRect(plugin::g_panel, &r);
        MoveWindow(plugin::g_panel, 20, 208, r.right - r.left, r.bottom - r.top, FALSE);
        return ShowWindow(plugin::g_panel, SW_SHOWNORMAL);
    } catch (...) {
        return 0;
    }
}

extern "C" int __cdecl RemoveDSPSettings()
{
    try {
        HWND panel = plugin::g_panel;
        plugin::g_panel = nullptr;
        return DestroyWindow(panel);
    } catch (...) {
        return 0;
    }
}
