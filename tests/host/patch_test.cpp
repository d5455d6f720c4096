// The patch carries values between connected pins of different modules.
#include <gtest/gtest.h>

#include <cmath>

#include "host/error.h"
#include "host/patch.h"
#include "plugins.h"

namespace {

using testing_support::openDeliverable;

class PatchOfModules : public ::testing::Test {
protected:
    std::shared_ptr<host::Library> cvpitchLibrary = openDeliverable("cvpitch");
    std::shared_ptr<host::Library> levelmapLibrary = openDeliverable("levelmap");
    host::Patch patch;

    static std::vector<std::pair<int64_t, float>> sentOn(const host::DspInstance& dsp, int32_t pin,
                                                          int32_t blockSize) {
        std::vector<std::pair<int64_t, float>> result;
        for (const auto& s : dsp.sentValues())
            if (s.pinIndex == pin) result.emplace_back(s.block * blockSize + s.time, host::floatOf(s.bytes));
        return result;
    }
};

TEST_F(PatchOfModules, CarriesDspValuesAtTheSameSampleToModulesThatRunLater) {
    auto first = host::DspInstance::create(cvpitchLibrary, "cvpitch");
    auto second = host::DspInstance::create(cvpitchLibrary, "cvpitch");
    patch.addDsp(*second);  // runs before `first`: takes its values one block later
    patch.addDsp(*first);
    auto third = host::DspInstance::create(cvpitchLibrary, "cvpitch");
    patch.addDsp(*third);  // runs after `first`: same sample
    patch.connect(*first, 1, *second, 0);
    patch.connect(*first, 1, *third, 0);
    patch.schedule(*first, 70, 0, host::bytesOf(1.0f));  // 27.5 Hz, which the others take as volts
    for (int b = 0; b < 3; ++b) patch.runBlock(64);

    ASSERT_EQ(sentOn(*first, 1, 64).size(), 1u);
    const float hz = sentOn(*first, 1, 64)[0].second;
    const float expected = float(440.0 * std::pow(2.0, double(hz - 5.0f)));
    EXPECT_EQ(sentOn(*third, 1, 64), (std::vector<std::pair<int64_t, float>>{{70, expected}}));
    EXPECT_EQ(sentOn(*second, 1, 64), (std::vector<std::pair<int64_t, float>>{{128, expected}}));
}

TEST_F(PatchOfModules, CarriesValuesBetweenGuiAndDspHalves) {
    auto dsp = host::DspInstance::create(cvpitchLibrary, "cvpitch");
    auto gui = host::GuiInstance::create(levelmapLibrary, "levelmap");
    patch.addDsp(*dsp);
    patch.connect(*gui, 1, *dsp, 0);  // level dB drives the voltage
    patch.connect(*dsp, 1, *gui, 0);  // the frequency becomes the range
    patch.deliver(*gui, 2, host::bytesOf(true));
    patch.deliver(*gui, 0, host::bytesOf(12.0f));
    patch.deliver(*gui, 3, host::bytesOf(0.75f));  // level 6 dB: sent to the DSP half as 6 V
    patch.runBlock(64);

    ASSERT_EQ(dsp->sentValues().size(), 1u);
    EXPECT_EQ(dsp->sentValues()[0].time, 0);
    EXPECT_EQ(host::floatOf(dsp->sentValues()[0].bytes), 880.0f);
    EXPECT_EQ(host::floatOf(gui->pinValue(0)), 880.0f);  // delivered back as the range
}

TEST_F(PatchOfModules, CarriesGuiValuesToOtherGuiPins) {
    auto a = host::GuiInstance::create(levelmapLibrary, "levelmap");
    auto b = host::GuiInstance::create(levelmapLibrary, "levelmap");
    patch.connect(*a, 3, *b, 3);
    b->deliver(0, 10.0f);
    b->deliver(2, true);
    patch.deliver(*a, 1, host::bytesOf(5.0f));  // a: range 0, position +inf; b: level inf
    EXPECT_EQ(host::floatOf(b->pinValue(3)), INFINITY);
    EXPECT_EQ(host::floatOf(b->pinValue(1)), INFINITY);
}

TEST_F(PatchOfModules, StopsAFeedbackLoop) {
    auto gui = host::GuiInstance::create(levelmapLibrary, "levelmap");
    patch.connect(*gui, 3, *gui, 0);  // position feeds the range: 0 / 0 gives NaN for ever
    EXPECT_THROW(patch.deliver(*gui, 0, host::bytesOf(0.0f)), host::HostError);
}

}  // namespace
