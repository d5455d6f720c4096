// The pin array a processing object builds when it opens, pin requests,
// and the events the host delivers, through the probe plug-in.
#include <gtest/gtest.h>

#include <cstring>

#include "probe2_host.h"

namespace {

using probe2::command;
using probe2::PinDeclaration;
using probe2::SlotReport;

constexpr int32_t guiOnly = IO_UI_COMMUNICATION;
constexpr int32_t none = -1;  // a slot left uninitialised (index -1)

struct Expected {
    int32_t index, datatype, variableKind;
    uint64_t content;
};

struct ArrayCase {
    const char* what;
    std::vector<PinDeclaration> pins;
    int32_t pinCount;
    std::vector<Expected> slots;
};

constexpr uint64_t var(int i) { return 0x1111111111111111u * uint64_t(i + 1); }
constexpr uint64_t low(uint64_t value, int bytes) { return value & ((uint64_t(1) << (8 * bytes)) - 1); }

TEST(OpenBuildsThePinArray, ByTheDeclarationRules) {
    using probe2::moduleVariable, probe2::ownStorage, probe2::noVariable;
    const ArrayCase cases[] = {
        {"one slot per declared pin, with the module's variables",
         {{DR_IN, DT_FLOAT_VALUE, 0, 1}, {DR_OUT, DT_INT, 0, 1}},
         2,
         {{0, DT_FLOAT_VALUE, moduleVariable, low(var(0), 4)}, {1, DT_INT, moduleVariable, low(var(1), 4)}}},
        {"GUI-only pins take no slot",
         {{DR_IN, DT_FLOAT_VALUE, guiOnly, 1}, {DR_IN, DT_INT, 0, 1}, {DR_OUT, DT_FLOAT_VALUE, guiOnly, 0}},
         2,
         {{0, DT_INT, moduleVariable, low(var(1), 4)}, {none, -1, noVariable, 0}}},
        {"all pins GUI-only: no pin object initialised",
         {{DR_IN, DT_FLOAT_VALUE, guiOnly | 0x4, 0}, {DR_OUT, DT_FLOAT_VALUE, guiOnly | 0x4, 0}},
         2,
         {{none, -1, noVariable, 0}, {none, -1, noVariable, 0}}},
        {"GUI pins that also live on the processing side take a slot",
         {{DR_IN, DT_FLOAT_VALUE, guiOnly | IO_UI_WITH_DSP, 1}},
         1,
         {{0, DT_FLOAT_VALUE, moduleVariable, low(var(0), 4)}}},
        {"a repeated last pin fills the remaining slots, without variables",
         {{DR_IN, DT_FLOAT_VALUE, 0, 1}, {DR_IN, DT_INT, 0, 1}, {DR_IN, DT_FLOAT_VALUE, IO_REPEAT_LAST, 1}},
         5,
         {{0, DT_FLOAT_VALUE, moduleVariable, low(var(0), 4)},
          {1, DT_INT, moduleVariable, low(var(1), 4)},
          {2, DT_FLOAT_VALUE, moduleVariable, low(var(2), 4)},
          {3, DT_FLOAT_VALUE, ownStorage, 0},
          {4, DT_FLOAT_VALUE, ownStorage, 0}}},
        {"a repeated choice pin reads 0 as a 16-bit value",
         {{DR_IN, DT_ENUM_LIST, IO_REPEAT_LAST, 0}},
         2,
         {{0, DT_ENUM_LIST, ownStorage, 0}, {1, DT_ENUM_LIST, ownStorage, 0}}},
        {"an 8-bit pin and types without storage",
         {{DR_IN, DT_BOOL, 0, 0}, {DR_IN, 7, IO_REPEAT_LAST, 0}},
         3,
         {{0, DT_BOOL, ownStorage, 0}, {1, 7, noVariable, 0}, {2, 7, noVariable, 0}}},
        {"no repetition when the last declared pin is GUI-only",
         {{DR_IN, DT_INT, IO_REPEAT_LAST, 1}, {DR_IN, DT_INT, guiOnly | IO_REPEAT_LAST, 0}},
         3,
         {{0, DT_INT, moduleVariable, low(var(0), 4)}, {none, -1, noVariable, 0}, {none, -1, noVariable, 0}}},
        {"declaration stops when the host's pin count is reached",
         {{DR_IN, DT_INT, 0, 1}, {DR_IN, DT_INT, 0, 1}, {DR_IN, DT_INT, 0, 1}},
         2,
         {{0, DT_INT, moduleVariable, low(var(0), 4)}, {1, DT_INT, moduleVariable, low(var(1), 4)}}},
        {"pin count 0: no array", {{DR_IN, DT_INT, 0, 1}}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host::V2Options options;
        options.pinCount = c.pinCount;
        auto dsp = probe2::make(c.pins, options);
        dsp->open();
        const auto slots = probe2::slots(*dsp);
        ASSERT_EQ(slots.size(), c.slots.size());
        for (size_t i = 0; i < slots.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(slots[i].index, c.slots[i].index);
            EXPECT_EQ(slots[i].datatype, c.slots[i].datatype);
            EXPECT_EQ(slots[i].status, 0);
            EXPECT_EQ(slots[i].variableKind, c.slots[i].variableKind);
            EXPECT_EQ(slots[i].content, c.slots[i].content);
        }
    }
}

TEST(OpenBuildsThePinArray, RepeatedAudioPinsHoldTheHostsBuffer) {
    host::V2Options options;
    options.pinCount = 3;
    auto dsp = probe2::make({{DR_IN, DT_FSAMPLE, IO_REPEAT_LAST, 1}}, options);
    dsp->open();
    const auto slots = probe2::slots(*dsp);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].variableKind, probe2::moduleVariable);
    for (int32_t slot = 0; slot < 3; ++slot) {
        SCOPED_TRACE(slot);
        // The declared pin's variable was filled by the host, the copies asked for it (opcode 7).
        EXPECT_EQ(slots[size_t(slot)].content, reinterpret_cast<uintptr_t>(dsp->audioBuffer(slot).data()));
    }
    EXPECT_EQ(slots[1].variableKind, probe2::ownStorage);
    EXPECT_EQ(dsp->calls(seaudioMasterGetPinBuffer), 2);
}

