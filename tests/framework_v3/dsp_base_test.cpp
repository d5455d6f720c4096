// Block processing of the DSP base, observed through the probe plug-in: the
// split at event times, the three passes, pins, streaming and sleeping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "host/dsp_instance.h"
#include "plugins.h"
#include "probe_records.h"

namespace {

using Renders = std::vector<std::pair<int32_t, int32_t>>;

class DspBase : public ::testing::Test {
protected:
    // "probe" sleeps when it may; "probe.awake" never does.
    std::unique_ptr<host::DspInstance> make(const char* id) {
        auto dsp = host::DspInstance::create(testing_support::openTestPlugin("probe"), id);
        dsp->activate();
        return dsp;
    }
    static std::vector<probe::Report> ofKind(const host::DspInstance& dsp, int32_t kind) {
        std::vector<probe::Report> result;
        for (const auto& r : probe::reports(dsp))
            if (r.kind() == kind) result.push_back(r);
        return result;
    }
    host::EventList events;
};

TEST_F(DspBase, HandlesEventsAtTimeZeroBeforeRenderingTheWholeBlock) {
    auto dsp = make("probe.awake");
    events.value(0, 0, 1.5f);
    dsp->processBlock(64, events);
    const auto reports = probe::reports(*dsp);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].kind(), probe::handler);
    EXPECT_EQ(reports[1].kind(), probe::pinsChanged);
    EXPECT_EQ(reports[2].kind(), probe::render);
    EXPECT_EQ(reports[2].words[1], 0);
    EXPECT_EQ(reports[2].words[2], 64);
    EXPECT_EQ(reports[2].pin0(), 1.5f);
}

TEST_F(DspBase, GroupsEventsOfOneTimeIntoOneNotificationWhileBothPinsAreFresh) {
    auto dsp = make("probe.awake");
    events.value(8, 0, 2.0f).value(8, 1, int32_t(7));
    dsp->processBlock(64, events);
    const auto changes = ofKind(*dsp, probe::pinsChanged);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].time, 8);
    EXPECT_EQ(changes[0].words[1], 1);  // pin 0 fresh
    EXPECT_EQ(changes[0].words[2], 1);  // pin 1 fresh
    EXPECT_EQ(changes[0].words[4], 8);  // currentEventTime
    const auto renders = ofKind(*dsp, probe::render);
    ASSERT_EQ(renders.size(), 2u);
    EXPECT_EQ(renders[1].words[5], 0);  // no longer fresh while rendering
    EXPECT_EQ(renders[1].words[6], 0);
    EXPECT_EQ(renders[1].words[4], 7);
}

TEST_F(DspBase, SplitsTheBlockAtEventTimesWithTheValueChangingBetween) {
    auto dsp = make("probe.awake");
    events.value(10, 0, 1.0f).value(20, 0, 2.0f);
    dsp->processBlock(64, events);
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 10}, {10, 10}, {20, 44}}));
    const auto renders = ofKind(*dsp, probe::render);
    EXPECT_EQ(renders[0].pin0(), 0.0f);
    EXPECT_EQ(renders[1].pin0(), 1.0f);
    EXPECT_EQ(renders[2].pin0(), 2.0f);
}

TEST_F(DspBase, SleepsInTheFirstBlockWhenNothingStreams) {
    auto dsp = make("probe");
    dsp->processBlock(64, events);
    EXPECT_TRUE(probe::renders(*dsp).empty());
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{0});
}

TEST_F(DspBase, RendersEventStretchesThroughThePreSleepRoutineThenSleeps) {
    auto dsp = make("probe");
    events.value(17, 0, 3.0f);
    dsp->processBlock(64, events);
    // The stretch before the event is rendered, the rest of the block is not.
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 17}}));
    EXPECT_EQ(ofKind(*dsp, probe::pinsChanged).size(), 1u);
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{0});
}

TEST_F(DspBase, NeverSleepsWithPolicyNever) {
    auto dsp = make("probe.awake");
    dsp->processBlock(64, events);
    dsp->processBlock(32, events);
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 64}, {0, 32}}));
    EXPECT_TRUE(dsp->sleepRequests().empty());
}

TEST_F(DspBase, AllowSleepReturnsToThePreSleepRoutine) {
    auto dsp = make("probe.awake");
    events.value(0, 1, int32_t(probe::allowSleep));
    dsp->processBlock(64, events);
    EXPECT_TRUE(probe::renders(*dsp).empty());
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{0});
}

TEST_F(DspBase, PassesOtherPinEventsToTheHandlerOnly) {
    auto dsp = make("probe.awake");
    events.raw(mp::TimedEvent{5, mp::MP_EVENT_PIN_OTHER, 0, 0, 0, 0, nullptr, nullptr});
    dsp->processBlock(64, events);
    const auto handled = ofKind(*dsp, probe::handler);
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_EQ(handled[0].words[2], mp::MP_EVENT_PIN_OTHER);
    EXPECT_EQ(handled[0].words[3], 0);  // the value pass did not make the pin fresh
    EXPECT_TRUE(ofKind(*dsp, probe::pinsChanged).empty());
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 5}, {5, 59}}));
}

TEST_F(DspBase, IgnoresEventsForUnknownPinsAndUnknownTypes) {
    auto dsp = make("probe.awake");
    events.value(4, 99, 1.0f).value(4, -1, 1.0f);
    events.raw(mp::TimedEvent{4, 99, 0, 4, 0, 0, nullptr, nullptr});
    dsp->processBlock(64, events);
    EXPECT_TRUE(ofKind(*dsp, probe::pinsChanged).empty());
    EXPECT_TRUE(ofKind(*dsp, probe::handler).empty());
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 4}, {4, 60}}));
}

