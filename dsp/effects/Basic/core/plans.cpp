#include "core/plans.h"

namespace dsp::basic {

Span SectionToKeep(uint64_t size, uint64_t position, uint64_t length, bool fromEnd, const WaveFormat& format)
{
    uint64_t start = position;
    if (fromEnd)
        start = position < size ? size - position : 0;
    // A file with a partial frame at its end would otherwise put a start
    // counted from the end inside a frame.
    start = WholeFrames(start, format);
    if (start >= size)
        return Span{start, 0};
    if (length > size - start)
        length = size - start;
    return Span{start, WholeFrames(length, format)};
}

uint64_t SizeAfterEndCut(uint64_t size, uint64_t endBytes, const WaveFormat& format)
{
    if (endBytes >= size)
        return 0;
    return endBytes == 0 ? size : WholeFrames(size - endBytes, format);
}

BeginCutPlan PlanBeginCut(uint64_t size, uint64_t beginBytes)
{
    if (beginBytes == 0)
        return BeginCutPlan{BeginCut::kNone, Span{0, size}};
    if (beginBytes > size)
        return BeginCutPlan{BeginCut::kEmpty, Span{0, 0}};
    return BeginCutPlan{BeginCut::kCopyRest, Span{beginBytes, size - beginBytes}};
}

} // namespace dsp::basic
