#include "core/real_fft.h"

#include <cmath>
#include <stdexcept>

#include "core/float_environment.h"

namespace eq {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// One group of radix-2 butterflies: u' = u + w v, v' = u - w v, on split
// arrays. The pointers never overlap, which lets the compiler vectorise.
inline void Butterflies(float* __restrict ur, float* __restrict ui, float* __restrict vr,
                        float* __restrict vi, const float* __restrict wr, const float* __restrict wi,
                        size_t h)
{
    for (size_t j = 0; j < h; ++j) {
        const float tr = vr[j] * wr[j] - vi[j] * wi[j];
        const float ti = vr[j] * wi[j] + vi[j] * wr[j];
        vr[j] = ur[j] - tr;
        vi[j] = ui[j] - ti;
        ur[j] += tr;
        ui[j] += ti;
    }
}

// One group of radix-4 butterflies, two radix-2 stages in one pass. With a,
// b, c the twiddled inputs 1, 2 and 3 (by w^2, w, w^3):
//   out0 = x0 + a + (b + c)      out2 = x0 + a - (b + c)
//   out1 = x0 - a -+ i (b - c)   out3 = x0 - a +- i (b - c)
// (upper signs forward, lower signs inverse, whose twiddles are conjugated).
template <bool Inverse>
inline void Radix4(float* __restrict r0, float* __restrict i0, float* __restrict r1, float* __restrict i1,
                   float* __restrict r2, float* __restrict i2, float* __restrict r3, float* __restrict i3,
                   const float* __restrict w1r, const float* __restrict w1i, const float* __restrict w2r,
                   const float* __restrict w2i, const float* __restrict w3r, const float* __restrict w3i,
                   size_t q)
{
    for (size_t j = 0; j < q; ++j) {
        const float ar = r1[j] * w2r[j] - i1[j] * w2i[j], ai = r1[j] * w2i[j] + i1[j] * w2r[j];
        const float br = r2[j] * w1r[j] - i2[j] * w1i[j], bi = r2[j] * w1i[j] + i2[j] * w1r[j];
        const float cr = r3[j] * w3r[j] - i3[j] * w3i[j], ci = r3[j] * w3i[j] + i3[j] * w3r[j];
        const float sr = br + cr, si = bi + ci;
        const float dr = br - cr, di = bi - ci;
        const float er = r0[j] + ar, ei = i0[j] + ai;
        const float fr = r0[j] - ar, fi = i0[j] - ai;
        // -i d forward, +i d inverse
        const float gr = Inverse ? -di : di, gi = Inverse ? dr : -dr;
        r0[j] = er + sr;
        i0[j] = ei + si;
        r2[j] = er - sr;
        i2[j] = ei - si;
        r1[j] = fr + gr;
        i1[j] = fi + gi;
        r3[j] = fr - gr;
        i3[j] = fi - gi;
    }
}

} // namespace

