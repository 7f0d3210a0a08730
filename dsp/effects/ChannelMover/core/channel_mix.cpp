#include "channel_mix.h"

#include <algorithm>
#include <cstdio>

#include "core/sample_view.h"

namespace chmove {

const char* const kMixModeNames[kMixModes] = {
    "Added / Count", "Added",         "+80% channels", "+60% channels", "+50% channels",
    "+40% channels", "+30% channels", "+20% channels", "+10% channels", "Drop"};

int MixFactor(int mode)
{
    static const int kFactors[kMixModes] = {100, 100, 80, 60, 50, 40, 30, 20, 10, 100};
    return mode >= 0 && mode < kMixModes ? kFactors[mode] : 100;
}

int MoveList::Count() const
{
    int n = 0;
    while (n < kMaxMoves && from[n] != 0 && to[n] != 0)
        ++n;
    return n;
}

void MoveList::Clear()
{
    std::fill(std::begin(from), std::end(from), 0);
    std::fill(std::begin(to), std::end(to), 0);
}

bool MoveList::Add(int32_t source, int32_t target)
{
    if (source <= 0 || target <= 0)
        return false;
    for (int n = 0; n < kMaxMoves; ++n) {
        if (from[n] == 0) {
            from[n] = source;
            to[n] = target;
            return true;
        }
    }
    return false;
}

std::string MoveLine(int32_t source, int32_t target)
{
    char text[64];
    std::snprintf(text, sizeof text, "Move Channel %d to %d", source, target);
    return text;
}

std::string FromValueName(int n)
{
    char name[48];
    std::snprintf(name, sizeof name, "ChannelMove-ch-from-%d", n);
    return name;
}

std::string ToValueName(int n)
{
    char name[48];
    std::snprintf(name, sizeof name, "ChannelMove-ch-to-%d", n);
    return name;
}

void LoadMoves(MoveList& moves, const NumberReader& read)
{
    moves.Clear();
    for (int n = 0; n < kMaxMoves; ++n) {
        const auto source = static_cast<int32_t>(read(FromValueName(n)));
        const auto target = static_cast<int32_t>(read(ToValueName(n)));
        if (source == 0 || target == 0)
            break;
        moves.from[n] = source;
        moves.to[n] = target;
    }
}

void SaveMoves(const MoveList& moves, const NumberWriter& write)
{
    for (int n = 0; n < kMaxMoves; ++n) {
        write(FromValueName(n), static_cast<uint32_t>(moves.from[n]));
        write(ToValueName(n), static_cast<uint32_t>(moves.to[n]));
        if (moves.from[n] == 0 || moves.to[n] == 0)
            break;
    }
}

int TargetChannelsFromStored(uint32_t stored)
{
    return stored <= static_cast<uint32_t>(kMaxTargetChannels) ? static_cast<int>(stored) : 0;
}

int MixModeFromStored(uint32_t stored)
{
    return stored < static_cast<uint32_t>(kMixModes) ? static_cast<int>(stored) : 0;
}

MovePlan::MovePlan(const MoveList& moves, unsigned channels) : channels_(channels)
{
    const int count = moves.Count();
    for (int n = 0; n < count; ++n) {
        const int32_t s = moves.from[n], t = moves.to[n];
        if (s < 1 || t < 1 || static_cast<uint32_t>(s) > channels || static_cast<uint32_t>(t) > channels)
            continue; // names a channel this file does not have
        sources_.push_back(static_cast<unsigned>(s - 1));
        targets_.push_back(static_cast<unsigned>(t - 1));
    }
    frame_.resize(channels);
}

void MovePlan::Apply(int32_t* samples, size_t frames)
{
    if (sources_.empty())
        return;
    const size_t moves = sources_.size();
    for (size_t f = 0; f < frames; ++f, samples += channels_) {
        std::copy(samples, samples + channels_, frame_.begin());
        for (size_t m = 0; m < moves; ++m)
            samples[targets_[m]] = frame_[sources_[m]];
    }
}

int64_t Mix(const int32_t* samples, unsigned count, int mode)
{
    const int64_t factor = MixFactor(mode);
    int64_t sum = 0;
    for (unsigned i = 0; i < count; ++i)
        sum += static_cast<int64_t>(samples[i]) * factor / 100;
    if (mode == 0 && count != 0)
        sum /= count;
    return sum;
}

void MixDown(const int32_t* in, unsigned inChannels, int32_t* out, unsigned outChannels, size_t frames,
             int mode)
{
    const unsigned mixedEnd = std::min(inChannels, kMaxMixedChannels);
    const unsigned dropped = mixedEnd > outChannels ? mixedEnd - outChannels : 0;
    for (size_t f = 0; f < frames; ++f, in += inChannels, out += outChannels) {
        const int64_t mix = mode == kDropMode ? 0 : Mix(in + outChannels, dropped, mode);
        for (unsigned j = 0; j < outChannels; ++j)
            out[j] = Clamp32(in[j] + mix);
    }
}

void MixUp(const int32_t* in, unsigned inChannels, int32_t* out, unsigned outChannels, size_t frames,
           int mode)
{
    const unsigned mixed = std::min(inChannels, kMaxMixedChannels);
    for (size_t f = 0; f < frames; ++f, in += inChannels, out += outChannels) {
        std::copy(in, in + inChannels, out);
        const int32_t added = Clamp32(Mix(in, mixed, mode));
        for (unsigned j = inChannels; j < outChannels; ++j)
            out[j] = added;
    }
}

dsp::WaveFormat Reshaped(const dsp::WaveFormat& format, unsigned channels)
{
    dsp::WaveFormat shaped = format;
    const uint32_t bytesPerSample = dsp::StoredSampleBytes(format.bitsPerSample);
    shaped.channels = static_cast<uint16_t>(channels);
    shaped.blockAlign = static_cast<uint16_t>(channels * bytesPerSample);
    shaped.avgBytesPerSec = format.samplesPerSec * bytesPerSample * channels;
    return shaped;
}

namespace {

void Decode(const uint8_t* bytes, int bits, size_t count, int32_t* samples)
{
    dsp::WithDepth(bits, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        for (size_t i = 0; i < count; ++i)
            samples[i] = dsp::ReadSample<kBits>(bytes, i);
    });
}

void Encode(const int32_t* samples, int bits, size_t count, uint8_t* bytes)
{
    dsp::WithDepth(bits, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        for (size_t i = 0; i < count; ++i)
            dsp::WriteSample<kBits>(bytes, i, samples[i]);
    });
}

} // namespace

