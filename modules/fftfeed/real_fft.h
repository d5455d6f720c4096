// The spectrum module's Fourier transform: a 4096-point real-input FFT in
// single precision, computed in place and unnormalised (each output is the
// plain sum over the samples, X[k] = sum x[j] e^(-2 pi i j k / 4096)).
//
// The object holds its twiddle tables and one work area, so a transform
// allocates nothing; it is not safe to use one object from two threads at once.
#pragma once

#include <cstdint>

namespace spectrum {

class RealFft4096 {
public:
    static constexpr int32_t size = 4096;
    static constexpr int32_t bins = size / 2;  // complex bins 0..2047, plus the real bin 2048

    RealFft4096();  // fills the tables

    // data[0..4095]: the real samples in, the spectrum out, in split form:
    //   data[k]         = Re X[k]   for k = 0..2047
    //   data[2048 + k]  = Im X[k]   for k = 1..2047
    //   data[2048]      = X[2048]   (real; Im X[0] is 0 and needs no slot)
    // The bins above 2048 follow from X[4096 - k] = conj X[k].
    void transform(float* data);

private:
    static constexpr int32_t half = size / 2;  // length of the complex transform inside

    void firstStage(const float* samples, float* yr, float* yi) const;
    static void radix4Stage(const float* xr, const float* xi, float* yr, float* yi, int32_t stride,
                            int32_t quarter, const float* twiddles);
    static void lastStage(const float* xr, const float* xi, float* yr, float* yi);
    void splitSpectrum(const float* zRe, const float* zIm, float* re, float* im) const;

    // First stage: the three twiddles of p = 0..511 as six rows (re, im of w, w^2, w^3).
    alignas(16) float firstTwiddles_[6][half / 4];
    // Later radix-4 stages (lengths 512, 128, 32): six floats per p.
    alignas(16) float stageTwiddles_[6 * (128 + 32 + 8)];
    // Separating the two real halves: e^(-2 pi i k / 4096) / 2 for k = 0..1024.
    alignas(16) float splitRe_[half / 2 + 4];
    alignas(16) float splitIm_[half / 2 + 4];
    alignas(16) float work_[size];
};

}  // namespace spectrum