TEST(Pins, SendStatusChangesWithTheirClock) {
    auto dsp = probe2::make({{DR_OUT, DT_FLOAT_VALUE, 0, 1}, {DR_OUT, DT_INT, 0, 1}});
    dsp->open();
    dsp->runBlock(10);
    command(*dsp, probe2::sendStatus, 1, 4, 1);
    command(*dsp, probe2::sendStatusAt, 0, 25, 2);
    ASSERT_EQ(dsp->statusChanges().size(), 2u);
    const auto& first = dsp->statusChanges()[0];
    EXPECT_EQ(first.opcode, 0);
    EXPECT_EQ(first.pinIndex, 1);
    EXPECT_EQ(first.clock, 4u);
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.valueBits, uint32_t(var(1)));  // the host read the pin's variable
    const auto& second = dsp->statusChanges()[1];
    EXPECT_EQ(second.opcode, 4);
    EXPECT_EQ(second.pinIndex, 0);
    EXPECT_EQ(second.clock, 25u);
    EXPECT_EQ(second.hostClock, 10u);
}

TEST(Pins, AskTheHostWhetherTheyAreConnected) {
    auto dsp = probe2::make({{DR_IN, DT_INT, 0, 1}, {DR_IN, DT_INT, 0, 1}});
    dsp->open();
    dsp->setConnected(1, true);
    EXPECT_EQ(command(*dsp, probe2::isConnected, 0).out[0], 0);
    EXPECT_EQ(command(*dsp, probe2::isConnected, 1).out[0], 1);
}

TEST(Pins, ReadTheAudioSampleAtTheCurrentClock) {
    auto dsp = probe2::make({{DR_IN, DT_FSAMPLE, 0, 1}});
    dsp->open();
    dsp->runBlock(8);  // the buffer now starts at clock 0
    for (int i = 0; i < 64; ++i) dsp->audioBuffer(0)[size_t(i)] = float(i) + 0.5f;
    struct Case {
        uint32_t clock;
        float sample;
    };
    // Past the block size the pin reads 0 rather than beyond the buffer.
    for (const Case c : {Case{0, 0.5f}, Case{3, 3.5f}, Case{63, 63.5f}, Case{64, 0.0f}, Case{100000, 0.0f}}) {
        SCOPED_TRACE(c.clock);
        dsp->setClock(c.clock);
        EXPECT_EQ(command(*dsp, probe2::audioValueNow, 0).outFloat, c.sample);
    }
}

TEST(Pins, PastThePinCountTheModuleGetsAnInertPin) {
    auto dsp = probe2::make({{DR_OUT, DT_INT, 0, 1}});
    dsp->open();
    for (int32_t index : {1, 2, 1000, -1, INT32_MIN}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(command(*dsp, probe2::getPin, index).out[0], -1);
    }
    EXPECT_EQ(command(*dsp, probe2::getPin, 0).out[0], 0);
}