BlockMixer::BlockMixer(const MoveList& moves, int bitsPerSample, unsigned inChannels, unsigned outChannels,
                       int mode, size_t maxFrames)
    : bits_(bitsPerSample), in_(inChannels), out_(outChannels), mode_(mode), inPlan_(moves, inChannels),
      outPlan_(moves, outChannels)
{
    inSamples_.resize(maxFrames * inChannels);
    if (outChannels != inChannels)
        outSamples_.resize(maxFrames * outChannels);
}

void BlockMixer::MoveInPlace(uint8_t* block, size_t frames)
{
    if (inPlan_.Empty())
        return;
    const size_t count = frames * in_;
    Decode(block, bits_, count, inSamples_.data());
    inPlan_.Apply(inSamples_.data(), frames);
    Encode(inSamples_.data(), bits_, count, block);
}

void BlockMixer::Reshape(const uint8_t* in, uint8_t* out, size_t frames)
{
    Decode(in, bits_, frames * in_, inSamples_.data());
    if (out_ < in_) {
        inPlan_.Apply(inSamples_.data(), frames);
        MixDown(inSamples_.data(), in_, outSamples_.data(), out_, frames, mode_);
    } else {
        MixUp(inSamples_.data(), in_, outSamples_.data(), out_, frames, mode_);
        outPlan_.Apply(outSamples_.data(), frames);
    }
    Encode(outSamples_.data(), bits_, frames * out_, out);
}

} // namespace chmove
