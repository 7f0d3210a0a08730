// Format arithmetic on any record: the work block is whole frames and never
// empty, rounding never grows a count, and a record that describes audio has
// a second the effects can allocate.
#include "core/wave_format.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const auto format = in.Take<dsp::WaveFormat>();
    const auto frame = in.Take<uint32_t>();
    const auto bytes = in.Take<uint64_t>();
    const auto ms = in.Take<uint32_t>();
    const uint32_t unit = frame ? frame : 1;
    const uint32_t block = dsp::SecondOfWholeFrames(format, frame);
    fuzz::Require(block != 0 && block % unit == 0, "a work block is whole frames");
    const uint32_t second = dsp::BytesForMilliseconds(format, 1000);
    fuzz::Require(block <= second || block == unit, "rounding down, or one frame");
    fuzz::Require(dsp::WholeFrames(bytes, format) <= bytes, "whole frames never grow");
    fuzz::Require(dsp::WholeFrames(bytes, format) % dsp::FrameBytes(format) == 0, "whole frames");
    (void)dsp::BytesForMilliseconds(format, ms);
    if (dsp::FormatDescribesAudio(format)) {
        fuzz::Require(second >= 1 && second <= dsp::kMaxSecondBytes, "an allocatable second");
        fuzz::Require(format.channels != 0 && format.bitsPerSample >= 8, "channels and depth");
    }
    fuzz::Require(dsp::PercentOf(bytes / 2, bytes) <= 100, "a percentage");
    return 0;
}
