// Random numbers for temporary names: a linear congruential generator
// x' = (x * 31415821 + 1) mod 100000000, with the product formed from the
// four-digit halves of its factors so every step fits 32-bit arithmetic.
#pragma once

#include <cstdint>

namespace dsp {

class NameGenerator
{
public:
    explicit NameGenerator(uint32_t seed) : x_(seed) {}

    // The seed packs a UTC time of day: hour << 24 | minute << 16 | second << 8, plus milliseconds.
    static uint32_t SeedFromTime(uint32_t hour, uint32_t minute, uint32_t second, uint32_t ms);

    // Advances the generator and returns the new state (below 100000000).
    uint32_t Next();

    // Advances and returns n * (x' / 10000) / 10000, a number below n (n < 100000).
    uint32_t Below(uint32_t n);

    uint32_t State() const { return x_; }

    // (p * q) mod 100000000 from the four-digit halves of p and q.
    static uint32_t MultiplyMod(uint32_t p, uint32_t q);

private:
    uint32_t x_;
};

// A number below n from one process-wide generator seeded from the current UTC
// time on first use.
uint32_t RandomNameNumber(uint32_t n);

} // namespace dsp