RealFft::RealFft(size_t n) : n_(n), m_(n / 2)
{
    const dsp::FloatEnvironment pinned; // the twiddles are worked out in long double
    if (n < 8 || (n & (n - 1)) != 0) {
        throw std::invalid_argument("RealFft length must be a power of two of at least 8");
    }
    unsigned bits = 0;
    while ((size_t{1} << bits) < m_)
        ++bits;
    reverse_.resize(m_);
    for (size_t i = 0; i < m_; ++i) {
        unsigned r = 0;
        for (unsigned b = 0; b < bits; ++b) {
            if (i & (size_t{1} << b))
                r |= 1u << (bits - 1 - b);
        }
        reverse_[i] = r;
    }
    // Stage with half-width h uses e^(-2 pi i j / (2h)), j < h, stored at [h + j].
    twRe_.assign(m_, 0.0f);
    twIm_.assign(m_, 0.0f);
    twImInverse_.assign(m_, 0.0f);
    for (size_t h = 1; h < m_; h *= 2) {
        for (size_t j = 0; j < h; ++j) {
            const long double angle = -kPi * static_cast<long double>(j) / static_cast<long double>(h);
            twRe_[h + j] = static_cast<float>(std::cos(angle));
            twIm_[h + j] = static_cast<float>(std::sin(angle));
            twImInverse_[h + j] = -twIm_[h + j];
        }
    }
    // Radix-4 stages of quarter-width q use w^j, w^2j and w^3j with
    // w = e^(-2 pi i / 4q), j < q, stored at [q + j].
    for (int t = 0; t < 3; ++t) {
        r4Re_[t].assign(m_, 0.0f);
        r4Im_[t].assign(m_, 0.0f);
        r4ImInverse_[t].assign(m_, 0.0f);
    }
    for (size_t q = 4; q * 4 <= m_; q *= 4) {
        for (size_t j = 0; j < q; ++j) {
            for (int t = 0; t < 3; ++t) {
                const long double angle =
                    -2.0L * kPi * static_cast<long double>((t + 1) * j) / static_cast<long double>(4 * q);
                r4Re_[t][q + j] = static_cast<float>(std::cos(angle));
                r4Im_[t][q + j] = static_cast<float>(std::sin(angle));
                r4ImInverse_[t][q + j] = -r4Im_[t][q + j];
            }
        }
    }
    rotRe_.resize(m_ / 2 + 1);
    rotIm_.resize(m_ / 2 + 1);
    for (size_t k = 0; k <= m_ / 2; ++k) {
        const long double angle = -2.0L * kPi * static_cast<long double>(k) / static_cast<long double>(n_);
        rotRe_[k] = static_cast<float>(std::cos(angle));
        rotIm_[k] = static_cast<float>(std::sin(angle));
    }
    re_.assign(m_, 0.0f);
    im_.assign(m_, 0.0f);
}

FftTables RealFft::tables() const
{
    FftTables t;
    t.n = n_;
    t.m = m_;
    t.reverse = reverse_.data();
    t.twRe = twRe_.data();
    t.twIm = twIm_.data();
    t.twImInverse = twImInverse_.data();
    for (int k = 0; k < 3; ++k) {
        t.r4Re[k] = r4Re_[k].data();
        t.r4Im[k] = r4Im_[k].data();
        t.r4ImInverse[k] = r4ImInverse_[k].data();
    }
    t.rotRe = rotRe_.data();
    t.rotIm = rotIm_.data();
    return t;
}

// Decimation-in-time stages over re_/im_, which hold their input in
// bit-reversed order. The inverse uses the conjugate twiddles.
void RealFft::ComplexStages(bool inverse)
{
    float* __restrict re = re_.data();
    float* __restrict im = im_.data();
    const float sign = inverse ? -1.0f : 1.0f;

    // Half-widths 1 and 2 together: a radix-4 pass that needs no multiplications.
    for (size_t g = 0; g < m_; g += 4) {
        const float ar = re[g] + re[g + 1], ai = im[g] + im[g + 1];
        const float br = re[g] - re[g + 1], bi = im[g] - im[g + 1];
        const float cr = re[g + 2] + re[g + 3], ci = im[g + 2] + im[g + 3];
        const float dr = re[g + 2] - re[g + 3], di = im[g + 2] - im[g + 3];
        // (dr + i di) times -i (forward) or +i (inverse).
        const float er = sign * di, ei = -sign * dr;
        re[g] = ar + cr;
        im[g] = ai + ci;
        re[g + 2] = ar - cr;
        im[g + 2] = ai - ci;
        re[g + 1] = br + er;
        im[g + 1] = bi + ei;
        re[g + 3] = br - er;
        im[g + 3] = bi - ei;
    }
    const auto& r4Im = inverse ? r4ImInverse_ : r4Im_;
    size_t h = 4;
    for (; h * 4 <= m_; h *= 4) {
        const float* w1r = r4Re_[0].data() + h;
        const float* w2r = r4Re_[1].data() + h;
        const float* w3r = r4Re_[2].data() + h;
        const float* w1i = r4Im[0].data() + h;
        const float* w2i = r4Im[1].data() + h;
        const float* w3i = r4Im[2].data() + h;
        for (size_t g = 0; g < m_; g += 4 * h) {
            float* r = re + g;
            float* i = im + g;
            if (inverse) {
                Radix4<true>(r, i, r + h, i + h, r + 2 * h, i + 2 * h, r + 3 * h, i + 3 * h, w1r, w1i, w2r,
                             w2i, w3r, w3i, h);
            } else {
                Radix4<false>(r, i, r + h, i + h, r + 2 * h, i + 2 * h, r + 3 * h, i + 3 * h, w1r, w1i, w2r,
                              w2i, w3r, w3i, h);
            }
        }
    }
    // An odd number of stages leaves one radix-2 stage.
    if (h < m_) {
        const float* twIm = inverse ? twImInverse_.data() : twIm_.data();
        for (size_t g = 0; g < m_; g += 2 * h) {
            Butterflies(re + g, im + g, re + g + h, im + g + h, twRe_.data() + h, twIm + h, h);
        }
    }
}

