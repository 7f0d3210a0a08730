// The quietener panel's second view of its percentage: the level of that
// percentage of full scale in decibels.
#pragma once
#include <string>

namespace dsp::basic {

// "%0.1f" of 20 * log10(P * 65534 / 100) - 96.3294 for P in 1..100, and
// "-96.3" (the floor of the scale) for 0 and for anything outside 0..100.
std::string PercentAsDecibelText(long percent);

// The percentage whose level is `text` decibels: 10^((D + 96.3294) / 20) *
// 100 / 65535, truncated toward zero, limited to 0..100. Text that is not a
// number reads as 0 dB.
long PercentFromDecibelText(const char* text);

// False for a decibel text the percentage cannot take: a figure that is not
// finite, or one above full scale, whose percentage truncates past 100.
bool DecibelTextFits(const char* text);

} // namespace dsp::basic
