// The factory behind MP_GetFactory: identifiers, reference counting,
// creation by id and kind, and the SDK description.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/dsp_instance.h"
#include "host/gui_instance.h"
#include "mp/abi/host_interfaces.h"
#include "plugins.h"

namespace {

using testing_support::openDeliverable;
using testing_support::openTestPlugin;

TEST(Identifiers, HaveTheirPublishedBytes) {
    // Windows GUID memory layout: the first three groups little-endian.
    const auto bytes = [](const mp::MpGuid& g) {
        std::string s(16, '\0');
        std::memcpy(s.data(), &g, 16);
        return s;
    };
    EXPECT_EQ(bytes(mp::MP_IID_UNKNOWN),
              std::string("\x00\x00\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x00\x46", 16));
    EXPECT_EQ(bytes(mp::MP_IID_FACTORY),
              std::string("\xB7\x04\x79\x9A\x7F\x7F\x61\x4D\xB5\x58\xC1\xA6\x69\x5B\xB6\x38", 16));
    EXPECT_EQ(bytes(mp::MP_IID_DSP_HOST),
              std::string("\x2F\x53\x1B\x4F\x46\x3C\x27\x49\xA4\x98\x61\x48\x67\x42\x5B\xE7", 16));
}

TEST(Factory, AnswersItsIdentifiersAndIgnoresReferenceCounting) {
    auto library = openDeliverable("cvpitch");
    mp::IMpFactory* factory = library->factory();
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->queryInterface(&mp::MP_IID_FACTORY, &object), mp::MP_OK);
    EXPECT_EQ(object, factory);
    EXPECT_EQ(factory->queryInterface(&mp::MP_IID_UNKNOWN, &object), mp::MP_OK);
    EXPECT_EQ(object, factory);
    EXPECT_EQ(factory->queryInterface(&mp::MP_IID_PLUGIN, &object), mp::MP_NOSUPPORT);
    EXPECT_EQ(object, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(factory->addRef(), 16);
        EXPECT_EQ(factory->release(), 1);
        EXPECT_EQ(factory->release(), 1);
    }
}

TEST(Factory, RefusesUnknownIdsKindsAndMissingCreators) {
    struct Case {
        const char* library;
        std::u16string id;
        int32_t kind;
    };
    const Case cases[] = {
        {"cvpitch", u"cvpitch", mp::MP_KIND_GUI},   // DSP only
        {"cvpitch", u"CVPITCH", mp::MP_KIND_DSP},   // ids are case-sensitive
        {"cvpitch", u"cvpitc", mp::MP_KIND_DSP},
        {"cvpitch", u"", mp::MP_KIND_DSP},
        {"levelmap", u"levelmap", 2},
        {"levelmap", u"levelmap", -1},
        {"levelmap", u"cvpitch", mp::MP_KIND_DSP},  // another library's id
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.library) + " kind " + std::to_string(c.kind) + " id length " +
                     std::to_string(c.id.size()));
        auto library = openDeliverable(c.library);
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(library->factory()->createModule(c.id.c_str(), c.kind, nullptr, &object), mp::MP_NOSUPPORT);
        EXPECT_EQ(object, nullptr);
    }
}

TEST(Factory, RefusesNullArgumentsSafely) {
    auto library = openDeliverable("cvpitch");
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(library->factory()->createModule(nullptr, mp::MP_KIND_DSP, nullptr, &object), mp::MP_NOSUPPORT);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(library->factory()->createModule(u"cvpitch", mp::MP_KIND_DSP, nullptr, nullptr), mp::MP_NOSUPPORT);
}

TEST(Factory, MakesTwoHalvesOfOneIdAsSeparateObjectsWithOneReferenceEach) {
    auto library = openDeliverable("levelmap");
    auto dsp = host::DspInstance::create(library, "levelmap");
    auto gui = host::GuiInstance::create(library, "levelmap");
    EXPECT_NE(static_cast<mp::IMpUnknown*>(dsp->plugin()), static_cast<mp::IMpUnknown*>(gui->userInterface()));
    EXPECT_EQ(dsp->plugin()->addRef(), 2);
    EXPECT_EQ(dsp->plugin()->release(), 1);
    EXPECT_EQ(gui->userInterface()->addRef(), 2);
    EXPECT_EQ(gui->userInterface()->release(), 1);
}

