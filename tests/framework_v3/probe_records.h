// Reading what the probe plug-in reports on its blob output pin 5.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/dsp_instance.h"

namespace probe {

inline constexpr int32_t reportsPin = 5;
enum Kind : int32_t { render = 1, pinsChanged = 2, handler = 3 };
enum Command : int32_t { allowSleep = 1, preventSleep = 2 };

// One report: the time it was sent at and its eight words.
//   render:      [1, offset, count, bits of pin 0, pin 1, pin 0 fresh, pin 1 fresh, blob size]
//   pinsChanged: [2, pin 0 fresh, pin 1 fresh, pin 2 fresh, currentEventTime, streaming, streamingChanged, 0]
//   handler:     [3, pin index, event type, pin 0 fresh, 0, 0, 0, 0]
struct Report {
    int32_t time;
    std::array<int32_t, 8> words;

    int32_t kind() const { return words[0]; }
    float pin0() const {
        float value;
        std::memcpy(&value, &words[3], 4);
        return value;
    }
};

inline std::vector<Report> reports(const host::DspInstance& dsp) {
    std::vector<Report> result;
    for (const auto& sent : dsp.sentValues()) {
        if (sent.pinIndex != reportsPin || sent.bytes.size() != 32) continue;
        Report r{sent.time, {}};
        std::memcpy(r.words.data(), sent.bytes.data(), 32);
        result.push_back(r);
    }
    return result;
}

// Just the (offset, count) of each render call, in order.
inline std::vector<std::pair<int32_t, int32_t>> renders(const host::DspInstance& dsp) {
    std::vector<std::pair<int32_t, int32_t>> result;
    for (const auto& r : reports(dsp))
        if (r.kind() == render) result.emplace_back(r.words[1], r.words[2]);
    return result;
}

}  // namespace probe
