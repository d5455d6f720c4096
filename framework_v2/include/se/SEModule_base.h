// The base of every version-2 processing-side module object.
//
// The host reaches the object only through its SEModuleStruct: the dispatcher
// entry (dispatch), the processing entry (the current routine) and the event
// entry (processEvent). The object reaches the host through the callback it was
// made with. All calls come from the host's audio thread; nothing here locks.
#pragma once

#include <cstdint>
#include <memory>

#include "se/SEPin.h"
#include "se/abi/records.h"

class SEModule_base {
public:
    // A processing routine: run once per block with the buffer offset and the
    // number of samples.
    using ProcessRoutine = void (SEModule_base::*)(int32_t bufferOffset, int32_t sampleFrames);
    // A routine run by a deferred-call event (runAt).
    using DeferredRoutine = void (SEModule_base::*)();

    SEModule_base(seaudioMasterFunction callback, void* hostPointer);
    SEModule_base(const SEModule_base&) = delete;
    SEModule_base& operator=(const SEModule_base&) = delete;

    // Virtual operations, in the order of their slots.
    virtual ~SEModule_base();
    virtual void onPinStatusChanged(SEPin* pin);
    virtual void processEvent(SEEvent* event);
    virtual intptr_t dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt);
    virtual void open();
    virtual void close();
    virtual void spareHook();
    virtual void setSampleRate(float sampleRate);
    virtual void setBlockSize(int32_t blockSize);
    virtual float getSampleRate();
    virtual int32_t blockSize();
    virtual bool getPinProperties(int32_t index, SEPinProperties* properties);
    virtual int32_t spareQuery1();
    virtual int32_t spareQuery2();
    virtual void hostNotify();
    virtual void hostNotifyCount(int32_t count);
    virtual void onShortEvent(uint32_t timeStamp, int32_t value1, int32_t value2);
    virtual void onHostMessage(int32_t value, int32_t index, void* ptr);

    SEModuleStruct* getStruct() { return &m_struct; }

    // A request to the host; 0 when no callback is stored.
    intptr_t callHost(int32_t opcode, int32_t index = 0, int32_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    // The host's sample clock, asked anew at every call.
    uint32_t SampleClock();
    // Asks the host to stop running the processing routine.
    void sleepRequest();

    // The pin object in slot `index`. Needs the pin array; past the pin count
    // (or without an array, in release builds) the answer is an inert spare
    // pin with index -1 and no variable, never memory outside the array.
    SEPin* getPin(int32_t index);
    int32_t getPinCount() const { return m_pinCount; }

    // Selects the routine the host runs for each block; tells the host
    // (callback opcode 22) only when it differs from the current one.
    void setProcess(ProcessRoutine routine);
    template <class Derived>
    void setProcess(void (Derived::*routine)(int32_t, int32_t)) {
        setProcess(static_cast<ProcessRoutine>(routine));
    }

    // Hands the host an event for `timeStamp` (not before the current clock).
    void addEvent(uint32_t timeStamp, int32_t eventType, int32_t intParam1, int32_t intParam2, void* ptrParam);
    // Runs `routine` on this module when the clock reaches `timeStamp`. A
    // pointer to member does not fit the event's pointer parameter, so it
    // carries the routine's code resolved for this object instead, which the
    // event entry calls with the object.
    void runAt(uint32_t timeStamp, DeferredRoutine routine);
    template <class Derived>
    void runAt(uint32_t timeStamp, void (Derived::*routine)()) {
        runAt(timeStamp, static_cast<DeferredRoutine>(routine));
    }

protected:
    // The routine of a module that has not chosen one.
    void processNothing(int32_t bufferOffset, int32_t sampleFrames);

private:
    static intptr_t dispatcherEntry(SEModuleStruct* record, int32_t opcode, int32_t index, int32_t value, void* ptr,
                                    float opt);
    static void eventEntry(void* object, SEEvent* event);
    void buildPins();

    seaudioMasterFunction m_callback;
    SEModuleStruct m_struct{};
    float m_sampleRate = 44100.0f;
    int32_t m_blockSize = 1024;
    std::unique_ptr<SEPin[]> m_pins;
    int32_t m_pinCount = 0;
    SEPin m_sparePin;
    ProcessRoutine m_process = &SEModule_base::processNothing;
};
