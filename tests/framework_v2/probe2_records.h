// The records the test-only version-2 plug-in "probe2" and its tests share.
// Commands reach the processing object through dispatcher opcode 12
// (value = command, ptr = a ProbeArgs record) and the GUI object through
// opcode 6 (value = command, ptr = a ProbeArgs record).
#pragma once

#include <cstdint>

namespace probe2 {

inline constexpr int32_t maxPins = 8;

struct PinDeclaration {
    int32_t direction;
    int32_t datatype;
    int32_t flags;
    int32_t withVariable;  // 1: the pin's variable is the probe's variable of this pin's index
};

// The pins every probe object made afterwards declares (library-wide).
struct Configuration {
    int32_t count;
    PinDeclaration pins[maxPins];
};

// What a pin slot holds: its index, datatype, status, where its variable
// points and the variable's content.
enum VariableKind : int32_t { noVariable = 0, ownStorage = 1, moduleVariable = 2, elsewhere = 3 };
struct SlotReport {
    int32_t index, datatype, status, variableKind;
    uint64_t content;  // read at the datatype's width (audio: the buffer address)
};

// The probe's record of what the framework called.
struct Counters {
    int32_t routineCalls[3];  // per routine 0 (the base's), 1, 2: 1 and 2 are the probe's
    int32_t lastOffset, lastCount;
    int32_t statusCalls, lastStatusPin, statusDuringCall;
    int32_t shortEvents, lastShortTime, lastShort1, lastShort2;
    int32_t deferredCalls;
    int32_t hostNotifies, lastNotifyCount, notifyCountCalls;
    int32_t opened, closed;
};

enum DspCommand : int32_t {
    configure = 1,     // ptr: Configuration
    reportSlots = 2,   // args.a: slots to report into args.slots; args.out[0]: pin count
    selectRoutine = 3, // args.a: 0 the base's do-nothing, 1, 2 the probe's, 3 a null routine
    addEvent = 4,      // args.a time, b type, c int 1, d int 2
    runAt = 5,         // args.a time
    getPin = 6,        // args.a index; args.out[0]: the index of the pin object returned
    sendStatus = 7,    // args.a pin, b clock, c status
    sendStatusAt = 8,  // args.a pin, b clock, c status
    isConnected = 9,   // args.a pin; args.out[0]
    audioValueNow = 10,  // args.a pin; args.outFloat
    sleep = 11,
    readCounters = 12,   // args.counters
    sampleClock = 13,    // args.out[0]
};

enum GuiCommand : int32_t {
    guiAddPin = 1,         // args.a datatype, b direction, text name
    guiSetChoices = 2,     // args.a pin, text
    guiSetInt = 3,         // args.a pin, b value
    guiSetFloat = 4,       // args.a pin, outFloat value
    guiGetInt = 5,         // args.a pin; out[0]
    guiGetFloat = 6,       // args.a pin; outFloat
    guiSetText = 7,        // args.a pin, text
    guiGetText = 8,        // args.a pin; text
    guiGetWideText = 9,    // args.a pin; wide
    guiRequests = 10,      // sends 18, 19 (ptr = &args) and 20; out[0] the answer of 20
    guiReadHooks = 11,     // hooks
};

// The GUI probe's record of its hooks: the last call of each opcode.
struct HookCall {
    int32_t calls;
    int32_t index;  // or the point's x
    int32_t value;  // or the point's y
    float opt;
    void* ptr;
};
struct Hooks {
    HookCall byOpcode[13];
    int32_t initialisedRestored;  // -1 before initialise
};

struct ProbeArgs {
    int32_t a, b, c, d;
    int32_t out[4];
    float outFloat;
    char text[64];
    char16_t wide[64];
    SlotReport slots[16];
    Counters counters;
    Hooks hooks;
};

}  // namespace probe2
