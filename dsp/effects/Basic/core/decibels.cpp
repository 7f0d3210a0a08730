#include "core/decibels.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/transforms.h"

namespace dsp::basic {

namespace {
constexpr double kFullScaleDecibels = 96.3294;
}

std::string PercentAsDecibelText(long percent)
{
    double figure = -96.3;
    if (percent > 0 && percent <= 100) {
        const long v = percent * 65534 / 100;
        figure = 20.0 * std::log10(static_cast<double>(v)) - kFullScaleDecibels;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%0.1f", figure);
    return text;
}

long PercentFromDecibelText(const char* text)
{
    const double decibels = text ? std::strtod(text, nullptr) : 0.0;
    const double percent = std::pow(10.0, (decibels + kFullScaleDecibels) / 20.0) * 100.0 / 65535.0;
    if (std::isnan(percent))
        return 0;
    if (percent >= 1000.0)
        return 100; // also an infinite figure
    return static_cast<long>(LimitPercent(static_cast<long>(percent)));
}

} // namespace dsp::basic
