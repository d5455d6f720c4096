// From a spectrum to the one-byte levels of the spectrum blob.
//
// A bin's level is 10 log10(max(m, 0.00631) * 10 / 4096) in single precision,
// m its magnitude; a level byte is the low 8 bits of trunc(-4 (level + offset)).
// Levels above 0 after the offset are not clamped: their bytes wrap around.
#pragma once

#include <cstdint>

namespace spectrum {

inline constexpr float magnitudeFloor = 0.00631f;

// |X[k]| = sqrt(Re^2 + Im^2) in single precision, for k = 1..2047 of a
// spectrum in RealFft4096's split layout, into magnitudes[k] (magnitudes[0]
// becomes |X[0]|).
void binMagnitudes(const float* spectrum, float* magnitudes);

// The level byte of one magnitude, by the formula above. A magnitude that is
// NaN or not above the floor counts as the floor; one above the largest float
// (infinity) counts as the largest float, so every input has a byte.
uint8_t levelByte(float magnitude, float offset);

// bytes[i] = levelByte(magnitudes[i], offset) for i < count. A faster
// logarithm does the work; wherever its result lies so close to a whole number
// that the truncation might come out differently, the byte is taken from
// levelByte itself, so the bytes are always exactly levelByte's.
void levelBytes(const float* magnitudes, int32_t count, float offset, uint8_t* bytes);

}  // namespace spectrum
