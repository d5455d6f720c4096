// cvpitch: converts a control voltage into a frequency, one volt per octave
// with 5 V at 440 Hz. It renders no audio: it works at event times and sleeps
// in between.
#include <cmath>

#include "mp/dsp_base.h"
#include "mp/factory.h"

namespace {

class cvpitch final : public mp::MpBase {
public:
    explicit cvpitch(mp::IMpUnknown* host) : MpBase(host) {
        voltsIn_.registerPin(this, 0);
        hertzOut_.registerPin(this, 1);
    }

    void onPinsChanged() override {
        if (voltsIn_.isFresh()) {
            const float octaves = voltsIn_.value() - 5.0f;
            const auto hertz = static_cast<float>(440.0 * std::pow(2.0, double(octaves)));
            if (hertz != hertzOut_.value()) {  // a NaN always counts as new
                hertzOut_.setValue(hertz);
                hertzOut_.transmitValue();
            }
        }
        allowSleep();
    }

private:
    mp::MpFloatIn voltsIn_;
    mp::MpFloatOut hertzOut_;
};

const int32_t registered = mp::registerPlugin<cvpitch>(u"cvpitch", mp::MP_KIND_DSP);

}  // namespace
