// What the processor offers beyond the SSE2 baseline every build assumes, for
// the loops that keep a wider copy of themselves.
#pragma once

namespace dsp {

// True when the processor has AVX2 and the system saves its registers
// across task switches (so code built for AVX2 may run).
bool ProcessorHasAvx2();

} // namespace dsp