TEST_F(DspBase, SendsEveryOutputAtTheStartEventInPinOrder) {
    auto dsp = make("probe.awake");
    events.start(5);
    dsp->processBlock(64, events);
    const auto& sent = dsp->sentValues();
    // render 0-4 (a report), then the start event's outputs 4 and 5, then the rest.
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1].pinIndex, 4);
    EXPECT_EQ(sent[1].time, 5);
    EXPECT_EQ(sent[1].bytes.size(), 4u);
    EXPECT_EQ(sent[2].pinIndex, 5);
    EXPECT_EQ(sent[2].time, 5);
    EXPECT_TRUE(ofKind(*dsp, probe::pinsChanged).empty());  // the start event changes no pin
}

TEST_F(DspBase, KeepsOutOfRangeEventTimesInsideTheBlock) {
    struct Case {
        const char* name;
        std::vector<int32_t> times;
        int32_t count;
        Renders expected;
        size_t handled;
    };
    const Case cases[] = {
        {"negative time is handled at 0", {-5}, 64, {{0, 64}}, 1},
        {"time past the block is dropped", {100}, 64, {{0, 64}}, 0},
        {"time at the block end is dropped", {64}, 64, {{0, 64}}, 0},
        {"an earlier time after a later one is handled where the block stands", {20, 10}, 64, {{0, 20}, {20, 44}}, 2},
        {"negative sample count renders nothing", {}, -8, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dsp = make("probe.awake");
        events.clear();
        for (int32_t t : c.times) events.value(t, 0, float(t));
        dsp->plugin()->processBlock(c.count, events.head());
        EXPECT_EQ(probe::renders(*dsp), c.expected);
        EXPECT_EQ(ofKind(*dsp, probe::handler).size(), c.handled);
    }
}

TEST_F(DspBase, KeepsFourBytesOfValuesOfAnotherSize) {
    // A float pin holds 4 bytes: shorter values are zero-filled, longer ones cut.
    const float pattern = -123.456f;
    uint8_t bytes[16] = {};
    std::memcpy(bytes, &pattern, 4);
    struct Case {
        int32_t size;
        bool extra;
        float expected;
    };
    float twoBytes = 0;
    std::memcpy(&twoBytes, bytes, 2);
    const Case cases[] = {{4, false, pattern}, {8, false, pattern}, {16, true, pattern},
                          {2, false, twoBytes}, {0, false, 0.0f},  {-3, false, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        auto dsp = make("probe.awake");
        events.clear();
        mp::TimedEvent e{0, mp::MP_EVENT_PIN_SET, 0, c.size, 0, 0, c.extra ? bytes : nullptr, nullptr};
        std::memcpy(&e.valueWord0, bytes, 8);
        events.value(0, 0, 9.0f).raw(e);
        dsp->processBlock(16, events);
        const auto renders = ofKind(*dsp, probe::render);
        ASSERT_EQ(renders.size(), 1u);
        EXPECT_EQ(std::memcmp(&renders[0].words[3], &c.expected, 4), 0) << renders[0].pin0();
    }
}

TEST_F(DspBase, StoresBlobsOfAnySizeAndNeverReadsPastTheValueWords) {
    struct Case {
        int32_t size;
        bool extra;
        int32_t stored;
    };
    static const uint8_t bytes[300] = {1, 2, 3};
    const Case cases[] = {{12, true, 12}, {0, false, 0}, {300, true, 300}, {6, false, 6},
                          {100, false, 8},  // no extra data: only the 8 bytes of the value words exist
                          {-4, false, 0}};
    auto dsp = make("probe.awake");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        dsp->clearRecords();
        events.clear();
        events.raw(mp::TimedEvent{0, mp::MP_EVENT_PIN_SET, 2, c.size, 0, 0, c.extra ? bytes : nullptr, nullptr});
        dsp->processBlock(16, events);
        const auto renders = ofKind(*dsp, probe::render);
        ASSERT_EQ(renders.size(), 1u);
        EXPECT_EQ(renders[0].words[7], c.stored);
    }
}

TEST_F(DspBase, AnswersSetAudioBufferForPinsOnly) {
    auto dsp = make("probe");
    float buffer[64];
    EXPECT_EQ(dsp->plugin()->setAudioBuffer(3, buffer), mp::MP_OK);   // the audio input
    EXPECT_EQ(dsp->plugin()->setAudioBuffer(0, buffer), mp::MP_OK);   // a control pin ignores it
    EXPECT_EQ(dsp->plugin()->setAudioBuffer(42, buffer), mp::MP_FAIL);
    EXPECT_EQ(dsp->plugin()->setAudioBuffer(-1, nullptr), mp::MP_FAIL);
}

TEST_F(DspBase, RendersWhileAnInputStreamsAndSleepsWhenItStops) {
    auto dsp = make("probe");
    events.streaming(0, 3, true);
    dsp->processBlock(64, events);
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 64}}));
    const auto changes = ofKind(*dsp, probe::pinsChanged);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].words[5], 1);  // streaming
    EXPECT_EQ(changes[0].words[6], 1);  // streamingChanged during the group

    dsp->clearRecords();
    events.clear();
    dsp->processBlock(64, events);
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 64}}));

    dsp->clearRecords();
    events.clear();
    events.streaming(10, 3, true);  // no change: already streaming
    events.streaming(20, 3, false);
    dsp->processBlock(64, events);
    EXPECT_EQ(probe::renders(*dsp), (Renders{{0, 10}, {10, 10}}));
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{2});
}

}  // namespace
