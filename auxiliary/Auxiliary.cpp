// Auxiliary.exe, the recorder front end of the Tonvask suite.
//
// Start-up and shut-down of the program: COM, the settings store's default
// key, the suite's named objects and the common controls around the
// recorder's window. Until the main window is written, the options dialog
// stands in its place.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "options.h"
#include "settings_store.h"
#include "suite_environment.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kSuiteKey);

    // Held from start to end; the recorder itself tests only
    // "evtTVCCWaitingToConvert" (when it records).
    auxiliary::SuiteObjects suiteObjects;
    suiteObjects.Create();

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    const std::string codec = auxiliary::ReadCodec();
    char outputFolder[260] = {};
    std::strncpy(outputFolder, auxiliary::ReadOutputFolder(codec).c_str(), sizeof outputFolder - 1);
    auxiliary::AddOnSettings addOn = auxiliary::LoadAddOnSettings();

    if (auxiliary::ShowOptions(nullptr, outputFolder) == IDOK)
        auxiliary::WriteOutputFolder(codec, outputFolder);

    suiteObjects.Close();
    CoUninitialize();
    auxiliary::SaveAddOnSettings(addOn);
    return 0;
}
