// Dither16, Dither8 and Bits24: one source, built once per member with
// DEPTH_OUT_BITS set to 16, 8 or 24. Each writes the converted samples to
// the "-Tmp" sibling, moves it over the input in one step and tells the host
// the new format.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "bit_depth.h"
#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "plugin.h"
#include "progress.h"
#include "replace.h"

#ifndef DEPTH_OUT_BITS
#error "DEPTH_OUT_BITS must be 16, 8 or 24"
#endif

namespace {

constexpr int kOutBits = DEPTH_OUT_BITS;
static_assert(kOutBits == 16 || kOutBits == 8 || kOutBits == 24);

// One state per channel for as long as the library is loaded: each file
// continues the dither where the last one stopped.
depth::ChannelDitherState g_dither[depth::kMaxDitherChannels];

} // namespace

namespace plugin {

void LoadSettings() {} // no settings

INT_PTR CALLBACK PanelProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_COMMAND ? 1 : 0;
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    dsp::WaveFormat& format = Format(record);
    const depth::Member member = depth::MemberFor(kOutBits);
    if (!member.Converts(format.bitsPerSample, format.channels))
        return 1; // nothing to do
    // A record without channels or with fewer than 8 bits cannot be divided
    // into frames: refuse it before anything is opened.
    if (!dsp::FormatDescribesAudio(format))
        return 0;

    const dsp::WaveFormat output = depth::OutputFormat(format, kOutBits);
    const uint32_t sampleBytes = dsp::StoredSampleBytes(format.bitsPerSample);
    const uint32_t frameBytes = sampleBytes * format.channels;
    // One second of input in whole frames, and the output it turns into.
    const uint32_t chunkBytes = dsp::SecondOfWholeFrames(format, frameBytes);
    std::vector<uint8_t> in(chunkBytes);
    std::vector<uint8_t> out(size_t{chunkBytes} / sampleBytes * (kOutBits / 8));

    dsp::Progress progress;
    dsp::DiskFile input;
    uint64_t total = 0;
    if (!dsp::OpenWithSize(input, path, GENERIC_READ | GENERIC_WRITE, &total))
        return 0;

    const bool replaced =
        dsp::ReplaceThroughFile(dsp::SiblingPath(path, "-Tmp"), path, [&](dsp::DiskFile& sibling) {
            for (uint64_t done = 0; done < total;) {
                progress.Write(dsp::Progress::Percent(done, total));
                const uint32_t chunk = static_cast<uint32_t>(std::min<uint64_t>(total - done, chunkBytes));
                if (input.Read(in.data(), chunk) != chunk)
                    return false;
                const size_t written = depth::ConvertChunk(kOutBits, in.data(), chunk, format.bitsPerSample,
                                                           format.channels, g_dither, out.data());
                if (written != 0 && !sibling.Write(out.data(), static_cast<uint32_t>(written)))
                    return false;
                done += chunk;
            }
            input.Close();
            return true;
        });
    if (!replaced)
        return 0;

    format.bitsPerSample = output.bitsPerSample;
    format.blockAlign = output.blockAlign;
    format.avgBytesPerSec = output.avgBytesPerSec;
    return 1;
}

} // namespace plugin
