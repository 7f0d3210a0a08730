// Auxiliary.exe, the recorder front end of the Tonvask suite.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "settings_store.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kSuiteKey);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    CoUninitialize();
    return 0;
}
