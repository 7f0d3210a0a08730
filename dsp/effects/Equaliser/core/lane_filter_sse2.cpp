// The lane filter with 4 lanes (SSE2, the baseline), and the choice of path.
#include "core/lane_filter.h"

#include "core/cpu_features.h"

#include "core/lane_filter_impl.h"

namespace eq {

namespace {
struct Lanes4
{
    using V = float __attribute__((vector_size(16), may_alias));
};
} // namespace

const LaneFilter& Sse2LaneFilter()
{
    static const LaneFilter filter{LanePath::kSse2, 4, &LaneOps<Lanes4>::Filter};
    return filter;
}

LanePath FastestLanePath()
{
    static const LanePath path = dsp::ProcessorHasAvx2() ? LanePath::kAvx2 : LanePath::kSse2;
    return path;
}

} // namespace eq
