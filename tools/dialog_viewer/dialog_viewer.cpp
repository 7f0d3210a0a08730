// Shows one of the recorder's dialogs on its own, to look at it (not shipped):
//   aux_dialog_viewer options | boostkit [write] | compression [codec] | browse
// The compression dialog loads "Compression\<codec>.dll" beside this program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>
#include <string>

#include <shlobj.h>

#include "options.h"
#include "prompts.h"
#include "settings_store.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    CoInitialize(nullptr);
    dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kSuiteKey);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    const std::string line = commandLine ? commandLine : "";
    if (line.rfind("boostkit", 0) == 0) {
        auxiliary::AddOnSettings values = auxiliary::LoadAddOnSettings();
        values.writePlaylist = line.find("write") != std::string::npos;
        auxiliary::ShowBoostkitOptions(nullptr, values);
    } else if (line.rfind("browse", 0) == 0) {
        char folder[MAX_PATH] = {};
        dsp::CurrentPrompts().BrowseFolder(nullptr, "Output Ripped Files To...",
                                           BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE, folder);
    } else if (line.rfind("compression", 0) == 0) {
        const std::string codec = line.size() > 12 ? line.substr(12) : "Mp3 (Lame)";
        auxiliary::ShowCompressionSettings(nullptr, codec.c_str());
    } else {
        char folder[260] = "C:\\Converted Music\\";
        auxiliary::ShowOptions(nullptr, folder);
    }
    CoUninitialize();
    return 0;
}
