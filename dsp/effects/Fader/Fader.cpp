// The fader plug-in: fades the start of a raw PCM file in from silence and/or
// its end out to silence, in place, with a linear per-sample gain ramp.
#include "core/fade_ramp.h"
#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "fader_settings.h"
#include "plugin.h"
#include "progress.h"
#include "settings_store.h"

#include <algorithm>
#include <vector>

namespace fader {

Settings g_settings;

namespace {

constexpr const char* kFadeIn = "Vol-Fade-In";
constexpr const char* kFadeInLength = "Vol-Fade-InLength";
constexpr const char* kFadeOut = "Vol-Fade-Out";
constexpr const char* kFadeOutLength = "Vol-Fade-OutLength";

// One pass over a fade region of the open file: blocks of at most the buffer's
// size from `start`, `regionBytes` long, ramped against `rampLength`. Writes
// progress (through `report`) before each block. False on a short read or a
// failed write.
template <class Report>
bool RunPass(dsp::DiskFile& file, std::vector<uint8_t>& buffer, int bits, uint64_t start,
             uint64_t regionBytes, uint64_t rampLength, Direction direction, Report report)
{
    uint64_t done = 0;
    while (done < regionBytes) {
        report(done);
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(regionBytes - done, buffer.size()));
        if (!file.Seek(static_cast<int64_t>(start + done)))
            return false;
        if (file.Read(buffer.data(), n) != n)
            return false;
        const bool continues = ApplyRamp(buffer.data(), n, bits, done, rampLength, direction);
        if (!file.Seek(static_cast<int64_t>(start + done)) || !file.Write(buffer.data(), n))
            return false;
        if (!continues)
            break;
        done += n;
    }
    return true;
}

// Opens the file and fades one end of it: the first `lengthMs` in, or the last
// `lengthMs` out. Progress fills the whole bar, or its first half (in) or
// second half (out) when both ends are faded. False when the file cannot be opened or a block cannot be read or written.
bool FadeEnd(const char* path, const dsp::WaveFormat& format, std::vector<uint8_t>& buffer,
             Direction direction, uint32_t lengthMs, dsp::Progress& progress, bool halfBar)
{
    dsp::DiskFile file;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(file, path, GENERIC_READ | GENERIC_WRITE, &size))
        return false;
    const uint64_t length = dsp::BytesForMilliseconds(format, lengthMs);
    if (length == 0 || size == 0)
        return true;
    uint64_t start = 0, region = size, ramp = length;
    if (direction == Direction::Out) {
        // The region starts on a whole frame; when that moves it earlier, the
        // ramp spans the whole region so it still ends at the file's last byte.
        start = size > length ? dsp::WholeFrames(size - length, format) : 0;
        region = size - start;
        ramp = size > length ? region : length;
    }
    auto report = [&](uint64_t done) {
        const uint32_t percent = dsp::Progress::Percent(done, ramp);
        if (!halfBar)
            progress.Write(percent);
        else
            progress.Write(direction == Direction::In ? dsp::Progress::FirstHalf(percent)
                                                      : dsp::Progress::SecondHalf(percent));
    };
    return RunPass(file, buffer, format.bitsPerSample, start, region, ramp, direction, report);
}

} // namespace

void Load()
{
    g_settings.fadeIn = dsp::settings::ReadBool(kFadeIn);
    g_settings.inLength = dsp::settings::ReadNumber(kFadeInLength);
    if (g_settings.inLength == 0)
        g_settings.inLength = kDefaultLength;
    g_settings.fadeOut = dsp::settings::ReadBool(kFadeOut);
    g_settings.outLength = dsp::settings::ReadNumber(kFadeOutLength);
    if (g_settings.outLength == 0)
        g_settings.outLength = kDefaultLength;
}

void Save()
{
    dsp::settings::WriteBool(kFadeIn, g_settings.fadeIn);
    dsp::settings::WriteNumber(kFadeInLength, g_settings.inLength);
    dsp::settings::WriteBool(kFadeOut, g_settings.fadeOut);
    dsp::settings::WriteNumber(kFadeOutLength, g_settings.outLength);
}

int Work(const char* path, WAVEFORMATEX* record)
{
    const dsp::WaveFormat& format = plugin::Format(record);
    if (!dsp::FormatDescribesAudio(format))
        return 0;
    const Settings s = g_settings;
    const uint32_t sampleBytes = dsp::StoredSampleBytes(format.bitsPerSample);

    // One second of audio in whole frames, so no sample straddles two blocks.
    std::vector<uint8_t> buffer(dsp::SecondOfWholeFrames(format, sampleBytes * format.channels));

    dsp::Progress progress;
    const bool both = s.fadeIn && s.fadeOut;
    if (s.fadeIn && !FadeEnd(path, format, buffer, Direction::In, s.inLength, progress, both))
        return 0;
    if (s.fadeOut && !FadeEnd(path, format, buffer, Direction::Out, s.outLength, progress, both))
        return 0;
    return 1;
}

} // namespace fader

namespace plugin {

void LoadSettings()
{
    fader::Load();
}

int WorkOnFile(const char* path, WAVEFORMATEX* format)
{
    return fader::Work(path, format);
}

} // namespace plugin
