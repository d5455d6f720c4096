// The analyser's spectrum curves, decoded from the spectrum blobs fftfeed
// sends: magic 329544, channel number, word count, then level words of four
// level bytes each (least significant first), a byte b meaning -b/4 dB.
// Byte j of word i is curve point 4i + j + 1; point n (1..2046) is FFT bin
// n + 1 of 4096, placed on a fixed axis 900 units wide.
#pragma once

#include <array>
#include <cstdint>

#include "eq_band.h"

namespace eq {

inline constexpr int32_t spectrumCapacity = 10000;
inline constexpr int32_t spectrumMagic = 329544;
inline constexpr int32_t spectrumHeaderBytes = 12;
// Level words the curves take: points 1..2048.
inline constexpr int32_t spectrumWordCapacity = 512;
inline constexpr int32_t spectrumAxisPoints = 2046;
inline constexpr int32_t spectrumDrawCount = 7792;
inline constexpr float emptyLevel = -200.0f;

enum HoldMode : int32_t { LiveSpectrum = 0, FallingPeak = 1, PeakHold = 2 };

struct SpectrumCurves {
    std::array<CurvePoint, spectrumCapacity> input{}, output{}, difference{};
    int32_t drawCount = 0;  // floats the renderer draws of each curve
};

// The x of every point from the sample rate (its integer part); the input
// and output curves become empty (-200), the difference 0.
void rebuildAnalyserAxis(SpectrumCurves& curves, float sampleRate);

// Applies one blob under a hold mode. Blobs without the magic, shorter than
// the header, or empty are ignored (false). Only level words that lie inside
// the blob, up to spectrumWordCapacity, are read, whatever count the header
// claims; the smoothing covers the same words.
bool applySpectrumBlob(SpectrumCurves& curves, const uint8_t* bytes, int32_t size, int32_t holdMode);

// Points 1..2048 of the input and output curves become empty (-200).
void resetSpectra(SpectrumCurves& curves);

}  // namespace eq
