#include "host/event_list.h"

#include <cstring>

namespace host {

EventList& EventList::value(int32_t time, int32_t pinIndex, const Bytes& bytes) {
    mp::TimedEvent event{};
    event.time = time;
    event.type = mp::MP_EVENT_PIN_SET;
    event.pinIndex = pinIndex;
    event.size = int32_t(bytes.size());
    if (bytes.size() <= 8) {
        uint8_t words[8] = {};
        if (!bytes.empty()) std::memcpy(words, bytes.data(), bytes.size());
        std::memcpy(&event.valueWord0, words, 4);
        std::memcpy(&event.valueWord1, words + 4, 4);
    } else {
        event.extraData = extraData_.emplace_back(bytes).data();
    }
    return raw(event);
}

EventList& EventList::streaming(int32_t time, int32_t pinIndex, bool starts) {
    mp::TimedEvent event{};
    event.time = time;
    event.type = starts ? mp::MP_EVENT_PIN_STREAMING_START : mp::MP_EVENT_PIN_STREAMING_STOP;
    event.pinIndex = pinIndex;
    return raw(event);
}

EventList& EventList::start(int32_t time) {
    mp::TimedEvent event{};
    event.time = time;
    event.type = mp::MP_EVENT_START;
    return raw(event);
}

EventList& EventList::raw(const mp::TimedEvent& event) {
    events_.push_back(event);
    events_.back().next = nullptr;
    return *this;
}

const mp::TimedEvent* EventList::head() {
    if (events_.empty()) return nullptr;
    for (size_t i = 0; i + 1 < events_.size(); ++i) events_[i].next = &events_[i + 1];
    events_.back().next = nullptr;
    return events_.data();
}

void EventList::clear() {
    events_.clear();
    extraData_.clear();
}

}  // namespace host
