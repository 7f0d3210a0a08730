// Auxiliary.exe, the recorder front end of the Tonvask suite.
//
// Start-up and shut-down of the program: COM, the settings store's default
// key, the skin's label colours, the suite's named objects and the common
// controls around the recorder's main window, which runs modally until the
// user closes it. The add-on settings are written when it has closed.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "main_window.h"
#include "stored_settings.h"
#include "settings_store.h"
#include "suite_environment.h"
#include "suite_paths.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kSuiteKey);

    auxiliary::MainWindow::Setup setup;
    setup.programFolder = auxiliary::ProgramFolder();
    setup.colours =
        auxiliary::ReadLabelColours(setup.programFolder + auxiliary::kSkinFolder + "aux-colors.txt");

    // Held from start to end; the recorder itself tests only
    // "evtTVCCWaitingToConvert" (when it records).
    auxiliary::SuiteObjects suiteObjects;
    suiteObjects.Create();

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    auxiliary::AddOnSettings addOn;
    {
        auxiliary::MainWindow window(setup);
        window.ShowModal(nullptr);
        addOn = window.AddOn();
    }

    suiteObjects.Close();
    CoUninitialize();
    auxiliary::SaveAddOnSettings(addOn);
    return 0;
}
