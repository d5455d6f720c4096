// A version-2 library's processing object (made with makeModule type 1) and
// the host side of its callback.
//
// The host answers the processing-side callback opcodes: the sample clock
// (its own virtual clock), the pin count, pin status changes (recorded with
// their clock and, where the host knows the pin's variable, its value), the
// event queue (opcode 19 copies the event; the host delivers it back through
// the event entry when the clock reaches it), sleep requests, processing-entry
// changes, connection state and audio buffers. All calls stand for the host's
// audio thread.
//
// Recording allocates nothing while its reserved storage lasts, so blocks run
// through an instance can be checked for allocations in the module.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/library.h"
#include "se/abi/records.h"

namespace host {

// A copy of what getModuleProperties wrote.
struct V2Properties {
    std::string name, id, about;
    int32_t flags = 0, guiFlags = 0, sdkVersion = 0;
};
// Reads module 0's properties; throws HostError when the library refuses them.
V2Properties readProperties(const Library& library);

struct V2Options {
    float sampleRate = 44100.0f;
    int32_t blockSize = 64;  // the most samples of a block; told to the module
    // The answer to the pin-count request. By default the number of declared
    // pins that have a processing-side object.
    std::optional<int32_t> pinCount;
    bool provideCallback = true;  // false: the object is made without a callback
    bool tellSampleRate = true;   // false: create sends no opcode 2
};

// One pin as the module declared it (dispatcher opcode 6).
struct V2DeclaredPin {
    int32_t index;
    std::string name;
    int32_t direction, datatype, flags;
    void* variable;
    int32_t slot;  // its pin object's slot, -1 for GUI-only pins
};

struct V2StatusChange {
    int32_t opcode;       // 0 or 4
    uint32_t clock;       // the clock the module gave
    uint32_t hostClock;   // the host's clock when it was sent
    int32_t pinIndex;
    int32_t status;
    bool hasValue;        // the pin's variable is known to the host and 4 bytes wide
    uint32_t valueBits;   // its content when the change arrived
};

class V2DspInstance {
public:
    // Makes the processing object, asks for its declared pins and sets the
    // sample rate and block size (dispatcher opcodes 6, 2, 3). Not yet open.
    // Throws HostError when the library makes no object.
    static std::unique_ptr<V2DspInstance> create(std::shared_ptr<Library> library, V2Options options = {});
    ~V2DspInstance();  // closes the object if it is still there
    V2DspInstance(const V2DspInstance&) = delete;
    V2DspInstance& operator=(const V2DspInstance&) = delete;

    void open() { dispatch(seffOpen); }
    // Opcode 1: the object closes and destroys itself; returns its answer.
    intptr_t close();
    // Any dispatcher call, as a host may send it. Opcode 1 ends the object.
    intptr_t dispatch(int32_t opcode, int32_t index = 0, int32_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    bool alive() const { return record_ != nullptr; }
    const SEModuleStruct* record() const { return record_; }
    // A copy of the opcode-13 answer; throws HostError when there is none.
    SEProcessInfo processInfo();

    // Runs `samples` samples: blocks of at most the block size, each ending
    // where a queued event falls due. Before each block the events due at its
    // first sample are delivered; the routine is not run while the module sleeps.
    void run(int64_t samples);
    // One block of `count` samples (1..block size) at the current clock.
    void runBlock(int32_t count);

    // Host events, delivered when the clock reaches them (a time already
    // passed counts as now). Delivering an event wakes a sleeping module.
    void scheduleStatus(uint32_t clock, int32_t pinIndex, int32_t status);
    void scheduleEvent(const SEEvent& event);
    // Calls the event entry at once, whatever the event's time.
    void deliverNow(SEEvent event);

    uint32_t clock() const { return clock_; }
    void setClock(uint32_t clock) { clock_ = clock; }
    void setConnected(int32_t pinIndex, bool connected);
    // The audio buffer of a pin slot (block-size samples), empty for other pins.
    std::span<float> audioBuffer(int32_t slot);

    const std::vector<V2DeclaredPin>& declaredPins() const { return declared_; }
    int32_t pinCount() const { return pinCount_; }
    const std::vector<V2StatusChange>& statusChanges() const { return statusChanges_; }
    // Every event the module handed over (opcode 19), as copied.
    const std::vector<SEEvent>& addedEvents() const { return added_; }
    int64_t sleepRequests() const { return sleepRequests_; }
    int64_t processChanges() const { return processChanges_; }
    int64_t blocksRun() const { return blocksRun_; }
    bool sleeping() const { return sleeping_; }
    // How often the module sent each callback opcode (0..31; others counted at 31).
    int64_t calls(int32_t opcode) const;
    void clearRecords();

private:
    V2DspInstance(std::shared_ptr<Library> library, V2Options options);
    static intptr_t callback(void* record, int32_t opcode, int32_t index, int32_t value, void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, int32_t value, void* ptr);
    void queue(SEEvent event);
    void deliverDue();
    const V2DeclaredPin* pinInSlot(int32_t slot) const;

    std::shared_ptr<Library> library_;
    V2Options options_;
    SEModuleStruct* record_ = nullptr;
    std::vector<V2DeclaredPin> declared_;
    int32_t pinCount_ = 0;
    uint32_t clock_ = 0;
    uint32_t bufferClock_ = 0;
    bool sleeping_ = false;
    std::vector<std::vector<float>> buffers_;  // per slot
    std::vector<bool> connected_;              // per slot
    std::vector<SEEvent> pending_;             // in time order
    std::vector<V2StatusChange> statusChanges_;
    std::vector<SEEvent> added_;
    std::array<int64_t, 32> calls_{};
    int64_t sleepRequests_ = 0, processChanges_ = 0, blocksRun_ = 0;
};

}  // namespace host
