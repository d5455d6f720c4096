#include "mp/dsp_base.h"

#include <stdexcept>

#include "mp/unknown_support.h"

namespace mp {

// ---- pins -------------------------------------------------------------------

void MpPinBase::handleEvent(const TimedEvent* event) {
    if (handler_ != nullptr) (owner_->*handler_)(event);
}

void MpPinBase::registerPin(MpBase* owner, int32_t pinIndex, MpPinHandler handler) {
    pinIndex_ = pinIndex;
    owner_ = owner;
    handler_ = handler;
    if (handler_ == nullptr && direction() == MP_IN) handler_ = fallbackHandler();
    owner->pins_.try_emplace(pinIndex, this);  // an index already taken keeps its first pin
}

void MpPinBase::sendToHost(int32_t time, int32_t size, const void* bytes) const {
    if (owner_ == nullptr) return;  // never registered
    if (time == MP_CURRENT_EVENT_TIME) time = owner_->currentEventTime();
    owner_->host()->sendPinValue(time, pinIndex_, size, bytes);
}

void AudioInPin::beginEvent(const TimedEvent* event) {
    if (event->type != MP_EVENT_PIN_STREAMING_START && event->type != MP_EVENT_PIN_STREAMING_STOP) return;
    streamingChanged_ = true;
    const bool streaming = event->type == MP_EVENT_PIN_STREAMING_START;
    if (streaming != isStreaming_) {
        isStreaming_ = streaming;
        owner()->onPinStreamingChanged(streaming);  // reached through the pin map: registered
    }
}

void AudioInPin::endEvent(const TimedEvent* event) {
    if (event->type == MP_EVENT_PIN_STREAMING_START || event->type == MP_EVENT_PIN_STREAMING_STOP)
        streamingChanged_ = false;
}

// ---- MpPluginBase -------------------------------------------------------------

MpPluginBase::MpPluginBase(IMpUnknown* host) {
    void* dspHost = nullptr;
    if (host == nullptr || host->queryInterface(&MP_IID_DSP_HOST, &dspHost) != MP_OK || dspHost == nullptr)
        throw std::runtime_error("host Interfaces not supported");
    host_ = static_cast<IMpDspHost*>(dspHost);
}

MpPluginBase::~MpPluginBase() {
    host_->release();
    pins_.clear();
}

int32_t MpPluginBase::queryInterface(const MpGuid* iid, void** object) {
    return answerQueryInterface(iid, object, static_cast<IMpPlugin*>(this), {&MP_IID_UNKNOWN, &MP_IID_PLUGIN});
}

int32_t MpPluginBase::addRef() { return ++referenceCount_; }

int32_t MpPluginBase::release() {
    if (--referenceCount_ == 0) {
        delete this;
        return 0;
    }
    return referenceCount_;
}

int32_t MpPluginBase::setAudioBuffer(int32_t pinIndex, float* buffer) {
    MpPinBase* pin = findPin(pinIndex);
    if (pin == nullptr) return MP_FAIL;
    try {
        pin->setAudioBuffer(buffer);
    } catch (...) {
        return MP_FAIL;
    }
    return MP_OK;
}

void MpPluginBase::onStartEvent() {
    for (const auto& [index, pin] : pins_)
        if (pin->direction() == MP_OUT) pin->transmitValue();
}

MpPinBase* MpPluginBase::findPin(int32_t pinIndex) const {
    const auto found = pins_.find(pinIndex);
    return found == pins_.end() ? nullptr : found->second;
}

// ---- MpBase -------------------------------------------------------------------

namespace {
bool isPinEvent(int32_t type) { return type >= MP_EVENT_PIN_SET && type <= MP_EVENT_PIN_OTHER; }
bool isChangeEvent(int32_t type) { return type >= MP_EVENT_PIN_SET && type <= MP_EVENT_PIN_STREAMING_STOP; }
}  // namespace

int32_t MpBase::processBlock(int32_t sampleCount, const TimedEvent* events) {
    int32_t remaining = sampleCount > 0 ? sampleCount : 0;
    int32_t position = 0;
    const TimedEvent* event = events;
    while (event != nullptr) {
        // Keep the group's time inside [position, end of block].
        int32_t time = event->time;
        if (time < position) time = position;
        if (time - position > remaining) time = position + remaining;

        const int32_t stretch = time - position;
        if (stretch > 0) {
            noPendingEvents_ = false;
            render(position, stretch);
            noPendingEvents_ = true;
            remaining -= stretch;
            if (remaining == 0) return MP_OK;  // this group and later ones lie past the block
            position = time;
        }
        currentEventTime_ = time;

        const TimedEvent* groupEnd = event->next;
        while (groupEnd != nullptr && groupEnd->time == event->time) groupEnd = groupEnd->next;
        handleGroup(event, groupEnd);
        event = groupEnd;
    }
    render(position, remaining);
    return MP_OK;
}

void MpBase::handleGroup(const TimedEvent* first, const TimedEvent* end) {
    bool changed = false;
    for (const TimedEvent* e = first; e != end; e = e->next) {
        if (!isPinEvent(e->type)) continue;
        if (MpPinBase* pin = findPin(e->pinIndex)) {
            pin->beginEvent(e);
            changed = changed || isChangeEvent(e->type);
        }
    }
    for (const TimedEvent* e = first; e != end; e = e->next) {
        if (e->type == MP_EVENT_START) {
            onStartEvent();
        } else if (isPinEvent(e->type)) {
            if (MpPinBase* pin = findPin(e->pinIndex)) pin->handleEvent(e);
        }
    }
    if (changed) onPinsChanged();
    for (const TimedEvent* e = first; e != end; e = e->next) {
        if (!isPinEvent(e->type)) continue;
        if (MpPinBase* pin = findPin(e->pinIndex)) pin->endEvent(e);
    }
}

void MpBase::onPinStreamingChanged(bool streaming) {
    streamingInputs_ += streaming ? 1 : -1;
    if (streamingInputs_ != 0 && sleepPolicy_ != MP_SLEEP_ALLOWED)
        processRoutine_ = savedRoutine_;
    else
        processRoutine_ = &MpBase::preSleepRoutine;
}

void MpBase::setProcessRoutine(ProcessRoutine routine) {
    if (processRoutine_ == savedRoutine_) processRoutine_ = routine;
    savedRoutine_ = routine;
}

void MpBase::allowSleep() {
    sleepPolicy_ = MP_SLEEP_ALLOWED;
    processRoutine_ = &MpBase::preSleepRoutine;
}

void MpBase::preventSleep() { sleepPolicy_ = MP_SLEEP_NEVER; }

void MpBase::preSleepRoutine(int32_t offset, int32_t count) {
    for (;;) {
        const bool maySleep = (sleepPolicy_ == MP_SLEEP_AUTOMATIC && streamingInputs_ == 0) ||
                              sleepPolicy_ == MP_SLEEP_ALLOWED;
        if (!maySleep) {
            processRoutine_ = savedRoutine_;
            if (count > 0) (this->*savedRoutine_)(offset, count);
            return;
        }
        if (samplesBeforeSleep_ <= 0) {
            if (noPendingEvents_) {
                host_->requestSleep();
                return;
            }
            samplesBeforeSleep_ = count;
        }
        if (count == 0) return;
        const int32_t run = samplesBeforeSleep_ < count ? samplesBeforeSleep_ : count;
        samplesBeforeSleep_ -= run;
        count -= run;
        (this->*savedRoutine_)(offset, run);
        offset += run;
    }
}

}  // namespace mp
