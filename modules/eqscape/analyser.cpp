#include "analyser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace eq {
namespace {

constexpr float smoothingScale = 0.11111111f;

int32_t readWord(const uint8_t* at) {
    uint32_t word;
    std::memcpy(&word, at, 4);  // the blob is little-endian, as is every target
    return int32_t(word);
}

// The integer part of a host sample rate, 0 when it has none that fits.
int64_t wholeRate(float sampleRate) {
    if (!(std::fabs(sampleRate) < 2147483648.0f)) return 0;  // NaN and huge rates
    return int64_t(sampleRate);
}

float smoothed(const std::array<CurvePoint, spectrumCapacity>& curve, int32_t p) {
    const auto y = [&](int32_t i) { return curve[size_t(i)].y; };
    return (y(p - 2) + 2.0f * y(p - 1) + 3.0f * y(p) + 2.0f * y(p + 1) + y(p + 2)) * smoothingScale;
}

}  // namespace

void rebuildAnalyserAxis(SpectrumCurves& curves, float sampleRate) {
    const int64_t s = wholeRate(sampleRate);
    curves.input[0] = curves.output[0] = curves.difference[0] = CurvePoint{0.0f, -120.0f};
    for (int32_t n = 1; n <= spectrumAxisPoints; ++n) {
        const int64_t fk = (int64_t(n + 1) * s) / 4096;
        const float x = float((std::log(double(float(fk) * 0.0001f)) / std::log(2.0) + 9.0) * 0.1 * 900.0);
        curves.input[size_t(n)] = CurvePoint{x, emptyLevel};
        curves.output[size_t(n)] = CurvePoint{x, emptyLevel};
        curves.difference[size_t(n)] = CurvePoint{x, 0.0f};
    }
}

bool applySpectrumBlob(SpectrumCurves& curves, const uint8_t* bytes, int32_t size, int32_t holdMode) {
    if (bytes == nullptr || size < spectrumHeaderBytes || readWord(bytes) != spectrumMagic) return false;
    const int32_t channel = readWord(bytes + 4);
    const int32_t claimed = readWord(bytes + 8);
    const int32_t carried = (size - spectrumHeaderBytes) / 4;
    const int32_t words = std::max(0, std::min({claimed, carried, spectrumWordCapacity}));
    const uint8_t* levels = bytes + spectrumHeaderBytes;

    for (int32_t i = 0; i < words; ++i) {
        for (int32_t j = 0; j < 4; ++j) {
            const size_t p = size_t(4 * i + j + 1);
            const float level = float(levels[4 * i + j]) * -0.25f;
            if (channel == 0) {
                float& y = curves.input[p].y;
                if (holdMode == FallingPeak) y = std::max(level, y - 2.0f);
                else if (holdMode == PeakHold) y = std::max(level, y);
                else y = level;
            } else if (channel == 1) {
                float& y = curves.output[p].y;
                y = holdMode == PeakHold ? std::max(level, y) : level;
                curves.difference[p].y = (curves.input[p].y - y) * 2.0f;
            }
        }
    }
    curves.input[0].y = curves.input[1].y;
    curves.output[0].y = curves.output[1].y;
    curves.drawCount = spectrumDrawCount;

    // Points 5 .. 4 (words - 5) + 4: the kernel reaches two points either side.
    const int32_t last = 4 * (words - 5) + 4;
    for (int32_t p = 5; p <= last; ++p)
        curves.difference[size_t(p)].y = 2.0f * (smoothed(curves.input, p) - smoothed(curves.output, p));
    if (holdMode == FallingPeak) {
        for (int32_t p = 5; p <= last; ++p) curves.input[size_t(p)].y = smoothed(curves.input, p);
        for (int32_t p = 5; p <= last; ++p) curves.output[size_t(p)].y = smoothed(curves.output, p);
    }
    return true;
}

void resetSpectra(SpectrumCurves& curves) {
    for (int32_t p = 1; p <= 4 * spectrumWordCapacity; ++p) {
        curves.input[size_t(p)].y = emptyLevel;
        curves.output[size_t(p)].y = emptyLevel;
    }
}

}  // namespace eq
