// Byte data for tests: a pattern in which neighbours differ, so that moved or
// lost bytes show, and the first place two results differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dsp::testing {

// `n` bytes of a linear congruential sequence started at `seed`.
inline std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1)
{
    std::vector<uint8_t> bytes(n);
    uint32_t x = seed;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}

// -1 when equal, else the first differing index (or the shorter size).
inline long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

} // namespace dsp::testing
