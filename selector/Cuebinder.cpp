// Cuebinder: the program's entry.
#include "Mainres.h"
#include "Mainunit.h"
#include "Tpathfinder.h"
#include "Treplacer.h"
#include "Tsettings.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);

    // The replacer, the settings and the game-directory finder exist before
    // the main window and outlive it.
    TReplacer& replacer = Replacer();
    TSettings& settings = Settings();
    Finder();

    int result = 1;
    {
        TMainForm form(settings, replacer);
        if (form.Create(instance, showCommand)) {
            HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
            result = RunApplication(form, accelerators);
        }
    }
    return result;
}
