// The equaliser's filtering step (forward transform, multiplication by the
// filter's spectrum, inverse transform) for several blocks at once, one block
// and channel per vector lane. Every lane does exactly the operations of
// RealFft::Forward, MultiplyPacked and RealFft::Inverse on one block, in the
// same order and in single precision, so its results are bit for bit those of
// the one-at-a-time transforms; only more of them are done per instruction.
//
// Two builds of the same code: 4 lanes with SSE2, which every processor the
// plug-ins run on has, and 8 lanes with AVX2, chosen at run time where the
// processor and the system have it. Neither uses fused multiply-add, which
// rounds once where the transforms round twice.
#pragma once

#include <cstddef>

#include "core/real_fft.h"

namespace eq {

enum class LanePath {
    kOneAtATime, // RealFft per block and channel, no lanes (the reference)
    kSse2,       // 4 lanes
    kAvx2,       // 8 lanes
};

constexpr size_t kMaxLanes = 8;

struct LaneFilter
{
    LanePath path;
    size_t width; // lanes
    // Arrays in lane order (point p of lane l at [p * width + l]), aligned to
    // 32 bytes. On entry `re` and `im` hold the even and odd input samples of
    // each lane at their bit-reversed points (t.m points each) and `spectrum`
    // the packed filter spectrum of each lane (t.n values); on return `out`
    // holds the t.n filtered samples of each lane, scaled as RealFft::Inverse
    // scales them. `re` and `im` are used as work space.
    void (*filter)(const FftTables& t, float* re, float* im, const float* spectrum, float* out);
};

const LaneFilter& Sse2LaneFilter();
// Only to be called where dsp::ProcessorHasAvx2() is true.
const LaneFilter& Avx2LaneFilter();
// The widest path this processor runs.
LanePath FastestLanePath();

} // namespace eq
