// Driving the probe2 plug-in through the host: configuring its pins and
// sending it commands.
#pragma once

#include <memory>
#include <vector>

#include "host/v2_gui.h"
#include "host/v2_module.h"
#include "plugins.h"
#include "probe2_records.h"

namespace probe2 {

inline std::shared_ptr<host::Library> library() {
    static const auto opened = testing_support::openTestPlugin("probe2");
    return opened;
}

inline ProbeArgs command(host::V2DspInstance& dsp, DspCommand which, int32_t a = 0, int32_t b = 0, int32_t c = 0,
                         int32_t d = 0) {
    ProbeArgs args{};
    args.a = a, args.b = b, args.c = c, args.d = d;
    dsp.dispatch(seffHostMessage, 0, which, &args);
    return args;
}

inline ProbeArgs command(host::V2GuiInstance& gui, GuiCommand which, ProbeArgs args = {}) {
    gui.dispatch(seGuiDspMessage, 0, which, &args);
    return args;
}

// A processing object declaring `pins` (configured through a first object).
inline std::unique_ptr<host::V2DspInstance> make(const std::vector<PinDeclaration>& pins,
                                                  host::V2Options options = {}) {
    Configuration configuration{};
    configuration.count = int32_t(pins.size());
    for (size_t i = 0; i < pins.size() && i < size_t(maxPins); ++i) configuration.pins[i] = pins[i];
    host::V2Options quiet;
    quiet.pinCount = 0;
    host::V2DspInstance::create(library(), quiet)->dispatch(seffHostMessage, 0, configure, &configuration);
    return host::V2DspInstance::create(library(), options);
}

inline std::vector<SlotReport> slots(host::V2DspInstance& dsp) {
    const ProbeArgs args = command(dsp, reportSlots, 16);
    return {args.slots, args.slots + std::min(args.out[0], 16)};
}

inline Counters counters(host::V2DspInstance& dsp) { return command(dsp, readCounters).counters; }

}  // namespace probe2
