// The playlist of a recording as text: the converter's log read into the list
// of files it wrote, track data guessed from a file name, entry paths made
// relative to the playlist, and the M3U and PLS layouts.
#pragma once

#include "track_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

// Playlist types as stored ("BK-AuxInput-PlaylistType").
enum PlaylistType : uint32_t { kPlaylistM3u = 0, kPlaylistPls = 1 };

// The title of every entry: artist and title of its file.
constexpr const char* kEntryTitleTemplate = "%A - %T";

// The converter's log: characters kept of one line, and what marks a failed track.
constexpr size_t kLogLineLength = 520;
constexpr const char* kLogErrorMark = "[ERROR]";

// The paths of the files the converter wrote, in log order. A line ends at a
// line feed, a carriage return or both; only its first kLogLineLength
// characters count. Lines that contain "[ERROR]" stand for failed tracks and
// empty lines name no file; both are skipped.
std::vector<std::string> ConvertedFiles(std::string_view logText);

// The playlist's name before expansion: the folder (a backslash added when it
// has none at its end), the name template and ".pls" or ".m3u".
std::string PlaylistRawName(std::string_view folder, std::string_view nameTemplate, uint32_t type);

// The part of a path up to and including its last backslash (empty without one).
std::string FolderOf(std::string_view path);
// The text after the last dot of the last path component, without the dot
// (empty when that component has no dot). "\" and "/" both end a component.
std::string ExtensionOf(std::string_view path);
// The last path component without its extension.
std::string BaseNameOf(std::string_view path);

// True when a playlist of that path gets the M3U layout (".m3u" in any case).
bool IsM3uPath(std::string_view playlistPath);

// Artist and title from a file name "Artist - Song.ext" (blanks trimmed, each
// cut at 99 characters); without "-" the whole name is the title. Applied only
// when the record has neither an artist nor a title yet.
void TrackDataFromFileName(TrackRecord& record, std::string_view path);

// The entry path as written into a playlist in `playlistFolder` (which ends in
// a backslash), compared case-sensitively: the rest after the folder when the
// whole folder matches; the whole path when the first characters differ or
// the path begins with a backslash; otherwise the path from its drive's root.
std::string RelativeEntryPath(std::string_view playlistFolder, std::string_view path);

struct PlaylistEntry
{
    std::string path;
    std::string title;
    uint32_t lengthMs = 0;
};

// The playlist files byte for byte (CR LF line ends); entry paths are made
// relative to `playlistFolder` on the way. Each CR or LF inside a title or a
// path is written as a space, so that every entry keeps its own lines.
std::string M3uText(std::string_view playlistFolder, const std::vector<PlaylistEntry>& entries);
std::string PlsText(std::string_view playlistFolder, const std::vector<PlaylistEntry>& entries);
// The layout the playlist's own path asks for.
std::string PlaylistText(std::string_view playlistPath, const std::vector<PlaylistEntry>& entries);

} // namespace auxiliary
