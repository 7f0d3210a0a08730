// The audio format record handed between the host and a plug-in, and the
// byte arithmetic every effect does with it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dsp {

// Same layout as the Windows WAVEFORMATEX structure (18 bytes, packed), so a
// WAVEFORMATEX* from the host can be viewed as a WaveFormat*.
#pragma pack(push, 1)
struct WaveFormat
{
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18, "WaveFormat must match WAVEFORMATEX");
static_assert(offsetof(WaveFormat, blockAlign) == 12, "WaveFormat must match WAVEFORMATEX");

// The largest one-second work block a plug-in agrees to allocate.
constexpr uint64_t kMaxSecondBytes = 128ull * 1024 * 1024;

// Block align (4 when it is 0) times rate times ms / 1000, formed in 64 bits
// and truncated; the result is used as a 32-bit byte count.
uint32_t BytesForMilliseconds(const WaveFormat& format, uint32_t ms);

// Bytes of one frame for rounding purposes: the block align, or 1 when the
// record leaves it 0 (then no rounding happens).
uint32_t FrameBytes(const WaveFormat& format);

// Rounds a byte count down to a whole number of frames.
uint64_t WholeFrames(uint64_t bytes, const WaveFormat& format);

// One second of audio as a work block: BytesForMilliseconds(format, 1000)
// cut down to whole frames of `frameBytes` (the frame as the effect counts
// it), and never less than one frame. A frame of 0 bytes counts as 1.
uint32_t SecondOfWholeFrames(const WaveFormat& format, uint32_t frameBytes);

// Bytes of one stored sample: 2, 3 or 4 for 16, 24 and 32 bits, 1 for any
// other depth (which the sample view handles as 8-bit).
uint32_t StoredSampleBytes(int bitsPerSample);

// False for records that cannot describe audio: no channels, fewer than 8
// bits per sample, a rate of 0, or one second of audio that is empty or too
// large to allocate. Effects refuse such a record before opening anything.
bool FormatDescribesAudio(const WaveFormat& format);

// A plain PCM record (format tag 1) with consistent block align and byte rate.
WaveFormat MakePcmFormat(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample);

// Bytes done * 100 / total with unsigned truncation; 0 when total is 0.
uint32_t PercentOf(uint64_t done, uint64_t total);

} // namespace dsp
