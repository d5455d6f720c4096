// The event list of one block, built by the host and handed to processBlock.
//
// Events are kept in the order they are added: add them in non-decreasing time
// order as a host must (tests may add them otherwise on purpose). Values of up
// to 8 bytes travel in the record's value words, longer ones behind its extra
// data pointer. The list owns every record and byte it links; head() stays
// valid until the list changes.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "host/values.h"
#include "mp/abi/timed_event.h"

namespace host {

class EventList {
public:
    EventList& value(int32_t time, int32_t pinIndex, const Bytes& bytes);
    EventList& value(int32_t time, int32_t pinIndex, float value) { return this->value(time, pinIndex, bytesOf(value)); }
    EventList& value(int32_t time, int32_t pinIndex, int32_t value) { return this->value(time, pinIndex, bytesOf(value)); }
    EventList& streaming(int32_t time, int32_t pinIndex, bool starts);
    EventList& start(int32_t time);
    // Any record as given (type, size and value words unchecked); `extraData`
    // must outlive the list.
    EventList& raw(const mp::TimedEvent& event);

    // The first record of the linked list, or null when it is empty.
    const mp::TimedEvent* head();
    bool empty() const { return events_.empty(); }
    // Forgets every event, keeping the storage for the next block.
    void clear();

private:
    std::vector<mp::TimedEvent> events_;
    std::deque<Bytes> extraData_;
};

}  // namespace host
