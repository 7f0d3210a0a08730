// The silence remover's texts and scans: any level text either fits the
// stored form or is refused, a usable decibel text gives a storable level,
// and a cut found in any block lies inside the audio.
#include <vector>

#include "fuzz_input.h"
#include "silence_detector.h"

namespace {

class Bytes : public silence::BlockSource
{
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Read(uint64_t offset, size_t count, const uint8_t*& bytes) override
    {
        if (offset > size_ || count > size_ - offset)
            return false;
        bytes = data_ + offset;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const std::string text = in.Text(40);
    if (silence::LevelTextFits(text.c_str())) {
        const int32_t stored = silence::StoredFromLevelText(text.c_str());
        fuzz::Require(stored != INT32_MIN, "a fitting level negates safely");
        (void)silence::DecibelTextFromPercent(-static_cast<double>(stored) / 100.0);
    }
    double decibels = 0;
    if (silence::DecibelsFromText(text.c_str(), &decibels))
        fuzz::Require(silence::LevelTextFits(silence::PercentTextFromDecibels(decibels).c_str()),
                      "a usable decibel figure gives a storable level");

    // Any figure converts without undefined behaviour, NaN and infinities too.
    (void)silence::PercentTextFromDecibels(in.Take<double>());
    (void)silence::DecibelTextFromPercent(in.Take<double>());

    static const int kDepths[] = {8, 16, 24, 32};
    const int bits = kDepths[in.Take<uint8_t>() % 4];
    const unsigned channels = 1 + in.Take<uint8_t>() % 8;
    const unsigned sampleBytes = bits / 8;
    const uint64_t frame = uint64_t{sampleBytes} * channels;
    const uint64_t windowBytes = in.Take<uint16_t>();
    const uint64_t block = frame * (1 + in.Take<uint16_t>() % 512);
    const double percent = in.Take<uint8_t>() / 2.0;
    const uint64_t audio = in.Left() - in.Left() % frame;
    Bytes source(in.Rest(), in.Left());
    silence::Detector detector(silence::WindowFor(windowBytes, channels, sampleBytes), channels,
                               silence::LoudThreshold(percent));
    const silence::Layout layout{bits, sampleBytes};
    const auto end = silence::FindTrailingEnd(source, detector, audio, block, layout);
    fuzz::Require(end.kind != silence::PassResult::kReadFailed, "reads stay inside");
    fuzz::Require(end.kind != silence::PassResult::kFound || end.position <= audio,
                  "the end inside the audio");
    const auto start = silence::FindLeadingStart(source, detector, audio, block, layout);
    fuzz::Require(start.kind != silence::PassResult::kFound || start.position <= audio, "the start inside");
    fuzz::Require(start.kind != silence::PassResult::kFound || start.position % sampleBytes == 0,
                  "the start on a sample");
    return 0;
}