struct EventCase {
    const char* what;
    SEEvent event;
    int32_t statusCalls, statusDuringCall, statusAfter;
    int32_t shortEvents, short1, short2;
};

TEST(ProcessEvent, ActsByEventType) {
    const auto pin = [](intptr_t index) { return reinterpret_cast<void*>(index); };
    const EventCase cases[] = {
        {"status 1 is a one-off change", {0, UET_STAT_CHANGE, 1, 0, pin(1), nullptr}, 1, 1, 0, 0, 0, 0},
        {"status 2 is kept", {0, UET_STAT_CHANGE, 2, 0, pin(1), nullptr}, 1, 2, 2, 0, 0, 0},
        {"short event, second value as int16", {0, UET_SHORT_EVENT, 7, 0x1fffe, nullptr, nullptr}, 0, 0, 0, 1, 7, -2},
        {"short event, positive", {0, UET_SHORT_EVENT, -5, 0x7fff, nullptr, nullptr}, 0, 0, 0, 1, -5, 32767},
        {"type 6 is ignored", {0, 6, 1, 1, pin(1), nullptr}, 0, 0, 0, 0, 0, 0},
        {"a status for a pin past the count is dropped", {0, UET_STAT_CHANGE, 2, 0, pin(2), nullptr}, 0, 0, 0, 0, 0, 0},
        {"a status for a negative pin is dropped", {0, UET_STAT_CHANGE, 2, 0, pin(-1), nullptr}, 0, 0, 0, 0, 0, 0},
        {"unknown types are ignored", {0, 99, 1, 1, pin(1), nullptr}, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto dsp = probe2::make({{DR_IN, DT_INT, 0, 1}, {DR_IN, DT_INT, 0, 1}});
        dsp->open();
        dsp->runBlock(16);
        SEEvent event = c.event;
        event.time_stamp = 40;
        dsp->scheduleEvent(event);
        dsp->run(40);  // blocks end at the event: delivered at clock 40
        EXPECT_EQ(dsp->clock(), 56u);
        const probe2::Counters counters = probe2::counters(*dsp);
        EXPECT_EQ(counters.statusCalls, c.statusCalls);
        if (c.statusCalls > 0) {
            EXPECT_EQ(counters.lastStatusPin, 1);
            EXPECT_EQ(counters.statusDuringCall, c.statusDuringCall);
        }
        EXPECT_EQ(probe2::slots(*dsp)[1].status, c.statusAfter);
        EXPECT_EQ(counters.shortEvents, c.shortEvents);
        if (c.shortEvents > 0) {
            EXPECT_EQ(counters.lastShortTime, 40);
            EXPECT_EQ(counters.lastShort1, c.short1);
            EXPECT_EQ(counters.lastShort2, c.short2);
        }
    }
}

TEST(AddEvent, HandsTheHostAnEventItCopies) {
    auto dsp = probe2::make({});
    dsp->open();
    dsp->runBlock(10);
    command(*dsp, probe2::addEvent, 12, UET_SHORT_EVENT, 3, 4);
    ASSERT_EQ(dsp->addedEvents().size(), 1u);
    const SEEvent& e = dsp->addedEvents()[0];
    EXPECT_EQ(e.time_stamp, 12u);
    EXPECT_EQ(e.eventType, UET_SHORT_EVENT);
    EXPECT_EQ(e.intParam1, 3);
    EXPECT_EQ(e.intParam2, 4);
    EXPECT_EQ(e.ptrParam, nullptr);
    EXPECT_EQ(e.next, nullptr);
    dsp->run(4);  // the host gives it back at clock 12
    EXPECT_EQ(probe2::counters(*dsp).shortEvents, 1);
    EXPECT_EQ(probe2::counters(*dsp).lastShortTime, 12);
}

TEST(RunAt, RunsTheRoutineWhenTheClockReachesIt) {
    auto dsp = probe2::make({});
    dsp->open();
    command(*dsp, probe2::runAt, 100);
    command(*dsp, probe2::runAt, 100);
    ASSERT_EQ(dsp->addedEvents().size(), 2u);
    EXPECT_EQ(dsp->addedEvents()[0].eventType, UET_DEFERRED_CALL);
    EXPECT_EQ(dsp->addedEvents()[0].intParam1, 0);
    EXPECT_EQ(dsp->addedEvents()[0].intParam2, 0);
    EXPECT_NE(dsp->addedEvents()[0].ptrParam, nullptr);
    dsp->run(100);
    EXPECT_EQ(probe2::counters(*dsp).deferredCalls, 0);
    dsp->run(1);
    EXPECT_EQ(probe2::counters(*dsp).deferredCalls, 2);
}

}  // namespace
