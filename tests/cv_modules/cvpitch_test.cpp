// cvpitch through the host: volts in, hertz out, stamped with the event's
// sample, sleeping in between.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/dsp_instance.h"
#include "plugins.h"

namespace {

constexpr int32_t voltsPin = 0, hertzPin = 1;

class CvPitch : public ::testing::Test {
protected:
    void SetUp() override {
        dsp = host::DspInstance::create(testing_support::openDeliverable("cvpitch"), "cvpitch");
        dsp->activate();
    }
    // Delivers one voltage at `time` in a block of 64 and returns what was sent.
    std::vector<host::SentPinValue> convert(float volts, int32_t time = 0) {
        dsp->clearRecords();
        events.clear();
        events.value(time, voltsPin, volts);
        dsp->processBlock(64, events);
        return dsp->sentValues();
    }

    std::unique_ptr<host::DspInstance> dsp;
    host::EventList events;
};

TEST_F(CvPitch, ConvertsOneVoltPerOctaveWithFiveVoltsAt440) {
    struct Case {
        float volts;
        float hertz;
    };
    const Case cases[] = {
        {5.0f, 440.0f},          {6.0f, 880.0f},          {4.0f, 220.0f},
        {0.0f, 440.0f / 32},     {10.0f, 440.0f * 32},    {-5.0f, 440.0f / 1024},
        {5.5f, float(440.0 * std::sqrt(2.0))},  // half an octave, by another route than a power
        {5.0f + 1.0f / 12, float(440.0 * std::cbrt(std::sqrt(std::sqrt(2.0))) )},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volts);
        const auto sent = convert(c.volts, 9);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].pinIndex, hertzPin);
        EXPECT_EQ(sent[0].time, 9);
        if (c.volts == std::floor(c.volts)) {
            EXPECT_EQ(host::floatOf(sent[0].bytes), c.hertz);  // whole octaves are exact
        } else {
            EXPECT_FLOAT_EQ(host::floatOf(sent[0].bytes), c.hertz);
        }
    }
}

TEST_F(CvPitch, SendsNothingWhenTheFrequencyIsUnchanged) {
    EXPECT_EQ(convert(3.0f).size(), 1u);
    EXPECT_TRUE(convert(3.0f).empty());
}

TEST_F(CvPitch, SendsInfinityAndNanLikeAnyOtherValue) {
    auto sent = convert(200.0f);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(host::floatOf(sent[0].bytes), std::numeric_limits<float>::infinity());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int i = 0; i < 2; ++i) {  // a NaN never equals the stored value: sent each time
        sent = convert(nan);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_TRUE(std::isnan(host::floatOf(sent[0].bytes)));
    }
    sent = convert(-std::numeric_limits<float>::infinity());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(host::floatOf(sent[0].bytes), 0.0f);
}

TEST_F(CvPitch, SendsTheInitialValueThenTheFirstConversionAtTheStartEventsTime) {
    events.start(3).value(3, voltsPin, 6.0f);
    dsp->processBlock(64, events);
    const auto& sent = dsp->sentValues();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].time, 3);
    EXPECT_EQ(host::floatOf(sent[0].bytes), 0.0f);
    EXPECT_EQ(sent[1].time, 3);
    EXPECT_EQ(host::floatOf(sent[1].bytes), 880.0f);
}

TEST_F(CvPitch, SleepsAfterEachConversionAndWithoutEvents) {
    convert(7.0f, 17);
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{0});
    events.clear();
    dsp->clearRecords();
    dsp->processBlock(64, events);
    EXPECT_EQ(dsp->sleepRequests(), std::vector<int64_t>{1});
    EXPECT_TRUE(dsp->sentValues().empty());
}

TEST_F(CvPitch, IsLeftAsleepByTheHostUntilItHasEvents) {
    events.value(0, voltsPin, 1.0f);
    EXPECT_TRUE(dsp->runBlock(64, events));
    EXPECT_TRUE(dsp->asleep());
    events.clear();
    EXPECT_FALSE(dsp->runBlock(64, events));
    EXPECT_FALSE(dsp->runBlock(64, events));
    events.value(40, voltsPin, 2.0f);
    EXPECT_TRUE(dsp->runBlock(64, events));
    ASSERT_EQ(dsp->sentValues().size(), 2u);
    EXPECT_EQ(dsp->sentValues()[1].block, 3);
    EXPECT_EQ(dsp->sentValues()[1].time, 40);
}

}  // namespace
