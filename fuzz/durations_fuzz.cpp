// Lengths as the basic effects' panels show and take them: a split length
// joins back to itself, its parts are in range, and a length in bytes is
// whole frames and never more than the plain product.
#include "core/durations.h"
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
    return 0;
}
