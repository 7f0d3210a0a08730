#include "core/engine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/cpu_features.h"
#include "core/float_environment.h"

namespace eq {

namespace {

constexpr long double kAttenuation = 96.0L;
constexpr float kTwoPi = 6.2831855f;

long double KaiserBeta(long double attenuation)
{
    if (attenuation > 50.0L)
        return 0.1102L * (attenuation - 8.7L);
    if (attenuation > 21.0L) {
        return 0.5842L * std::pow(attenuation - 21.0L, 0.4L) + 0.07886L * (attenuation - 21.0L);
    }
    return 0.0L;
}

const std::array<float, 16>& Factorials()
{
    static const std::array<float, 16> table = [] {
        std::array<float, 16> t{};
        float f = 1.0f;
        t[0] = 1.0f;
        for (int k = 1; k < 16; ++k) {
            f *= static_cast<float>(k);
            t[k] = f;
        }
        return t;
    }();
    return table;
}

// The window's beta and I0(beta), worked out on first use (inside the pinned
// floating-point state of the design, not in whatever thread loads the code).
struct Beta
{
    long double beta;
    long double i0;
};
const Beta& WindowBeta()
{
    static const Beta terms = [] {
        const long double beta = KaiserBeta(kAttenuation);
        return Beta{beta, BesselI0(beta)};
    }();
    return terms;
}

// 2 f / fs times sinc(2 pi f n / fs).
long double LowPass(int n, float edge, long double fs)
{
    const long double f = edge;
    const long double scale = 2.0L * f / fs;
    if (n == 0)
        return scale;
    const long double y = static_cast<long double>(kTwoPi) * f * n / fs;
    return scale * std::sin(y) / y;
}

static_assert(std::endian::native == std::endian::little, "samples are stored little-endian");

// The stored samples of each depth: read at their own scale, written back
// from a value already clamped to the depth's range.
template <int Bits>
struct Depth;
template <>
struct Depth<8>
{
    static constexpr float kMin = -128.0f, kMax = 127.0f;
    static int32_t Read(const uint8_t* p) { return static_cast<int32_t>(p[0]) - 128; }
    static void Write(uint8_t* p, int32_t v) { p[0] = static_cast<uint8_t>(v + 128); }
};
template <>
struct Depth<16>
{
    static constexpr float kMin = -32768.0f, kMax = 32767.0f;
    static int32_t Read(const uint8_t* p)
    {
        int16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Write(uint8_t* p, int32_t v)
    {
        const int16_t s = static_cast<int16_t>(v);
        std::memcpy(p, &s, sizeof s);
    }
};
template <>
struct Depth<24>
{
    static constexpr float kMin = -8388608.0f, kMax = 8388607.0f;
    static int32_t Read(const uint8_t* p)
    {
        const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                           (static_cast<uint32_t>(p[2]) << 16);
        return static_cast<int32_t>(u << 8) >> 8;
    }
    static void Write(uint8_t* p, int32_t v)
    {
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
    }
};

// Moves `count` stored samples into `in` and puts the accumulator's values
// in their place, clamped to the depth and rounded half away from zero. The
// three arrays never overlap, so the loop vectorises.
template <int Bits>
void ExchangeSamples(uint8_t* __restrict data, int32_t* __restrict in, const float* __restrict out,
                     size_t count)
{
    using D = Depth<Bits>;
    constexpr size_t kSampleBytes = Bits / 8;
    for (size_t i = 0; i < count; ++i) {
        in[i] = D::Read(data + i * kSampleBytes);
        const float v = std::min(std::max(out[i], D::kMin), D::kMax);
        D::Write(data + i * kSampleBytes, RoundHalfAway(v));
    }
}

// Puts the accumulator's values in the place of `count` stored samples,
// clamped and rounded as ExchangeSamples does (whose inputs were read before).
template <int Bits>
void WriteSamples(uint8_t* __restrict data, const float* __restrict out, size_t count)
{
    using D = Depth<Bits>;
    constexpr size_t kSampleBytes = Bits / 8;
    for (size_t i = 0; i < count; ++i) {
        const float v = std::min(std::max(out[i], D::kMin), D::kMax);
        D::Write(data + i * kSampleBytes, RoundHalfAway(v));
    }
}

// Adds the filtered block of lanes first .. first + channels - 1 (channel c
// in lane first + c) to the accumulator: its first 255 frames onto the
// previous block's tail, the rest in place of what was there.
template <size_t Channels>
void AddBlock(float* __restrict out, const float* __restrict lanes, size_t width, size_t channels)
{
    const size_t ch = Channels ? Channels : channels;
    for (size_t n = 0; n < kBlockFrames; ++n) {
        for (size_t c = 0; c < ch; ++c)
            out[n * ch + c] += lanes[n * width + c];
    }
    for (size_t n = kBlockFrames; n < kTransformSize; ++n) {
        for (size_t c = 0; c < ch; ++c)
            out[n * ch + c] = lanes[n * width + c];
    }
}

} // namespace

void AlignedFloats::assign(size_t count)
{
    constexpr size_t kAlign = 32;
    storage_.assign(count + kAlign / sizeof(float), 0.0f);
    const auto address = reinterpret_cast<uintptr_t>(storage_.data());
    offset_ = ((kAlign - address % kAlign) % kAlign) / sizeof(float);
}

long double BesselI0(long double x)
{
    const auto& fact = Factorials();
    const long double half = x / 2.0L;
    long double sum = 1.0L;
    long double power = 1.0L;
    for (int k = 1; k <= 15; ++k) {
        power *= half;
        const long double term = power / static_cast<long double>(fact[k]);
        sum += term * term;
    }
    return sum;
}

long double KaiserWindow(int n)
{
    const long double ratio = 4.0L * n * n / (254.0L * 254.0L);
    const long double arg = WindowBeta().beta * std::sqrt(std::max(0.0L, 1.0L - ratio));
    return BesselI0(arg) / WindowBeta().i0;
}

int LastActiveBand(double sampleRate)
{
    int j = 1;
    while (j < kBands - 1 && static_cast<double>(kUpperEdge[j]) < sampleRate / 2.0)
        ++j;
    return j;
}

Taps DesignTaps(const Gains& gains, double sampleRate)
{
    const dsp::FloatEnvironment pinned;
    const long double fs = sampleRate;
    const int last = LastActiveBand(sampleRate);
    Taps taps{};
    for (int n = -kCentreTap; n <= kCentreTap; ++n) {
        long double previous = LowPass(n, kUpperEdge[0], fs);
        long double h = static_cast<long double>(gains[0]) * previous;
        for (int j = 1; j < last; ++j) {
            const long double lp = LowPass(n, kUpperEdge[j], fs);
            h += (lp - previous) * static_cast<long double>(gains[j]);
            previous = lp;
        }
        const long double delta = n == 0 ? 1.0L : 0.0L;
        h += (delta - previous) * static_cast<long double>(gains[last]);
        taps[n + kCentreTap] = static_cast<float>(h * KaiserWindow(n));
    }
    return taps;
}

Engine::Engine(const AudioShape& shape, bool enabled, LanePath path)
    : shape_(shape), channels_(shape.channels),
      frameBytes_(static_cast<size_t>(shape.channels) * (shape.bitsPerSample / 8)), enabled_(enabled),
      input_(static_cast<size_t>(kBlockFrames) * shape.channels, 0),
      output_(static_cast<size_t>(kTransformSize) * shape.channels, 0.0f), work_(kTransformSize, 0.0f),
      fft_(kTransformSize)
{
    for (auto& pair : spectra_) {
        for (auto& spectrum : pair)
            spectrum.assign(kTransformSize, 0.0f);
    }
    if (path == LanePath::kAvx2 && !dsp::ProcessorHasAvx2())
        path = LanePath::kSse2;
    if (path == LanePath::kOneAtATime || channels_ == 0)
        return;
    lanes_ = path == LanePath::kAvx2 ? &Avx2LaneFilter() : &Sse2LaneFilter();
    tables_ = fft_.tables();
    const size_t width = lanes_->width;
    groupBlocks_ = channels_ <= width ? width / channels_ : 1;
    groupChunks_ = channels_ <= width ? 1 : (channels_ + width - 1) / width;
    laneRe_.assign(tables_.m * width);
    laneIm_.assign(tables_.m * width);
    laneOut_.assign(tables_.n * width);
    for (auto& pair : laneSpectra_) {
        for (auto& spectra : pair)
            spectra.assign(tables_.n * width);
    }
}

void Engine::PrepareLaneSpectra(int pair)
{
    if (!lanes_)
        return;
    const size_t width = lanes_->width;
    float* first = laneSpectra_[pair][0].data();
    float* later = laneSpectra_[pair][1].data();
    for (size_t k = 0; k < tables_.n; ++k) {
        for (size_t lane = 0; lane < width; ++lane) {
            // Lane l of a group's first chunk holds channel l % channels.
            first[k * width + lane] = spectra_[pair][lane % channels_ == 0 ? 0 : 1][k];
            later[k * width + lane] = spectra_[pair][1][k];
        }
    }
}

void Engine::SetBands(const BandRecord& record)
{
    const Gains gains = GainsFromRecord(record);
    bypass_ = std::all_of(gains.begin(), gains.end(), [](float g) { return g == 1.0f; });
    if (shape_.samplesPerSec == 0)
        return; // no filter exists for it (every band edge would divide by 0)
    taps_ = DesignTaps(gains, static_cast<double>(shape_.samplesPerSec));

    // Both channel filters from the same taps, into the pair not in use. The
    // inverse transform's factor of 256 is taken out here: scaling by a power
    // of two is exact, so this equals scaling each block's result.
    const int spare = 1 - active_;
    for (auto& spectrum : spectra_[spare]) {
        std::fill(spectrum.begin(), spectrum.end(), 0.0f);
        std::copy(taps_.begin(), taps_.end(), spectrum.begin());
        fft_.Forward(spectrum.data());
        for (float& v : spectrum)
            v *= 1.0f / 256.0f;
    }
    PrepareLaneSpectra(spare);
    switchPending_ = true;
}

bool Engine::changesAudio() const
{
    const uint16_t bits = shape_.bitsPerSample;
    return enabled_ && !bypass_ && channels_ > 0 && shape_.samplesPerSec > 0 &&
           (bits == 8 || bits == 16 || bits == 24);
}

void Engine::Process(void* buffer, size_t bytes)
{
    if (!changesAudio() || buffer == nullptr)
        return;
    uint8_t* data = static_cast<uint8_t*>(buffer);
    switch (shape_.bitsPerSample) {
    case 8:
        ProcessDepth<8>(data, bytes / frameBytes_);
        break;
    case 16:
        ProcessDepth<16>(data, bytes / frameBytes_);
        break;
    case 24:
        ProcessDepth<24>(data, bytes / frameBytes_);
        break;
    default:
        break; // 32-bit and other depths pass unchanged
    }
}

template <int Bits>
void Engine::ProcessDepth(uint8_t* data, size_t frames)
{
    constexpr size_t kSampleBytes = Bits / 8;
    while (frames > 0) {
        if (lanes_ && filled_ == 0 && groupChunks_ == 1 && frames >= kBlockFrames) {
            // Whole blocks from a block boundary: a group at once.
            const size_t blocks = std::min(frames / kBlockFrames, groupBlocks_);
            RunWholeBlocks<Bits>(data, blocks);
            data += blocks * kBlockFrames * channels_ * kSampleBytes;
            frames -= blocks * kBlockFrames;
            continue;
        }
        const size_t n = std::min(frames, static_cast<size_t>(kBlockFrames - filled_));
        const size_t first = static_cast<size_t>(filled_) * channels_;
        const size_t count = n * channels_;
        ExchangeSamples<Bits>(data, input_.data() + first, output_.data() + first, count);
        data += count * kSampleBytes;
        filled_ += static_cast<int>(n);
        frames -= n;
        if (filled_ == kBlockFrames) {
            RunBlock();
            filled_ = 0;
        }
    }
}

void Engine::SwitchIfPending()
{
    if (switchPending_) {
        active_ = 1 - active_;
        switchPending_ = false;
    }
}

// Fills the first `used` lanes from read(lane, frame) and the rest with
// silence: the even and odd samples at their bit-reversed points, as
// RealFft::Forward places them, and silence from frame 255 on.
template <class Read>
void Engine::FilterInLanes(size_t used, Read read)
{
    const size_t width = lanes_->width;
    float* re = laneRe_.data();
    float* im = laneIm_.data();
    std::fill(re, re + tables_.m * width, 0.0f);
    std::fill(im, im + tables_.m * width, 0.0f);
    const unsigned* reverse = tables_.reverse;
    constexpr size_t kPairs = kBlockFrames / 2; // frame 254 is the last, an even one
    for (size_t lane = 0; lane < used; ++lane) {
        for (size_t i = 0; i < kPairs; ++i) {
            re[reverse[i] * width + lane] = read(lane, 2 * i);
            im[reverse[i] * width + lane] = read(lane, 2 * i + 1);
        }
        re[reverse[kPairs] * width + lane] = read(lane, 2 * kPairs);
    }
}

template <int Bits>
void Engine::RunWholeBlocks(uint8_t* data, size_t blocks)
{
    using D = Depth<Bits>;
    constexpr size_t kSampleBytes = Bits / 8;
    SwitchIfPending();
    const size_t ch = channels_;
    const size_t frameBytes = ch * kSampleBytes;
    // Lane l reads block l / ch, channel l % ch: all of them are read before
    // the first output is written over them.
    const uint8_t* source[kMaxLanes] = {};
    for (size_t lane = 0; lane < blocks * ch; ++lane)
        source[lane] = data + (lane / ch) * kBlockFrames * frameBytes + (lane % ch) * kSampleBytes;
    FilterInLanes(blocks * ch, [&](size_t lane, size_t frame) {
        return static_cast<float>(D::Read(source[lane] + frame * frameBytes));
    });
    lanes_->filter(tables_, laneRe_.data(), laneIm_.data(), laneSpectra_[active_][0].data(), laneOut_.data());
    for (size_t b = 0; b < blocks; ++b) {
        WriteSamples<Bits>(data + b * kBlockFrames * frameBytes, output_.data(), kBlockFrames * ch);
        ShiftOutput();
        AddLanes(b * ch, ch, 0);
    }
}

void Engine::RunBlock()
{
    SwitchIfPending();
    ShiftOutput();
    const size_t ch = channels_;
    if (lanes_) {
        const size_t width = lanes_->width;
        for (size_t first = 0; first < ch; first += width) {
            const size_t used = std::min(width, ch - first);
            FilterInLanes(used, [&](size_t lane, size_t frame) {
                return static_cast<float>(input_[frame * ch + first + lane]);
            });
            lanes_->filter(tables_, laneRe_.data(), laneIm_.data(),
                           laneSpectra_[active_][first == 0 ? 0 : 1].data(), laneOut_.data());
            AddLanes(0, used, first);
        }
        return;
    }
    float* w = work_.data();
    for (size_t c = 0; c < ch; ++c) {
        for (size_t n = 0; n < kBlockFrames; ++n)
            w[n] = static_cast<float>(input_[n * ch + c]);
        std::fill(w + kBlockFrames, w + kTransformSize, 0.0f);
        fft_.Forward(w);

        MultiplyPacked(w, spectra_[active_][c == 0 ? 0 : 1].data(), kTransformSize);
        fft_.Inverse(w);

        float* out = output_.data() + c;
        for (size_t n = 0; n < kBlockFrames; ++n)
            out[n * ch] += w[n];
        for (size_t n = kBlockFrames; n < kTransformSize; ++n)
            out[n * ch] = w[n];
    }
}

// The previous block's tail (frames 255 to 511) moves to the front.
void Engine::ShiftOutput()
{
    const size_t ch = channels_;
    std::memmove(output_.data(), output_.data() + kBlockFrames * ch,
                 static_cast<size_t>(kTransformSize - kBlockFrames) * ch * sizeof(float));
}

void Engine::AddLanes(size_t first, size_t used, size_t channel)
{
    const size_t ch = channels_;
    const size_t width = lanes_->width;
    const float* w = laneOut_.data() + first;
    float* out = output_.data() + channel;
    if (ch == used) {
        if (ch == 1)
            return AddBlock<1>(out, w, width, 1);
        if (ch == 2)
            return AddBlock<2>(out, w, width, 2);
    }
    for (size_t lane = 0; lane < used; ++lane) {
        for (size_t n = 0; n < kBlockFrames; ++n)
            out[n * ch + lane] += w[n * width + lane];
        for (size_t n = kBlockFrames; n < kTransformSize; ++n)
            out[n * ch + lane] = w[n * width + lane];
    }
}

} // namespace eq
