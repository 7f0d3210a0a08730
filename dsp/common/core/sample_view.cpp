#include "core/sample_view.h"

namespace dsp {

std::unique_ptr<SampleConverter> MakeSampleConverter(int bitsPerSample)
{
    return WithDepth(bitsPerSample, [](auto depth) -> std::unique_ptr<SampleConverter> {
        return std::make_unique<DepthConverter<decltype(depth)::value>>();
    });
}

SampleView::SampleView(void* buffer, int bitsPerSample)
    : buffer_(buffer), converter_(MakeSampleConverter(bitsPerSample))
{}

} // namespace dsp
