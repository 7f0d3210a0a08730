#include "core/cpu_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace dsp {

namespace {

bool AskProcessor()
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

} // namespace

bool ProcessorHasAvx2()
{
    static const bool has = AskProcessor();
    return has;
}

} // namespace dsp
