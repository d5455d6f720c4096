// An independent evaluation of a band's response for the tests: the biquad's
// transfer function H(e^jw) from the normalised coefficients, in complex
// arithmetic, and the plot's axis from its definition.
#pragma once

#include <cmath>
#include <complex>

#include "eq_band.h"

namespace reference {

constexpr double pi = 3.141592653589793;

inline std::complex<double> response(const eq::EqBand& band, double w) {
    const std::complex<double> z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2.0 * w);
    return (band.b0 + band.b1 * z1 + band.b2 * z2) / (1.0 + band.a1 * z1 + band.a2 * z2);
}

// The frequency evaluated at column j of an n-column plot (Hz, before oversampling).
inline double columnFrequency(int j, int n) { return 10000.0 * std::exp2(10.0 * j / n - 9.0); }

// The column of a frequency on a plot `width` pixels wide.
inline double frequencyColumn(double hertz, int width) { return (std::log2(hertz / 10000.0) + 9.0) / 10.0 * width; }

}  // namespace reference
