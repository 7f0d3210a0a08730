#include "core/bands.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace eq {

const std::array<float, kBands - 1> kUpperEdge = {
    65.406395f,   92.498604f,   130.812775f,  184.997208f,   261.625580f,   369.994415f,
    523.251160f,  739.988403f,  1046.502319f, 1479.976807f,  2093.004395f,  2959.953613f,
    4186.009277f, 5919.907227f, 8372.018555f, 11839.814453f, 16744.035156f,
};

namespace {
// Record slots of bands 0 to 17: slots 9 and 16 are skipped.
constexpr std::array<int, kBands> kSlot = {2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20, 21};
// Bands that the ten values of the 10-band forms stand for.
constexpr std::array<int, 10> kTenBands = {0, 2, 4, 6, 8, 10, 12, 14, 16, 17};
} // namespace

float GainFromPosition(int32_t position, float masterGain)
{
    const float x = static_cast<float>(position) * 0.01f;
    const float gain = position < 0 ? std::pow(10.0f, x / 4.0f) : 1.0f + x;
    return gain * masterGain;
}

Gains GainsFromRecord(const BandRecord& record)
{
    const float master = static_cast<float>(static_cast<int64_t>(record[1]) + 100) / 100.0f;
    Gains gains{};
    for (int band = 0; band < kBands; ++band) {
        gains[band] = GainFromPosition(record[kSlot[band]], master);
    }
    return gains;
}

BandRecord EngineRecord(const Positions& positions)
{
    BandRecord record{};
    for (int band = 0; band < kBands; ++band)
        record[kSlot[band]] = positions[band];
    return record;
}

BandRecord FileRecord(const Positions& positions)
{
    BandRecord record = EngineRecord(positions);
    record[9] = positions[6];
    record[16] = positions[12];
    return record;
}

std::array<uint8_t, kRecordBytes> EncodeRecord(const BandRecord& record)
{
    std::array<uint8_t, kRecordBytes> bytes{};
    for (int slot = 0; slot < kRecordSlots; ++slot) {
        const uint32_t v = static_cast<uint32_t>(record[slot]);
        for (int b = 0; b < 4; ++b)
            bytes[slot * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
    }
    return bytes;
}

BandRecord DecodeRecord(const uint8_t* bytes)
{
    BandRecord record{};
    for (int slot = 0; slot < kRecordSlots; ++slot) {
        uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<uint32_t>(bytes[slot * 4 + b]) << (8 * b);
        record[slot] = static_cast<int32_t>(v);
    }
    return record;
}

int32_t ClampPosition(int64_t position)
{
    return static_cast<int32_t>(std::clamp<int64_t>(position, kMinPosition, kMaxPosition));
}

void InterpolateOddBands(Positions& positions)
{
    for (int band = 1; band <= 15; band += 2) {
        positions[band] = positions[band - 1] + (positions[band + 1] - positions[band - 1]) / 2;
    }
}

bool PositionsFromRecordFile(const uint8_t* data, size_t size, Positions& positions)
{
    if (data == nullptr || size < kRecordBytes)
        return false;
    const BandRecord record = DecodeRecord(data);
    Positions result{};
    if (record[0] == 0) {
        for (int band = 0; band < kBands; ++band)
            result[band] = ClampPosition(record[kSlot[band]]);
    } else {
        for (size_t i = 0; i < kTenBands.size(); ++i)
            result[kTenBands[i]] = ClampPosition(record[2 + i]);
        InterpolateOddBands(result);
    }
    positions = result;
    return true;
}

bool PositionsFromEqfTail(const uint8_t* tail, size_t size, Positions& positions)
{
    if (tail == nullptr || size < kEqfTailBytes)
        return false;
    const uint8_t* values = tail + (size - kEqfTailBytes);
    Positions result{};
    for (size_t i = 0; i < kTenBands.size(); ++i) {
        result[kTenBands[i]] = ClampPosition(200 - (static_cast<int32_t>(values[i]) * 400) / 63);
    }
    InterpolateOddBands(result);
    positions = result;
    return true;
}

bool HasExtension(const std::string& path, const char* extension)
{
    const std::string ext(extension);
    if (path.size() < ext.size())
        return false;
    return std::equal(
        ext.begin(), ext.end(), path.end() - static_cast<std::ptrdiff_t>(ext.size()), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
}

std::string WithDeqExtension(const std::string& path)
{
    return HasExtension(path, ".deq") ? path : path + ".deq";
}

const std::array<Preset, 7> kPresets = {{
    {"Classical", 40001, {0, 0, 0, 0, 0, 0, -30, -60, -90, -100, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Concert Hall", 40002, {0, 60, 60, 20, 0, -25, -40, -40, -10, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Dance", 40003, {10, 45, 40, 30, 0, -15, -30, -15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Pop", 40004, {6, 40, 55, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Rock", 40005, {30, 110, 75, 0, -25, 0, 20, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Super Base", 40006, {40, 90, 90, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Super Treble", 40008, {0, 0, 0, 0, 20, 40, 60, 90, 120, 120, 60, 0, 0, 0, 0, 0, 0, 0}},
}};

const Preset* PresetForCommand(int command)
{
    for (const Preset& preset : kPresets) {
        if (preset.command == command)
            return &preset;
    }
    return nullptr;
}

} // namespace eq
