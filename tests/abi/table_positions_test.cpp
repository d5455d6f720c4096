// Every interface operation sits at its published position in the operation
// table, and the event record keeps its field order. Read from pointers to
// virtual members, which in the Itanium C++ ABI hold 1 + the byte offset of
// the operation's entry in the table.
#include <gtest/gtest.h>

#include <cstring>

#include "mp/abi/host_interfaces.h"
#include "mp/abi/plugin_interfaces.h"

namespace {

template <class Interface, class Operation>
std::ptrdiff_t position(Operation Interface::*operation) {
    static_assert(sizeof(operation) == 2 * sizeof(void*), "an Itanium pointer to member function");
    std::ptrdiff_t raw;
    std::memcpy(&raw, &operation, sizeof raw);
    EXPECT_EQ(raw % std::ptrdiff_t(sizeof(void*)), 1) << "not a virtual operation";
    return (raw - 1) / std::ptrdiff_t(sizeof(void*));
}

TEST(TablePositions, OfTheObjectConventions) {
    EXPECT_EQ(position(&mp::IMpUnknown::queryInterface), 0);
    EXPECT_EQ(position(&mp::IMpUnknown::addRef), 1);
    EXPECT_EQ(position(&mp::IMpUnknown::release), 2);
}

TEST(TablePositions, OfThePluginSideInterfaces) {
    EXPECT_EQ(position(&mp::IMpFactory::createModule), 3);
    EXPECT_EQ(position(&mp::IMpFactory::describeSdk), 4);

    EXPECT_EQ(position(&mp::IMpPlugin::activate), 3);
    EXPECT_EQ(position(&mp::IMpPlugin::setAudioBuffer), 4);
    EXPECT_EQ(position(&mp::IMpPlugin::processBlock), 5);
    EXPECT_EQ(position(&mp::IMpPlugin::receiveGuiMessage), 6);

    EXPECT_EQ(position(&mp::IMpUserInterface::initialiseGui), 3);
    EXPECT_EQ(position(&mp::IMpUserInterface::receivePinValue), 4);
    EXPECT_EQ(position(&mp::IMpUserInterface::receivePinNotice), 5);
    EXPECT_EQ(position(&mp::IMpUserInterface::receiveAudioMessage), 6);
    EXPECT_EQ(position(&mp::IMpUserInterface::buildContextMenu), 7);
    EXPECT_EQ(position(&mp::IMpUserInterface::contextMenuChosen), 8);

    EXPECT_EQ(position(&mp::IMpGraphicsWinGdi::proposeSize), 3);
    EXPECT_EQ(position(&mp::IMpGraphicsWinGdi::placeWindow), 4);
    EXPECT_EQ(position(&mp::IMpGraphicsWinGdi::createChildWindow), 5);
    EXPECT_EQ(position(&mp::IMpGraphicsWinGdi::destroyChildWindow), 6);
}

TEST(TablePositions, OfTheHostServices) {
    EXPECT_EQ(position(&mp::IMpDspHost::release), 2);
    EXPECT_EQ(position(&mp::IMpDspHost::sendPinValue), 3);
    EXPECT_EQ(position(&mp::IMpDspHost::requestSleep), 5);
    EXPECT_EQ(position(&mp::IMpDspHost::querySampleRate), 8);
    EXPECT_EQ(position(&mp::IMpGuiHost::sendGuiPinValue), 3);
}

TEST(EventRecord, KeepsItsFieldOrderWithWiderPointers) {
    EXPECT_EQ(offsetof(mp::TimedEvent, time), 0u);
    EXPECT_EQ(offsetof(mp::TimedEvent, type), 4u);
    EXPECT_EQ(offsetof(mp::TimedEvent, pinIndex), 8u);
    EXPECT_EQ(offsetof(mp::TimedEvent, size), 12u);
    EXPECT_EQ(offsetof(mp::TimedEvent, valueWord0), 16u);
    EXPECT_EQ(offsetof(mp::TimedEvent, valueWord1), 20u);
    EXPECT_EQ(offsetof(mp::TimedEvent, extraData), 24u);
    EXPECT_EQ(offsetof(mp::TimedEvent, next), 24u + sizeof(void*));
}

}  // namespace
