// The processing object's dispatcher opcodes, its routine selection and the
// process information record, through the probe plug-in.
#include <gtest/gtest.h>

#include <cstring>

#include "probe2_host.h"

namespace {

using probe2::command;

TEST(ModuleDispatcher, AnswersOpcodesOutsideTheTableWithZeroAndChangesNothing) {
    auto dsp = probe2::make({});
    dsp->open();
    const probe2::Counters before = probe2::counters(*dsp);
    const auto callsBefore = dsp->calls(22);
    for (int32_t opcode : {4, 5, 7, 9, 10, 11, 14, 15, 64, 1000, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(opcode);
        int32_t scratch[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_EQ(dsp->dispatch(opcode, 3, 4, scratch, 5.0f), 0);
        EXPECT_EQ(scratch[0], 1);
        EXPECT_EQ(scratch[7], 8);
    }
    const probe2::Counters after = probe2::counters(*dsp);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(dsp->calls(22), callsBefore);
}

TEST(ModuleDispatcher, AnswersTheTabledOpcodes) {
    auto dsp = probe2::make({{DR_IN, DT_FLOAT_VALUE, 0, 1}});
    EXPECT_EQ(probe2::counters(*dsp).opened, 0);
    EXPECT_EQ(dsp->dispatch(seffOpen), 0);
    EXPECT_EQ(probe2::counters(*dsp).opened, 1);

    SEPinProperties properties{};
    EXPECT_EQ(dsp->dispatch(seffGetPinProperties, 0, 0, &properties), 1);
    EXPECT_STREQ(properties.name, "p0");
    EXPECT_EQ(dsp->dispatch(seffGetPinProperties, 1, 0, &properties), 0);
    EXPECT_EQ(dsp->dispatch(seffGetPinProperties, -1, 0, &properties), 0);
    EXPECT_EQ(dsp->dispatch(seffGetPinProperties, 0, 0, nullptr), 0);

    struct Notify {
        int32_t index;
        int32_t notifies, countCalls, lastCount;
    };
    const Notify notifies[] = {{0, 1, 0, 0}, {-3, 2, 0, 0}, {5, 3, 1, 5}};
    for (const auto& n : notifies) {
        SCOPED_TRACE(n.index);
        EXPECT_EQ(dsp->dispatch(seffHostNotify, n.index), 0);
        const probe2::Counters c = probe2::counters(*dsp);
        EXPECT_EQ(c.hostNotifies, n.notifies);
        EXPECT_EQ(c.notifyCountCalls, n.countCalls);
        EXPECT_EQ(c.lastNotifyCount, n.lastCount);
    }
    EXPECT_EQ(dsp->dispatch(seffHostMessage, 0, 999, nullptr), 0);  // reaches onHostMessage, ignored there
    EXPECT_EQ(dsp->close(), 1);
    EXPECT_FALSE(dsp->alive());  // the sanitizer build proves the object is freed
}

TEST(ModuleDispatcher, SampleRateAndBlockSizeAreStoredUntilTheHostSetsThem) {
    // hostclock outputs the stored sample rate at open.
    struct Case {
        bool tell;
        float rate;
        float expected;
    };
    for (const Case c : {Case{false, 0.0f, 44100.0f}, Case{true, 48000.0f, 48000.0f}}) {
        host::V2Options options;
        options.tellSampleRate = c.tell;
        options.sampleRate = c.rate;
        auto dsp = host::V2DspInstance::create(testing_support::openDeliverable("hostclock"), options);
        dsp->open();
        ASSERT_EQ(dsp->statusChanges().size(), 1u);
        float value;
        std::memcpy(&value, &dsp->statusChanges()[0].valueBits, 4);
        EXPECT_EQ(value, c.expected);
    }
}

TEST(SetProcess, TellsTheHostOnlyOfADifferentRoutine) {
    auto dsp = probe2::make({});
    dsp->open();
    const SEProcessEntry initial = dsp->record()->processEntry;
    ASSERT_NE(initial, nullptr);
    struct Step {
        int32_t routine;  // 0 the base's, 1 and 2 the probe's, 3 null
        int64_t changes;  // opcode-22 calls so far
    };
    const Step steps[] = {{0, 0}, {1, 1}, {1, 1}, {2, 2}, {3, 3}, {3, 3}, {0, 4}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.routine);
        command(*dsp, probe2::selectRoutine, s.routine);
        EXPECT_EQ(dsp->processChanges(), s.changes);
        EXPECT_EQ(dsp->calls(22), s.changes);
        EXPECT_EQ(dsp->record()->processEntry == nullptr, s.routine == 3);
    }
    EXPECT_EQ(dsp->record()->processEntry, initial);
}

TEST(SetProcess, TheHostRunsTheCurrentRoutineOncePerBlock) {
    auto dsp = probe2::make({});
    dsp->open();
    command(*dsp, probe2::selectRoutine, 1);
    dsp->runBlock(32);
    dsp->runBlock(7);
    command(*dsp, probe2::selectRoutine, 2);
    dsp->runBlock(5);
    command(*dsp, probe2::selectRoutine, 3);  // no routine: the host runs nothing
    dsp->runBlock(5);
    const probe2::Counters c = probe2::counters(*dsp);
    EXPECT_EQ(c.routineCalls[1], 2);
    EXPECT_EQ(c.routineCalls[2], 1);
    EXPECT_EQ(c.lastOffset, 0);
    EXPECT_EQ(c.lastCount, 5);
    EXPECT_EQ(dsp->clock(), 49u);
}

TEST(ProcessInfo, DescribesTheStoredRoutineRecord) {
    auto dsp = probe2::make({});
    struct Itanium {
        void (Itanium::*routine)(int32_t, int32_t);
    };
    const SEProcessInfo first = dsp->processInfo();
    EXPECT_EQ(first.version, 1);
    EXPECT_EQ(first.recordSize, int32_t(sizeof(Itanium::routine)));
    EXPECT_EQ(first.tag, sizeof(Itanium::routine) == 8 ? 1002 : 0);
    ASSERT_NE(first.record, nullptr);

    // The record lies in the object and follows the selected routine.
    std::vector<uint8_t> before(size_t(first.recordSize)), after(size_t(first.recordSize));
    std::memcpy(before.data(), first.record, before.size());
    command(*dsp, probe2::selectRoutine, 1);
    const SEProcessInfo second = dsp->processInfo();
    EXPECT_EQ(second.record, first.record);
    std::memcpy(after.data(), second.record, after.size());
    EXPECT_NE(before, after);
}

TEST(Sleep, StopsTheRoutineUntilAnEventArrives) {
    auto dsp = probe2::make({{DR_IN, DT_FLOAT_VALUE, 0, 1}});
    dsp->open();
    command(*dsp, probe2::selectRoutine, 1);
    dsp->runBlock(8);
    command(*dsp, probe2::sleep);
    EXPECT_EQ(dsp->sleepRequests(), 1);
    dsp->runBlock(8);
    dsp->scheduleStatus(dsp->clock(), 0, 2);
    dsp->runBlock(8);
    EXPECT_EQ(probe2::counters(*dsp).routineCalls[1], 2);
}

}  // namespace
