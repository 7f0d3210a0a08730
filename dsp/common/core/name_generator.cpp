#include "core/name_generator.h"

#include <chrono>
#include <mutex>

namespace dsp {

namespace {
constexpr uint32_t kModulus = 100000000;
constexpr uint32_t kHalf = 10000;
constexpr uint32_t kMultiplier = 31415821;
} // namespace

uint32_t NameGenerator::SeedFromTime(uint32_t hour, uint32_t minute, uint32_t second, uint32_t ms)
{
    return (hour << 24) + (minute << 16) + (second << 8) + ms;
}

uint32_t NameGenerator::MultiplyMod(uint32_t p, uint32_t q)
{
    const uint32_t p1 = p / kHalf, p0 = p % kHalf;
    const uint32_t q1 = q / kHalf, q0 = q % kHalf;
    return (((p0 * q1 + p1 * q0) % kHalf) * kHalf + p0 * q0) % kModulus;
}

uint32_t NameGenerator::Next()
{
    x_ = (MultiplyMod(x_, kMultiplier) + 1) % kModulus;
    return x_;
}

uint32_t NameGenerator::Below(uint32_t n)
{
    return n * (Next() / kHalf) / kHalf;
}

uint32_t RandomNameNumber(uint32_t n)
{
    static std::mutex lock;
    static NameGenerator* generator = nullptr;
    std::lock_guard<std::mutex> hold(lock);
    if (!generator) {
        using namespace std::chrono;
        const auto now = system_clock::now().time_since_epoch();
        const uint64_t msOfDay =
            static_cast<uint64_t>(duration_cast<milliseconds>(now).count()) % 86400000ull;
        const uint32_t ms = static_cast<uint32_t>(msOfDay % 1000);
        const uint32_t s = static_cast<uint32_t>(msOfDay / 1000);
        static NameGenerator instance(NameGenerator::SeedFromTime(s / 3600, s / 60 % 60, s % 60, ms));
        generator = &instance;
    }
    return generator->Below(n);
}

} // namespace dsp
