#include "host/spectrum_blob.h"

#include <algorithm>
#include <cstdio>

namespace host {

namespace {

constexpr size_t blobSize = 2060;
constexpr int32_t magic = 329544;
constexpr int32_t words = 512;
constexpr size_t binsSent = 2046;
constexpr double fftSize = 4096.0;

int32_t readInt(const uint8_t* at) {
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

}  // namespace

std::optional<SpectrumBlob> decodeSpectrumBlob(std::span<const uint8_t> bytes) {
    if (bytes.size() != blobSize || readInt(bytes.data()) != magic || readInt(bytes.data() + 8) != words)
        return std::nullopt;
    SpectrumBlob blob;
    blob.channel = readInt(bytes.data() + 4);
    blob.levels.assign(bytes.begin() + 12, bytes.begin() + 12 + binsSent);
    return blob;
}

std::vector<SpectrumBin> strongestBins(const SpectrumBlob& blob, float sampleRate, int32_t count) {
    std::vector<SpectrumBin> bins;
    for (size_t k = 0; k < blob.levels.size(); ++k) {
        const auto bin = int32_t(k + 2);
        bins.push_back({bin, bin * double(sampleRate) / fftSize, blob.levels[k], -blob.levels[k] / 4.0});
    }
    const auto keep = size_t(std::clamp<int32_t>(count, 0, int32_t(bins.size())));
    std::partial_sort(bins.begin(), bins.begin() + ptrdiff_t(keep), bins.end(),
                      [](const SpectrumBin& a, const SpectrumBin& b) {
                          return a.byte != b.byte ? a.byte < b.byte : a.bin < b.bin;
                      });
    bins.resize(keep);
    return bins;
}

std::string describeSpectrum(const SpectrumBlob& blob, float sampleRate, int32_t count) {
    std::string text = "channel " + std::to_string(blob.channel) + ":";
    const auto bins = strongestBins(blob, sampleRate, count);
    for (size_t i = 0; i < bins.size(); ++i) {
        char item[64];
        std::snprintf(item, sizeof item, "%s %.1f Hz %.2f dB", i == 0 ? "" : ",", bins[i].hertz, bins[i].decibels);
        text += item;
    }
    return text;
}

}  // namespace host
