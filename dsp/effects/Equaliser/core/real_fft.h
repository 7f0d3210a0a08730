// A real-input fast Fourier transform of a fixed power-of-two length.
//
// Forward takes N real samples and leaves the spectrum packed in the same
// array: a[0] holds bin 0 (real), a[1] holds bin N/2 (real), and a[2k], a[2k+1]
// hold the real and imaginary parts of bin k for k = 1 .. N/2 - 1. The forward
// transform is the plain discrete Fourier transform, X[k] = sum x[n] e^(-2 pi i k n / N).
//
// Inverse takes such a packed spectrum and returns N real samples scaled by
// N/2: Inverse(Forward(x)) == (N/2) * x. (For the equaliser's 512 points that
// is 256, which the overlap-add undoes.)
//
// The transform is built from one complex transform of N/2 points on split
// real/imaginary arrays (radix-4 passes, so the butterflies vectorise).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace eq {

// The tables of one RealFft, for code that runs several of its transforms at
// once with the same operations (core/lane_filter.h).
struct FftTables
{
    size_t n = 0, m = 0;               // real and complex lengths
    const unsigned* reverse = nullptr; // bit-reversed index of each of the m points
    const float* twRe = nullptr;       // radix-2 twiddles of half-width h at [h + j]
    const float* twIm = nullptr;
    const float* twImInverse = nullptr;
    const float* r4Re[3] = {}; // radix-4 twiddles w^j, w^2j, w^3j at [q + j]
    const float* r4Im[3] = {};
    const float* r4ImInverse[3] = {};
    const float* rotRe = nullptr; // e^(-2 pi i k / n), k <= m/2
    const float* rotIm = nullptr;
};

class RealFft
{
public:
    explicit RealFft(size_t n); // n: a power of two, at least 8

    size_t size() const { return n_; }
    void Forward(float* a);
    void Inverse(float* a);
    FftTables tables() const;

private:
    void ComplexStages(bool inverse);

    size_t n_;                       // real length
    size_t m_;                       // complex length, n_ / 2
    std::vector<unsigned> reverse_;  // bit-reversed index of each of the m_ points
    std::vector<float> twRe_, twIm_; // per-stage twiddles: stage of half-width h at offset h
    std::vector<float> twImInverse_; // the same, conjugated, for the inverse
    std::array<std::vector<float>, 3> r4Re_, r4Im_, r4ImInverse_; // radix-4 twiddles w^j, w^2j, w^3j
    std::vector<float> rotRe_, rotIm_; // e^(-2 pi i k / n) for the split step, k < m_/2 + 1
    std::vector<float> re_, im_;       // the complex work arrays
};

// Multiplies the packed spectrum `a` bin by bin by the packed spectrum `h`,
// both of n values (the filtering step between Forward and Inverse).
inline void MultiplyPacked(float* a, const float* h, size_t n)
{
    a[0] *= h[0];
    a[1] *= h[1];
    for (size_t k = 2; k < n; k += 2) {
        const float xr = a[k], xi = a[k + 1];
        a[k] = xr * h[k] - xi * h[k + 1];
        a[k + 1] = xr * h[k + 1] + xi * h[k];
    }
}

} // namespace eq
