// levelmap: keeps a normalised control position (0..1) and a level in decibels
// (-range..+range, 0 dB in the middle) in step. All of its work is in the GUI
// half; the DSP half is an empty module that sleeps.
#include "mp/dsp_base.h"
#include "mp/factory.h"
#include "mp/gui_base.h"

namespace {

class levelmap final : public mp::MpBase {
public:
    explicit levelmap(mp::IMpUnknown* host) : MpBase(host) {}
};

class levelmapGui final : public mp::MpGuiBase {
public:
    explicit levelmapGui(mp::IMpUnknown* host) : MpGuiBase(host) {
        range_.registerPin(this, 0, &levelmapGui::toPosition);
        level_.registerPin(this, 1, &levelmapGui::toPosition);
        position_.registerPin(this, 3, &levelmapGui::toLevel);
        positionDrivesLevel_.registerPin(this, 2, &levelmapGui::ignore);
    }

private:
    // A new position arrived: while the switch is on, the level follows it.
    void toLevel() {
        if (!positionDrivesLevel_.value()) return;
        const float level = ((position_.value() - 0.5f) * range_.value()) * 2.0f;
        level_.setValue(level);  // sends only when it changed
    }

    // A new range or level arrived: the position follows. A range of 0 gives
    // the IEEE result of the division, sent like any other value.
    void toPosition() { position_.setValue(level_.value() / (range_.value() * 2.0f) + 0.5f); }

    void ignore() {}

    mp::MpGuiPin<float> range_;
    mp::MpGuiPin<float> level_;
    mp::MpGuiPin<float> position_;
    mp::MpGuiPin<bool> positionDrivesLevel_;
};

const int32_t registeredDsp = mp::registerPlugin<levelmap>(u"levelmap", mp::MP_KIND_DSP);
const int32_t registeredGui = mp::registerPlugin<levelmapGui>(u"levelmap", mp::MP_KIND_GUI);

}  // namespace
