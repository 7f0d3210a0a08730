#include "recording_job.h"

#include <cstdio>
#include <cstring>

namespace auxiliary {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading decimal digits of `text` (after blanks), held at `limit`.
uint64_t LeadingNumber(std::string_view text, uint64_t limit)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    uint64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > limit)
            return limit;
    }
    return value;
}

std::string Numbered(const char* format, int number)
{
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

} // namespace

JobRecord MakeJobRecord(std::string_view text)
{
    JobRecord record{};
    const size_t n = text.size() < kJobRecordSize - 1 ? text.size() : kJobRecordSize - 1;
    std::memcpy(record.data(), text.data(), n);
    return record;
}

std::string PseudoPath(int trackNumber)
{
    return Numbered("\\\\Aux\\Track%02d.aux", trackNumber);
}

std::string TrackValueName(int trackNumber)
{
    return Numbered("Track%02d", trackNumber);
}

std::string SmartLengthValueName(int trackNumber)
{
    return Numbered("TrackSmartLen%02d", trackNumber);
}

uint32_t SmartLengthSeconds(std::string_view text)
{
    constexpr uint64_t kMost = 0xFFFFFFFFu;
    const size_t colon = text.find(':');
    uint64_t seconds = 0;
    if (colon == std::string_view::npos) {
        seconds = LeadingNumber(text, kMost);
    } else {
        const uint64_t minutes = LeadingNumber(text.substr(0, colon), kMost);
        seconds = minutes * 60 + LeadingNumber(text.substr(colon + 1), kMost);
    }
    return static_cast<uint32_t>(seconds < kMost ? seconds : kMost);
}

int16_t YearFromText(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size() || !IsDigit(text[i]))
        return 0;
    // The negative side reaches one further than the positive one: -32768 fits.
    const uint64_t most = negative ? 32768 : 32767;
    const uint64_t value = LeadingNumber(text.substr(i), most + 1);
    if (value > most)
        return 0;
    return static_cast<int16_t>(negative ? -static_cast<int>(value) : static_cast<int>(value));
}

std::string ConverterCommandLine(std::string_view programFolder, bool useLastSettings, std::string_view codec)
{
    std::string line = "\"";
    line += programFolder;
    line += "Recaster.exe\" ";
    if (useLastSettings) {
        line += "<Profile>AuxInput <UseLastSettings>";
    } else {
        line += "<Profile>AuxInput <ConvertTo>";
        line += codec;
    }
    return line;
}

TrackRecord TrackRecordFor(const RecordingTrack& track, int trackNumber, const AlbumFields& album)
{
    TrackRecord record{};
    SetField(record.artist, album.artist);
    SetField(record.title, track.name);
    SetField(record.album, album.album);
    SetField(record.fileName, track.name);
    record.year = YearFromText(album.year);
    record.lengthMs = 0;
    record.trackNumber = static_cast<uint8_t>(trackNumber);
    return record;
}

std::string JobFileBytes(const std::vector<JobRecord>& records)
{
    std::string bytes;
    bytes.reserve(records.size() * kJobRecordSize);
    for (const JobRecord& r : records)
        bytes.append(r.data(), r.size());
    return bytes;
}

} // namespace auxiliary
