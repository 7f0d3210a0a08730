#include "silence_detector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/panel_number.h"
#include "core/sample_view.h"

namespace silence {

double LevelFromStored(int32_t stored)
{
    if (stored == 0)
        return kDefaultLevelPercent;
    if (stored > 0)
        return stored;
    return static_cast<double>(stored) / -100.0;
}

int32_t StoredFromLevel(double percent)
{
    const double scaled = percent * -100.0;
    if (!(scaled > -2147483648.0))
        return INT32_MIN;
    if (!(scaled < 2147483647.0))
        return INT32_MAX;
    return static_cast<int32_t>(scaled); // truncates toward zero
}

namespace {

// The stored form of a level text before it is held to 32 bits; false when
// the text holds no number.
bool StoredFromText(const char* text, int64_t* stored)
{
    if (text == nullptr)
        return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    int64_t hundredths = 0;
    bool digits = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        digits = true;
        if (hundredths < 100000000000LL)
            hundredths = hundredths * 10 + (*p - '0');
    }
    hundredths *= 100;
    if (*p == '.' || *p == ',') {
        ++p;
        if (*p >= '0' && *p <= '9') {
            digits = true;
            hundredths += 10 * (*p++ - '0');
        }
        if (*p >= '0' && *p <= '9') {
            digits = true;
            hundredths += *p - '0';
        }
    }
    *stored = negative ? hundredths : -hundredths;
    return digits;
}

// The largest percentage whose stored form (times -100) fits 32 bits.
constexpr int64_t kMaxStoredMagnitude = INT32_MAX;

} // namespace

int32_t StoredFromLevelText(const char* text)
{
    int64_t stored = 0;
    if (!StoredFromText(text, &stored))
        return 0;
    if (stored < INT32_MIN)
        stored = INT32_MIN;
    if (stored > INT32_MAX)
        stored = INT32_MAX;
    return static_cast<int32_t>(stored);
}

bool LevelTextFits(const char* text)
{
    if (!dsp::ReadTextNumber(text).finite)
        return false; // "inf", "nan", "1e999"
    int64_t stored = 0;
    if (!StoredFromText(text, &stored))
        return true;
    return stored >= -kMaxStoredMagnitude && stored <= kMaxStoredMagnitude;
}

uint32_t WindowFromStored(uint32_t stored)
{
    if (stored == 0)
        return kDefaultWindowMs;
    return stored > kMaxWindowMs ? kMaxWindowMs : stored;
}

uint32_t WindowFromPanel(long typed)
{
    if (typed <= 0)
        return kDefaultWindowMs;
    return typed > static_cast<long>(kMaxWindowMs) ? kMaxWindowMs : static_cast<uint32_t>(typed);
}

int32_t Level16(double percent)
{
    const double level = percent * 32767 * 0.01;
    if (!(level > -2147483648.0))
        return INT32_MIN;
    if (!(level < 2147483647.0))
        return INT32_MAX;
    return static_cast<int32_t>(level);
}

int64_t LoudThreshold(double percent)
{
    return static_cast<int64_t>(Level16(percent)) * 65536;
}

