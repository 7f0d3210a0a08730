// The recorder's settings in the registry: the values of "tVC - Options", the
// add-on (Boostkit) values, the current codec and each codec's output folder,
// read with their defaults and written as the dialogs and the program keep them.
#pragma once

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

} // namespace auxiliary
