// The GUI object's dispatcher opcodes and its requests to the host, through
// the probe plug-in (a GuiModule) and the two deliverables with GUI objects.
#include <gtest/gtest.h>

#include <cstring>

#include "probe2_host.h"

namespace {

using probe2::command;

std::unique_ptr<host::V2GuiInstance> makeGui(bool initialise = true) {
    host::V2GuiOptions options;
    options.initialise = initialise;
    options.query20Answer = 1;
    return host::V2GuiInstance::create(probe2::library(), options);
}

probe2::Hooks hooks(host::V2GuiInstance& gui) { return command(gui, probe2::guiReadHooks).hooks; }

TEST(GuiDispatcher, OpcodeZeroInitialisesRestoredOnlyForIndexOne) {
    struct Case {
        int32_t index;
        int32_t restored;
    };
    for (const Case c : {Case{1, 1}, Case{0, 0}, Case{2, 0}, Case{-1, 0}}) {
        SCOPED_TRACE(c.index);
        auto gui = makeGui(false);
        EXPECT_EQ(hooks(*gui).initialisedRestored, -1);
        EXPECT_EQ(gui->dispatch(seGuiInitialise, c.index), 0);
        EXPECT_EQ(hooks(*gui).initialisedRestored, c.restored);
    }
}

TEST(GuiDispatcher, LeadsEachOpcodeToItsHook) {
    auto gui = makeGui();
    int target = 0;
    struct Case {
        int32_t opcode;
        int32_t index, value;  // expected in the hook (a point's x and y for 3-5)
        bool ptr, opt;
    };
    const Case cases[] = {
        {2, 11, 0, true, false}, {3, 11, 22, true, true}, {4, 11, 22, true, true}, {5, 11, 22, true, true},
        {6, 11, 22, false, false}, {7, 11, 0, false, false}, {8, 0, 0, true, false}, {9, 0, 0, true, false},
        {11, 11, 0, false, false}, {12, 11, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opcode);
        // Opcode 6 with no pointer reaches onDspMessage(value, index, null).
        void* ptr = c.opcode == 6 ? nullptr : &target;
        EXPECT_EQ(gui->dispatch(c.opcode, 11, 22, ptr, 2.5f), 0);
        const probe2::HookCall call = hooks(*gui).byOpcode[c.opcode];
        EXPECT_EQ(call.calls, 1);
        EXPECT_EQ(call.index, c.index);
        EXPECT_EQ(call.value, c.value);
        EXPECT_EQ(call.ptr, c.ptr ? &target : nullptr);
        EXPECT_EQ(call.opt, c.opt ? 2.5f : 0.0f);
    }
    const probe2::Hooks before = hooks(*gui);
    for (int32_t opcode : {13, 14, 100, -1, INT32_MAX}) EXPECT_EQ(gui->dispatch(opcode, 1, 2, &target, 1.0f), 0);
    const probe2::Hooks after = hooks(*gui);
    EXPECT_EQ(std::memcmp(before.byOpcode, after.byOpcode, sizeof before.byOpcode), 0);
}

TEST(GuiDispatcher, OpcodeTenAnswersTrueOnlyForAGuiModule) {
    struct Case {
        std::shared_ptr<host::Library> library;
        intptr_t answer;
    };
    const Case cases[] = {{probe2::library(), 1},
                          {testing_support::openDeliverable("freqcvpanel"), 1},
                          {testing_support::openDeliverable("freqcv"), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library->path().string());
        auto gui = host::V2GuiInstance::create(c.library);
        EXPECT_EQ(gui->dispatch(seGuiQueryOpcode10), c.answer);
    }
}

TEST(GuiModule, TellsTheHostWhenItInitialisesAndWhenItIsDestroyed) {
    auto gui = makeGui(false);
    EXPECT_EQ(gui->opcode22Count(), 0);
    gui->dispatch(seGuiInitialise, 0);
    EXPECT_EQ(gui->opcode22Count(), 1);
    EXPECT_EQ(gui->close(), 1);
    EXPECT_EQ(gui->opcode22Count(), 2);
}

TEST(GuiRequests, AddPinsInOrderAndSetTheirChoices) {
    auto gui = makeGui();
    struct Pin {
        int32_t datatype, direction;
        const char* name;
    };
    const Pin added[] = {{DT_FLOAT_VALUE, DR_IN, "A"}, {DT_ENUM_LIST, DR_OUT, "B"}, {DT_INT, DR_IN, ""}};
    for (const auto& p : added) {
        probe2::ProbeArgs args{};
        args.a = p.datatype, args.b = p.direction;
        std::strcpy(args.text, p.name);
        command(*gui, probe2::guiAddPin, args);
    }
    ASSERT_EQ(gui->pins().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(gui->pin(int32_t(i)).datatype, added[i].datatype);
        EXPECT_EQ(gui->pin(int32_t(i)).direction, added[i].direction);
        EXPECT_EQ(gui->pin(int32_t(i)).name, added[i].name);
    }
    probe2::ProbeArgs choices{};
    choices.a = 1;
    std::strcpy(choices.text, "one,two");
    command(*gui, probe2::guiSetChoices, choices);
    EXPECT_EQ(gui->pin(1).choices, "one,two");
}

TEST(GuiRequests, SetValuesThroughTheirOwnArgument) {
    auto gui = makeGui();
    for (const int32_t type : {DT_FLOAT_VALUE, DT_INT}) {
        probe2::ProbeArgs args{};
        args.a = type;
        command(*gui, probe2::guiAddPin, args);
    }
    gui->clearRecords();
    probe2::ProbeArgs f{};
    f.a = 0, f.outFloat = 3.25f;
    command(*gui, probe2::guiSetFloat, f);
    probe2::ProbeArgs i{};
    i.a = 1, i.b = -7;
    command(*gui, probe2::guiSetInt, i);
    ASSERT_EQ(gui->writes().size(), 2u);
    EXPECT_EQ(gui->writes()[0].value, 0);  // a float travels only in the float argument
    EXPECT_EQ(gui->writes()[0].opt, 3.25f);
    EXPECT_EQ(gui->writes()[1].value, -7);
    EXPECT_EQ(gui->writes()[1].opt, 0.0f);
    EXPECT_EQ(gui->floatValue(0), 3.25f);
    EXPECT_EQ(gui->intValue(1), -7);
    // Each write told the object at once, from inside the write.
    EXPECT_EQ(gui->notices(), 2);
    EXPECT_EQ(hooks(*gui).byOpcode[7].calls, 2);

    gui->setFloat(0, -0.5f);
    gui->setInt(1, 9);
    probe2::ProbeArgs read{};
    read.a = 0;
    EXPECT_EQ(command(*gui, probe2::guiGetFloat, read).outFloat, -0.5f);
    read.a = 1;
    EXPECT_EQ(command(*gui, probe2::guiGetInt, read).out[0], 9);
    read.a = 5;  // no such pin: the host writes 0
    EXPECT_EQ(command(*gui, probe2::guiGetInt, read).out[0], 0);
}

TEST(GuiRequests, ReadAndWriteTexts) {
    auto gui = makeGui();
    probe2::ProbeArgs pin{};
    pin.a = 2;
    command(*gui, probe2::guiAddPin, pin);
    probe2::ProbeArgs set{};
    std::strcpy(set.text, "hello");
    command(*gui, probe2::guiSetText, set);
    EXPECT_EQ(gui->pin(0).text, "hello");
    gui->setText(0, "from the host");
    EXPECT_STREQ(command(*gui, probe2::guiGetText).text, "from the host");
    probe2::ProbeArgs unknown{};
    unknown.a = 4;
    EXPECT_STREQ(command(*gui, probe2::guiGetText, unknown).text, "");

    struct Wide {
        std::u16string text, read;
    };
    for (const Wide& w :
         {Wide{u"", u""}, Wide{u"\u00e9t\u00e9", u"\u00e9t\u00e9"}, Wide{std::u16string(u"ab\0cd", 5), u"ab"}}) {
        gui->setWideText(0, w.text);
        const probe2::ProbeArgs read = command(*gui, probe2::guiGetWideText);
        EXPECT_EQ(std::u16string(read.wide), w.read);
    }
}

TEST(GuiRequests, HandTheHostTheCallersPointers) {
    auto gui = makeGui();
    const probe2::ProbeArgs args = command(*gui, probe2::guiRequests);
    ASSERT_EQ(gui->requests().size(), 3u);
    EXPECT_EQ(gui->requests()[0].first, 18);
    EXPECT_EQ(gui->requests()[1].first, 19);
    EXPECT_EQ(gui->requests()[2].first, 20);
    EXPECT_NE(gui->requests()[0].second, nullptr);
    EXPECT_NE(gui->requests()[0].second, gui->requests()[2].second);
    EXPECT_EQ(args.out[0], 1);
}

}  // namespace
