// freqcv through the host: its own five GUI pins, two scales, and the guards
// that keep the host's nested notices from running its routines twice.
#include <gtest/gtest.h>

#include <cmath>

#include "host/v2_gui.h"
#include "host/v2_module.h"
#include "plugins.h"

namespace {

enum Pin : int32_t { hertzIn = 0, hertzOut = 1, voltsIn = 2, voltsOut = 3, freqScale = 4 };

std::unique_ptr<host::V2GuiInstance> makeGui(host::V2GuiOptions options = {}) {
    return host::V2GuiInstance::create(testing_support::openDeliverable("freqcv"), options);
}

TEST(FreqCv, AddsItsPinsWhenFresh) {
    auto gui = makeGui();
    struct Pin {
        const char* name;
        int32_t datatype, direction;
    };
    const Pin pins[] = {{"Hz", DT_FLOAT_VALUE, DR_IN},
                        {"Hz", DT_FLOAT_VALUE, DR_OUT},
                        {"Volts", DT_FLOAT_VALUE, DR_IN},
                        {"Volts", DT_FLOAT_VALUE, DR_OUT},
                        {"Freq Scale", DT_ENUM_LIST, DR_IN}};
    ASSERT_EQ(gui->pins().size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(gui->pin(int32_t(i)).name, pins[i].name);
        EXPECT_EQ(gui->pin(int32_t(i)).datatype, pins[i].datatype);
        EXPECT_EQ(gui->pin(int32_t(i)).direction, pins[i].direction);
    }
    EXPECT_EQ(gui->pin(freqScale).choices, "1 Volt/Oct,1 Volt/kHz");
    ASSERT_EQ(gui->writes().size(), 1u);  // Hz in set to 0, nothing else written
    EXPECT_EQ(gui->writes()[0].pinIndex, hertzIn);
    EXPECT_EQ(gui->opcode22Count(), 0);
    EXPECT_EQ(gui->dispatch(seGuiQueryOpcode10), 0);
}

struct Conversion {
    const char* what;
    int32_t scale;
    int32_t pin;
    float value;
    float hertz, volts;
};

TEST(FreqCv, ConvertsOnBothScales) {
    const Conversion cases[] = {
        {"octave scale, 440 Hz", 0, hertzIn, 440.0f, 440.0f, 5.0f},
        {"octave scale, 27.5 Hz: single-precision constants", 0, hertzIn, 27.5f, 27.5f, 0.99999988f},
        {"octave scale, 880 Hz from Hz out", 0, hertzOut, 880.0f, 880.0f, 6.0f},
        // Telling the scale first converted the stored 0 V: 13.75 Hz is stored.
        {"octave scale, 0 Hz", 0, hertzIn, 0.0f, 0.0f, -10.0f},
        {"octave scale, negative", 0, hertzIn, -3.0f, -3.0f, -10.0f},
        {"octave scale, not a number", 0, hertzIn, std::nanf(""), std::nanf(""), -10.0f},
        {"octave scale, 6 V", 0, voltsIn, 6.0f, 880.0f, 6.0f},
        {"octave scale, 0 V equal to the stored 0 V", 0, voltsOut, 0.0f, 13.75f, 0.0f},
        {"octave scale, 1 V", 0, voltsOut, 1.0f, 27.5f, 1.0f},
        {"kilohertz scale, 440 Hz", 1, hertzIn, 440.0f, 440.0f, 440.0f * 0.001f},
        {"kilohertz scale, 2.5 V", 1, voltsIn, 2.5f, 2500.0f, 2.5f},
        {"other scale: the other side stays", 7, voltsIn, 2.5f, 0.0f, 2.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto gui = makeGui();
        gui->setInt(freqScale, c.scale);
        gui->setFloat(c.pin, c.value);
        const auto same = [](float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); };
        EXPECT_PRED2(same, gui->floatValue(hertzIn), c.hertz);
        EXPECT_PRED2(same, gui->floatValue(hertzOut), c.hertz);
        EXPECT_PRED2(same, gui->floatValue(voltsIn), c.volts);
        EXPECT_PRED2(same, gui->floatValue(voltsOut), c.volts);
    }
}

TEST(FreqCv, FollowsTheScaleWithTheFrequency) {
    auto gui = makeGui();
    gui->setFloat(voltsIn, 5.0f);
    EXPECT_EQ(gui->floatValue(hertzIn), 440.0f);
    gui->setInt(freqScale, 1);
    EXPECT_EQ(gui->floatValue(hertzIn), 5000.0f);
    EXPECT_EQ(gui->floatValue(hertzOut), 5000.0f);
    EXPECT_EQ(gui->floatValue(voltsIn), 5.0f);
    gui->setInt(freqScale, 0);
    EXPECT_EQ(gui->floatValue(hertzOut), 440.0f);
}

TEST(FreqCv, WritesNothingForTheSameFrequencyTwice) {
    auto gui = makeGui();
    gui->setFloat(hertzIn, 440.0f);
    gui->clearRecords();
    gui->setFloat(hertzIn, 440.0f);
    EXPECT_TRUE(gui->writes().empty());
    gui->setFloat(hertzOut, 440.0f);
    EXPECT_TRUE(gui->writes().empty());
}

TEST(FreqCv, GuardsItsRoutinesAgainstTheNestedNotices) {
    struct Case {
        int32_t pin;
        std::vector<int32_t> writes;
    };
    const Case cases[] = {{hertzIn, {voltsIn, voltsOut, hertzOut}},
                          {hertzOut, {voltsIn, voltsOut, hertzIn}},
                          {voltsIn, {hertzIn, hertzOut, voltsOut}},
                          {voltsOut, {hertzIn, hertzOut, voltsIn}},
                          {freqScale, {hertzIn, hertzOut}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pin);
        auto gui = makeGui();
        gui->clearRecords();
        if (c.pin == freqScale) gui->setInt(c.pin, 1);
        else gui->setFloat(c.pin, 3.0f);
        ASSERT_EQ(gui->writes().size(), c.writes.size());
        for (size_t i = 0; i < c.writes.size(); ++i) {
            EXPECT_EQ(gui->writes()[i].pinIndex, c.writes[i]);
            EXPECT_EQ(gui->writes()[i].depth, 1);
        }
        EXPECT_EQ(gui->deepestNesting(), 2);
        EXPECT_EQ(gui->cutNotices(), 0);
    }
}

TEST(FreqCv, ReadsItsFrequencyAndScaleBackWhenRestored) {
    struct Case {
        float hertzIn, hertzOut;
        float readBack;  // the frequency it keeps: Hz in, or Hz out when Hz in holds 0
        float other;
    };
    for (const Case c : {Case{0.0f, 880.0f, 880.0f, 440.0f}, Case{440.0f, 880.0f, 440.0f, 880.0f}}) {
        SCOPED_TRACE(c.hertzIn);
        host::V2GuiOptions options;
        options.restored = true;
        options.initialise = false;
        auto gui = makeGui(options);
        ASSERT_EQ(gui->pins().size(), 5u);  // the host holds them, as described
        gui->storeFloat(hertzIn, c.hertzIn);
        gui->storeFloat(hertzOut, c.hertzOut);
        gui->storeInt(freqScale, 1);
        gui->dispatch(seGuiInitialise, 1);
        EXPECT_TRUE(gui->writes().empty());
        EXPECT_EQ(gui->pins().size(), 5u);
        EXPECT_EQ(gui->pin(freqScale).choices, "1 Volt/Oct,1 Volt/kHz");

        gui->setFloat(hertzIn, c.readBack);
        EXPECT_TRUE(gui->writes().empty());
        gui->setFloat(hertzIn, c.other);
        EXPECT_EQ(gui->floatValue(voltsIn), c.other * 0.001f);
    }
}

}  // namespace
