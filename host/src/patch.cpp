#include "host/patch.h"

#include <algorithm>

#include "host/error.h"

namespace host {

void Patch::addDsp(DspInstance& dsp) {
    for (const DspSlot& slot : dsps_)
        if (slot.dsp == &dsp) throw HostError("the module is already in the patch");
    dsps_.push_back(DspSlot{&dsp, {}, {}});
    dsp.setListener([this, &dsp](const SentPinValue& value) {
        carry(Endpoint{&dsp, nullptr, value.pinIndex}, position_ + value.time,
              Bytes(value.bytes.begin(), value.bytes.end()));
    });
    dsp.activate();
}

void Patch::connect(DspInstance& from, int32_t outPin, DspInstance& to, int32_t inPin) {
    connect(Endpoint{&from, nullptr, outPin}, Endpoint{&to, nullptr, inPin});
}
void Patch::connect(DspInstance& from, int32_t outPin, GuiInstance& to, int32_t pin) {
    connect(Endpoint{&from, nullptr, outPin}, Endpoint{nullptr, &to, pin});
}
void Patch::connect(GuiInstance& from, int32_t pin, GuiInstance& to, int32_t toPin) {
    connect(Endpoint{nullptr, &from, pin}, Endpoint{nullptr, &to, toPin});
}
void Patch::connect(GuiInstance& from, int32_t pin, DspInstance& to, int32_t inPin) {
    connect(Endpoint{nullptr, &from, pin}, Endpoint{&to, nullptr, inPin});
}

void Patch::connect(Endpoint from, Endpoint to) {
    if (from.dsp) slotOf(*from.dsp);  // DSP ends must have been added: they run in the patch's order
    if (to.dsp) slotOf(*to.dsp);
    if (from.gui) {
        GuiInstance& gui = *from.gui;
        gui.setListener([this, &gui](const SentGuiValue& value) {
            carry(Endpoint{nullptr, &gui, value.pinIndex}, position_, value.bytes);
        });
    }
    connections_.push_back(Connection{from, to});
}

Patch::DspSlot& Patch::slotOf(DspInstance& dsp) {
    for (DspSlot& slot : dsps_)
        if (slot.dsp == &dsp) return slot;
    throw HostError("the module is not in the patch (addDsp it first)");
}

void Patch::schedule(DspInstance& dsp, int64_t sample, int32_t pinIndex, const Bytes& bytes) {
    slotOf(dsp).pending.push_back(Pending{sample, false, pinIndex, bytes});
}

void Patch::scheduleStart(DspInstance& dsp, int64_t sample) {
    slotOf(dsp).pending.push_back(Pending{sample, true, 0, {}});
}

int32_t Patch::deliver(GuiInstance& gui, int32_t pinIndex, const Bytes& bytes) {
    const int32_t status = gui.deliver(pinIndex, bytes);
    pumpGui();
    return status;
}

void Patch::carry(const Endpoint& from, int64_t sample, const Bytes& bytes) {
    for (const Connection& c : connections_) {
        if (c.from.dsp != from.dsp || c.from.gui != from.gui || c.from.pin != from.pin) continue;
        if (c.to.dsp != nullptr)
            // A module that already ran this block takes it at the start of its next one.
            slotOf(*c.to.dsp).pending.push_back(Pending{sample, false, c.to.pin, bytes});
        else
            guiQueue_.push_back(GuiDelivery{c.to.gui, c.to.pin, bytes});
    }
}

void Patch::runBlock(int32_t sampleCount) {
    const int64_t end = position_ + sampleCount;
    for (DspSlot& slot : dsps_) {
        auto& pending = slot.pending;
        std::stable_sort(pending.begin(), pending.end(),
                         [](const Pending& a, const Pending& b) { return a.sample < b.sample; });
        const auto due = std::find_if(pending.begin(), pending.end(), [end](const Pending& p) { return p.sample >= end; });
        slot.events.clear();
        for (auto p = pending.begin(); p != due; ++p) {
            const auto time = int32_t(std::max<int64_t>(0, p->sample - position_));
            if (p->start)
                slot.events.start(time);
            else
                slot.events.value(time, p->pinIndex, p->bytes);
        }
        pending.erase(pending.begin(), due);
        slot.dsp->runBlock(sampleCount, slot.events);
    }
    position_ = end;
    pumpGui();
}

void Patch::pumpGui(int maxDeliveries) {
    int delivered = 0;
    while (!guiQueue_.empty()) {
        if (++delivered > maxDeliveries)
            throw HostError("GUI values keep following one another: a feedback loop in the patch?");
        GuiDelivery next = std::move(guiQueue_.front());
        guiQueue_.pop_front();
        next.gui->deliver(next.pinIndex, next.bytes);
    }
}

}  // namespace host
