#include "totals.h"

#include <cmath>

namespace eq {
namespace {

// Number of columns i with i < viewWidth, within the buffers.
int32_t columnsOf(float viewWidth) {
    if (!(viewWidth > 0.0f)) return 0;
    if (viewWidth >= float(totalCapacity)) return totalCapacity;
    return int32_t(std::ceil(viewWidth));
}

// The points of a band that enter a total: j < columns - 1, and only points
// the band has.
int32_t summedPoints(const EqBand& band, int32_t columns) {
    const int32_t n = columns - 1;
    return n < band.pointCount ? (n > 0 ? n : 0) : band.pointCount;
}

void reset(std::array<CurvePoint, totalCapacity>& curve, int32_t columns) {
    for (int32_t i = 0; i < columns; ++i) curve[size_t(i)] = CurvePoint{float(i), 0.0f};
}

enum class Wrap { Repeated, Once };

void addMagnitude(const EqBand& band, int32_t points, std::array<CurvePoint, totalCapacity>& total, int32_t& count) {
    for (int32_t j = 0; j < points; ++j) {
        total[size_t(j)].y += band.curve[size_t(j)].y;
        count += 2;
    }
}

void addPhase(const EqBand& band, int32_t points, Wrap wrap, std::array<CurvePoint, totalCapacity>& total,
              int32_t& count) {
    for (int32_t j = 0; j < points; ++j) {
        float& y = total[size_t(j)].y;
        y = float(double(y) + band.phase[size_t(j)]);
        y = wrap == Wrap::Repeated ? wrapPhaseRepeated(y) : wrapPhaseOnce(y);
        count += 2;
    }
}

}  // namespace

float wrapPhaseRepeated(float value) {
    // The remainder is exact and keeps the value's class modulo 2, so the
    // loop below ends where subtracting 2 again and again would; it also ends
    // for values too large for steps of 2 to move (infinities become NaN).
    if (std::fabs(value) > 2.0f) value = std::fmod(value, 2.0f);
    while (value > 1.0f) value -= 2.0f;
    while (value < -1.0f) value += 2.0f;
    return value;
}

float wrapPhaseOnce(float value) {
    if (value > 1.0f) value -= 2.0f;
    if (value < -1.0f) value += 2.0f;
    return value;
}

int32_t combineModeOf(const Bands& bands, int32_t stereoMode) {
    if (stereoMode == TrueStereo) return 1;
    for (const EqBand& band : bands)
        if (band.routing != BothChannels) return 2;
    return 1;
}

void recomputeTotals(const Bands& bands, int32_t stereoMode, int32_t showPhase, float viewWidth, TotalCurves& totals) {
    totals.combineMode = combineModeOf(bands, stereoMode);
    const int32_t columns = columnsOf(viewWidth);
    const bool phase = showPhase == 1;
    reset(totals.magnitudeA, columns);
    reset(totals.magnitudeB, columns);
    if (phase) {
        reset(totals.phaseA, columns);
        reset(totals.phaseB, columns);
    }

    if (totals.combineMode == 1) {
        for (const EqBand& band : bands) {
            if (band.active != 1) continue;
            const int32_t points = summedPoints(band, columns);
            totals.magnitudeCountA = 0;
            addMagnitude(band, points, totals.magnitudeA, totals.magnitudeCountA);
            if (phase) {
                totals.phaseCountA = 0;
                addPhase(band, points, Wrap::Repeated, totals.phaseA, totals.phaseCountA);
            }
        }
    } else {
        if (phase) {
            for (const EqBand& band : bands) {
                if (band.active != 1) continue;
                const int32_t points = summedPoints(band, columns);
                switch (band.routing) {
                case FirstChannel:
                    totals.phaseCountA = 0;
                    addPhase(band, points, Wrap::Repeated, totals.phaseA, totals.phaseCountA);
                    break;
                case SecondChannel:
                    totals.phaseCountB = 0;
                    addPhase(band, points, Wrap::Once, totals.phaseB, totals.phaseCountB);
                    break;
                case BothChannels:
                    totals.phaseCountA = 0;
                    totals.phaseCountB = 0;
                    addPhase(band, points, Wrap::Once, totals.phaseA, totals.phaseCountA);
                    addPhase(band, points, Wrap::Once, totals.phaseB, totals.phaseCountB);
                    break;
                default: break;
                }
            }
        }
        for (const EqBand& band : bands) {
            if (band.active != 1) continue;
            const int32_t points = summedPoints(band, columns);
            totals.magnitudeCountA = 0;
            totals.magnitudeCountB = 0;
            if (band.routing == FirstChannel || band.routing == BothChannels)
                addMagnitude(band, points, totals.magnitudeA, totals.magnitudeCountA);
            if (band.routing == SecondChannel || band.routing == BothChannels)
                addMagnitude(band, points, totals.magnitudeB, totals.magnitudeCountB);
        }
    }
    if (totals.magnitudeCountB == 0) totals.magnitudeCountB = totals.magnitudeCountA;
    if (totals.magnitudeCountA == 0) totals.magnitudeCountA = totals.magnitudeCountB;
}

}  // namespace eq
