// The floating-point state a computation's bits depend on, pinned for the
// length of a scope and given back afterwards.
//
// A plug-in runs on its host's threads and so inherits their floating-point
// state: the x87 unit's precision and rounding (which `long double` uses in
// both widths, and which a 32-bit host may well have lowered to single
// precision) and the SSE unit's rounding and flush-to-zero modes (which audio
// hosts often switch on). Inside the scope the state is the one this code is
// written and tested for: x87 at 64-bit precision, round to nearest, every
// exception masked; SSE round to nearest, no flushing of tiny values, every
// exception masked. So the results do not depend on the host, nor on the
// width of the build. On processors other than x86 it does nothing.
#pragma once

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace dsp {

class FloatEnvironment
{
public:
    FloatEnvironment()
    {
#if defined(__i386__) || defined(__x86_64__)
        __asm__ volatile("fnstcw %0" : "=m"(x87_));
        const unsigned short pinned = kX87;
        __asm__ volatile("fldcw %0" : : "m"(pinned));
        sse_ = _mm_getcsr();
        _mm_setcsr(kSse);
#endif
    }
    ~FloatEnvironment()
    {
#if defined(__i386__) || defined(__x86_64__)
        __asm__ volatile("fldcw %0" : : "m"(x87_));
        _mm_setcsr(sse_);
#endif
    }
    FloatEnvironment(const FloatEnvironment&) = delete;
    FloatEnvironment& operator=(const FloatEnvironment&) = delete;

    // x87: exceptions masked (0x3F), 64-bit precision (0x300), to nearest.
    static constexpr unsigned short kX87 = 0x037F;
    // SSE: exceptions masked (0x1F80), to nearest, no flush-to-zero or
    // denormals-are-zero.
    static constexpr unsigned kSse = 0x1F80;

private:
    unsigned short x87_ = kX87;
    unsigned sse_ = kSse;
};

} // namespace dsp
