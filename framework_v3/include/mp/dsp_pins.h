// Pins of the DSP half: typed members of a module that hold the latest value
// the host delivered (inputs) or the value the module sends (outputs).
//
// A pin is a member of its module and registered by index in the module's
// constructor; the module's pin map does not own it. Only the audio thread
// touches pins, from inside the module's IMpPlugin operations.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "mp/abi/timed_event.h"
#include "mp/blob.h"

namespace mp {

class MpBase;

// A handler runs in the second pass over an event group for each event of types
// 100-103 addressed to its pin.
using MpPinHandler = void (MpBase::*)(const TimedEvent* event);

// With this time, transmitValue stamps the value with the owner's
// currentEventTime (the time of the event group being handled).
inline constexpr int32_t MP_CURRENT_EVENT_TIME = -1;

class MpPinBase {
public:
    virtual ~MpPinBase() = default;
    virtual void setAudioBuffer(float* buffer) = 0;
    virtual void beginEvent(const TimedEvent* event) { (void)event; }
    virtual void handleEvent(const TimedEvent* event);
    virtual void endEvent(const TimedEvent* event) { (void)event; }
    virtual int32_t dataType() const = 0;
    virtual int32_t direction() const = 0;
    // The handler an input pin takes when registered without one.
    virtual MpPinHandler fallbackHandler() const = 0;
    // Sends the pin's value to the host, timed at `time` within the block.
    // Routines that send while rendering pass the time explicitly:
    // currentEventTime still holds that of the last event group then.
    virtual void transmitValue(int32_t time = MP_CURRENT_EVENT_TIME) = 0;

    // Sets index, owner and handler (an input without one takes its fallback)
    // and enters the pin into the owner's pin map. Called once per pin in the
    // module's constructor.
    void registerPin(MpBase* owner, int32_t pinIndex, MpPinHandler handler = nullptr);
    template <class Module>
    void registerPin(Module* owner, int32_t pinIndex, void (Module::*handler)(const TimedEvent*)) {
        registerPin(owner, pinIndex, static_cast<MpPinHandler>(handler));
    }

    int32_t pinIndex() const { return pinIndex_; }

protected:
    MpBase* owner() const { return owner_; }
    // Sends `size` bytes to the owner's host for this pin.
    void sendToHost(int32_t time, int32_t size, const void* bytes) const;

private:
    int32_t pinIndex_ = -1;
    MpBase* owner_ = nullptr;
    MpPinHandler handler_ = nullptr;
};

// A pin holding a value of type T (float, int32_t or MpBlob) with data type
// code `Type`. It takes the value of each type-100 event in the first pass and
// is fresh from then until the third pass of that event group.
template <typename T, MpDataType Type>
class MpControlPinBase : public MpPinBase {
    static_assert(std::is_same_v<T, MpBlob> || sizeof(T) == 4, "control pins hold 4-byte values or blobs");

public:
    void setAudioBuffer(float*) override {}
    void beginEvent(const TimedEvent* event) override {
        if (event->type != MP_EVENT_PIN_SET) return;
        // Without extra data the value lies in the event's two value words:
        // never read more than those 8 bytes.
        const void* bytes = event->extraData ? event->extraData : &event->valueWord0;
        int32_t size = event->size;
        if (!event->extraData && size > 8) size = 8;
        storeBytes(size, bytes);
        isFresh_ = true;
    }
    void endEvent(const TimedEvent* event) override {
        if (event->type == MP_EVENT_PIN_SET) isFresh_ = false;
    }
    int32_t dataType() const override { return Type; }
    MpPinHandler fallbackHandler() const override { return nullptr; }
    void transmitValue(int32_t time = MP_CURRENT_EVENT_TIME) override {
        sendToHost(time, valueSize(), valueBytes());
    }

    // Float and int pins keep 4 bytes (storeFourBytes); blob pins store what
    // they are given (MpBlob::store).
    virtual void storeBytes(int32_t size, const void* bytes) {
        if constexpr (std::is_same_v<T, MpBlob>) {
            value_.store(size, bytes);
        } else {
            storeFourBytes(&value_, size, bytes);
        }
    }
    virtual int32_t valueSize() const {
        if constexpr (std::is_same_v<T, MpBlob>)
            return value_.size();
        else
            return 4;
    }
    virtual const void* valueBytes() const {
        if constexpr (std::is_same_v<T, MpBlob>)
            return value_.data();
        else
            return &value_;
    }

    const T& value() const { return value_; }
    // Stores a value without sending it (outputs send with transmitValue).
    void setValue(const T& value) { value_ = value; }
    // Blob pins: stores `size` bytes without sending them.
    void setValue(int32_t size, const void* bytes)
        requires std::is_same_v<T, MpBlob>
    {
        value_.store(size, bytes);
    }
    bool isFresh() const { return isFresh_; }

private:
    T value_{};
    bool isFresh_ = false;
};

template <typename T, MpDirection Direction, MpDataType Type>
class MpControlPin final : public MpControlPinBase<T, Type> {
public:
    int32_t direction() const override { return Direction; }
};

using MpFloatIn = MpControlPin<float, MP_IN, MP_TYPE_FLOAT>;
using MpFloatOut = MpControlPin<float, MP_OUT, MP_TYPE_FLOAT>;
using MpIntIn = MpControlPin<int32_t, MP_IN, MP_TYPE_INT>;
using MpIntOut = MpControlPin<int32_t, MP_OUT, MP_TYPE_INT>;
using MpBlobIn = MpControlPin<MpBlob, MP_IN, MP_TYPE_BLOB>;
using MpBlobOut = MpControlPin<MpBlob, MP_OUT, MP_TYPE_BLOB>;

class MpAudioPinBase : public MpPinBase {
public:
    int32_t dataType() const override { return MP_TYPE_AUDIO; }
};

// An audio input: the host's sample buffer and whether the input streams.
// A module reads its samples at buffer()[bufferOffset + i].
class AudioInPin final : public MpAudioPinBase {
public:
    void setAudioBuffer(float* buffer) override { buffer_ = buffer; }
    void beginEvent(const TimedEvent* event) override;
    void endEvent(const TimedEvent* event) override;
    int32_t direction() const override { return MP_IN; }
    MpPinHandler fallbackHandler() const override { return nullptr; }
    void transmitValue(int32_t) override {}

    const float* buffer() const { return buffer_; }
    bool isStreaming() const { return isStreaming_; }
    bool streamingChanged() const { return streamingChanged_; }

private:
    float* buffer_ = nullptr;
    bool isStreaming_ = false;
    bool streamingChanged_ = true;
};

}  // namespace mp
