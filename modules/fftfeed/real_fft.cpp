// The real transform runs as a complex transform of half the length on the
// even and odd samples taken as real and imaginary parts, then separates the
// two halves' spectra.
//
// The complex 2048-point transform is a Stockham (self-sorting) decimation in
// frequency: four radix-4 stages and a final radix-8 stage, alternating
// between the work area and the data array, each stage reading and writing
// whole vectors of four. The first stage (stride 1) works on four consecutive
// butterflies at once and transposes their outputs; the others work on four
// consecutive elements of one butterfly's stride.
#include "real_fft.h"

#include <cmath>

#include "simd4.h"

namespace spectrum {

namespace {

using simd::F4;

constexpr double twoPi = 6.283185307179586476925286766559;

// x *= w for complex numbers in split form.
inline void multiply(F4& xr, F4& xi, F4 wr, F4 wi) {
    const F4 r = xr * wr - xi * wi;
    xi = xr * wi + xi * wr;
    xr = r;
}

// The four-point transform of (a, b, c, d), in place:
//   a <- a + b + c + d,  b <- (a - c) - i (b - d),  c <- (a + c) - (b + d),  d <- (a - c) + i (b - d)
inline void radix4(F4& ar, F4& ai, F4& br, F4& bi, F4& cr, F4& ci, F4& dr, F4& di) {
    const F4 sumR = ar + cr, sumI = ai + ci, diffR = ar - cr, diffI = ai - ci;
    const F4 bdSumR = br + dr, bdSumI = bi + di, bdDiffR = br - dr, bdDiffI = bi - di;
    ar = sumR + bdSumR;
    ai = sumI + bdSumI;
    cr = sumR - bdSumR;
    ci = sumI - bdSumI;
    br = diffR + bdDiffI;
    bi = diffI - bdDiffR;
    dr = diffR - bdDiffI;
    di = diffI + bdDiffR;
}

void twiddle(double turns, float& re, float& im) {
    re = float(std::cos(twoPi * turns));
    im = float(-std::sin(twoPi * turns));
}

}  // namespace

RealFft4096::RealFft4096() : work_{} {
    constexpr int32_t firstQuarter = half / 4;
    for (int32_t p = 0; p < firstQuarter; ++p)
        for (int32_t k = 1; k <= 3; ++k)
            twiddle(double(k * p) / half, firstTwiddles_[2 * (k - 1)][p], firstTwiddles_[2 * (k - 1) + 1][p]);

    float* w = stageTwiddles_;
    for (int32_t length = half / 4; length >= 32; length /= 4) {
        for (int32_t p = 0; p < length / 4; ++p, w += 6)
            for (int32_t k = 1; k <= 3; ++k) twiddle(double(k * p) / length, w[2 * (k - 1)], w[2 * (k - 1) + 1]);
    }

    for (int32_t k = 0; k < half / 2 + 4; ++k) {
        twiddle(double(k) / size, splitRe_[k], splitIm_[k]);
        splitRe_[k] *= 0.5f;  // exact: the halving of the separation, folded in
        splitIm_[k] *= 0.5f;
    }
}

void RealFft4096::transform(float* data) {
    float* const workRe = work_;
    float* const workIm = work_ + half;
    float* const dataRe = data;
    float* const dataIm = data + half;

    firstStage(data, workRe, workIm);                                   // length 2048
    const float* w = stageTwiddles_;
    radix4Stage(workRe, workIm, dataRe, dataIm, 4, 128, w);             // 512
    radix4Stage(dataRe, dataIm, workRe, workIm, 16, 32, w += 6 * 128);  // 128
    radix4Stage(workRe, workIm, dataRe, dataIm, 64, 8, w += 6 * 32);    // 32
    lastStage(dataRe, dataIm, workRe, workIm);                          // 8
    splitSpectrum(workRe, workIm, dataRe, dataIm);
}

// Length 2048, stride 1: the complex input z[j] = x[2j] + i x[2j+1] is read
// straight from the interleaved samples.
void RealFft4096::firstStage(const float* samples, float* yr, float* yi) const {
    constexpr int32_t quarter = half / 4;
    for (int32_t p = 0; p < quarter; p += 4) {
        F4 ar, ai, br, bi, cr, ci, dr, di;
        simd::deinterleave(simd::load(samples + 2 * p), simd::load(samples + 2 * p + 4), ar, ai);
        simd::deinterleave(simd::load(samples + 2 * (p + quarter)), simd::load(samples + 2 * (p + quarter) + 4), br, bi);
        simd::deinterleave(simd::load(samples + 2 * (p + 2 * quarter)), simd::load(samples + 2 * (p + 2 * quarter) + 4),
                           cr, ci);
        simd::deinterleave(simd::load(samples + 2 * (p + 3 * quarter)), simd::load(samples + 2 * (p + 3 * quarter) + 4),
                           dr, di);
        radix4(ar, ai, br, bi, cr, ci, dr, di);
        multiply(br, bi, simd::load(firstTwiddles_[0] + p), simd::load(firstTwiddles_[1] + p));
        multiply(cr, ci, simd::load(firstTwiddles_[2] + p), simd::load(firstTwiddles_[3] + p));
        multiply(dr, di, simd::load(firstTwiddles_[4] + p), simd::load(firstTwiddles_[5] + p));
        // Output j of butterfly p goes to 4p + j.
        simd::transpose(ar, br, cr, dr);
        simd::transpose(ai, bi, ci, di);
        float* outRe = yr + 4 * p;
        float* outIm = yi + 4 * p;
        simd::store(outRe, ar), simd::store(outRe + 4, br), simd::store(outRe + 8, cr), simd::store(outRe + 12, dr);
        simd::store(outIm, ai), simd::store(outIm + 4, bi), simd::store(outIm + 8, ci), simd::store(outIm + 12, di);
    }
}

// One radix-4 stage of a sub-transform of length 4 * quarter, at `stride`:
//   y[q + s(4p + j)] = w^(jp) * DFT4(x[q + s p], x[q + s(p + m)], x[q + s(p + 2m)], x[q + s(p + 3m)])[j]
void RealFft4096::radix4Stage(const float* xr, const float* xi, float* yr, float* yi, int32_t stride,
                              int32_t quarter, const float* twiddles) {
    const int32_t m = stride * quarter;
    for (int32_t p = 0; p < quarter; ++p, twiddles += 6) {
        const F4 w1r = simd::broadcast(twiddles[0]), w1i = simd::broadcast(twiddles[1]);
        const F4 w2r = simd::broadcast(twiddles[2]), w2i = simd::broadcast(twiddles[3]);
        const F4 w3r = simd::broadcast(twiddles[4]), w3i = simd::broadcast(twiddles[5]);
        const int32_t in = stride * p;
        const int32_t out = stride * 4 * p;
        for (int32_t q = 0; q < stride; q += 4) {
            const int32_t a = in + q;
            F4 ar = simd::load(xr + a), ai = simd::load(xi + a);
            F4 br = simd::load(xr + a + m), bi = simd::load(xi + a + m);
            F4 cr = simd::load(xr + a + 2 * m), ci = simd::load(xi + a + 2 * m);
            F4 dr = simd::load(xr + a + 3 * m), di = simd::load(xi + a + 3 * m);
            radix4(ar, ai, br, bi, cr, ci, dr, di);
            multiply(br, bi, w1r, w1i);
            multiply(cr, ci, w2r, w2i);
            multiply(dr, di, w3r, w3i);
            const int32_t y = out + q;
            simd::store(yr + y, ar), simd::store(yi + y, ai);
            simd::store(yr + y + stride, br), simd::store(yi + y + stride, bi);
            simd::store(yr + y + 2 * stride, cr), simd::store(yi + y + 2 * stride, ci);
            simd::store(yr + y + 3 * stride, dr), simd::store(yi + y + 3 * stride, di);
        }
    }
}

// Length 8, stride 256, no twiddles left: y[q + 256 k] = DFT8(x[q + 256 j])[k],
// as two four-point transforms of the even and odd inputs joined by e^(-2 pi i k / 8).
void RealFft4096::lastStage(const float* xr, const float* xi, float* yr, float* yi) {
    constexpr int32_t s = half / 8;
    const F4 rootHalf = simd::broadcast(0.70710678118654752f);
    for (int32_t q = 0; q < s; q += 4) {
        F4 e0r = simd::load(xr + q), e0i = simd::load(xi + q);
        F4 e1r = simd::load(xr + q + 2 * s), e1i = simd::load(xi + q + 2 * s);
        F4 e2r = simd::load(xr + q + 4 * s), e2i = simd::load(xi + q + 4 * s);
        F4 e3r = simd::load(xr + q + 6 * s), e3i = simd::load(xi + q + 6 * s);
        radix4(e0r, e0i, e1r, e1i, e2r, e2i, e3r, e3i);
        F4 o0r = simd::load(xr + q + s), o0i = simd::load(xi + q + s);
        F4 o1r = simd::load(xr + q + 3 * s), o1i = simd::load(xi + q + 3 * s);
        F4 o2r = simd::load(xr + q + 5 * s), o2i = simd::load(xi + q + 5 * s);
        F4 o3r = simd::load(xr + q + 7 * s), o3i = simd::load(xi + q + 7 * s);
        radix4(o0r, o0i, o1r, o1i, o2r, o2i, o3r, o3i);
        // t1 = O1 (1 - i) / sqrt 2; O2 (-i) = (o2i, -o2r); t3 = -O3 (1 + i) / sqrt 2 = (u, -v)
        const F4 t1r = (o1r + o1i) * rootHalf, t1i = (o1i - o1r) * rootHalf;
        const F4 u = (o3i - o3r) * rootHalf, v = (o3r + o3i) * rootHalf;
        simd::store(yr + q, e0r + o0r), simd::store(yi + q, e0i + o0i);
        simd::store(yr + q + 4 * s, e0r - o0r), simd::store(yi + q + 4 * s, e0i - o0i);
        simd::store(yr + q + s, e1r + t1r), simd::store(yi + q + s, e1i + t1i);
        simd::store(yr + q + 5 * s, e1r - t1r), simd::store(yi + q + 5 * s, e1i - t1i);
        simd::store(yr + q + 2 * s, e2r + o2i), simd::store(yi + q + 2 * s, e2i - o2r);
        simd::store(yr + q + 6 * s, e2r - o2i), simd::store(yi + q + 6 * s, e2i + o2r);
        simd::store(yr + q + 3 * s, e3r + u), simd::store(yi + q + 3 * s, e3i - v);
        simd::store(yr + q + 7 * s, e3r - u), simd::store(yi + q + 7 * s, e3i + v);
    }
}

// From Z, the transform of z[j] = x[2j] + i x[2j+1], to X:
//   E = (Z[k] + conj Z[M-k]) / 2,  O = -i (Z[k] - conj Z[M-k]) / 2,
//   X[k] = E + W^k O,  X[M-k] = conj(E - W^k O),  W = e^(-2 pi i / 4096), M = 2048.
// Each pair (k, M-k) is read from Z before it is written to X, so X may be Z.
void RealFft4096::splitSpectrum(const float* zRe, const float* zIm, float* re, float* im) const {
    constexpr int32_t m = half;
    const float z0r = zRe[0], z0i = zIm[0];
    re[0] = z0r + z0i;  // X[0]
    im[0] = z0r - z0i;  // X[2048], in the slot Im X[0] would take

    const F4 halfOf = simd::broadcast(0.5f);
    int32_t k = 1;
    for (; k + 3 < m / 2; k += 4) {
        const int32_t mirror = m - k - 3;  // lanes reversed: M-k, M-k-1, ...
        const F4 zr = simd::load(zRe + k), zi = simd::load(zIm + k);
        const F4 cr = simd::reverse(simd::load(zRe + mirror));
        const F4 ci = simd::reverse(simd::load(zIm + mirror));  // conj: used with the sign turned
        const F4 er = (zr + cr) * halfOf, ei = (zi - ci) * halfOf;
        // -i (Z - conj C) = (Im Z + Im C) - i (Re Z - Re C); the halving is in the twiddle.
        F4 orr = zi + ci, oi = cr - zr;
        multiply(orr, oi, simd::load(splitRe_ + k), simd::load(splitIm_ + k));
        simd::store(re + k, er + orr);
        simd::store(im + k, ei + oi);
        simd::store(re + mirror, simd::reverse(er - orr));
        simd::store(im + mirror, simd::reverse(oi - ei));
    }
    for (; k <= m / 2; ++k) {
        const int32_t mirror = m - k;
        const float zr = zRe[k], zi = zIm[k], cr = zRe[mirror], ci = zIm[mirror];
        const float er = (zr + cr) * 0.5f, ei = (zi - ci) * 0.5f;
        const float orr = zi + ci, oi = cr - zr;
        const float wr = splitRe_[k], wi = splitIm_[k];
        const float tr = orr * wr - oi * wi, ti = orr * wi + oi * wr;
        re[k] = er + tr;
        im[k] = ei + ti;
        if (mirror != k) {
            re[mirror] = er - tr;
            im[mirror] = ti - ei;
        }
    }
}

}  // namespace spectrum
