// Reading the spectrum blob fftfeed sends (2060 bytes, little-endian): magic
// 329544, channel, word count 512, then 2048 level bytes of which byte k
// (k = 0..2045) is the level of FFT bin k + 2 of 4096, read as -byte / 4 dB.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace host {

struct SpectrumBlob {
    int32_t channel = 0;
    std::vector<uint8_t> levels;  // 2046 bytes: levels[k] is bin k + 2
};

// The blob's content; nothing when the size, magic or word count is not the format's.
std::optional<SpectrumBlob> decodeSpectrumBlob(std::span<const uint8_t> bytes);

struct SpectrumBin {
    int32_t bin;
    double hertz;     // bin * sampleRate / 4096
    uint8_t byte;
    double decibels;  // -byte / 4, as a receiver reads it
};

// The `count` bins a receiver reads as loudest (lowest bytes), loudest first,
// lower bins first among equals.
std::vector<SpectrumBin> strongestBins(const SpectrumBlob& blob, float sampleRate, int32_t count);

// "channel 0: 996.1 Hz -3.25 dB, ..." with the strongest bins.
std::string describeSpectrum(const SpectrumBlob& blob, float sampleRate, int32_t count);

}  // namespace host