void RealFft::Forward(float* a)
{
    // Even samples as real parts, odd samples as imaginary parts, in bit-reversed order.
    for (size_t i = 0; i < m_; ++i) {
        const unsigned r = reverse_[i];
        re_[r] = a[2 * i];
        im_[r] = a[2 * i + 1];
    }
    ComplexStages(false);

    // Split the complex spectrum Z into the real signal's spectrum X:
    // E[k] = (Z[k] + conj Z[m-k]) / 2, O[k] = (Z[k] - conj Z[m-k]) / 2i,
    // X[k] = E[k] + W^k O[k], X[m-k] = conj(E[k] - W^k O[k]).
    a[0] = re_[0] + im_[0];
    a[1] = re_[0] - im_[0];
    for (size_t k = 1; k <= m_ / 2; ++k) {
        const size_t j = m_ - k;
        const float zr = re_[k], zi = im_[k], yr = re_[j], yi = im_[j];
        const float er = 0.5f * (zr + yr), ei = 0.5f * (zi - yi);
        const float or_ = 0.5f * (zi + yi), oi = -0.5f * (zr - yr);
        const float wr = rotRe_[k], wi = rotIm_[k];
        const float tr = wr * or_ - wi * oi, ti = wr * oi + wi * or_;
        a[2 * k] = er + tr;
        a[2 * k + 1] = ei + ti;
        if (j != k) {
            a[2 * j] = er - tr;
            a[2 * j + 1] = -(ei - ti);
        }
    }
}

void RealFft::Inverse(float* a)
{
    // Rebuild Z[k] = E[k] + i O[k] from X: E[k] = (X[k] + conj X[m-k]) / 2,
    // O[k] = (X[k] - conj X[m-k]) W^-k / 2; then an unnormalised inverse of m
    // points gives m * z, that is (n/2) times the signal.
    {
        const float x0 = a[0], xm = a[1];
        const unsigned r0 = reverse_[0];
        re_[r0] = 0.5f * (x0 + xm);
        im_[r0] = 0.5f * (x0 - xm);
    }
    for (size_t k = 1; k <= m_ / 2; ++k) {
        const size_t j = m_ - k;
        const float xr = a[2 * k], xi = a[2 * k + 1];
        const float yr = a[2 * j], yi = -a[2 * j + 1]; // conj X[m-k]
        const float er = 0.5f * (xr + yr), ei = 0.5f * (xi + yi);
        const float dr = 0.5f * (xr - yr), di = 0.5f * (xi - yi);
        // O[k] = d * conj(W^k)
        const float wr = rotRe_[k], wi = -rotIm_[k];
        const float or_ = dr * wr - di * wi, oi = dr * wi + di * wr;
        // Z[k] = E + i O
        re_[reverse_[k]] = er - oi;
        im_[reverse_[k]] = ei + or_;
        if (j != k) {
            // Z[m-k] = conj(E) + i conj(O), from E[m-k] = conj E[k], O[m-k] = conj O[k].
            re_[reverse_[j]] = er + oi;
            im_[reverse_[j]] = -ei + or_;
        }
    }
    ComplexStages(true);
    for (size_t i = 0; i < m_; ++i) {
        a[2 * i] = re_[i];
        a[2 * i + 1] = im_[i];
    }
}

} // namespace eq
