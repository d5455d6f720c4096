// The editor's record of one band: its parameters, its biquad coefficients,
// its frequency grid and the curves drawn for it, all held by value (one
// record is a few hundred kilobytes; the editor holds ten).
//
// Curves have one point per pixel column of the plot. The capacities below
// bound the plot to maxPlotColumns columns; a wider view gets curves for its
// first maxPlotColumns columns only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace eq {

enum FilterType : int32_t {
    LowPass = 0,
    HighPass = 1,
    BandPass = 2,
    Notch = 3,
    Peak = 4,
    LowShelf = 5,
    HighShelf = 6,
};

enum StereoMode : int32_t { TrueStereo = 0, SplitStereo = 1, MidSide = 2 };

// Routing of a band: the first channel of the pair, the second, or both.
enum Routing : int32_t { FirstChannel = 1, SecondChannel = 2, BothChannels = 3 };

struct FilterTypeInfo {
    std::string_view longLabel;
    std::string_view shortLabel;
    bool usesGain;
    double bandwidthMin;
    double bandwidthMax;
};

inline constexpr std::array<FilterTypeInfo, 7> filterTypes{{
    {"LOW PASS", "LP", false, 0.1, 3.0},
    {"HIGH PASS", "HP", false, 0.1, 3.0},
    {"BAND PASS", "B", false, 0.1, 3.0},
    {"NOTCH", "N", false, 0.1, 5.0},
    {"PEAK", "P", true, 0.1, 3.0},
    {"LOW SHELF", "S", true, 1.5, 1.5},
    {"HIGH SHELF", "S", true, 1.5, 1.5},
}};

constexpr bool isFilterType(int32_t type) { return type >= LowPass && type <= HighShelf; }
constexpr bool typeUsesGain(int32_t type) { return isFilterType(type) && filterTypes[size_t(type)].usesGain; }
constexpr bool isShelf(int32_t type) { return type == LowShelf || type == HighShelf; }

// Per-band capacities.
inline constexpr int32_t gridCapacity = 12000;
inline constexpr int32_t phaseCapacity = 8000;
inline constexpr int32_t curveCapacity = 3000;
inline constexpr int32_t outlineCapacity = 6000;
inline constexpr int32_t fillCapacity = 20000;
inline constexpr int32_t floatsPerSegment = 12;
// The widest plot whose fill list fits: (fillCapacity / 12) segments + 1.
inline constexpr int32_t maxPlotColumns = fillCapacity / floatsPerSegment + 1;
static_assert(maxPlotColumns <= curveCapacity && maxPlotColumns <= phaseCapacity && maxPlotColumns <= gridCapacity &&
              2 * (maxPlotColumns - 1) <= outlineCapacity);

inline constexpr int32_t bandCount = 10;

// One (x, y) vertex of a curve as the renderer draws it.
struct CurvePoint {
    float x = 0.0f;
    float y = 0.0f;
};

struct EqBand {
    double pi = 3.1415927410125732;  // pi rounded to single precision
    double ln2 = 0.6931471824645996; // ln 2 rounded to single precision
    int32_t active = 0;              // 1 = on, anything else muted
    int32_t type = LowPass;          // FilterType (host values may lie outside)
    double oversampling = 1.0;       // 1 or 4
    double designRate = 0.0;         // oversampling x host sample rate
    double frequency = 0.0;          // Hz
    double bandwidth = 0.0;          // octaves
    double gain = 0.0;               // dB
    double bandwidthMax = 0.0;
    double bandwidthMin = 0.0;
    int32_t order = 0;               // identical stages in cascade, 1..3
    // Coefficients normalised so that a0 = 1.
    double a0 = 0.0, a1 = 0.0, a2 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0;
    double A = 0.0;      // shelf and peak amplitude factor
    double w0 = 0.0;     // normalised angular frequency
    double alpha = 0.0;  // bandwidth term
    // The same coefficients before normalisation.
    double rawA0 = 0.0, rawA1 = 0.0, rawA2 = 0.0, rawB0 = 0.0, rawB1 = 0.0, rawB2 = 0.0;
    int32_t pointCount = 0;  // curve points = plot columns (0 until the view exists)
    std::array<double, gridCapacity> gridFrequency{};
    std::array<double, phaseCapacity> phase{};  // the phase angle over pi/2, times the order
    int32_t plotWidth = 0;
    int32_t plotHeight = 0;
    // x = point index, y = minus the band's gain in dB times its order.
    std::array<CurvePoint, curveCapacity> curve{};
    std::array<float, outlineCapacity> outlineList{};
    int32_t outlineCount = 0;  // floats in use
    // Two triangles per segment between the zero line and the curve.
    std::array<float, fillCapacity> fillList{};
    int32_t fillCount = 0;  // floats in use
    double nodeX = 0.0;     // node's pixel column
    double originX = 0.0;   // top-left offset of the plot in the view
    double originY = 0.0;
    std::string_view shortLabel;
    std::string_view longLabel;
    int32_t routing = 0;  // Routing
};

}  // namespace eq
