#include "response.h"

#include <algorithm>
#include <cmath>

namespace eq {

void buildFrequencyGrid(EqBand& band, int32_t n) {
    n = std::clamp(n, 0, maxPlotColumns);
    band.pointCount = n;
    for (int32_t j = 0; j < n; ++j) {
        const float e = (1.0f / float(n)) * float(j) * 10.0f - 9.0f;
        band.gridFrequency[size_t(j)] = std::pow(2.0, double(e)) * 10000.0 * band.oversampling;
        band.curve[size_t(j)].x = float(j);
    }
}

double nodeColumn(const EqBand& band) {
    return (std::log(band.frequency * 0.0001) / band.ln2 + 9.0) * 0.1 * band.plotWidth + band.originX;
}

namespace {

struct Biquad {
    double b0, b1, b2, a0, a1, a2;
};

Biquad designFor(int32_t type, double cs, double alpha, double A) {
    const double s = 2.0 * std::sqrt(A) * alpha;
    switch (type) {
    case LowPass: return {(1 - cs) / 2, 1 - cs, (1 - cs) / 2, 1 + alpha, -2 * cs, 1 - alpha};
    case HighPass: return {(1 + cs) / 2, -(1 + cs), (1 + cs) / 2, 1 + alpha, -2 * cs, 1 - alpha};
    case BandPass: return {alpha, 0.0, -alpha, 1 + alpha, -2 * cs, 1 - alpha};
    case Notch: return {1.0, -2 * cs, 1.0, 1 + alpha, -2 * cs, 1 - alpha};
    case Peak: return {1 + alpha * A, -2 * cs, 1 - alpha * A, 1 + alpha / A, -2 * cs, 1 - alpha / A};
    case LowShelf:
        return {A * ((A + 1) - (A - 1) * cs + s), 2 * A * ((A - 1) - (A + 1) * cs), A * ((A + 1) - (A - 1) * cs - s),
                (A + 1) + (A - 1) * cs + s,       -2 * ((A - 1) + (A + 1) * cs),    (A + 1) + (A - 1) * cs - s};
    default:  // HighShelf
        return {A * ((A + 1) + (A - 1) * cs + s), -2 * A * ((A - 1) + (A + 1) * cs), A * ((A + 1) + (A - 1) * cs - s),
                (A + 1) - (A - 1) * cs + s,       2 * ((A - 1) - (A + 1) * cs),      (A + 1) - (A - 1) * cs - s};
    }
}

// The notch spike's centre column, when it lies near enough to the curve for
// one of its three points to land on it; checked before it becomes an index.
bool notchColumn(const EqBand& band, int32_t& column) {
    const double at = (std::log(band.frequency * 0.0001) / band.ln2 + 9.0) * 0.1 * band.plotWidth;
    if (!(at > -2.0 && at < double(band.pointCount) + 2.0)) return false;  // NaN fails too
    column = int32_t(at);
    return true;
}

void rebuildVertexLists(EqBand& band) {
    int32_t fill = 0;
    int32_t outline = 0;
    for (int32_t j = 0; j + 1 < band.pointCount; ++j) {
        const CurvePoint p0 = band.curve[size_t(j)];
        const CurvePoint p1 = band.curve[size_t(j + 1)];
        const float segment[floatsPerSegment] = {p0.x, 0.0f, p0.x, p0.y, p1.x, p1.y, p0.x, 0.0f, p1.x, p1.y, p1.x, 0.0f};
        std::copy(std::begin(segment), std::end(segment), band.fillList.begin() + fill);
        fill += floatsPerSegment;
        band.outlineList[size_t(outline++)] = p0.x;
        band.outlineList[size_t(outline++)] = p0.y;
    }
    band.fillCount = fill;
    band.outlineCount = outline;
}

}  // namespace

void computeCoefficients(EqBand& band, float sampleRate, float frequency, float bandwidth, float gain) {
    const double f = frequency, bw = bandwidth, g = gain;
    band.frequency = f;
    band.bandwidth = bw;
    band.gain = g;
    band.designRate = band.oversampling * double(sampleRate);
    band.A = std::pow(10.0, g * (typeUsesGain(band.type) ? 0.025 : 0.05));
    band.w0 = 2.0 * band.pi * f / band.designRate;
    const double sinW0 = std::sin(band.w0);
    band.alpha = sinW0 * std::sinh(band.ln2 / 2.0 * bw * band.w0 / sinW0);
    if (isFilterType(band.type)) {
        const Biquad raw = designFor(band.type, std::cos(band.w0), band.alpha, band.A);
        band.rawB0 = raw.b0, band.rawB1 = raw.b1, band.rawB2 = raw.b2;
        band.rawA0 = raw.a0, band.rawA1 = raw.a1, band.rawA2 = raw.a2;
        band.b0 = raw.b0 / raw.a0;
        band.b1 = raw.b1 / raw.a0;
        band.b2 = raw.b2 / raw.a0;
        band.a1 = raw.a1 / raw.a0;
        band.a2 = raw.a2 / raw.a0;
        band.a0 = 1.0;
    }
    band.nodeX = nodeColumn(band);
}

void computeMagnitudeCurve(EqBand& band) {
    band.nodeX = nodeColumn(band);
    const double r = double(float(1.0 / (band.designRate * band.oversampling)));
    const double b0 = band.b0, b1 = band.b1, b2 = band.b2, a1 = band.a1, a2 = band.a2;
    const double cascade = -double(band.order);
    for (int32_t j = 0; j < band.pointCount; ++j) {
        const double w = 2.0 * band.pi * band.gridFrequency[size_t(j)] * r;
        const double c1 = std::cos(w);
        const double c2 = std::cos(2.0 * w);
        const double num = b0 * b0 + b1 * b1 + b2 * b2 + 2.0 * (b0 + b2) * b1 * c1 + 2.0 * b0 * b2 * c2;
        const double den = 1.0 + a1 * a1 + a2 * a2 + 2.0 * (a2 + 1.0) * a1 * c1 + 2.0 * a2 * c2;
        band.curve[size_t(j)].y = float(20.0 * std::log10(std::sqrt(num / den)) * cascade);
    }
    int32_t centre = 0;
    if (band.type == Notch && notchColumn(band, centre)) {
        const float spike[3] = {60.0f, 120.0f, 60.0f};
        for (int32_t i = 0; i < 3; ++i) {
            const int32_t j = centre - 1 + i;
            if (j >= 0 && j < band.pointCount) band.curve[size_t(j)].y = spike[i];
        }
    }
    rebuildVertexLists(band);
}

void computePhaseCurve(EqBand& band) {
    if (band.active != 1) {
        std::fill_n(band.phase.begin(), band.pointCount, 0.0);
        return;
    }
    const double k = double(float(-2.0 / band.pi));
    const double cascade = double(band.order);
    for (int32_t j = 0; j < band.pointCount; ++j) {
        const double w = 2.0 * band.pi * band.gridFrequency[size_t(j)] / (band.oversampling * band.designRate);
        const double s1 = std::sin(w), s2 = std::sin(2.0 * w), c1 = std::cos(w), c2 = std::cos(2.0 * w);
        const double n = std::atan2(band.b1 * s1 + band.b2 * s2, band.b0 + band.b1 * c1 + band.b2 * c2);
        const double d = std::atan2(band.a1 * s1 + band.a2 * s2, 1.0 + band.a1 * c1 + band.a2 * c2);
        band.phase[size_t(j)] = (n - d) * k * cascade;
    }
}

void applyTypeLimits(EqBand& band) {
    band.bandwidthMax = 3.0;
    band.bandwidthMin = 0.1;
    if (band.type == Notch) band.bandwidthMax = 5.0;
    if (isShelf(band.type)) band.bandwidthMax = band.bandwidthMin = 1.5;
    band.bandwidth = std::max(std::min(band.bandwidth, band.bandwidthMax), band.bandwidthMin);
    band.frequency = std::clamp(band.frequency, 20.0, 20000.0);
}

void setTypeLabels(EqBand& band) {
    if (!isFilterType(band.type)) return;
    band.shortLabel = filterTypes[size_t(band.type)].shortLabel;
    band.longLabel = filterTypes[size_t(band.type)].longLabel;
}

}  // namespace eq
