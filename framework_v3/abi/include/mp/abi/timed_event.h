// The event record a host hands to IMpPlugin::processBlock, and the pin codes
// shared by DSP and GUI pins.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mp {

// Pin data type codes (MpPinBase::dataType, MpGuiPin::dataType).
enum MpDataType : int32_t {
    MP_TYPE_BOOL = 4,
    MP_TYPE_AUDIO = 5,
    MP_TYPE_FLOAT = 6,   // 32-bit IEEE
    MP_TYPE_INT = 8,     // 32-bit
    MP_TYPE_BLOB = 10,
};

// Pin direction codes (MpPinBase::direction).
enum MpDirection : int32_t {
    MP_IN = 0,
    MP_OUT = 1,
};

// Event types of TimedEvent::type. Other values are ignored by plug-ins.
enum MpEventType : int32_t {
    MP_EVENT_PIN_SET = 100,             // new pin value
    MP_EVENT_PIN_STREAMING_START = 101, // the pin's audio input starts streaming
    MP_EVENT_PIN_STREAMING_STOP = 102,  // the pin's audio input stops streaming
    MP_EVENT_PIN_OTHER = 103,           // reaches the pin's handler only
    MP_EVENT_START = 104,               // the module's onStartEvent
};

// One entry of the host-owned, singly linked event list of a block.
//
// The host allocates and owns every record and the bytes behind extraData; they
// stay valid for the duration of the processBlock call only. Events arrive in
// non-decreasing time order; consecutive events with equal time form one group.
// A value of up to 8 bytes travels in valueWord0/1 with extraData null; a longer
// one lies behind extraData.
struct TimedEvent {
    int32_t time;          // sample offset of the event within the block
    int32_t type;          // MpEventType
    int32_t pinIndex;      // pin the event is for
    int32_t size;          // size in bytes of the value (type 100)
    int32_t valueWord0;    // value bytes 0-3 when extraData is null
    int32_t valueWord1;    // value bytes 4-7 when extraData is null
    const void* extraData; // value bytes when not null
    const TimedEvent* next;  // next event, null at the end
};

// With 4-byte pointers the record has the published 32-bit layout; with wider
// pointers the fields keep their order and only the two pointers widen.
static_assert(offsetof(TimedEvent, valueWord1) == 20);
static_assert(sizeof(void*) != 4 || (offsetof(TimedEvent, extraData) == 24 &&
                                     offsetof(TimedEvent, next) == 28 && sizeof(TimedEvent) == 32));

}  // namespace mp
