// The lane filter with 4 lanes (SSE2, the baseline), and the choice of path.
#include "core/lane_filter.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "core/lane_filter_impl.h"

namespace eq {

namespace {
struct Lanes4
{
    using V = float __attribute__((vector_size(16), may_alias));
};
}

const LaneFilter& Sse2LaneFilter()
{
    static const LaneFilter filter{LanePath::kSse2, 4, &LaneOps<Lanes4>::Filter};
    return filter;
}

bool ProcessorHasAvx2()
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    const unsigned kOsXsave = 1u << 27, kAvx = 1u << 28;
    if ((c & kOsXsave) == 0 || (c & kAvx) == 0)
        return false;
    // The system must save the SSE and AVX register state (XCR0 bits 1 and 2).
    unsigned xcr0Low = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
    if ((xcr0Low & 6u) != 6u)
        return false;
    if (__get_cpuid_max(0, nullptr) < 7)
        return false;
    __cpuid_count(7, 0, a, b, c, d);
    const unsigned kAvx2 = 1u << 5;
    return (b & kAvx2) != 0;
#else
    return false;
#endif
}

LanePath FastestLanePath()
{
    static const LanePath path = ProcessorHasAvx2() ? LanePath::kAvx2 : LanePath::kSse2;
    return path;
}

} // namespace eq
