// hostclock through the host: the sample rate at open on its output,
// announced at open and again at every block.
#include <gtest/gtest.h>

#include <cstring>

#include "allocation_counter.h"
#include "host/v2_module.h"
#include "plugins.h"

namespace {

float valueOf(const host::V2StatusChange& change) {
    float value;
    std::memcpy(&value, &change.valueBits, 4);
    return value;
}

std::unique_ptr<host::V2DspInstance> openAt(float rate) {
    host::V2Options options;
    options.sampleRate = rate;
    auto dsp = host::V2DspInstance::create(testing_support::openDeliverable("hostclock"), options);
    dsp->open();
    return dsp;
}

TEST(HostClock, DeclaresOneFloatOutput) {
    auto dsp = openAt(44100.0f);
    ASSERT_EQ(dsp->declaredPins().size(), 1u);
    const host::V2DeclaredPin& pin = dsp->declaredPins()[0];
    EXPECT_EQ(pin.name, "SAMPLERATE");
    EXPECT_EQ(pin.direction, DR_OUT);
    EXPECT_EQ(pin.datatype, DT_FLOAT_VALUE);
    EXPECT_EQ(pin.flags, 0);
    EXPECT_NE(pin.variable, nullptr);
    SEPinProperties properties{};
    EXPECT_EQ(dsp->dispatch(seffGetPinProperties, 1, 0, &properties), 0);
}

TEST(HostClock, AnnouncesTheSampleRateAtOpenAndEveryBlock) {
    for (const float rate : {48000.0f, 44100.0f, 96000.0f, 22050.5f}) {
        SCOPED_TRACE(rate);
        auto dsp = openAt(rate);
        dsp->run(64 * 3);
        ASSERT_EQ(dsp->statusChanges().size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            const auto& change = dsp->statusChanges()[i];
            EXPECT_EQ(change.opcode, 0);
            EXPECT_EQ(change.pinIndex, 0);
            EXPECT_EQ(change.status, 1);
            EXPECT_EQ(change.clock, uint32_t(64 * (i == 0 ? 0 : i - 1)));
            EXPECT_EQ(valueOf(change), rate);
        }
        EXPECT_EQ(dsp->processChanges(), 1);  // selected once at open, never again
        EXPECT_EQ(dsp->sleepRequests(), 0);
    }
}

TEST(HostClock, KeepsItsValueUntilTheNextOpen) {
    auto dsp = openAt(48000.0f);
    dsp->dispatch(seffSetSampleRate, 0, 0, nullptr, 96000.0f);
    dsp->runBlock(16);
    EXPECT_EQ(valueOf(dsp->statusChanges().back()), 48000.0f);
}

TEST(HostClock, RunsBlocksWithoutAllocating) {
    auto dsp = openAt(48000.0f);
    dsp->run(64);
    const testing_support::AllocationCounter counter;
    dsp->run(64 * 100);
    EXPECT_EQ(counter.allocations(), 0);
    EXPECT_EQ(dsp->statusChanges().size(), 102u);
}

}  // namespace
