// Starting a recording: the checked tracks become the two job files and the
// per-track registry values, the converter is started with the recorder's
// profile and watched until it ends while the window keeps working, and its
// log is handed to the playlist writer.
#pragma once

#include "recording_job.h"
#include "recording_playlist.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace auxiliary {

// Names of the suite's objects that a recording uses.
constexpr const char* kWaitingToConvertEvent = "evtTVCCWaitingToConvert";
constexpr const char* kConversionLogValue = "tVCWriteConvLog";
constexpr uint32_t kConversionLogValueSize = 260; // a path, in both widths
constexpr const char* kNotInstalledText = "Tonvask Recaster is not installed!.";
constexpr const char* kNotInstalledCaption = "Tonvask Recaster";

// Everything a recording takes from the main window, as plain data.
struct RecordingRequest
{
    HWND window = nullptr;      // the main window: disabled, hidden and shown again; owner of the message
    HWND artistField = nullptr; // receives the focus first, which ends a label edit under way
    std::string programFolder;  // with its trailing backslash
    std::string codec;          // the "Record To" choice, e.g. "Mp3 (Lame)"
    std::string outputFolder;   // "TVCUserFolderStr" of that codec
    std::vector<RecordingTrack> tracks; // the whole list in order, checked or not
    AlbumFields album;
    PlaylistSettings playlist;
    // Saves the add-on settings and a new genre before the job is written; may be empty.
    std::function<void()> saveSettings;
    // Finds the decoder of a converted file for the playlist; empty: the suite's decoder table.
    DecoderLookup decoders;
};

enum class RecordingOutcome {
    JobNotWritten,    // a job or log file could not be made; nothing was started
    ConverterWaiting, // a converter already waited for work and takes the job itself
    ConverterRan,     // the converter was started and has ended
    ConverterMissing, // the converter could not be started; the job files are gone
};

// Runs one recording on the user interface thread and returns when the
// converter has ended. `useLastSettings` starts the converter with its last
// settings, otherwise with its options step for the codec.
RecordingOutcome StartRecording(const RecordingRequest& request, bool useLastSettings);

// "Test Recording Input Level": opens and at once closes a recording object of
// the ".aux" decoder (which shows the level itself), with the wait cursor up
// while the decoder table is built; then repaints the window. Nothing happens
// without a ".aux" decoder.
void InputLevelTest(HWND window);
// The decoder part of it; false when there is no decoder or it cannot make objects.
bool OpenAndCloseLevelTest(const DecoderPlugin* decoder);

} // namespace auxiliary
