// The quietener's 8- and 16-bit loops built for AVX2 (without FMA). Only
// called where dsp::ProcessorHasAvx2() said yes.
#include "core/quieten_loops.h"
#include "core/transforms.h"

namespace dsp::basic {

void Quieten16Avx2(uint8_t* data, size_t samples, float numerator)
{
    Quieten16(data, samples, numerator);
}

void Quieten8Avx2(uint8_t* data, size_t samples, float numerator)
{
    Quieten8(data, samples, numerator);
}

} // namespace dsp::basic
