// The recorder's settings in the registry and the three dialogs that edit
// them: "tVC - Options", "tVC - Boostkit Options" and "Compression Settings".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "recorder_settings.h"

namespace auxiliary {

// The values of "tVC - Options" as stored (texts as typed, the template in
// percent form).
struct RecorderOptions
{
    uint32_t device = 0;   // 0 "[Default]", n the n-th wave input device
    uint32_t rate = 0;     // position in settings::kRateChoices
    uint32_t bits = 0;     // position in settings::kBitChoices
    uint32_t channels = 0; // position in settings::kChannelChoices
    bool autoStart = false;
    std::string autoStartPercent;
    std::string autoStartFor;
    bool autoEnd = false;
    std::string autoEndPercent;
    std::string autoEndFor;
    std::string fileCreation; // percent form
};

// Reads every value with its default (a missing text, or an empty one, takes
// the default; list positions a list does not have read as 0).
RecorderOptions LoadRecorderOptions();
// Writes in this order: the template, "Aux-AutoStart" (1 or 0) and its two
// texts, "Aux-AutoEnd" and its two texts, then the four list positions.
void SaveRecorderOptions(const RecorderOptions& options);

// The add-on (Boostkit) values. The program holds them in memory while it
// runs and writes them when a recording starts and when it ends.
struct AddOnSettings
{
    bool writePlaylist = false;
    uint32_t playlistType = 0; // 0 "m3u", 1 "pls"
    std::string playlistFolder;
    std::string playlistCreation; // percent form
    bool playAudio = false;
};
AddOnSettings LoadAddOnSettings();
void SaveAddOnSettings(const AddOnSettings& values);

// The current codec ("AuxInput-RipTo", default "Mp3 (Lame)") and the output
// folder kept under a codec's key ("TVCUserFolderStr", default
// "C:\Converted Music\").
std::string ReadCodec();
void WriteCodec(const std::string& codec);
std::string ReadOutputFolder(const std::string& codec);
void WriteOutputFolder(const std::string& codec, const std::string& folder);

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
