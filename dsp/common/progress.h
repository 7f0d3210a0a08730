// The progress value a working effect publishes for its host: a SharedValue
// named "tVCDSPTellPCDone" holding an unsigned 32-bit whole percentage.
#pragma once

#include "shared_value.h"

#include <cstdint>

namespace dsp {

constexpr const char* kProgressName = "tVCDSPTellPCDone";
// The value's size, the same for a host and a plug-in of either width.
constexpr uint32_t kProgressBytes = 4;
static_assert(sizeof(uint32_t) == kProgressBytes);

class Progress
{
public:
    // Creates (or opens) the value; writes nothing yet.
    Progress();
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Publishes the percentage. A value equal to the last one this object
    // wrote is not written again: the host would read the same number, and
    // each write costs a round trip through the named mutex.
    void Write(uint32_t percent);
    // done * 100 / total with unsigned truncation; 0 when total is 0.
    static uint32_t Percent(uint64_t done, uint64_t total);
    // The percentage of a pass mapped to its half of a two-pass effect:
    // first pass percent / 2, second pass percent / 2 + 50.
    static uint32_t FirstHalf(uint32_t percent) { return percent >> 1; }
    static uint32_t SecondHalf(uint32_t percent) { return (percent >> 1) + 50; }

private:
    SharedValue value_;
    uint64_t last_ = ~uint64_t{0}; // nothing written yet
};

// The host's side: opens the same value and reads it.
class ProgressReader
{
public:
    ProgressReader();
    // The current percentage (0 when the value cannot be read).
    uint32_t Read();

private:
    SharedValue value_;
};

} // namespace dsp
