// Once active, the audio path allocates nothing: blocks with events run
// without a single heap allocation anywhere in the process.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "host/dsp_instance.h"
#include "plugins.h"

namespace {

using testing_support::AllocationCounter;

TEST(AudioPath, CounterSeesAllocationsInsidePlugins) {
    // A blob pin whose size changes reallocates: proof that the counter sees
    // what a plug-in allocates.
    auto dsp = host::DspInstance::create(testing_support::openTestPlugin("probe"), "probe.awake");
    dsp->activate();
    host::EventList events;
    events.value(0, 2, host::Bytes(40, 7));
    AllocationCounter counter;
    dsp->processBlock(64, events);
    EXPECT_GE(counter.allocations(), 1);
}

TEST(AudioPath, AllocatesNothingOnceActive) {
    struct Case {
        const char* library;
        const char* id;
    };
    for (const Case c : {Case{"cvpitch", "cvpitch"}, Case{"levelmap", "levelmap"}}) {
        SCOPED_TRACE(c.id);
        auto dsp = host::DspInstance::create(testing_support::openDeliverable(c.library), c.id);
        dsp->activate();
        // The host builds its event lists before the blocks run.
        std::vector<host::EventList> blocks(32);
        for (size_t b = 0; b < blocks.size(); ++b) {
            if (b == 0) blocks[b].start(0);
            for (int32_t t = 0; t < 64; t += 8) blocks[b].value(t, 0, float(b) + float(t) / 64);
            blocks[b].head();
        }
        host::EventList none;
        dsp->processBlock(64, blocks[0]);  // warm-up: the start event
        AllocationCounter counter;
        for (size_t b = 1; b < blocks.size(); ++b) dsp->processBlock(64, blocks[b]);
        for (int i = 0; i < 8; ++i) dsp->processBlock(64, none);
        EXPECT_EQ(counter.allocations(), 0);
    }
}

}  // namespace
