// The total curves: the ten cached band curves summed per channel. Magnitudes
// add in dB (exact for filters in cascade); phases add and are wrapped into
// -1..1.
//
// Combine mode 1 draws one total (A) holding every active band; mode 2 draws
// two, A for the first channel of the pair (left or mid) and B for the second
// (right or side). TRUE STEREO, and any stereo mode in which every band acts
// on both channels, combines into one.
#pragma once

#include <array>
#include <cstdint>

#include "eq_band.h"

namespace eq {

inline constexpr int32_t totalCapacity = 10000;

struct TotalCurves {
    std::array<CurvePoint, totalCapacity> magnitudeA{}, magnitudeB{}, phaseA{}, phaseB{};
    // Floats of each buffer the renderer draws (2 per point).
    int32_t magnitudeCountA = 0, magnitudeCountB = 0, phaseCountA = 0, phaseCountB = 0;
    int32_t combineMode = 1;
};

using Bands = std::array<EqBand, bandCount>;

// 1 when one combined total is drawn, 2 when the two channels differ.
int32_t combineModeOf(const Bands& bands, int32_t stereoMode);

// Decides the combine mode and rebuilds the totals over the view's columns
// (at most totalCapacity, and of each band only the points it has).
void recomputeTotals(const Bands& bands, int32_t stereoMode, int32_t showPhase, float viewWidth, TotalCurves& totals);

// Wraps a phase into -1..1 by steps of 2: repeated until it lies inside, or
// once (subtract 2 above 1, then add 2 below -1).
float wrapPhaseRepeated(float value);
float wrapPhaseOnce(float value);

}  // namespace eq
