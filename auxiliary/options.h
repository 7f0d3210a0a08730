// The three dialogs that edit the recorder's settings: "tVC - Options",
// "tVC - Boostkit Options" and "Compression Settings".
#pragma once

#include <windows.h>

#include <string>

#include "stored_settings.h"

namespace auxiliary {

// "tVC - Options", modal to `owner`. `outputFolder` (260 bytes) is the main
// window's output folder: shown in the dialog and, on OK, replaced by the
// text the user left there (it reaches the registry with the next recording
// or at program end). The other values are written on OK. Returns IDOK or
// IDCANCEL (Cancel, Escape and the close box save nothing).
INT_PTR ShowOptions(HWND owner, char* outputFolder);

// "tVC - Boostkit Options", modal to `owner`, editing `values` (not the
// registry). OK and the close box keep the changes (IDOK); Escape discards
// them (IDCANCEL).
INT_PTR ShowBoostkitOptions(HWND owner, AddOnSettings& values);

// "Compression Settings" for `codec`, modal to `owner`: the encoder library
// "Compression\<codec>.dll" puts its own controls into the dialog and keeps
// what the user chose under the profile "AuxInput".
INT_PTR ShowCompressionSettings(HWND owner, const char* codec);

// Seams for the parts of the dialogs that leave the process or open windows
// of their own, so tests can answer them. Folder browsers go through
// dsp::CurrentPrompts().
using TemplateEditor = bool (*)(HWND owner, char* templ, const char* title);
using CommandStarter = bool (*)(const std::string& commandLine);
// The template editor in use (by default EditTemplate); nullptr restores the default.
void SetTemplateEditor(TemplateEditor editor);
// What starts the recording mixer (by default CreateProcessA, not waited
// for); nullptr restores the default.
void SetCommandStarter(CommandStarter starter);
// What opens a help page (by default the shell's "open" verb); nullptr
// restores the default.
using PageOpener = void (*)(HWND owner, const std::string& path);
void SetPageOpener(PageOpener opener);

} // namespace auxiliary
