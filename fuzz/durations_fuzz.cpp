// Lengths as the basic effects' panels show and take them: a split length
// joins back to itself, also through the texts the panel shows, its parts are
// in range, a length in bytes is whole frames and never more than the plain
// product, and typed rows are taken only when their total fits 32 bits.
#include <string>

#include "core/durations.h"
#include "core/panel_number.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const auto ms = in.Take<uint32_t>();
    const dsp::basic::ClockParts parts = dsp::basic::SplitMilliseconds(ms);
    fuzz::Require(parts.seconds < 60 && parts.milliseconds < 1000, "parts in range");
    fuzz::Require(dsp::basic::JoinMilliseconds(parts.minutes, parts.seconds, parts.milliseconds) == ms,
                  "a split length joins back");
    (void)dsp::basic::JoinMilliseconds(in.Take<long>(), in.Take<long>(), in.Take<long>());
    const auto format = in.Take<dsp::WaveFormat>();
    const uint64_t bytes = dsp::basic::FrameBytesForMilliseconds(format, ms);
    fuzz::Require(bytes % dsp::FrameBytes(format) == 0, "whole frames");

    uint32_t shown = 0;
    fuzz::Require(dsp::basic::ClockFromTexts(std::to_string(parts.minutes).c_str(),
                                             std::to_string(parts.seconds).c_str(),
                                             std::to_string(parts.milliseconds).c_str(), &shown) &&
                      shown == ms,
                  "the texts shown read back as the length");
    const std::string texts[] = {in.Text(24), in.Text(24), in.Text(24)};
    uint32_t typed = 0;
    if (dsp::basic::ClockFromTexts(texts[0].c_str(), texts[1].c_str(), texts[2].c_str(), &typed)) {
        int64_t total = 0;
        const int64_t scale[] = {60000, 1000, 1};
        for (int i = 0; i < 3; ++i) {
            const dsp::TextNumber n = dsp::ReadTextNumber(texts[i].c_str());
            fuzz::Require(n.finite && n.wholeFits && n.whole >= 0,
                          "taken fields are finite and not negative");
            total += n.whole * scale[i];
        }
        fuzz::Require(total == typed, "a taken row is its exact total");
    }
    return 0;
}
