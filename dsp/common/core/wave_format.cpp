#include "core/wave_format.h"

namespace dsp {

uint32_t BytesForMilliseconds(const WaveFormat& format, uint32_t ms)
{
    const uint64_t align = format.blockAlign ? format.blockAlign : 4;
    return static_cast<uint32_t>(align * format.samplesPerSec * ms / 1000);
}

uint32_t FrameBytes(const WaveFormat& format)
{
    return format.blockAlign ? format.blockAlign : 1;
}

uint64_t WholeFrames(uint64_t bytes, const WaveFormat& format)
{
    const uint64_t frame = FrameBytes(format);
    return bytes - bytes % frame;
}

uint32_t SecondOfWholeFrames(const WaveFormat& format, uint32_t frameBytes)
{
    const uint32_t frame = frameBytes ? frameBytes : 1;
    const uint32_t second = BytesForMilliseconds(format, 1000);
    const uint32_t whole = second - second % frame;
    return whole ? whole : frame;
}

uint32_t StoredSampleBytes(int bitsPerSample)
{
    switch (bitsPerSample) {
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 1;
    }
}

bool FormatDescribesAudio(const WaveFormat& format)
{
    if (format.channels == 0 || format.bitsPerSample < 8 || format.samplesPerSec == 0)
        return false;
    const uint64_t align = format.blockAlign ? format.blockAlign : 4;
    const uint64_t second = align * format.samplesPerSec;
    return second >= 1 && second <= kMaxSecondBytes;
}

WaveFormat MakePcmFormat(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample)
{
    WaveFormat f{};
    f.formatTag = 1;
    f.channels = channels;
    f.samplesPerSec = samplesPerSec;
    f.bitsPerSample = bitsPerSample;
    f.blockAlign = static_cast<uint16_t>(channels * ((bitsPerSample + 7) / 8));
    f.avgBytesPerSec = f.blockAlign * samplesPerSec;
    f.extraSize = 0;
    return f;
}

uint32_t PercentOf(uint64_t done, uint64_t total)
{
    return total ? static_cast<uint32_t>(done * 100 / total) : 0;
}

} // namespace dsp
