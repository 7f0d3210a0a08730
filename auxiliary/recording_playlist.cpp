#include "recording_playlist.h"

#include "disk_file.h"
#include "stored_settings.h"
#include "playlist_text.h"
#include "settings_store.h"
#include "suite_paths.h"
#include "temp_file.h"

#include <cstring>
#include <vector>

namespace auxiliary {

namespace {

// A log is a short list of paths; anything beyond this is not a log.
constexpr uint64_t kMostLogBytes = 16u << 20;

std::string ReadWholeFile(const char* path)
{
    dsp::DiskFile file;
    if (!file.Open(path, GENERIC_READ, OPEN_EXISTING))
        return std::string();
    bool error = false;
    const uint64_t size = file.Size(&error);
    if (error || size == 0)
        return std::string();
    std::string text(static_cast<size_t>(size < kMostLogBytes ? size : kMostLogBytes), '\0');
    const uint32_t got = file.Read(text.data(), static_cast<uint32_t>(text.size()), dsp::kFromStart, &error);
    text.resize(error ? 0 : got);
    return text;
}

// Writes the whole text to a sibling file and moves it over `path` in one
// step, so a failed write never leaves a cut playlist behind nor loses the
// earlier one.
bool ReplaceFileWith(const std::string& path, const std::string& text)
{
    const std::string partial = path + "-Tmp";
    {
        dsp::DiskFile file;
        if (!file.Open(partial.c_str(), GENERIC_WRITE, CREATE_ALWAYS, false, false))
            return false;
        if (!file.Write(text.data(), static_cast<uint32_t>(text.size()))) {
            file.Close();
            DeleteFileA(partial.c_str());
            return false;
        }
    }
    if (!MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(partial.c_str());
        return false;
    }
    return true;
}

} // namespace

PlaylistSettings PlaylistSettingsOf(const AddOnSettings& addOn)
{
    return {addOn.writePlaylist, addOn.playlistType, addOn.playlistFolder, addOn.playlistCreation};
}

void ReadTrackData(TrackRecord& record, const char* path, const DecoderLookup& lookup)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    record.timeStamp = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;

    const std::string extension = ExtensionOf(path);
    const DecoderPlugin* decoder = nullptr;
    if (!extension.empty())
        decoder = lookup ? lookup("." + extension) : FindDecoder("." + extension);
    DecoderTrackInfo info;
    if (decoder && ReadTrackInfo(*decoder, path, info)) {
        SetField(record.artist, FieldText(info.artist));
        SetField(record.title, FieldText(info.title));
        SetField(record.album, FieldText(info.album));
        record.infoValue1 = info.infoValue1;
        record.infoValue2 = info.infoValue2;
        record.infoValue3 = info.infoValue3;
        record.infoValue4 = info.infoValue4;
        record.infoFlag = info.infoFlag;
        record.lengthMs = info.lengthMs;
        // Signed division and remainder: the year below, the track number above.
        record.year = static_cast<int16_t>(info.trackAndYear % 65536);
        record.trackNumber = static_cast<uint8_t>(info.trackAndYear / 65536);
    }
    TrackDataFromFileName(record, path);
}

std::string WriteRecordingPlaylist(const AlbumFields& album, const PlaylistSettings& playlist,
                                   const char* logPath, const DecoderLookup& lookup, UniqueSource& unique)
{
    if (!playlist.write)
        return std::string();

    const std::string nameTemplate =
        playlist.nameTemplate.empty() ? settings::kDefaultPlaylistCreation : playlist.nameTemplate;
    const std::string folderSetting =
        playlist.folder.empty() ? settings::kDefaultPlaylistFolder : playlist.folder;
    const std::string rawName = PlaylistRawName(folderSetting, nameTemplate, playlist.type);
    TrackRecord named{};
    SetField(named.artist, album.artist);
    SetField(named.album, album.album);
    SetField(named.fileName, rawName);
    named.year = YearFromText(album.year);
    const std::string path = ExpandTemplate(rawName, named, album.genre, unique);
    // A path cut at its length limit has lost its name and extension: a file
    // written there would be named after a cut folder.
    const std::string extension = rawName.substr(rawName.size() - 4);
    if (path.size() < extension.size() ||
        !SameIgnoringCase(path.substr(path.size() - extension.size()), extension))
        return std::string();

    const std::string folder = FolderOf(path);
    if (!folder.empty())
        dsp::CreateAllDirectories(folder.c_str());

    std::vector<PlaylistEntry> entries;
    for (const std::string& file : ConvertedFiles(ReadWholeFile(logPath))) {
        TrackRecord track{};
        SetField(track.fileName, file);
        ReadTrackData(track, file.c_str(), lookup);
        entries.push_back({file, ExpandTemplate(kEntryTitleTemplate, track, "", unique), track.lengthMs});
    }

    if (!ReplaceFileWith(path, PlaylistText(path, entries)))
        return std::string();
    return path;
}

} // namespace auxiliary