TEST(Factory, FailsCreationWhenTheHostLacksItsInterface) {
    auto probe = openTestPlugin("probe");
    auto levelmap = openDeliverable("levelmap");
    EXPECT_EQ(host::DspInstance::creationStatus(probe, "probe", {.provideDspHost = false}), mp::MP_FAIL);
    EXPECT_EQ(host::DspInstance::creationStatus(levelmap, "levelmap", {.provideDspHost = false}), mp::MP_FAIL);
    EXPECT_EQ(host::GuiInstance::creationStatus(levelmap, "levelmap", {.provideGuiHost = false}), mp::MP_FAIL);
    // A plain GUI module needs none of the window-host interfaces.
    EXPECT_EQ(host::GuiInstance::creationStatus(levelmap, "levelmap",
                                                {.provideWindowHost = false, .provideHostExtension = false}),
              mp::MP_OK);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(levelmap->factory()->createModule(u"levelmap", mp::MP_KIND_DSP, nullptr, &object), mp::MP_FAIL);
    EXPECT_EQ(object, nullptr);
}

TEST(Factory, DescribesTheSdkTruncatedToTheBuffer) {
    auto library = openDeliverable("cvpitch");
    struct Case {
        int32_t size;
        std::u16string expected;
    };
    const Case cases[] = {{64, u"MS Compiler V1800"}, {18, u"MS Compiler V1800"}, {17, u"MS Compiler V180"},
                          {8, u"MS Comp"},            {1, u""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::u16string buffer(80, u'#');
        int32_t version = 0;
        EXPECT_EQ(library->factory()->describeSdk(&version, c.size, buffer.data()), mp::MP_OK);
        EXPECT_EQ(version, 30400);
        EXPECT_EQ(std::u16string(buffer.c_str()), c.expected);
        EXPECT_EQ(buffer[c.expected.size() + 1], u'#');  // nothing written past the terminator
    }
    std::u16string untouched(4, u'#');
    int32_t version = 0;
    EXPECT_EQ(library->factory()->describeSdk(&version, 0, untouched.data()), mp::MP_OK);
    EXPECT_EQ(untouched, u"####");
    EXPECT_EQ(library->factory()->describeSdk(nullptr, 8, nullptr), mp::MP_OK);
}

TEST(ModuleObjects, AnswerOnlyTheirOwnInterfaces) {
    auto library = openDeliverable("levelmap");
    auto dsp = host::DspInstance::create(library, "levelmap");
    auto gui = host::GuiInstance::create(library, "levelmap");
    struct Case {
        mp::IMpUnknown* object;
        const mp::MpGuid* iid;
        bool answered;
    };
    const Case cases[] = {
        {dsp->plugin(), &mp::MP_IID_UNKNOWN, true},
        {dsp->plugin(), &mp::MP_IID_PLUGIN, true},
        {dsp->plugin(), &mp::MP_IID_USER_INTERFACE, false},
        {dsp->plugin(), &mp::MP_IID_FACTORY, false},
        {gui->userInterface(), &mp::MP_IID_UNKNOWN, true},
        {gui->userInterface(), &mp::MP_IID_USER_INTERFACE, true},
        {gui->userInterface(), &mp::MP_IID_PLUGIN, false},
        {gui->userInterface(), &mp::MP_IID_GRAPHICS_WIN_GDI, false},
    };
    for (const Case& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        const int32_t status = c.object->queryInterface(c.iid, &object);
        if (c.answered) {
            EXPECT_EQ(status, mp::MP_OK);
            EXPECT_EQ(object, c.object);
            EXPECT_EQ(c.object->release(), 1);  // queryInterface took a reference
        } else {
            EXPECT_EQ(status, mp::MP_NOSUPPORT);
            EXPECT_EQ(object, nullptr);
        }
    }
}

TEST(ModuleObjects, ReleaseTheDspHostOnceAndNeverTheGuiHost) {
    auto library = openDeliverable("levelmap");
    auto dsp = host::DspInstance::create(library, "levelmap");
    auto gui = host::GuiInstance::create(library, "levelmap");
    EXPECT_EQ(dsp->hostReleases(), 0);
    dsp->releaseModule();
    EXPECT_EQ(dsp->hostReleases(), 1);
    gui->releaseModule();
    EXPECT_EQ(gui->hostReleases(), 0);
}

}  // namespace
