// The fader plug-in: fades the start of a raw PCM file in from silence and/or
// its end out to silence, in place, with a linear per-sample gain ramp.
#include "core/fade_ramp.h"
#include "core/wave_format.h"
#include "disk_file.h"
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
    dsp::settings::WriteBool(g_settings.fadeIn, kFadeIn);
    dsp::settings::WriteNumber(g_settings.inLength, kFadeInLength);
    dsp::settings::WriteBool(g_settings.fadeOut, kFadeOut);
    dsp::settings::WriteNumber(g_settings.outLength, kFadeOutLength);
}

int Work(const char* path, WAVEFORMATEX* record)
{
    const dsp::WaveFormat& format = plugin::Format(record);
    if (!dsp::FormatDescribesAudio(format))
        return 0;
    const Settings s = g_settings;
    const int bits = format.bitsPerSample;
    const uint32_t sampleBytes = dsp::StoredSampleBytes(bits);

    // One second of audio, cut to whole frames and whole samples so no sample
    // straddles two blocks.
    uint64_t second = dsp::WholeFrames(dsp::BytesForMilliseconds(format, 1000), format);
    second -= second % sampleBytes;
    std::vector<uint8_t> buffer(std::max<uint64_t>(second, sampleBytes));

    dsp::Progress progress;
    int result = 1;

    if (s.fadeIn) {
        dsp::DiskFile file;
        if (!file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING)) {
            result = 0;
        } else {
            const uint64_t length = dsp::BytesForMilliseconds(format, s.inLength);
            bool error = false;
            const uint64_t size = file.Size(&error);
            if (error) {
                result = 0;
            } else if (length != 0 && size != 0) {
                auto report = [&](uint64_t done) {
                    const uint32_t percent = dsp::Progress::Percent(done, length);
                    progress.Write(s.fadeOut ? dsp::Progress::FirstHalf(percent) : percent);
                };
                if (!RunPass(file, buffer, bits, 0, size, length, Direction::In, report))
                    result = 0;
            }
        }
    }

    if (s.fadeOut && result) {
        dsp::DiskFile file;
        if (!file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING)) {
            result = 0;
        } else {
            const uint64_t length = dsp::BytesForMilliseconds(format, s.outLength);
            bool error = false;
            const uint64_t size = file.Size(&error);
            if (error) {
                result = 0;
            } else if (length != 0 && size != 0) {
                // The region starts on a whole frame; when that moves it earlier, the
                // ramp spans the whole region so it still ends at the file's last byte.
                const uint64_t start = size > length ? dsp::WholeFrames(size - length, format) : 0;
                const uint64_t region = size - start;
                const uint64_t ramp = size > length ? region : length;
                auto report = [&](uint64_t done) {
                    const uint32_t percent = dsp::Progress::Percent(done, ramp);
                    progress.Write(s.fadeIn ? dsp::Progress::SecondHalf(percent) : percent);
                };
                if (!RunPass(file, buffer, bits, start, region, ramp, Direction::Out, report))
                    result = 0;
            }
        }
    }
    return result;
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
