// The graphic equaliser plug-in: settings and the work on one file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "core/engine.h"
#include "equaliser_settings.h"
#include "plugin.h"
#include "progress.h"
#include "settings_store.h"

namespace equaliser {

eq::Positions g_positions{};

std::string PositionValueName(int band)
{
    return "EQ-Pos" + std::to_string(band);
}

void StoreAllPositions(const eq::Positions& positions)
{
    g_positions = positions;
    for (int band = 0; band < eq::kBands; ++band) {
        dsp::settings::WriteNumber(PositionValueName(band).c_str(), static_cast<uint32_t>(positions[band]));
    }
}

bool LoadPositionFile(const char* path, eq::Positions& positions)
{
    dsp::DiskFile file;
    if (path == nullptr || !file.Open(path, GENERIC_READ, OPEN_EXISTING))
        return false;
    if (eq::HasExtension(path, ".eqf")) {
        bool error = false;
        const uint64_t size = file.Size(&error);
        if (error || size < eq::kEqfTailBytes)
            return false;
        if (!file.Seek(static_cast<int64_t>(size - eq::kEqfTailBytes), FILE_BEGIN))
            return false;
        uint8_t tail[eq::kEqfTailBytes];
        const uint32_t got = file.Read(tail, sizeof tail);
        return eq::PositionsFromEqfTail(tail, got, positions);
    }
    uint8_t record[eq::kRecordBytes];
    const uint32_t got = file.Read(record, sizeof record, dsp::kFromStart);
    return eq::PositionsFromRecordFile(record, got, positions);
}

bool SavePositionFile(const char* path, const eq::Positions& positions)
{
    dsp::DiskFile file;
    if (path == nullptr || !file.Open(path, GENERIC_WRITE, CREATE_ALWAYS))
        return false;
    const auto bytes = eq::EncodeRecord(eq::FileRecord(positions));
    return file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

} // namespace equaliser

namespace plugin {

void LoadSettings()
{
    for (int band = 0; band < eq::kBands; ++band) {
        const uint32_t stored = dsp::settings::ReadNumber(equaliser::PositionValueName(band).c_str());
        equaliser::g_positions[band] = eq::ClampPosition(static_cast<int32_t>(stored));
    }
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    const dsp::WaveFormat& format = Format(record);
    if (!dsp::FormatDescribesAudio(format))
        return 0;

    const eq::Positions positions = equaliser::g_positions;
    eq::Engine engine({format.channels, format.samplesPerSec, format.bitsPerSample});
    engine.SetBands(eq::EngineRecord(positions));

    // One second per block, cut to whole frames as the engine counts them so
    // that no frame is split between two blocks.
    const uint32_t blockBytes = dsp::SecondOfWholeFrames(format, static_cast<uint32_t>(engine.frameBytes()));

    dsp::Progress progress;
    dsp::DiskFile file;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(file, path, GENERIC_READ | GENERIC_WRITE, &size))
        return 0;

    // With nothing to change (all bands flat, or 32-bit samples) the file is
    // still read through, but never rewritten.
    const bool complete = dsp::RewriteInPlace(
        file, size, blockBytes, progress,
        [&](uint8_t* block, uint32_t bytes) { engine.Process(block, bytes); }, engine.changesAudio());
    return complete ? 1 : 0;
}

} // namespace plugin
