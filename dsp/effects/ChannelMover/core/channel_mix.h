// The channel mover's arithmetic: the move list and its storage, moving
// samples between channels of a frame, and mixing channels down or up on
// 32-bit samples. No Windows here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/wave_format.h"

namespace chmove {

constexpr int kMaxMoves = 100;
constexpr int kMaxTargetChannels = 9;
constexpr int kMixModes = 10;
constexpr int kDropMode = 9;
// Channels beyond this many take no part in a mix.
constexpr unsigned kMaxMixedChannels = 100;

// The mix list's items, in list order (the stored setting is the index).
extern const char* const kMixModeNames[kMixModes];
// The factor in percent each term of a mix is scaled by.
int MixFactor(int mode);

// Up to 100 moves "copy channel from[i] into channel to[i]" (1-based). A move
// with 0 in either place ends the list.
struct MoveList
{
    int32_t from[kMaxMoves] = {};
    int32_t to[kMaxMoves] = {};

    int Count() const;
    void Clear();
    // Stores the move in the first free place. Channels count from 1, so a
    // move naming 0 or a negative channel is refused, as is one past the 100th.
    bool Add(int32_t source, int32_t target);
};

std::string MoveLine(int32_t source, int32_t target); // "Move Channel %d to %d"
std::string FromValueName(int n);                     // "ChannelMove-ch-from-%d"
std::string ToValueName(int n);                       // "ChannelMove-ch-to-%d"

using NumberReader = std::function<uint32_t(const std::string& name)>;
using NumberWriter = std::function<void(const std::string& name, uint32_t value)>;

// Clears the list and reads moves from number 0 until one has a 0 source or
// target, or 100 have been read.
void LoadMoves(MoveList& moves, const NumberReader& read);
// Writes every move from number 0, ending after the first move with a 0 (the
// end mark) or after the 100th.
void SaveMoves(const MoveList& moves, const NumberWriter& write);

// The stored channel-count and mix-mode choices as used: values outside the
// lists fall back to the first item.
int TargetChannelsFromStored(uint32_t stored);
int MixModeFromStored(uint32_t stored);

// The moves that apply to frames of `channels` channels: only moves whose
// both channels exist. Every move reads the frame as it was before any move,
// so 1->2 with 2->1 swaps two channels.
class MovePlan
{
public:
    MovePlan(const MoveList& moves, unsigned channels);
    bool Empty() const { return sources_.empty(); }
    void Apply(int32_t* samples, size_t frames);

private:
    unsigned channels_;
    std::vector<unsigned> sources_, targets_; // 0-based
    std::vector<int32_t> frame_;
};

inline int32_t Clamp32(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The unclamped mix of `count` samples: each scaled by the mode's factor
// (truncated toward zero), summed in 64 bits, and for mode 0 divided by the
// number of terms.
int64_t Mix(const int32_t* samples, unsigned count, int mode);

// Fewer channels: kept channel j of each frame becomes itself plus the mix of
// the dropped channels (nothing is added in the "Drop" mode), clamped.
void MixDown(const int32_t* in, unsigned inChannels, int32_t* out, unsigned outChannels, size_t frames,
             int mode);
// More channels: the source channels are copied and every added channel gets
// the mix of all source channels ("Drop" sums them), clamped.
void MixUp(const int32_t* in, unsigned inChannels, int32_t* out, unsigned outChannels, size_t frames,
           int mode);

// The record after a change to `channels` channels: block align and byte
// rate follow; tag, rate, depth and extra size stay.
dsp::WaveFormat Reshaped(const dsp::WaveFormat& format, unsigned channels);

// Whole blocks of stored samples. `frames` frames of the given depth; the
// 32-bit scratch buffers are the caller's, so nothing is allocated per block.
class BlockMixer
{
public:
    BlockMixer(const MoveList& moves, int bitsPerSample, unsigned inChannels, unsigned outChannels, int mode,
               size_t maxFrames);
    // True when no move names channels the input has: in place, nothing changes.
    bool NoMoves() const { return inPlan_.Empty(); }
    // Same shape: the moves applied to the block in place.
    void MoveInPlace(uint8_t* block, size_t frames);
    // New shape: fewer channels (moves first, then the mix down) or more
    // (the mix up, then the moves on the new frame); `out` takes
    // frames * outChannels samples.
    void Reshape(const uint8_t* in, uint8_t* out, size_t frames);

private:
    int bits_;
    unsigned in_, out_;
    int mode_;
    MovePlan inPlan_, outPlan_;
    std::vector<int32_t> inSamples_, outSamples_;
};

} // namespace chmove
