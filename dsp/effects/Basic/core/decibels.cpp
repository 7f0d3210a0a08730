#include "core/decibels.h"

#include <cmath>
#include <cstdio>

#include "core/panel_number.h"
#include "core/transforms.h"

namespace dsp::basic {

namespace {

constexpr double kFullScaleDecibels = 96.3294;

// The percentage of a decibel figure, before it is truncated.
double PercentOfDecibels(double decibels)
{
    return std::pow(10.0, (decibels + kFullScaleDecibels) / 20.0) * 100.0 / 65535.0;
}

} // namespace

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
    const double percent = PercentOfDecibels(ReadTextNumber(text).value);
    if (std::isnan(percent))
        return 0;
    if (percent >= 1000.0)
        return 100; // also an infinite figure
    return static_cast<long>(LimitPercent(static_cast<long>(percent)));
}

bool DecibelTextFits(const char* text)
{
    const TextNumber n = ReadTextNumber(text);
    return n.finite && PercentOfDecibels(n.value) < 101.0;
}

} // namespace dsp::basic
