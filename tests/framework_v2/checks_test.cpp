// Checked builds stop at a broken programming rule with the rule's condition
// and the source file stem; release builds go on with a safe answer.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <functional>

#include "probe2_host.h"
#include "se/check.h"

namespace {

using probe2::command;
using ::testing::HasSubstr;

struct Check {
    const char* what;
    const char* message;                 // what a checked build prints before it stops
    std::function<void()> breakRule;     // runs in the death test's child
    std::function<void()> releaseAnswer; // the release build's behaviour, checked in the test
};

std::unique_ptr<host::V2DspInstance> openProbe(std::vector<probe2::PinDeclaration> pins) {
    auto dsp = probe2::make(pins);
    dsp->open();
    dsp->runBlock(20);
    return dsp;
}

std::vector<Check> checks() {
    return {
        {"getPin without a pin array", "SEModule_base: assertion failed: m_pins != 0",
         [] {
             host::V2Options options;
             options.pinCount = 0;
             host::V2DspInstance::create(testing_support::openDeliverable("hostclock"), options)->open();
         },
         [] {
             host::V2Options options;
             options.pinCount = 0;
             auto dsp = host::V2DspInstance::create(testing_support::openDeliverable("hostclock"), options);
             dsp->open();
             dsp->runBlock(8);
             EXPECT_TRUE(dsp->statusChanges().empty());  // the inert pin reports nothing
         }},
        {"a status change stamped before the clock", "SEPin: assertion failed: sampleclock >= m_module->SampleClock()",
         [] { command(*openProbe({{DR_OUT, DT_INT, 0, 1}}), probe2::sendStatusAt, 0, 19, 1); },
         [] {
             auto dsp = openProbe({{DR_OUT, DT_INT, 0, 1}});
             command(*dsp, probe2::sendStatusAt, 0, 19, 1);
             ASSERT_EQ(dsp->statusChanges().size(), 1u);
             EXPECT_EQ(dsp->statusChanges()[0].clock, 19u);
         }},
        {"the audio value of a pin that is not audio", "SEPin: assertion failed: m_datatype == DT_FSAMPLE",
         [] { command(*openProbe({{DR_IN, DT_INT, 0, 1}}), probe2::audioValueNow, 0); },
         [] { EXPECT_EQ(command(*openProbe({{DR_IN, DT_INT, 0, 1}}), probe2::audioValueNow, 0).outFloat, 0.0f); }},
        {"an event added before the clock", "SEModule_base: assertion failed: p_time_stamp >= SampleClock()",
         [] { command(*openProbe({}), probe2::addEvent, 19, UET_SHORT_EVENT); },
         [] {
             auto dsp = openProbe({});
             command(*dsp, probe2::addEvent, 19, UET_SHORT_EVENT);
             dsp->runBlock(1);  // the host delivers a late event at once
             EXPECT_EQ(probe2::counters(*dsp).shortEvents, 1);
         }},
        {"an event that is not due now", "SEModule_base: assertion failed: e->time_stamp == SampleClock()",
         [] { openProbe({})->deliverNow({21, UET_SHORT_EVENT, 0, 0, nullptr, nullptr}); },
         [] {
             auto dsp = openProbe({});
             dsp->deliverNow({21, UET_SHORT_EVENT, 0, 0, nullptr, nullptr});
             EXPECT_EQ(probe2::counters(*dsp).shortEvents, 1);
         }},
        {"a patch-stored input that is neither private nor a GUI pin",
         "SEModule_base: assertion failed: (((SEPinProperties*)ptr)->flags & IO_PATCH_STORE) == 0 || "
         "(((SEPinProperties*)ptr)->flags & IO_PRIVATE) != 0 || ((SEPinProperties*)ptr)->direction == DR_OUT || "
         "( ( (SEPinProperties*)ptr)->flags & IO_UI_COMMUNICATION) != 0",
         [] { probe2::make({{DR_IN, DT_INT, IO_PATCH_STORE, 1}}); },
         [] { EXPECT_EQ(probe2::make({{DR_IN, DT_INT, IO_PATCH_STORE, 1}})->declaredPins().size(), 1u); }},
        {"a GUI request without a callback", "SEGUI_base: assertion failed: seaudioMaster",
         [] {
             host::V2GuiOptions options;
             options.provideCallback = false;
             host::V2GuiInstance::create(probe2::library(), options);
         },
         [] {
             host::V2GuiOptions options;
             options.provideCallback = false;
             auto gui = host::V2GuiInstance::create(probe2::library(), options);
             EXPECT_EQ(gui->opcode22Count(), 0);
         }},
    };
}

TEST(CheckedBuild, StopsWithTheConditionAndTheSourceFileStem) {
    if (!se::checkedBuild) GTEST_SKIP() << "release builds do not test the rules";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& c : checks()) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.breakRule(), HasSubstr(c.message));
    }
}

TEST(CheckedBuild, PatchStoredPinsThatKeepTheRuleAreAccepted) {
    const std::vector<probe2::PinDeclaration> pins = {{DR_IN, DT_INT, IO_PATCH_STORE | IO_PRIVATE, 1},
                                                       {DR_OUT, DT_INT, IO_PATCH_STORE, 1},
                                                       {DR_IN, DT_INT, IO_PATCH_STORE | IO_UI_COMMUNICATION, 1}};
    EXPECT_EQ(probe2::make(pins)->declaredPins().size(), 3u);
}

TEST(ReleaseBuild, GoesOnWithASafeAnswer) {
    if (se::checkedBuild) GTEST_SKIP() << "checked builds stop instead";
    for (const auto& c : checks()) {
        SCOPED_TRACE(c.what);
        c.releaseAnswer();
    }
}

}  // namespace
