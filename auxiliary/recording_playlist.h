// The playlist of a recording: after the converter has ended, the files named
// in its log are listed in an M3U or PLS playlist named by the playlist
// template, with each file's tags read through the decoder for its type.
#pragma once

#include "file_template.h"
#include "playlist_text.h"
#include "recorder_settings.h"
#include "recording_job.h"
#include "suite_environment.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace auxiliary {

// Finds the decoder for an extension given with its leading dot (".mp3");
// nullptr when there is none. An empty lookup uses the suite's decoder table.
using DecoderLookup = std::function<const DecoderPlugin*(std::string_view extension)>;

// The playlist settings of the add-on options (an empty folder or template
// takes its default).
struct PlaylistSettings
{
    bool write = false;                                    // "BK-AuxInput-WritePlaylist"
    uint32_t type = kPlaylistM3u;                          // "BK-AuxInput-PlaylistType"
    std::string folder = settings::kDefaultPlaylistFolder; // "BK-AuxInput-PlaylistStr"
    std::string nameTemplate =
        settings::kDefaultPlaylistCreation; // "BK-AuxInput-PlaylistCreation", percent form
};

struct AddOnSettings;
// The playlist part of the add-on settings the main window holds.
PlaylistSettings PlaylistSettingsOf(const AddOnSettings& addOn);

// Fills a record with a file's data: the current time as its time stamp, the
// decoder's tags when a decoder for its type offers GetTrackInfo, otherwise
// (artist and title both empty) artist and title from the file name.
void ReadTrackData(TrackRecord& record, const char* path, const DecoderLookup& lookup);

// Writes the playlist of the files named in the converter's log at `logPath`.
// Does nothing when playlist.write is off. Returns the playlist's path when a
// playlist was written, otherwise an empty text; a playlist that cannot be
// written is dropped silently and an earlier one of that name stays.
std::string WriteRecordingPlaylist(const AlbumFields& album, const PlaylistSettings& playlist,
                                   const char* logPath, const DecoderLookup& lookup, UniqueSource& unique);

} // namespace auxiliary
