// Band positions, the 88-byte band record, presets and position files of the
// graphic equaliser. Plain arithmetic and byte handling: no Windows here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace eq {

constexpr int kBands = 18;
constexpr int kRecordSlots = 22;
constexpr size_t kRecordBytes = 88;
constexpr int kMinPosition = -200;
constexpr int kMaxPosition = 200;

using Positions = std::array<int32_t, kBands>;
using BandRecord = std::array<int32_t, kRecordSlots>;
using Gains = std::array<float, kBands>;
// The record crosses processes (the suite's shared positions) and files.
static_assert(sizeof(BandRecord) == kRecordBytes && sizeof(Positions) == 72);

// Upper edge in hertz of bands 0 to 16; band 17 reaches to the sample rate.
extern const std::array<float, kBands - 1> kUpperEdge;

// Gain of one slider position: below 0, 10^(x/4) with x = position / 100;
// otherwise 1 + x. Computed in single precision, then times the master gain.
float GainFromPosition(int32_t position, float masterGain = 1.0f);

// The 18 gains the engine designs its filter from (18-band layout).
Gains GainsFromRecord(const BandRecord& record);

// The record handed to the engine: slots 0, 1, 9 and 16 zero.
BandRecord EngineRecord(const Positions& positions);
// The record written to a position file: as above, with slot 9 a copy of
// band 6 and slot 16 a copy of band 12.
BandRecord FileRecord(const Positions& positions);

std::array<uint8_t, kRecordBytes> EncodeRecord(const BandRecord& record);
BandRecord DecodeRecord(const uint8_t* bytes); // kRecordBytes bytes

int32_t ClampPosition(int64_t position);

// Bands 1, 3, ..., 15 from their neighbours, for the 10-band forms:
// lower + (upper - lower) / 2, the division truncating toward zero.
void InterpolateOddBands(Positions& positions);

// Position file of our own: the first kRecordBytes bytes of `data`. Returns
// false, leaving `positions` alone, when there are fewer bytes than that.
bool PositionsFromRecordFile(const uint8_t* data, size_t size, Positions& positions);

// An EQF preset file: `tail` holds (at least) the file's last 11 bytes; the
// last 11 of them are read. Returns false, leaving `positions` alone, when
// fewer than 11 bytes are given.
constexpr size_t kEqfTailBytes = 11;
bool PositionsFromEqfTail(const uint8_t* tail, size_t size, Positions& positions);

// True when `path` ends in `extension` (".eqf", ".deq"), in any case.
bool HasExtension(const std::string& path, const char* extension);
// The save name: `path`, with ".deq" appended unless it already ends so.
std::string WithDeqExtension(const std::string& path);

struct Preset
{
    const char* name;
    int command;
    Positions positions;
};
extern const std::array<Preset, 7> kPresets;
const Preset* PresetForCommand(int command); // nullptr for other commands

} // namespace eq
