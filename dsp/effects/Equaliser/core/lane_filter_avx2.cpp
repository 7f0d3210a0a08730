// The lane filter with 8 lanes. This file alone is compiled for AVX2 (and
// without FMA); it is only called where dsp::ProcessorHasAvx2() said yes.
#include "core/lane_filter_impl.h"

namespace eq {

namespace {
struct Lanes8
{
    using V = float __attribute__((vector_size(32), may_alias));
};
} // namespace

const LaneFilter& Avx2LaneFilter()
{
    static const LaneFilter filter{LanePath::kAvx2, 8, &LaneOps<Lanes8>::Filter};
    return filter;
}

} // namespace eq
