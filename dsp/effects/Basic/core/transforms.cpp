#include "core/transforms.h"

#include <cstring>

#include "core/sample_view.h"
#include "core/wave_format.h"

namespace dsp::basic {

void ReverseFrames(const uint8_t* in, uint8_t* out, size_t bytes, size_t frameSize)
{
    if (frameSize == 0)
        frameSize = 1;
    const size_t frames = bytes / frameSize;
    for (size_t i = 0; i < frames; ++i) {
        std::memcpy(out + i * frameSize, in + (frames - 1 - i) * frameSize, frameSize);
    }
}

void QuietenBlock(void* block, size_t bytes, uint16_t bitsPerSample, uint32_t percent)
{
    const int64_t numerator = 100 - static_cast<int64_t>(percent);
    if (numerator == 100)
        return;
    const size_t samples = bytes / StoredSampleBytes(bitsPerSample);
    WithDepth(bitsPerSample, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        for (size_t i = 0; i < samples; ++i) {
            const int64_t s = ReadSample<kBits>(block, i);
            WriteSample<kBits>(block, i, static_cast<int32_t>(s * numerator / 100));
        }
    });
}

} // namespace dsp::basic
