// The virtual operations of the two version-2 bases sit in their published
// order. Read from pointers to virtual members, which in the Itanium C++ ABI
// hold 1 + the byte offset of the operation's entry; the destructor takes the
// first two entries.
#include <gtest/gtest.h>

#include <cstring>

#include "se/SEGUI_base.h"
#include "se/SEModule_base.h"

namespace {

template <class Base, class Operation>
std::ptrdiff_t slot(Operation Base::*operation) {
    std::ptrdiff_t raw;
    std::memcpy(&raw, &operation, sizeof raw);
    EXPECT_EQ(raw % std::ptrdiff_t(sizeof(void*)), 1) << "not a virtual operation";
    return (raw - 1) / std::ptrdiff_t(sizeof(void*));
}

TEST(Slots, OfTheModuleBase) {
    const std::ptrdiff_t positions[] = {
        slot(&SEModule_base::onPinStatusChanged), slot(&SEModule_base::processEvent),
        slot(&SEModule_base::dispatch),           slot(&SEModule_base::open),
        slot(&SEModule_base::close),              slot(&SEModule_base::spareHook),
        slot(&SEModule_base::setSampleRate),      slot(&SEModule_base::setBlockSize),
        slot(&SEModule_base::getSampleRate),      slot(&SEModule_base::blockSize),
        slot(&SEModule_base::getPinProperties),   slot(&SEModule_base::spareQuery1),
        slot(&SEModule_base::spareQuery2),        slot(&SEModule_base::hostNotify),
        slot(&SEModule_base::hostNotifyCount),    slot(&SEModule_base::onShortEvent),
        slot(&SEModule_base::onHostMessage),
    };
    for (size_t i = 0; i < std::size(positions); ++i) EXPECT_EQ(positions[i], std::ptrdiff_t(i) + 2) << i;
}

TEST(Slots, OfTheGuiBase) {
    const std::ptrdiff_t positions[] = {
        slot(&SEGUI_base::dispatch),      slot(&SEGUI_base::initialise),   slot(&SEGUI_base::close),
        slot(&SEGUI_base::onOpcode2),     slot(&SEGUI_base::onOpcode3),    slot(&SEGUI_base::onOpcode4),
        slot(&SEGUI_base::onOpcode5),     slot(&SEGUI_base::onOpcode8),    slot(&SEGUI_base::onOpcode9),
        slot(&SEGUI_base::queryOpcode10), slot(&SEGUI_base::onOpcode11),   slot(&SEGUI_base::onOpcode12),
        slot(&SEGUI_base::onDspMessage),  slot(&SEGUI_base::onPinChanged),
    };
    for (size_t i = 0; i < std::size(positions); ++i) EXPECT_EQ(positions[i], std::ptrdiff_t(i) + 2) << i;
}

}  // namespace
