// The host's DSP instance: its records and the buffers it owns.
#include <gtest/gtest.h>

#include <cstring>

#include "host/dsp_instance.h"
#include "host/error.h"
#include "plugins.h"

namespace {

TEST(DspInstance, KeepsEveryRecordedValueIntactAsTheRecordGrows) {
    // The probe sends one 32-byte report per block: 4000 of them outgrow the
    // first chunk of the record.
    auto dsp = host::DspInstance::create(testing_support::openTestPlugin("probe"), "probe.awake");
    dsp->activate();
    host::EventList none;
    for (int b = 0; b < 4000; ++b) dsp->processBlock(b % 64 + 1, none);
    const auto& sent = dsp->sentValues();
    ASSERT_EQ(sent.size(), 4000u);
    for (size_t b = 0; b < sent.size(); ++b) {
        int32_t words[8];
        ASSERT_EQ(sent[b].bytes.size(), sizeof words);
        std::memcpy(words, sent[b].bytes.data(), sizeof words);
        ASSERT_EQ(words[2], int32_t(b % 64 + 1)) << "block " << b;  // the rendered count
        ASSERT_EQ(sent[b].block, int64_t(b));
    }
}

TEST(DspInstance, OwnsABufferForEachAudioPinAndRefusesOversizedBlocks) {
    auto dsp = host::DspInstance::create(testing_support::openTestPlugin("probe"), "probe",
                                         {.sampleRate = 48000.0f, .maxBlockSize = 128});
    EXPECT_THROW(dsp->audioBuffer(3), host::HostError);  // not active yet
    dsp->activate();
    EXPECT_EQ(dsp->audioBuffer(3).size(), 128u);
    EXPECT_THROW(dsp->audioBuffer(0), host::HostError);  // a control pin
    host::EventList none;
    EXPECT_THROW(dsp->processBlock(129, none), host::HostError);
    EXPECT_THROW(dsp->processBlock(-1, none), host::HostError);
}

}  // namespace
