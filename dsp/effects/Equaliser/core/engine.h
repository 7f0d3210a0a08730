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

class Engine
{
public:
    explicit Engine(const AudioShape& shape, bool enabled = true);
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

private:
    template <int Bits>
    void ProcessDepth(uint8_t* data, size_t frames);
    void RunBlock();

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
};

} // namespace eq
