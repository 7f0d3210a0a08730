// The recording job the recorder hands to the converter: the two job files of
// 260-byte records, the per-track values, the smart track lengths and the
// converter's command line. Everything here is plain data; the Windows side
// (recording.cpp) writes it to disk and the registry.
#pragma once

#include "track_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

// Job files in the program folder: record i of both belongs to the same track.
constexpr const char* kJobFileName = "AddThis.Bin";
constexpr const char* kJobOutputFileName = "AddThisOuputTo.Bin";
constexpr size_t kJobRecordSize = 260;
using JobRecord = std::array<char, kJobRecordSize>;
// The job files are read by a converter of either width: no padding, no pointer.
static_assert(sizeof(JobRecord) == 260 && alignof(JobRecord) == 1);

// Track numbers travel as 8-bit values and pseudo paths as "%02d": a job never
// holds more tracks than this.
constexpr int kMaxTracks = 99;

// Output names are cut here; the converter adds the folder and the extension.
constexpr size_t kOutputNameLength = 250;

// One record: the text cut to 259 characters, a terminator, zero padding.
JobRecord MakeJobRecord(std::string_view text);

// "\\Aux\Track%02d.aux" for a 1-based list position.
std::string PseudoPath(int trackNumber);

// Registry value names under "\Auxiliary" for a 1-based list position.
std::string TrackValueName(int trackNumber);
std::string SmartLengthValueName(int trackNumber);

// A smart track length typed as "m:ss" or "s" (or empty) in seconds: with a
// colon the part before it is minutes and the part after it seconds. Each part
// is read as a decimal number (its leading digits; none reads as 0). The sum
// is held at 0xFFFFFFFF rather than wrapping.
uint32_t SmartLengthSeconds(std::string_view text);

// The Year field as a number for the track record: a decimal number that fits
// 16 signed bits (-32768 to 32767), otherwise 0. Blanks before it and one sign
// in front of the digits are allowed; reading stops at the first non-digit.
int16_t YearFromText(std::string_view text);

// The converter's command line: the quoted path of Recaster.exe in the program
// folder (which ends in a backslash), one blank, then the options.
std::string ConverterCommandLine(std::string_view programFolder, bool useLastSettings,
                                 std::string_view codec);

// The album fields of the main window, as typed.
struct AlbumFields
{
    std::string artist;
    std::string album;
    std::string genre;
    std::string comment;
    std::string year;
};

// One item of the track list.
struct RecordingTrack
{
    std::string name;
    std::string smartLength; // "m:ss", "s" or empty
    bool checked = true;
};

// The naming record of one track as the recorder fills it before recording
// (list position is 1-based).
TrackRecord TrackRecordFor(const RecordingTrack& track, int trackNumber, const AlbumFields& album);

// The two job files' contents, record by record.
struct RecordingJob
{
    std::vector<int> trackNumbers;  // 1-based list positions of the checked tracks
    std::vector<JobRecord> inputs;  // AddThis.Bin
    std::vector<JobRecord> outputs; // AddThisOuputTo.Bin
};

// Builds the job for the checked tracks (at most kMaxTracks list positions
// count). `expand` turns a track's record and the genre into its output name
// (the recorder passes the naming template's expansion); the result is cut at
// kOutputNameLength characters.
template <class Expand>
RecordingJob BuildRecordingJob(const std::vector<RecordingTrack>& tracks, const AlbumFields& album,
                               Expand&& expand)
{
    RecordingJob job;
    const int count =
        tracks.size() < static_cast<size_t>(kMaxTracks) ? static_cast<int>(tracks.size()) : kMaxTracks;
    for (int i = 0; i < count; ++i) {
        if (!tracks[i].checked)
            continue;
        const int number = i + 1;
        job.trackNumbers.push_back(number);
        job.inputs.push_back(MakeJobRecord(PseudoPath(number)));
        const std::string name =
            expand(TrackRecordFor(tracks[i], number, album), std::string_view(album.genre));
        job.outputs.push_back(MakeJobRecord(std::string_view(name).substr(0, kOutputNameLength)));
    }
    return job;
}

// The records laid end to end, as they go into a job file.
std::string JobFileBytes(const std::vector<JobRecord>& records);

} // namespace auxiliary
