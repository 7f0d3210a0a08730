// The lane filter's code, included by lane_filter_sse2.cpp and
// lane_filter_avx2.cpp only, each compiling it for its own vector width. It
// is kept in an unnamed namespace so that neither file's machine code can be
// picked by the linker for the other's callers. Each expression is the one
// in real_fft.cpp, operand for operand, on vectors of lanes; a float operand
// stands for the same value in every lane.
#pragma once

#include <cstddef>

#include "core/lane_filter.h"

namespace eq {
namespace {

// Lanes names the vector type V (float lanes that may alias float arrays).
template <class Lanes>
struct LaneOps
{
    using V = typename Lanes::V;

    static void ComplexStages(const FftTables& t, V* __restrict re, V* __restrict im, bool inverse)
    {
        const size_t m = t.m;
        const float sign = inverse ? -1.0f : 1.0f;
        for (size_t g = 0; g < m; g += 4) {
            const V ar = re[g] + re[g + 1], ai = im[g] + im[g + 1];
            const V br = re[g] - re[g + 1], bi = im[g] - im[g + 1];
            const V cr = re[g + 2] + re[g + 3], ci = im[g + 2] + im[g + 3];
            const V dr = re[g + 2] - re[g + 3], di = im[g + 2] - im[g + 3];
            const V er = sign * di, ei = -sign * dr;
            re[g] = ar + cr;
            im[g] = ai + ci;
            re[g + 2] = ar - cr;
            im[g + 2] = ai - ci;
            re[g + 1] = br + er;
            im[g + 1] = bi + ei;
            re[g + 3] = br - er;
            im[g + 3] = bi - ei;
        }
        const float* const* r4Im = inverse ? t.r4ImInverse : t.r4Im;
        size_t h = 4;
        for (; h * 4 <= m; h *= 4) {
            const float* w1r = t.r4Re[0] + h;
            const float* w2r = t.r4Re[1] + h;
            const float* w3r = t.r4Re[2] + h;
            const float* w1i = r4Im[0] + h;
            const float* w2i = r4Im[1] + h;
            const float* w3i = r4Im[2] + h;
            for (size_t g = 0; g < m; g += 4 * h) {
                V* r0 = re + g;
                V* i0 = im + g;
                V* r1 = r0 + h;
                V* i1 = i0 + h;
                V* r2 = r1 + h;
                V* i2 = i1 + h;
                V* r3 = r2 + h;
                V* i3 = i2 + h;
                for (size_t j = 0; j < h; ++j) {
                    const V ar = r1[j] * w2r[j] - i1[j] * w2i[j], ai = r1[j] * w2i[j] + i1[j] * w2r[j];
                    const V br = r2[j] * w1r[j] - i2[j] * w1i[j], bi = r2[j] * w1i[j] + i2[j] * w1r[j];
                    const V cr = r3[j] * w3r[j] - i3[j] * w3i[j], ci = r3[j] * w3i[j] + i3[j] * w3r[j];
                    const V sr = br + cr, si = bi + ci;
                    const V dr = br - cr, di = bi - ci;
                    const V er = r0[j] + ar, ei = i0[j] + ai;
                    const V fr = r0[j] - ar, fi = i0[j] - ai;
                    const V gr = inverse ? -di : di, gi = inverse ? dr : -dr;
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
        }
        if (h < m) {
            const float* twIm = inverse ? t.twImInverse : t.twIm;
            for (size_t g = 0; g < m; g += 2 * h) {
                V* ur = re + g;
                V* ui = im + g;
                V* vr = ur + h;
                V* vi = ui + h;
                const float* wr = t.twRe + h;
                const float* wi = twIm + h;
                for (size_t j = 0; j < h; ++j) {
                    const V tr = vr[j] * wr[j] - vi[j] * wi[j];
                    const V ti = vr[j] * wi[j] + vi[j] * wr[j];
                    vr[j] = ur[j] - tr;
                    vi[j] = ui[j] - ti;
                    ur[j] += tr;
                    ui[j] += ti;
                }
            }
        }
    }

    static void Filter(const FftTables& t, float* reLanes, float* imLanes, const float* spectrumLanes,
                       float* outLanes)
    {
        V* __restrict re = reinterpret_cast<V*>(reLanes);
        V* __restrict im = reinterpret_cast<V*>(imLanes);
        const V* __restrict h = reinterpret_cast<const V*>(spectrumLanes);
        V* __restrict a = reinterpret_cast<V*>(outLanes);
        const size_t m = t.m;

        // RealFft::Forward after its input was placed.
        ComplexStages(t, re, im, false);
        a[0] = re[0] + im[0];
        a[1] = re[0] - im[0];
        for (size_t k = 1; k <= m / 2; ++k) {
            const size_t j = m - k;
            const V zr = re[k], zi = im[k], yr = re[j], yi = im[j];
            const V er = 0.5f * (zr + yr), ei = 0.5f * (zi - yi);
            const V or_ = 0.5f * (zi + yi), oi = -0.5f * (zr - yr);
            const float wr = t.rotRe[k], wi = t.rotIm[k];
            const V tr = wr * or_ - wi * oi, ti = wr * oi + wi * or_;
            a[2 * k] = er + tr;
            a[2 * k + 1] = ei + ti;
            if (j != k) {
                a[2 * j] = er - tr;
                a[2 * j + 1] = -(ei - ti);
            }
        }

        // MultiplyPacked.
        a[0] *= h[0];
        a[1] *= h[1];
        for (size_t k = 2; k < t.n; k += 2) {
            const V xr = a[k], xi = a[k + 1];
            a[k] = xr * h[k] - xi * h[k + 1];
            a[k + 1] = xr * h[k + 1] + xi * h[k];
        }

        // RealFft::Inverse.
        {
            const V x0 = a[0], xm = a[1];
            const unsigned r0 = t.reverse[0];
            re[r0] = 0.5f * (x0 + xm);
            im[r0] = 0.5f * (x0 - xm);
        }
        for (size_t k = 1; k <= m / 2; ++k) {
            const size_t j = m - k;
            const V xr = a[2 * k], xi = a[2 * k + 1];
            const V yr = a[2 * j], yi = -a[2 * j + 1];
            const V er = 0.5f * (xr + yr), ei = 0.5f * (xi + yi);
            const V dr = 0.5f * (xr - yr), di = 0.5f * (xi - yi);
            const float wr = t.rotRe[k], wi = -t.rotIm[k];
            const V or_ = dr * wr - di * wi, oi = dr * wi + di * wr;
            re[t.reverse[k]] = er - oi;
            im[t.reverse[k]] = ei + or_;
            if (j != k) {
                re[t.reverse[j]] = er + oi;
                im[t.reverse[j]] = -ei + or_;
            }
        }
        ComplexStages(t, re, im, true);
        for (size_t i = 0; i < m; ++i) {
            a[2 * i] = re[i];
            a[2 * i + 1] = im[i];
        }
    }
};

} // namespace
} // namespace eq
