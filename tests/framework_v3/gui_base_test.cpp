// The GUI base and its pins, observed through the probe plug-in's GUI half:
// each handler echoes its pin to 10 + k and counts its notices on 20 + k.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "host/gui_instance.h"
#include "plugins.h"

namespace {

using host::Bytes;

class GuiBase : public ::testing::Test {
protected:
    void SetUp() override { gui = host::GuiInstance::create(testing_support::openTestPlugin("probe"), "probe"); }

    // Values sent on one pin, in order.
    std::vector<Bytes> sentOn(int32_t pin) const {
        std::vector<Bytes> result;
        for (const auto& s : gui->sentValues())
            if (s.pinIndex == pin) result.push_back(s.bytes);
        return result;
    }

    std::unique_ptr<host::GuiInstance> gui;
};

TEST_F(GuiBase, StoresAValueWithoutHandlingItUntilTheNotice) {
    EXPECT_EQ(gui->sendValueOnly(0, host::bytesOf(int32_t(5))), mp::MP_OK);
    EXPECT_TRUE(gui->sentValues().empty());
    EXPECT_EQ(gui->sendNoticeOnly(0), mp::MP_OK);
    EXPECT_EQ(sentOn(10), std::vector<Bytes>{host::bytesOf(int32_t(5))});
    EXPECT_EQ(sentOn(20), std::vector<Bytes>{host::bytesOf(int32_t(1))});
}

TEST_F(GuiBase, RunsTheHandlerOnEveryNoticeButSendsOnlyChanges) {
    gui->deliver(1, 2.5f);
    gui->deliver(1, 2.5f);
    EXPECT_EQ(sentOn(21), (std::vector<Bytes>{host::bytesOf(int32_t(1)), host::bytesOf(int32_t(2))}));
    EXPECT_EQ(sentOn(11), std::vector<Bytes>{host::bytesOf(2.5f)});
}

TEST_F(GuiBase, SendsNanOnEverySetValue) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    gui->deliver(1, nan);
    gui->deliver(1, nan);
    EXPECT_EQ(sentOn(11).size(), 2u);
}

TEST_F(GuiBase, DistinguishesMinusZeroFromZeroOnlyForInts) {
    gui->deliver(1, -0.0f);  // equal to the stored 0.0f by IEEE comparison
    EXPECT_TRUE(sentOn(11).empty());
    gui->deliver(0, int32_t(0));
    EXPECT_TRUE(sentOn(10).empty());
}

TEST_F(GuiBase, ConvertsBoolValuesOfEverySize) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool expected;
    };
    const Case cases[] = {
        {"one byte 1", {1}, true},
        {"one byte 5", {5}, true},
        {"int 2", host::bytesOf(int32_t(2)), true},
        {"int 256: only a 4-byte value counts as a number", host::bytesOf(int32_t(256)), true},
        {"int 0", host::bytesOf(int32_t(0)), false},
        {"two bytes, first 0", {0, 1}, false},
        {"two bytes, first 3", {3, 0}, true},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        gui->deliver(2, true);
        gui->clearRecords();
        gui->deliver(2, c.bytes);
        const auto echoes = sentOn(12);
        if (c.expected)
            EXPECT_TRUE(echoes.empty());  // still true: nothing to send
        else
            EXPECT_EQ(echoes, std::vector<Bytes>{Bytes{0}});
    }
}

TEST_F(GuiBase, KeepsFourBytesOfIntValuesOfAnotherSize) {
    struct Case {
        Bytes bytes;
        int32_t expected;
    };
    const Case cases[] = {{{0x11, 0x22}, 0x2211},
                          {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}, 0x04030201},
                          {{}, 0}};
    for (const Case& c : cases) {
        SetUp();
        gui->deliver(0, int32_t(-1));
        gui->deliver(0, c.bytes);
        EXPECT_EQ(gui->pinValue(10), host::bytesOf(c.expected));
    }
}

TEST_F(GuiBase, SendsABlobOnlyWhenItsBytesChange) {
    Bytes hundred(100);
    for (size_t i = 0; i < hundred.size(); ++i) hundred[i] = uint8_t(i);
    gui->deliver(3, hundred);
    gui->deliver(3, hundred);
    Bytes changed = hundred;
    changed[99] = 0;
    gui->deliver(3, changed);
    gui->deliver(3, Bytes{});
    EXPECT_EQ(sentOn(13), (std::vector<Bytes>{hundred, changed, Bytes{}}));
    EXPECT_EQ(sentOn(23).size(), 4u);
}

TEST_F(GuiBase, AnswersPinsThatDoNotExistWithFailure) {
    const Bytes four = host::bytesOf(int32_t(1));
    EXPECT_EQ(gui->userInterface()->receivePinValue(5, 0, 4, four.data()), mp::MP_FAIL);
    EXPECT_EQ(gui->userInterface()->receivePinNotice(5, 0), mp::MP_FAIL);
    EXPECT_EQ(gui->userInterface()->receivePinValue(-1, 0, 4, four.data()), mp::MP_FAIL);
    EXPECT_TRUE(gui->sentValues().empty());
}

TEST_F(GuiBase, SurvivesNullOrNegativeSizedValues) {
    EXPECT_EQ(gui->userInterface()->receivePinValue(0, 0, 4, nullptr), mp::MP_OK);
    EXPECT_EQ(gui->userInterface()->receivePinValue(3, 0, -7, nullptr), mp::MP_OK);
    EXPECT_EQ(gui->userInterface()->receivePinValue(1, 0, 1000, nullptr), mp::MP_OK);
    gui->sendNoticeOnly(3);
    EXPECT_TRUE(sentOn(13).empty());  // still the empty blob it started as
}

TEST_F(GuiBase, AnswersTheRestOfTheInterfaceWithSuccess) {
    mp::IMpUserInterface* ui = gui->userInterface();
    EXPECT_EQ(ui->initialiseGui(), mp::MP_OK);
    EXPECT_EQ(ui->receiveAudioMessage(1, 0, nullptr), mp::MP_OK);
    EXPECT_EQ(ui->buildContextMenu(), mp::MP_OK);
    EXPECT_EQ(ui->contextMenuChosen(3), mp::MP_OK);
    EXPECT_TRUE(gui->sentValues().empty());
}

}  // namespace
