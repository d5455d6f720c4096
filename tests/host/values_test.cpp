// Pin values in the host's text forms, and the event records it builds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/error.h"
#include "host/event_list.h"
#include "host/values.h"

namespace {

using host::PinType;

TEST(Values, ParseAndPrintEachType) {
    struct Case {
        PinType type;
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        {PinType::Float, "440", "440"},     {PinType::Float, "0.1", "0.100000001"},
        {PinType::Float, "-inf", "-inf"},   {PinType::Int, "-7", "-7"},
        {PinType::Int, "0x10", "16"},       {PinType::Bool, "true", "true"},
        {PinType::Bool, "0", "false"},      {PinType::Blob, "00ff10", "00ff10"},
        {PinType::Blob, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(host::formatValue(c.type, host::parseValue(c.type, c.text)), c.printed);
    }
}

TEST(Values, RefuseTextThatIsNotAValueOfTheType) {
    const std::pair<PinType, const char*> cases[] = {
        {PinType::Float, ""},  {PinType::Float, "1.5x"}, {PinType::Int, "1.5"},  {PinType::Int, "9999999999"},
        {PinType::Bool, "yes"}, {PinType::Blob, "abc"},   {PinType::Blob, "zz"},
    };
    for (const auto& [type, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_THROW(host::parseValue(type, text), host::HostError);
    }
}

TEST(Values, PrintValuesOfAnUnexpectedSizeAsBytes) {
    EXPECT_EQ(host::formatValue(PinType::Float, host::Bytes{1, 2}), "bytes:0102");
    EXPECT_THROW(host::floatOf(host::Bytes{1, 2}), host::HostError);
}

TEST(Values, ConvertIdsToUtf16) {
    EXPECT_EQ(host::toUtf16("MY_eqscape"), u"MY_eqscape");
    EXPECT_EQ(host::toUtf16("\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb5"), u"\u00e9\u20ac\U0001F3B5");
    EXPECT_THROW(host::toUtf16("\xc3"), host::HostError);
    EXPECT_THROW(host::toUtf16("\xff"), host::HostError);
}

TEST(EventList, PutsShortValuesInTheWordsAndLongOnesBehindExtraData) {
    host::EventList list;
    const host::Bytes twelve{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    list.value(0, 1, 2.5f).value(3, 2, host::Bytes{9, 8, 7, 6, 5, 4, 3, 2}).value(3, 4, twelve).start(7);
    const mp::TimedEvent* e = list.head();
    ASSERT_NE(e, nullptr);
    float f;
    std::memcpy(&f, &e->valueWord0, 4);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(e->size, 4);
    EXPECT_EQ(e->extraData, nullptr);
    e = e->next;
    EXPECT_EQ(e->size, 8);
    EXPECT_EQ(e->valueWord1, 0x02030405);
    EXPECT_EQ(e->extraData, nullptr);
    e = e->next;
    ASSERT_NE(e->extraData, nullptr);
    EXPECT_EQ(std::memcmp(e->extraData, twelve.data(), 12), 0);
    e = e->next;
    EXPECT_EQ(e->type, mp::MP_EVENT_START);
    EXPECT_EQ(e->time, 7);
    EXPECT_EQ(e->next, nullptr);
}

}  // namespace
