// levelmap's GUI half keeps a position and a level in decibels in step; its
// DSP half only sleeps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "host/dsp_instance.h"
#include "host/gui_instance.h"
#include "plugins.h"

namespace {

constexpr int32_t rangePin = 0, levelPin = 1, switchPin = 2, positionPin = 3;

class LevelMap : public ::testing::Test {
protected:
    void SetUp() override { gui = host::GuiInstance::create(testing_support::openDeliverable("levelmap"), "levelmap"); }

    // The last value sent on a pin since the records were cleared.
    std::optional<float> sent(int32_t pin) const {
        std::optional<float> last;
        for (const auto& s : gui->sentValues())
            if (s.pinIndex == pin) last = host::floatOf(s.bytes);
        return last;
    }
    size_t sends() const { return gui->sentValues().size(); }

    std::unique_ptr<host::GuiInstance> gui;
};

TEST_F(LevelMap, PositionDrivesTheLevelWhileTheSwitchIsOn) {
    gui->deliver(rangePin, 24.0f);
    gui->deliver(switchPin, true);
    struct Case {
        float position;
        float level;
    };
    for (const Case c : {Case{0.75f, 12.0f}, Case{0.0f, -24.0f}, Case{1.0f, 24.0f}, Case{0.5f, 0.0f}}) {
        SCOPED_TRACE(c.position);
        gui->clearRecords();
        gui->deliver(positionPin, c.position);
        EXPECT_EQ(sent(levelPin), c.level);
        EXPECT_FALSE(sent(positionPin).has_value());
    }
}

TEST_F(LevelMap, LevelAndRangeDriveThePosition) {
    gui->deliver(rangePin, 12.0f);  // level 0: position 0.5, sent once
    EXPECT_EQ(sent(positionPin), 0.5f);
    gui->clearRecords();
    gui->deliver(levelPin, 6.0f);
    EXPECT_EQ(sent(positionPin), 0.75f);
    gui->clearRecords();
    gui->deliver(levelPin, -12.0f);
    EXPECT_EQ(sent(positionPin), 0.0f);
    EXPECT_FALSE(sent(levelPin).has_value());
}

TEST_F(LevelMap, KeepsTheMiddlePositionWithoutSendingWhenOnlyTheRangeChanges) {
    gui->deliver(rangePin, 12.0f);
    gui->clearRecords();
    gui->deliver(rangePin, 48.0f);
    EXPECT_EQ(sends(), 0u);
}

TEST_F(LevelMap, IgnoresThePositionWhileTheSwitchIsOff) {
    gui->deliver(rangePin, 24.0f);
    gui->clearRecords();
    gui->deliver(positionPin, 0.9f);
    EXPECT_EQ(sends(), 0u);
}

TEST_F(LevelMap, FollowsTheSwitchOnlyAtTheNextPositionNotice) {
    gui->deliver(rangePin, 24.0f);
    gui->deliver(positionPin, 0.75f);
    gui->clearRecords();
    gui->deliver(switchPin, true);
    EXPECT_EQ(sends(), 0u);
    gui->deliver(positionPin, 0.75f);
    EXPECT_EQ(sent(levelPin), 12.0f);
}

TEST_F(LevelMap, SendsTheIeeeResultOfAZeroRange) {
    gui->deliver(levelPin, 3.0f);  // range 0: +infinity
    EXPECT_EQ(sent(positionPin), std::numeric_limits<float>::infinity());
    gui->deliver(levelPin, -3.0f);
    EXPECT_EQ(sent(positionPin), -std::numeric_limits<float>::infinity());
    gui->clearRecords();
    gui->deliver(levelPin, 0.0f);  // 0 / 0: NaN, and again at every notice
    gui->deliver(rangePin, 0.0f);
    ASSERT_EQ(sends(), 2u);
    EXPECT_TRUE(std::isnan(*sent(positionPin)));
}

TEST(LevelMapDsp, SleepsInItsFirstBlockAndRendersNothing) {
    auto dsp = host::DspInstance::create(testing_support::openDeliverable("levelmap"), "levelmap");
    dsp->activate();
    host::EventList events;
    events.start(0);
    dsp->processBlock(64, events);
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{0});
    EXPECT_TRUE(dsp->sentValues().empty());  // no output pins
}

}  // namespace