std::string DecibelTextFromPercent(double percent)
{
    double figure = -96.3;
    if (percent >= 0 && percent <= 100) {
        const auto x = static_cast<int32_t>(percent * 65534 * 0.01);
        // No level at all has no logarithm; it shows as the floor, like levels
        // outside the range.
        if (x > 0)
            figure = 20 * std::log10(static_cast<double>(x)) - 96.3294;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%0.1f", figure);
    return text;
}

std::string PercentTextFromDecibels(double decibels)
{
    const double value = std::pow(10.0, (decibels + 96.3294) * 0.05) * 100 / 65535;
    long long percent = 0;
    if (std::isnan(value))
        percent = 0;
    else if (value >= 2147483647.0)
        percent = 2147483647;
    else
        percent = static_cast<long long>(value);
    char text[32];
    std::snprintf(text, sizeof text, "%lld", percent);
    return text;
}

Window WindowFor(uint64_t windowBytes, unsigned channels, unsigned bytesPerSample)
{
    Window window;
    if (channels == 0 || bytesPerSample == 0)
        return window;
    const uint64_t frameBytes = static_cast<uint64_t>(channels) * bytesPerSample;
    uint64_t frames = windowBytes / frameBytes;
    if (frames == 0)
        frames = 1;
    window.samples = static_cast<size_t>(frames * channels);
    window.trigger = window.samples / 4;
    return window;
}

Detector::Detector(Window window, unsigned channels, int64_t threshold)
    : window_(window), channels_(channels == 0 ? 1 : channels), threshold_(threshold)
{
    if (window_.samples == 0)
        window_ = WindowFor(channels_, channels_, 1);
    ring_.assign(window_.samples, 0);
}

void Detector::Reset()
{
    std::fill(ring_.begin(), ring_.end(), 0);
    index_ = 0;
    loud_ = 0;
    examined_ = 0;
}

void Detector::StartBlock()
{
    examined_ = 0;
}

namespace {

template <bool Forward>
size_t Scan(Detector& detector, const uint8_t* bytes, size_t count, int bits)
{
    return dsp::WithDepth(bits, [&](auto depth) {
        constexpr int kBits = decltype(depth)::value;
        auto sample = [bytes](size_t i) { return dsp::ReadSample<kBits>(bytes, i); };
        return Forward ? detector.ScanForward(sample, count) : detector.ScanBackward(sample, count);
    });
}

// Blocks from the end backward (trailing) or from the start forward
// (leading); the ring carries over from block to block.
template <bool Forward>
PassResult FindCut(BlockSource& source, Detector& detector, uint64_t audioBytes, uint64_t blockBytes,
                   Layout layout)
{
    PassResult result;
    detector.Reset();
    for (uint64_t done = 0; done < audioBytes;) {
        const uint64_t block = std::min(audioBytes - done, blockBytes);
        const uint64_t start = Forward ? done : audioBytes - done - block;
        const uint8_t* bytes = nullptr;
        if (!source.Read(start, static_cast<size_t>(block), bytes)) {
            result.kind = PassResult::kReadFailed;
            return result;
        }
        detector.StartBlock();
        const size_t count = static_cast<size_t>(block / layout.bytesPerSample);
        const size_t at = Scan<Forward>(detector, bytes, count, layout.bitsPerSample);
        if (at != Detector::kNotFound) {
            // Forward, `at` samples were taken and the kept part begins the
            // examined count before that point; backward, `at` is the onset frame
            // and the kept part ends the examined count after it. The examined
            // count never exceeds what this block has given, so the cut stays
            // inside the block.
            const size_t sample = Forward ? at - detector.Examined() : at + detector.Examined();
            result.kind = PassResult::kFound;
            result.position = start + sample * uint64_t{layout.bytesPerSample};
            return result;
        }
        done += block;
    }
    return result;
}

} // namespace

PassResult FindTrailingEnd(BlockSource& source, Detector& detector, uint64_t audioBytes, uint64_t blockBytes,
                           Layout layout)
{
    return FindCut<false>(source, detector, audioBytes, blockBytes, layout);
}

PassResult FindLeadingStart(BlockSource& source, Detector& detector, uint64_t audioBytes, uint64_t blockBytes,
                            Layout layout)
{
    return FindCut<true>(source, detector, audioBytes, blockBytes, layout);
}

bool DecibelsFromText(const char* text, double* decibels)
{
    const double value = text ? std::strtod(text, nullptr) : 0.0;
    if (!std::isfinite(value))
        return false;
    // The percentage as PercentTextFromDecibels gives it, then read back as a
    // level: its whole number must stay below 21474836.48.
    const double percent = std::pow(10.0, (value + 96.3294) * 0.05) * 100 / 65535;
    if (!(percent < 21474837.0))
        return false;
    *decibels = value;
    return true;
}

} // namespace silence
