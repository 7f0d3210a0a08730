// The equaliser engine: a 255-tap linear-phase FIR filter designed from the 18
// band gains, applied by overlap-add fast convolution in 255-frame blocks with
// 512-point transforms. Works in place on buffers of raw interleaved samples
// and keeps its state from one call of Process to the next.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/bands.h"
#include "core/lane_filter.h"
#include "core/real_fft.h"

namespace eq {

constexpr int kTaps = 255;
constexpr int kCentreTap = 127;
constexpr int kBlockFrames = 255;
constexpr int kTransformSize = 512;
// Output lags input by one block plus the filter's centre.
constexpr int kLagFrames = kBlockFrames + kCentreTap;

using Taps = std::array<float, kTaps>;

// I0 by its power series to the 15th term, with single-precision factorials.
long double BesselI0(long double x);
// Kaiser window of length 255 for 96 dB, at offset n (-127 .. 127) from its centre.
long double KaiserWindow(int n);
// The band that reaches to half the sample rate; bands above it do not act.
int LastActiveBand(double sampleRate);
// The windowed filter for the gains at the sample rate.
Taps DesignTaps(const Gains& gains, double sampleRate);

// Rounds half away from zero, for |v| below 2^31. The fraction left by
// truncation is exact in single precision (v and its truncation are within a
// factor of two of each other, or the truncation is 0), so comparing it with
// one half decides correctly; and the loop that rounds a block stays in
// single precision, where the compiler can vectorise it.
inline int32_t RoundHalfAway(float v)
{
    const int32_t whole = static_cast<int32_t>(v);
    const float fraction = v - static_cast<float>(whole);
    return whole + (fraction >= 0.5f) - (fraction <= -0.5f);
}

struct AudioShape
{
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint16_t bitsPerSample = 0;
};

// Floats whose first one lies on a 32-byte boundary (vector lanes).
class AlignedFloats
{
public:
    void assign(size_t count);
    float* data() { return storage_.data() + offset_; }
    const float* data() const { return storage_.data() + offset_; }

private:
    std::vector<float> storage_;
    size_t offset_ = 0;
};

class Engine
{
public:
    // `path` chooses how the blocks are filtered; every path gives the same
    // bytes. The AVX2 path is only taken where the processor has AVX2 (else
    // SSE2 lanes are used).
    explicit Engine(const AudioShape& shape, bool enabled = true, LanePath path = FastestLanePath());
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    Engine(Engine&&) = default;

    // Designs the filters from the record (18-band layout) at once. When every
    // gain is exactly 1 the engine bypasses: Process leaves buffers untouched.
    void SetBands(const BandRecord& record);

    // Equalises the whole frames of `bytes` bytes in place. 8-, 16- and
    // 24-bit samples are filtered; other depths are left as they are.
    void Process(void* buffer, size_t bytes);

    bool bypassed() const { return bypass_; }
    // False when Process would leave every buffer as it is (disabled,
    // bypassed, no channels, a rate of 0, or a depth the engine does not
    // filter).
    bool changesAudio() const;
    const Taps& taps() const { return taps_; }
    // Bytes in one frame as Process counts them (channels times whole bytes per sample).
    size_t frameBytes() const { return frameBytes_; }
    LanePath lanePath() const { return lanes_ ? lanes_->path : LanePath::kOneAtATime; }

private:
    template <int Bits>
    void ProcessDepth(uint8_t* data, size_t frames);
    template <int Bits>
    void RunWholeBlocks(uint8_t* data, size_t blocks);
    template <class Read>
    void FilterInLanes(size_t used, Read read);
    void SwitchIfPending();
    void ShiftOutput();
    void AddLanes(size_t first, size_t used, size_t channel);
    void RunBlock();
    void PrepareLaneSpectra(int pair);

    AudioShape shape_;
    size_t channels_;
    size_t frameBytes_;
    bool enabled_;
    bool bypass_ = true;
    Taps taps_{};
    int filled_ = 0;             // frames in the current block
    std::vector<int32_t> input_; // kBlockFrames frames, interleaved
    std::vector<float> output_;  // kTransformSize frames, interleaved
    // Spectra of channel 0 and of the other channels, held twice: a new pair
    // is written into the one not in use and taken at the next block.
    std::array<std::array<std::vector<float>, 2>, 2> spectra_;
    int active_ = 0;
    bool switchPending_ = false;
    std::vector<float> work_;
    RealFft fft_;

    // The lanes: each group of blocks is filtered at once, block b's channel
    // c in lane b * channels + c of the group (in chunks of `width` lanes
    // when the channels alone fill more than one chunk).
    const LaneFilter* lanes_ = nullptr;
    FftTables tables_;
    size_t groupBlocks_ = 1; // blocks per group
    size_t groupChunks_ = 1; // chunks of lanes per block when the channels fill more than one
    AlignedFloats laneRe_, laneIm_;
    AlignedFloats laneOut_; // the filtered samples of every chunk of a group
    // Per spectrum pair: the lane spectra of a group's first chunk and of its
    // later chunks (which hold no channel 0).
    std::array<std::array<AlignedFloats, 2>, 2> laneSpectra_;
};

} // namespace eq
