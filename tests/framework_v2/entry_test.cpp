// The two exported entry points of the version-2 deliverables, and the
// records makeModule hands out.
#include <gtest/gtest.h>

#include <cstring>

#include "host/v2_gui.h"
#include "host/v2_module.h"
#include "plugins.h"

namespace {

struct Deliverable {
    const char* library;
    const char* name;
    const char* id;
    const char* aboutStart;
    int32_t flags, guiFlags;
    bool versionBeforeIndex;  // writes the SDK version even for another index
    bool hasGui;
};
const Deliverable deliverables[] = {
    {"hostclock", "hostclock", "hostclock", "https://", 512, 256, true, false},
    {"freqcvpanel", "freqcvpanel", "freqcvpanel", "freqcvpanel", 512, 256, true, true},
    // freqcv leaves the flags as the host passed them (here a marker).
    {"freqcv", "freqcv", "quenby freqcv 1.0+", "freqcv module v1.0.1\n", 0x5a5a, 256, false, true},
};

constexpr int32_t marker = 0x5a5a;

TEST(GetModuleProperties, FillsIndexZeroAndRefusesOthers) {
    for (const auto& d : deliverables) {
        SCOPED_TRACE(d.library);
        const auto library = testing_support::openDeliverable(d.library);
        SEModuleProperties p{nullptr, nullptr, nullptr, marker, marker, marker};
        ASSERT_TRUE(library->getModuleProperties()(0, &p));
        EXPECT_STREQ(p.name, d.name);
        EXPECT_STREQ(p.id, d.id);
        EXPECT_EQ(std::strncmp(p.about, d.aboutStart, std::strlen(d.aboutStart)), 0) << p.about;
        EXPECT_EQ(p.flags, d.flags);
        EXPECT_EQ(p.guiFlags, d.guiFlags);
        EXPECT_EQ(p.sdkVersion, 2230);

        for (int32_t index : {1, -1, 7}) {
            SEModuleProperties other{nullptr, nullptr, nullptr, marker, marker, marker};
            EXPECT_FALSE(library->getModuleProperties()(index, &other));
            EXPECT_EQ(other.name, nullptr);
            EXPECT_EQ(other.sdkVersion, d.versionBeforeIndex ? 2230 : marker);
        }
        EXPECT_FALSE(library->getModuleProperties()(0, nullptr));
    }
}

TEST(MakeModule, MakesTypeOneAndTwoOfIndexZeroOnly) {
    for (const auto& d : deliverables) {
        SCOPED_TRACE(d.library);
        const auto library = testing_support::openDeliverable(d.library);
        const auto make = library->makeModule();
        EXPECT_EQ(make(0, 3, nullptr, nullptr), nullptr);
        EXPECT_EQ(make(0, 0, nullptr, nullptr), nullptr);
        EXPECT_EQ(make(1, 1, nullptr, nullptr), nullptr);
        EXPECT_EQ(make(1, 2, nullptr, nullptr), nullptr);
        EXPECT_EQ(host::V2GuiInstance::makesGuiObject(library), d.hasGui);
    }
}

TEST(MakeModule, HandsOutTheProcessingRecord) {
    int hostMarker = 0;
    const auto library = testing_support::openDeliverable("hostclock");
    auto* record = static_cast<SEModuleStruct*>(library->makeModule()(0, 1, nullptr, &hostMarker));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x5345507B);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->hostPointer, &hostMarker);
    EXPECT_NE(record->object, nullptr);
    EXPECT_EQ(record->reserved16, 0);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->processEntry, nullptr);  // the do-nothing routine
    EXPECT_NE(record->eventEntry, nullptr);
    for (int32_t word : record->reserved) EXPECT_EQ(word, 0);
    EXPECT_EQ(record->dispatcher(record, seffClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(MakeModule, HandsOutTheGuiRecord) {
    int hostMarker = 0;
    const auto library = testing_support::openDeliverable("freqcv");
    auto* record = static_cast<SEGUIStruct*>(library->makeModule()(0, 2, nullptr, &hostMarker));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x5345504D);
    EXPECT_EQ(record->version, 1);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_EQ(record->hostPointer, &hostMarker);
    EXPECT_NE(record->object, nullptr);
    for (int32_t word : record->reserved) EXPECT_EQ(word, 0);
    EXPECT_EQ(record->dispatcher(record, seGuiClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(MakeModule, AnswersWithoutACallbackOnTheProcessingSide) {
    // No callback: requests answer 0 and reach no host; the routine still runs.
    host::V2Options options;
    options.provideCallback = false;
    auto dsp = host::V2DspInstance::create(testing_support::openDeliverable("freqcvpanel"), options);
    dsp->open();
    dsp->runBlock(16);
    EXPECT_EQ(dsp->blocksRun(), 1);
    for (int32_t opcode = 0; opcode < 32; ++opcode) EXPECT_EQ(dsp->calls(opcode), 0) << opcode;
    EXPECT_FALSE(dsp->sleeping());
    EXPECT_EQ(dsp->close(), 1);
}

}  // namespace
