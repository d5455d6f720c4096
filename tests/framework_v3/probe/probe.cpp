// A test-only version-3 plug-in that reports what the framework does to it.
//
// DSP half ("probe", "probe.awake"): every routine call, onPinsChanged and pin
// handler is reported to the host as an eight-word record on blob output pin 5,
// so tests see the framework's calls through the binary interface alone.
// "probe.awake" never sleeps. Int pin 1 takes commands.
//
// GUI half ("probe"): each handler of pins 0-3 echoes the pin's value to pin
// 10 + k with setValue and counts its notices on pin 20 + k.
#include <cstring>
#include <stdexcept>

#include "mp/gui_windows_gfx_base.h"
#include "mp/dsp_base.h"
#include "mp/factory.h"
#include "mp/gui_base.h"

namespace {

// Record kinds on pin 5; the layout is shared with the tests (probe_records.h).
enum Report : int32_t { reportRender = 1, reportPinsChanged = 2, reportHandler = 3 };
enum Command : int32_t { commandAllowSleep = 1, commandPreventSleep = 2 };

int32_t bitsOf(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

class probe : public mp::MpBase {
public:
    explicit probe(mp::IMpUnknown* host) : MpBase(host) {
        floatIn_.registerPin(this, 0, &probe::onEvent);
        command_.registerPin(this, 1, &probe::onCommand);
        blobIn_.registerPin(this, 2);
        audioIn_.registerPin(this, 3);
        floatOut_.registerPin(this, 4);
        reports_.registerPin(this, 5);
        setProcessRoutine(&probe::render);
    }

    void onPinsChanged() override {
        report(currentEventTime(), {reportPinsChanged, floatIn_.isFresh(), command_.isFresh(), blobIn_.isFresh(),
                                    currentEventTime(), audioIn_.isStreaming(), audioIn_.streamingChanged(), 0});
    }

protected:
    void render(int32_t offset, int32_t count) {
        report(offset, {reportRender, offset, count, bitsOf(floatIn_.value()), command_.value(), floatIn_.isFresh(),
                        command_.isFresh(), blobIn_.value().size()});
    }

private:
    void onEvent(const mp::TimedEvent* event) {
        report(currentEventTime(), {reportHandler, event->pinIndex, event->type, floatIn_.isFresh(), 0, 0, 0, 0});
    }
    void onCommand(const mp::TimedEvent* event) {
        onEvent(event);
        if (event->type != mp::MP_EVENT_PIN_SET) return;
        if (command_.value() == commandAllowSleep) allowSleep();
        if (command_.value() == commandPreventSleep) preventSleep();
    }
    void report(int32_t time, const int32_t (&words)[8]) {
        reports_.setValue(sizeof words, words);
        reports_.transmitValue(time);
    }

    mp::MpFloatIn floatIn_;
    mp::MpIntIn command_;
    mp::MpBlobIn blobIn_;
    mp::AudioInPin audioIn_;
    mp::MpFloatOut floatOut_;
    mp::MpBlobOut reports_;
};

class probeAwake final : public probe {
public:
    explicit probeAwake(mp::IMpUnknown* host) : probe(host) {}
    int32_t MP_STDCALL activate() override {
        preventSleep();
        return mp::MP_OK;
    }
};

class probeGui final : public mp::MpGuiBase {
public:
    explicit probeGui(mp::IMpUnknown* host) : MpGuiBase(host) {
        intPin_.registerPin(this, 0, &probeGui::onInt);
        floatPin_.registerPin(this, 1, &probeGui::onFloat);
        boolPin_.registerPin(this, 2, &probeGui::onBool);
        blobPin_.registerPin(this, 3, &probeGui::onBlob);
        intEcho_.registerPin(this, 10);
        floatEcho_.registerPin(this, 11);
        boolEcho_.registerPin(this, 12);
        blobEcho_.registerPin(this, 13);
        for (int k = 0; k < 4; ++k) notices_[k].registerPin(this, 20 + k);
    }

private:
    void counted(int k) { notices_[k].setValue(notices_[k].value() + 1); }
    void onInt() {
        counted(0);
        intEcho_.setValue(intPin_.value());
    }
    void onFloat() {
        counted(1);
        floatEcho_.setValue(floatPin_.value());
    }
    void onBool() {
        counted(2);
        boolEcho_.setValue(boolPin_.value());
    }
    void onBlob() {
        counted(3);
        blobEcho_.setValue(blobPin_.value().size(), blobPin_.value().data());
    }

    mp::MpGuiPin<int32_t> intPin_;
    mp::MpGuiPin<float> floatPin_;
    mp::MpGuiPin<bool> boolPin_;
    mp::MpGuiPin<mp::MpBlob> blobPin_;
    mp::MpGuiPin<int32_t> intEcho_;
    mp::MpGuiPin<float> floatEcho_;
    mp::MpGuiPin<bool> boolEcho_;
    mp::MpGuiPin<mp::MpBlob> blobEcho_;
    mp::MpGuiPin<int32_t> notices_[4];
};

// A GUI module with a window of the base's own making; it reports every
// routed message on GUI pin 0 as [sequence, kind, key flags, x, y].
template <class Base>
class probeWindow final : public Base {
public:
    enum Kind : int32_t { paint = 1, buttonDown = 2, buttonUp = 3, mouseMove = 4, timer = 5 };

    explicit probeWindow(mp::IMpUnknown* host) : Base(host) { messages_.registerPin(this, 0); }

protected:
    int32_t onPaint(HDC) override { return report(paint, 0, 0, 0); }
    int32_t onLButtonDown(WPARAM keys, int32_t x, int32_t y) override { return report(buttonDown, keys, x, y); }
    int32_t onLButtonUp(WPARAM keys, int32_t x, int32_t y) override { return report(buttonUp, keys, x, y); }
    // A move with the right button held stands for a handler that fails.
    int32_t onMouseMove(WPARAM keys, int32_t x, int32_t y) override {
        if ((keys & MK_RBUTTON) != 0) throw std::runtime_error("probe: the handler failed");
        return report(mouseMove, keys, x, y);
    }
    int32_t onTimer() override { return report(timer, 0, 0, 0); }

private:
    int32_t report(Kind kind, WPARAM keys, int32_t x, int32_t y) {
        const int32_t record[] = {++sequence_, kind, static_cast<int32_t>(keys), x, y};
        messages_.setValue(sizeof record, record);
        return 0;
    }

    int32_t sequence_ = 0;
    mp::MpGuiPin<mp::MpBlob> messages_;
};

const int32_t registered[] = {
    mp::registerPlugin<probeWindow<mp::MpGuiWindowsGfxBase>>(u"probe.window", mp::MP_KIND_GUI),
    mp::registerPlugin<probeWindow<mp::SeGuiWindowsGfxBase>>(u"probe.window.se", mp::MP_KIND_GUI),
    mp::registerPlugin<probe>(u"probe", mp::MP_KIND_DSP),
    mp::registerPlugin<probeGui>(u"probe", mp::MP_KIND_GUI),
    mp::registerPlugin<probeAwake>(u"probe.awake", mp::MP_KIND_DSP),
};

}  // namespace
