// freqcvpanel through the host: frequency and volts kept in step on its four
// GUI pins, with the host telling it of its own writes from inside them.
#include <gtest/gtest.h>

#include <cmath>

#include "host/v2_gui.h"
#include "host/v2_module.h"
#include "plugins.h"

namespace {

enum Pin : int32_t { voltsIn = 0, hertzIn = 1, voltsOut = 2, hertzOut = 3 };

std::unique_ptr<host::V2GuiInstance> makeGui() {
    return host::V2GuiInstance::create(testing_support::openDeliverable("freqcvpanel"));
}

TEST(FreqCvPanel, DeclaresFourGuiOnlyFloatPinsAndSleeps) {
    auto dsp = host::V2DspInstance::create(testing_support::openDeliverable("freqcvpanel"));
    ASSERT_EQ(dsp->declaredPins().size(), 4u);
    const char* names[] = {"Volts", "Hz", "Volts", "Hz"};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dsp->declaredPins()[i].name, names[i]);
        EXPECT_EQ(dsp->declaredPins()[i].direction, i < 2 ? DR_IN : DR_OUT);
        EXPECT_EQ(dsp->declaredPins()[i].datatype, DT_FLOAT_VALUE);
        EXPECT_EQ(dsp->declaredPins()[i].flags, 0x404);
        EXPECT_EQ(dsp->declaredPins()[i].variable, nullptr);
        EXPECT_EQ(dsp->declaredPins()[i].slot, -1);
    }
    EXPECT_EQ(dsp->pinCount(), 0);
    dsp->open();
    dsp->run(64 * 3);
    EXPECT_EQ(dsp->sleepRequests(), 1);  // asleep after the first block
}

struct Conversion {
    int32_t pin;
    float value;
    float volts, hertz;
};

TEST(FreqCvPanel, ConvertsEitherWayAtOneVoltPerOctave) {
    const float ninf = -std::numeric_limits<float>::infinity();
    const Conversion cases[] = {
        {hertzIn, 440.0f, 5.0f, 440.0f},
        {hertzOut, 880.0f, 6.0f, 880.0f},
        {hertzIn, 1000.0f, 6.1844244f, 1000.0f},
        {voltsIn, 6.0f, 6.0f, 880.0f},
        {voltsOut, 0.0f, 0.0f, 13.75f},
        {voltsIn, 10.0f, 10.0f, 14080.0f},
        {hertzIn, 0.0f, ninf, 0.0f},  // no range checks: the logarithm's answers
        {voltsIn, 1000.0f, 1000.0f, std::numeric_limits<float>::infinity()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pin " << c.pin << " = " << c.value);
        auto gui = makeGui();
        gui->setFloat(c.pin, c.value);
        EXPECT_EQ(gui->floatValue(voltsIn), c.volts);
        EXPECT_EQ(gui->floatValue(voltsOut), c.volts);
        EXPECT_EQ(gui->floatValue(hertzIn), c.hertz);
        EXPECT_EQ(gui->floatValue(hertzOut), c.hertz);
    }
    auto gui = makeGui();
    gui->setFloat(hertzIn, -1.0f);
    EXPECT_TRUE(std::isnan(gui->floatValue(voltsIn)));
}

TEST(FreqCvPanel, WritesInOrderAndTurnsAwayTheNestedNotices) {
    struct Case {
        int32_t pin;
        std::vector<int32_t> writes;
    };
    const Case cases[] = {{hertzIn, {voltsIn, voltsOut, hertzOut}},
                          {hertzOut, {voltsIn, voltsOut, hertzIn}},
                          {voltsIn, {hertzIn, hertzOut, voltsOut}},
                          {voltsOut, {hertzIn, hertzOut, voltsIn}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pin);
        auto gui = makeGui();
        gui->clearRecords();
        gui->setFloat(c.pin, 7.0f);
        ASSERT_EQ(gui->writes().size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(gui->writes()[i].pinIndex, c.writes[i]);
            EXPECT_EQ(gui->writes()[i].depth, 1);  // from inside the host's notice
            EXPECT_EQ(gui->writes()[i].value, 0);
        }
        EXPECT_EQ(gui->notices(), 4);  // the host's own and one per write, each turned away
        EXPECT_EQ(gui->deepestNesting(), 2);
    }
}

TEST(FreqCvPanel, TheHostCutsNoticeChainsBeyondItsLimitButKeepsTheWrites) {
    host::V2GuiOptions options;
    options.maxNesting = 1;
    auto gui = host::V2GuiInstance::create(testing_support::openDeliverable("freqcvpanel"), options);
    gui->setFloat(hertzIn, 440.0f);
    EXPECT_EQ(gui->notices(), 1);
    EXPECT_EQ(gui->cutNotices(), 3);
    EXPECT_EQ(gui->floatValue(voltsOut), 5.0f);
}

TEST(FreqCvPanel, IgnoresOtherPins) {
    auto gui = makeGui();
    gui->addHostPin({});
    gui->clearRecords();
    gui->setFloat(4, 440.0f);
    gui->dispatch(seGuiPinChanged, 99);
    EXPECT_TRUE(gui->writes().empty());
    gui->setFloat(hertzIn, 440.0f);  // the busy flag was cleared
    EXPECT_EQ(gui->floatValue(voltsIn), 5.0f);
}

TEST(FreqCvPanel, TellsTheHostWhenItInitialisesAndWhenItGoes) {
    auto gui = makeGui();
    EXPECT_EQ(gui->opcode22Count(), 1);
    EXPECT_EQ(gui->dispatch(seGuiQueryOpcode10), 1);
    gui->close();
    EXPECT_EQ(gui->opcode22Count(), 2);
}

}  // namespace
