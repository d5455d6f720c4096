// A small patch: module instances and the connections between their pins.
//
// The patch carries what an output sends to every input connected to it, as a
// host does:
//  - DSP to DSP: a value sent at sample t of a block reaches the input at the
//    same sample when the receiving module runs later in that block, else at
//    the start of its next block.
//  - DSP to GUI: delivered (value, then notice) after the block, as a host's
//    user-interface thread would.
//  - GUI to GUI: delivered after the call that sent it returns, in order.
//  - GUI to DSP: reaches the DSP input at the start of the next block.
// Instances are not owned; they must outlive the patch.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "host/dsp_instance.h"
#include "host/gui_instance.h"

namespace host {

class Patch {
public:
    // Adds a DSP instance to the run order and activates it.
    void addDsp(DspInstance& dsp);
    void connect(DspInstance& from, int32_t outPin, DspInstance& to, int32_t inPin);
    void connect(DspInstance& from, int32_t outPin, GuiInstance& to, int32_t pin);
    void connect(GuiInstance& from, int32_t pin, GuiInstance& to, int32_t toPin);
    void connect(GuiInstance& from, int32_t pin, DspInstance& to, int32_t inPin);

    // Queues a value or the start event for a DSP input at an absolute sample.
    void schedule(DspInstance& dsp, int64_t sample, int32_t pinIndex, const Bytes& bytes);
    void scheduleStart(DspInstance& dsp, int64_t sample);

    // Delivers a value to a GUI pin from outside (a user moving a control),
    // then carries whatever follows from it.
    int32_t deliver(GuiInstance& gui, int32_t pinIndex, const Bytes& bytes);

    // Runs one block of every DSP instance in order, then the GUI deliveries.
    void runBlock(int32_t sampleCount);
    // Carries pending GUI deliveries until none are left. Throws HostError if
    // more than `maxDeliveries` follow one another (a feedback loop).
    void pumpGui(int maxDeliveries = 10000);

private:
    // One end of a connection: a pin of either a DSP or a GUI instance.
    struct Endpoint {
        DspInstance* dsp = nullptr;
        GuiInstance* gui = nullptr;
        int32_t pin = 0;
    };
    struct Connection {
        Endpoint from;
        Endpoint to;
    };
    struct Pending {
        int64_t sample;
        bool start;
        int32_t pinIndex;
        Bytes bytes;
    };
    struct DspSlot {
        DspInstance* dsp;
        std::vector<Pending> pending;
        EventList events;
    };
    struct GuiDelivery {
        GuiInstance* gui;
        int32_t pinIndex;
        Bytes bytes;
    };

    void connect(Endpoint from, Endpoint to);
    DspSlot& slotOf(DspInstance& dsp);
    void carry(const Endpoint& from, int64_t sample, const Bytes& bytes);

    std::vector<DspSlot> dsps_;
    std::vector<Connection> connections_;
    std::deque<GuiDelivery> guiQueue_;
    int64_t position_ = 0;  // absolute sample at which the current or next block starts
};

}  // namespace host
