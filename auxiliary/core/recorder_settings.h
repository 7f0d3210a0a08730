// The recorder's settings as the suite stores them: value names, the keys
// below the suite key, defaults, and the dialog lists whose positions are
// the stored indexes (so the order of each list is part of the stored form).
// Everything lies under HKEY_CURRENT_USER.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace auxiliary::settings {

// ---- Keys (below HKEY_CURRENT_USER) ----
constexpr const char* kSuiteKey = "Software\\Marrowby\\Tonvask";
constexpr const char* kBoostkitKey = "Software\\Marrowby\\Tonvask\\Boostkit";
constexpr const char* kRunDataKey = "Software\\Marrowby\\Tonvask\\Auxiliary";
// The key of one codec: kCodecKeyPrefix + codec name.
constexpr const char* kCodecKeyPrefix = "Software\\Marrowby\\Tonvask\\tVCCodec\\";
std::string CodecKey(std::string_view codec);

// ---- Values under the suite key ----
constexpr const char* kRecordUsing = "Aux-RecUsing";       // DWORD index, 0
constexpr const char* kRecordRate = "Aux-RecFreq";         // DWORD index, 0
constexpr const char* kRecordBits = "Aux-RecBits";         // DWORD index, 0
constexpr const char* kRecordChannels = "Aux-RecChannels"; // DWORD index, 0
constexpr const char* kAutoStart = "Aux-AutoStart";        // DWORD 0/1, 0
constexpr const char* kAutoStartPercent = "Aux-AutoStartPC";
constexpr const char* kAutoStartFor = "Aux-AutoStartFor";
constexpr const char* kAutoEnd = "Aux-AutoEnd"; // DWORD 0/1, 0
constexpr const char* kAutoEndPercent = "Aux-AutoEndPC";
constexpr const char* kAutoEndFor = "Aux-AutoEndFor";
constexpr const char* kFileCreation = "Aux-FileCreation"; // percent form
constexpr const char* kCodec = "AuxInput-RipTo";
constexpr const char* kWindowX = "tVC-AuxInput-X";
constexpr const char* kWindowY = "tVC-AuxInput-Y";
constexpr const char* kWindowW = "tVC-AuxInput-W";
constexpr const char* kWindowH = "tVC-AuxInput-H";
constexpr const char* kLastCodec = "tVCLastCodec";
constexpr const char* kHistoryFormat = "tVCLastFileCreation%d"; // 0 to 9
constexpr const char* kUnique = "Unique";

// ---- Values under a codec's key ----
constexpr const char* kOutputFolder = "TVCUserFolderStr";
constexpr const char* kOutputFolderFlag = "TVCUserFolder"; // 0xFFFFFFFF at each run

// ---- Values under the Boostkit key ----
constexpr const char* kWritePlaylist = "BK-AuxInput-WritePlaylist"; // DWORD 0/1, 0
constexpr const char* kPlaylistType = "BK-AuxInput-PlaylistType";   // DWORD index, 0
constexpr const char* kPlaylistFolder = "BK-AuxInput-PlaylistStr";
constexpr const char* kPlaylistCreation = "BK-AuxInput-PlaylistCreation"; // percent form
constexpr const char* kPlayAudio = "BK-AuxInput-PlayAudio";               // DWORD 0/1, 0

// ---- Defaults of the texts (a missing or empty text takes its default) ----
constexpr const char* kDefaultAutoStartPercent = "10";
constexpr const char* kDefaultAutoStartFor = "750";
constexpr const char* kDefaultAutoEndPercent = "10";
constexpr const char* kDefaultAutoEndFor = "3000";
constexpr const char* kDefaultFileCreation = "%a - %t";
constexpr const char* kDefaultCodec = "Mp3 (Lame)";
constexpr const char* kDefaultOutputFolder = "C:\\Converted Music\\";
constexpr const char* kDefaultPlaylistFolder = "C:\\Converted Music\\Playlists\\";
constexpr const char* kDefaultPlaylistCreation = "%a - %l";

// ---- Dialog lists: position = stored index ----
constexpr const char* kDefaultDevice = "[Default]"; // position 0 of the device list
constexpr const char* kRateChoices[] = {
    "44.1 KHz (CD Quality)", "22.5 KHz", "11.2 KHz", "48 KHz", "96 KHz", "192 KHz"};
constexpr const char* kBitChoices[] = {"16", "8", "24"};
constexpr const char* kChannelChoices[] = {"Stereo", "Mono",  "3 Ch.", "4 Ch.", "5 Ch.",
                                           "6 Ch.",  "7 Ch.", "8 Ch.", "9 Ch."};
constexpr const char* kPlaylistTypeChoices[] = {"m3u", "pls"};

// A stored list position as the list shows it: positions the list does not
// have show its first entry, so a damaged value never leaves a list without
// a choice (which OK would then store as -1).
uint32_t ListPosition(uint32_t stored, size_t count);

// A stored text, or its default when it is empty.
std::string TextOrDefault(std::string_view stored, const char* defaultText);

// The recording mixer's command line: a double quote, the system directory
// with a trailing backslash, "sndvol32.exe", a double quote, " -r".
std::string MixerCommandLine(std::string_view systemDirectory);

// "Compression Settings for '<codec>'".
std::string CompressionSettingsText(std::string_view codec);

} // namespace auxiliary::settings
