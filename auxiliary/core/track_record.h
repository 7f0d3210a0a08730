// The suite's 648-byte naming record of one track. The same bytes travel in
// the suite's shared values and between the recorder and its file-name
// expander, so the layout is fixed to the byte: every gap is an explicit
// reserved field, which makes `TrackRecord record{}` zero every byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace auxiliary {

struct TrackRecord
{
    char artist[100];
    char title[100];
    char album[100];
    char fileName[260]; // used when a template yields no file name
    uint8_t infoFlag;
    uint8_t reserved561;
    uint16_t infoValue1;
    uint32_t infoValue2;
    uint8_t reserved568[42];
    int16_t year;
    uint8_t infoValue3;
    uint8_t reserved613[3];
    uint32_t infoValue4;
    uint32_t lengthMs;
    uint8_t reserved624[8];
    uint64_t timeStamp; // a Windows file time
    uint8_t reserved640[4];
    uint8_t trackNumber; // 1-based
    uint8_t reserved645[3];
};

static_assert(sizeof(TrackRecord) == 648);
static_assert(offsetof(TrackRecord, artist) == 0);
static_assert(offsetof(TrackRecord, title) == 100);
static_assert(offsetof(TrackRecord, album) == 200);
static_assert(offsetof(TrackRecord, fileName) == 300);
static_assert(offsetof(TrackRecord, infoFlag) == 560);
static_assert(offsetof(TrackRecord, infoValue1) == 562);
static_assert(offsetof(TrackRecord, infoValue2) == 564);
static_assert(offsetof(TrackRecord, year) == 610);
static_assert(offsetof(TrackRecord, infoValue3) == 612);
static_assert(offsetof(TrackRecord, infoValue4) == 616);
static_assert(offsetof(TrackRecord, lengthMs) == 620);
static_assert(offsetof(TrackRecord, timeStamp) == 632);
static_assert(offsetof(TrackRecord, trackNumber) == 644);

// Copies text into a fixed field, cut so that the terminator always fits; the
// rest of the field is zeroed.
template <size_t N>
void SetField(char (&field)[N], std::string_view text)
{
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The text of a field up to its terminator, or the whole field when a record
// from elsewhere carries none.
template <size_t N>
std::string_view FieldText(const char (&field)[N])
{
    const void* end = std::memchr(field, 0, N);
    return std::string_view(field, end ? static_cast<const char*>(end) - field : N);
}

} // namespace auxiliary
