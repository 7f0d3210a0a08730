#include "core/real_fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <complex>
#include <random>
#include <vector>

namespace {

using Spectrum = std::vector<std::complex<double>>;

Spectrum NaiveDft(const std::vector<float>& x)
{
    const size_t n = x.size();
    Spectrum out(n / 2 + 1);
    for (size_t k = 0; k <= n / 2; ++k) {
        std::complex<double> sum = 0.0;
        for (size_t t = 0; t < n; ++t) {
            const double angle =
                -2.0 * std::numbers::pi * static_cast<double>((k * t) % n) / static_cast<double>(n);
            sum += static_cast<double>(x[t]) * std::complex<double>(std::cos(angle), std::sin(angle));
        }
        out[k] = sum;
    }
    return out;
}

std::complex<double> PackedBin(const std::vector<float>& a, size_t k)
{
    const size_t n = a.size();
    if (k == 0)
        return a[0];
    if (k == n / 2)
        return a[1];
    return {a[2 * k], a[2 * k + 1]};
}

std::vector<float> RandomSignal(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(n);
    for (float& v : x)
        v = dist(rng);
    return x;
}

TEST(RealFft, ForwardMatchesNaiveDftInEveryBin)
{
    for (size_t n : {8u, 16u, 64u, 512u, 1024u}) {
        SCOPED_TRACE(n);
        eq::RealFft fft(n);
        for (unsigned seed = 1; seed <= 3; ++seed) {
            std::vector<float> x = RandomSignal(n, seed);
            const Spectrum want = NaiveDft(x);
            std::vector<float> a = x;
            fft.Forward(a.data());
            // Errors of a float transform grow with sqrt(n) log n; sums of n
            // values of magnitude 1 have a typical size of sqrt(n).
            const double tolerance =
                2e-6 * std::sqrt(static_cast<double>(n)) * std::log2(static_cast<double>(n));
            for (size_t k = 0; k <= n / 2; ++k) {
                const std::complex<double> got = PackedBin(a, k);
                ASSERT_NEAR(got.real(), want[k].real(), tolerance) << "bin " << k;
                ASSERT_NEAR(got.imag(), want[k].imag(), tolerance) << "bin " << k;
            }
        }
    }
}

TEST(RealFft, InverseOfForwardScalesByHalfTheLength)
{
    for (size_t n : {8u, 64u, 512u}) {
        SCOPED_TRACE(n);
        eq::RealFft fft(n);
        const std::vector<float> x = RandomSignal(n, 7);
        std::vector<float> a = x;
        fft.Forward(a.data());
        fft.Inverse(a.data());
        for (size_t t = 0; t < n; ++t)
            ASSERT_NEAR(a[t], x[t] * (n / 2.0), 1e-4 * n) << t;
    }
}

TEST(RealFft, InverseMatchesNaiveInverseOfAnySpectrum)
{
    // Any packed spectrum (not only one made by Forward): the result is half
    // the unnormalised inverse DFT of the Hermitian spectrum.
    const size_t n = 512;
    eq::RealFft fft(n);
    const std::vector<float> a0 = RandomSignal(n, 11);
    std::vector<float> a = a0;
    fft.Inverse(a.data());
    for (size_t t = 0; t < n; t += 7) {
        double sum = a0[0] + a0[1] * ((t % 2) ? -1.0 : 1.0);
        for (size_t k = 1; k < n / 2; ++k) {
            const double angle = 2.0 * std::numbers::pi * double(k * t % n) / double(n);
            sum += 2.0 * (a0[2 * k] * std::cos(angle) - a0[2 * k + 1] * std::sin(angle));
        }
        ASSERT_NEAR(a[t], sum / 2.0, 2e-3) << t;
    }
}

TEST(RealFft, RefusesLengthsItCannotTransform)
{
    for (size_t n : {0u, 4u, 100u, 513u})
        EXPECT_THROW(eq::RealFft{n}, std::invalid_argument) << n;
}

} // namespace
