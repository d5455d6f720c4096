// The DSP half of a version-3 plug-in: MpPluginBase implements IMpPlugin's
// object conventions and pin bookkeeping, MpBase the block processing.
//
// Everything here runs on the host's audio thread, inside IMpPlugin calls.
// processBlock splits the block at event times and, for each group of events
// with one time, applies them to the pins in three passes:
//   1. beginEvent on each addressed pin (values are stored, pins become fresh),
//   2. handleEvent (pin handlers; the start event runs onStartEvent),
//   3. onPinsChanged once if the group held a value or streaming change,
//   4. endEvent (pins stop being fresh).
// Events for an index without a pin, and events of unknown types, are ignored
// entirely (they make no group call onPinsChanged). The stretches between
// groups are rendered by processRoutine. A module with nothing to render lets
// the pre-sleep routine ask the host to sleep.
//
// Nothing here allocates after construction; only a blob pin whose size
// changes reallocates its array.
#pragma once

#include <map>

#include "mp/abi/host_interfaces.h"
#include "mp/abi/plugin_interfaces.h"
#include "mp/dsp_pins.h"

namespace mp {

// Sleep policies.
enum MpSleepPolicy : int32_t {
    MP_SLEEP_AUTOMATIC = -1,  // may sleep while no audio input streams
    MP_SLEEP_NEVER = 0,
    MP_SLEEP_ALLOWED = 1,
};

class MpPluginBase : public IMpPlugin {
public:
    using PrimaryInterface = IMpPlugin;

    // Asks `host` for IMpDspHost and keeps it until destruction. A host object
    // that is null or offers no IMpDspHost fails creation: the constructor
    // throws "host Interfaces not supported" (the factory answers MP_FAIL).
    explicit MpPluginBase(IMpUnknown* host);
    MpPluginBase(const MpPluginBase&) = delete;
    MpPluginBase& operator=(const MpPluginBase&) = delete;

    int32_t MP_STDCALL queryInterface(const MpGuid* iid, void** object) override;
    int32_t MP_STDCALL addRef() override;
    int32_t MP_STDCALL release() override;
    int32_t MP_STDCALL activate() override { return MP_OK; }
    // Passes the address to the pin's setAudioBuffer. MP_FAIL, with nothing
    // changed, for an index without a pin (as the GUI side answers for one).
    int32_t MP_STDCALL setAudioBuffer(int32_t pinIndex, float* buffer) override;
    int32_t MP_STDCALL receiveGuiMessage(int32_t, int32_t, const void*) override { return MP_OK; }

    // Overridables, after the interface operations.
    virtual ~MpPluginBase();
    virtual void onPinsChanged() {}
    virtual void onPinStreamingChanged(bool streaming) = 0;
    // Default: every output pin, in index order, sends its value at the start
    // event's time.
    virtual void onStartEvent();

    IMpDspHost* host() const { return host_; }
    int32_t currentEventTime() const { return currentEventTime_; }

protected:
    friend class MpPinBase;
    MpPinBase* findPin(int32_t pinIndex) const;

    IMpDspHost* host_ = nullptr;
    std::map<int32_t, MpPinBase*> pins_;
    int32_t currentEventTime_ = 0;
    int32_t samplesBeforeSleep_ = 0;
    int32_t streamingInputs_ = 0;
    int32_t sleepPolicy_ = MP_SLEEP_AUTOMATIC;
    bool noPendingEvents_ = true;

private:
    int32_t referenceCount_ = 0;
};

class MpBase : public MpPluginBase {
public:
    // Renders `count` samples starting at `offset` within the block.
    using ProcessRoutine = void (MpBase::*)(int32_t offset, int32_t count);

    explicit MpBase(IMpUnknown* host) : MpPluginBase(host) {}

    // A negative count is run as 0. Event times are kept within the block: an
    // event before the current position is handled there, one at or after the
    // block's end is dropped with the rest of the list.
    int32_t MP_STDCALL processBlock(int32_t sampleCount, const TimedEvent* events) override;
    void onPinStreamingChanged(bool streaming) override;

protected:
    // Chooses the routine that renders samples. During the pre-sleep phase the
    // pre-sleep routine stays in charge and runs the new routine itself.
    void setProcessRoutine(ProcessRoutine routine);
    template <class Module>
    void setProcessRoutine(void (Module::*routine)(int32_t, int32_t)) {
        setProcessRoutine(static_cast<ProcessRoutine>(routine));
    }
    void allowSleep();    // sleepPolicy 1, back to the pre-sleep routine
    void preventSleep();  // sleepPolicy 0

    // Renders through the saved routine until the module may sleep, then asks
    // the host to sleep.
    void preSleepRoutine(int32_t offset, int32_t count);

private:
    void renderNothing(int32_t, int32_t) {}
    void render(int32_t offset, int32_t count) { (this->*processRoutine_)(offset, count); }
    // Runs the three passes over the events of one group, [first, end).
    void handleGroup(const TimedEvent* first, const TimedEvent* end);

    ProcessRoutine processRoutine_ = &MpBase::preSleepRoutine;
    ProcessRoutine savedRoutine_ = &MpBase::renderNothing;
};

}  // namespace mp
