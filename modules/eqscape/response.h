// A band's response: biquad coefficients from its parameters, its magnitude
// curve in dB over the plot's logarithmic frequency grid (one point per pixel
// column, 10000/512 Hz at the left edge, one octave per tenth of the width),
// the vertex lists that fill and outline that curve, and its phase curve.
//
// Host values reach these formulas as they come: a band may end up with NaN
// or infinite coefficients and curves, but nothing here turns such a value
// into an integer or an index without checking it first.
#pragma once

#include "eq_band.h"

namespace eq {

// Sets pointCount to n (clamped to 0..maxPlotColumns) and fills the grid and
// the curve's x values.
void buildFrequencyGrid(EqBand& band, int32_t n);

// Stores the parameters (single precision, as the pins carry them) and
// recomputes designRate, A, w0, alpha, the raw and normalised coefficients
// and nodeX. A type outside the FilterType range leaves the coefficients as
// they were.
void computeCoefficients(EqBand& band, float sampleRate, float frequency, float bandwidth, float gain);

// The node's pixel column: (log2(frequency / 10000) + 9) / 10 of the width.
double nodeColumn(const EqBand& band);

// Recomputes nodeX, the curve's y values from the last coefficients, and both
// vertex lists. A NOTCH band gets a spike (60, 120, 60) around its centre
// column so that the notch shows even between grid points.
void computeMagnitudeCurve(EqBand& band);

// Recomputes the phase of every point (all 0 for a muted band): the angle of
// the response over pi/2 (by the single-precision -2/pi applied to the
// difference of the numerator's and denominator's arctangents), times the
// order.
void computePhaseCurve(EqBand& band);

// The type's bandwidth limits, the bandwidth clamped into them and the
// frequency into 20..20000 Hz.
void applyTypeLimits(EqBand& band);

// The type's short and long labels; a type outside the range keeps the old.
void setTypeLabels(EqBand& band);

}  // namespace eq
