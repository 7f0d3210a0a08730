// Silence detection for the silence remover: the level and window settings,
// the sliding detection ring and the block scans, kept free of Windows so
// they can be tested on their own.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace silence {

constexpr double kDefaultLevelPercent = 4.0;
constexpr uint32_t kDefaultWindowMs = 50;
constexpr uint32_t kMaxWindowMs = 750;

// The level is stored as the percentage times -100, truncated. A stored 0
// means "not set" (4 percent); a non-negative number is the percentage itself.
double LevelFromStored(int32_t stored);
int32_t StoredFromLevel(double percent);
// Parses a decimal text such as "1.5" or "1,5" exactly to hundredths of a
// percent (extra digits are cut) and returns its stored form; anything that
// is not a number gives 0.
int32_t StoredFromLevelText(const char* text);
// False when the text's number is one the stored form cannot hold (a
// percentage of 21474836.48 or more, either way) or is not finite ("inf",
// "nan", "1e999"); a text without a number fits (it stands for the default).
bool LevelTextFits(const char* text);
// Window length in milliseconds as used: 0 (missing) gives the default, and
// anything above the panel's limit is held at that limit.
uint32_t WindowFromStored(uint32_t stored);
// The window length typed into the panel: 0 or less gives the default,
// above the limit gives the limit.
uint32_t WindowFromPanel(long typed);

// Level as a 16-bit magnitude: percent * 32767 / 100, truncated.
int32_t Level16(double percent);
// The 32-bit magnitude a sample must exceed to be loud (Level16 << 16).
int64_t LoudThreshold(double percent);

// The panel's percent/decibel pair.
std::string DecibelTextFromPercent(double percent);   // "%0.1f"
std::string PercentTextFromDecibels(double decibels); // "%d"
// The decibels in a panel text (strtod; a text without a number is 0 dB, as
// before). False for a number that is not finite or whose percentage the
// stored form cannot hold.
bool DecibelsFromText(const char* text, double* decibels);

// Window geometry: the window in bytes rounded down to whole frames, then in
// samples (never less than one frame), and the trigger count.
struct Window
{
    size_t samples = 0;
    size_t trigger = 0;
};
Window WindowFor(uint64_t windowBytes, unsigned channels, unsigned bytesPerSample);

// The sliding detector. The ring holds the magnitudes of the last
// `window.samples` samples taken, in the order they were taken; the loud
// count is how many of them exceed the threshold. Both carry over from one
// block to the next; only the examined count starts again with each block.
class Detector
{
public:
    static constexpr size_t kNotFound = static_cast<size_t>(-1);

    Detector(Window window, unsigned channels, int64_t threshold);

    void Reset();      // ring of silence, index and loud count 0
    void StartBlock(); // examined count 0

    // Forward scan over `count` samples (whole frames): the number of samples
    // taken up to and including the frame at which sound begins.
    template <class Source>
    size_t ScanForward(const Source& sample, size_t count)
    {
        for (size_t frame = 0; frame + channels_ <= count; frame += channels_) {
            for (unsigned c = 0; c < channels_; ++c)
                Take(sample(frame + c));
            if (SoundHasBegun())
                return frame + channels_;
        }
        return kNotFound;
    }

    // Backward scan: the index of the first sample of the frame at which sound
    // begins, scanning from the last frame toward the first.
    template <class Source>
    size_t ScanBackward(const Source& sample, size_t count)
    {
        size_t frame = count - count % channels_;
        while (frame >= channels_) {
            frame -= channels_;
            for (unsigned c = channels_; c-- > 0;)
                Take(sample(frame + c));
            if (SoundHasBegun())
                return frame;
        }
        return kNotFound;
    }

    size_t Examined() const { return examined_; }

private:
    void Take(int32_t value)
    {
        // |INT32_MIN| stays negative and so never counts as loud.
        const int32_t magnitude = value < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value;
        const int32_t old = ring_[index_];
        if (loud_ != 0 && old > threshold_)
            --loud_;
        ring_[index_] = magnitude;
        if (++index_ == ring_.size())
            index_ = 0;
        if (examined_ < ring_.size())
            ++examined_;
        if (magnitude > threshold_)
            ++loud_;
    }
    bool SoundHasBegun() const { return loud_ >= window_.trigger; }

    Window window_;
    unsigned channels_;
    int64_t threshold_;
    std::vector<int32_t> ring_;
    size_t index_ = 0;
    size_t loud_ = 0;
    size_t examined_ = 0;
};

// Reads the block of `byteCount` bytes at `byteOffset` of the file and hands
// back its stored bytes.
class BlockSource
{
public:
    virtual ~BlockSource() = default;
    virtual bool Read(uint64_t byteOffset, size_t byteCount, const uint8_t*& bytes) = 0;
};

// Where the stored samples are: their depth and the bytes each takes.
struct Layout
{
    int bitsPerSample;
    unsigned bytesPerSample; // as the sample view steps through them
};

struct PassResult
{
    enum Kind { kNotFound, kFound, kReadFailed } kind = kNotFound;
    uint64_t position = 0; // the byte where the kept audio ends (trailing) or begins (leading)
};

// Walks the first `audioBytes` bytes (whole frames) in blocks of
// `blockBytes` (whole frames) from the end backward. When sound begins, the
// kept audio ends at the onset frame plus the samples examined in that block.
PassResult FindTrailingEnd(BlockSource& source, Detector& detector, uint64_t audioBytes, uint64_t blockBytes,
                           Layout layout);

// Walks forward from the start. When sound begins, the kept audio starts one
// window before that point, but never before the block in which it was found.
PassResult FindLeadingStart(BlockSource& source, Detector& detector, uint64_t audioBytes, uint64_t blockBytes,
                            Layout layout);

} // namespace silence
