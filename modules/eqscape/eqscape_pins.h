// The editor's 159 GUI pins by index, as the host's description lists them.
#pragma once

#include <cstdint>

namespace eq::pins {

inline constexpr int32_t sampleRate = 0;
inline constexpr int32_t stereoMode = 1;
// Band k (0..9) owns pins bandFirst + 12k .. bandFirst + 12k + 11.
inline constexpr int32_t bandFirst = 2;
inline constexpr int32_t pinsPerBand = 12;
inline constexpr int32_t dbRange = 122;
inline constexpr int32_t zoom = 123;
inline constexpr int32_t pan = 124;
inline constexpr int32_t unusedFirst = 125;  // 125..129: no meaning of their own
inline constexpr int32_t unusedLast = 129;
inline constexpr int32_t hue = 130;
inline constexpr int32_t saturation = 131;
inline constexpr int32_t lightness = 132;
inline constexpr int32_t nodeInfo = 133;
inline constexpr int32_t showPhase = 134;
inline constexpr int32_t selFrequency = 135;
inline constexpr int32_t selBandwidth = 136;
inline constexpr int32_t selGain = 137;
inline constexpr int32_t selTypeCode = 138;
inline constexpr int32_t selRouting = 139;
inline constexpr int32_t selActive = 140;
inline constexpr int32_t selBand = 141;
inline constexpr int32_t viewOpen = 142;
inline constexpr int32_t viewWidthOut = 143;
inline constexpr int32_t spectrum = 144;
inline constexpr int32_t editLink = 145;
inline constexpr int32_t analyser = 146;
inline constexpr int32_t titleFade = 147;
inline constexpr int32_t unused148 = 148;
inline constexpr int32_t sampling = 149;
inline constexpr int32_t readout = 150;
inline constexpr int32_t noGain = 151;
inline constexpr int32_t fixedBandwidth = 152;
inline constexpr int32_t trueStereo = 153;
inline constexpr int32_t gainLimit = 154;
inline constexpr int32_t fillAlpha = 155;
inline constexpr int32_t multi = 156;
inline constexpr int32_t blend = 157;
inline constexpr int32_t analyserHold = 158;
inline constexpr int32_t count = 159;

// Offsets inside a band's group.
enum BandPin : int32_t {
    frequency = 0,
    bandwidth = 1,
    gain = 2,
    type = 3,
    spareFirst = 4,  // 4..8: five pins without a meaning of their own
    spareLast = 8,
    routing = 9,
    order = 10,
    active = 11,
};

constexpr int32_t band(int32_t k, BandPin pin) { return bandFirst + pinsPerBand * k + pin; }

}  // namespace eq::pins
