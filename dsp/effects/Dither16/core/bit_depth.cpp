#include "bit_depth.h"

#include "core/sample_view.h"

namespace depth {

bool Member::Converts(int inBits, unsigned channels) const
{
    if (outBits == 24)
        return inBits == 8 || inBits == 16;
    return inBits != outBits && channels <= kMaxDitherChannels;
}

Member MemberFor(int outBits)
{
    switch (outBits) {
    case 16:
        return {16, "Converts the source to 16 bit, dithering output "};
    case 8:
        return {8, "Converts the source to 8 bit, dithering output "};
    default:
        return {24, "Converts the source to 24 bit"};
    }
}

void WidenTo24(const uint8_t* in, int inBits, size_t samples, uint8_t* out)
{
    if (inBits == 8) {
        for (size_t i = 0; i < samples; ++i) {
            *out++ = 0;
            *out++ = 0;
            *out++ = static_cast<uint8_t>(in[i] - 128);
        }
    } else {
        for (size_t i = 0; i < samples; ++i) {
            *out++ = 0;
            *out++ = in[2 * i];
            *out++ = in[2 * i + 1];
        }
    }
}

dsp::WaveFormat OutputFormat(const dsp::WaveFormat& in, int outBits)
{
    dsp::WaveFormat out = in;
    out.bitsPerSample = static_cast<uint16_t>(outBits);
    out.blockAlign = static_cast<uint16_t>(in.channels * (outBits / 8));
    out.avgBytesPerSec = in.samplesPerSec * out.blockAlign;
    return out;
}

size_t ConvertChunk(int outBits, const uint8_t* in, size_t chunkBytes, int inBits, unsigned channels,
                    ChannelDitherState* states, uint8_t* out)
{
    const size_t samples = chunkBytes / dsp::StoredSampleBytes(inBits);
    if (outBits == 24) {
        WidenTo24(in, inBits, samples, out);
        return samples * 3;
    }
    if (channels == 0)
        return 0;
    const size_t frames = samples / channels;
    dsp::WithDepth(inBits, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        auto sample = [in](size_t i) { return dsp::ReadSample<kBits>(in, i); };
        if (outBits == 16)
            DitherFrames<16>(sample, frames, channels, states, out);
        else
            DitherFrames<8>(sample, frames, channels, states, out);
    });
    return frames * channels * static_cast<size_t>(outBits / 8);
}

} // namespace depth
