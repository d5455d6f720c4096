// Description files: what a well-formed one yields, and the message for each
// kind of malformed one.
#include <gtest/gtest.h>

#include "host/description.h"
#include "host/error.h"
#include "host/library.h"
#include "plugins.h"

namespace {

TEST(Description, ReadsPluginsKindsAndPins) {
    const auto d = host::LibraryDescription::parse(R"({
        "library": "x", "generation": 3,
        "plugins": [ { "id": "a", "kinds": {
            "dsp": { "pins": [ { "index": 0, "name": "In", "type": "audio", "direction": "in" },
                               { "index": 3, "name": "Out", "type": "blob", "direction": "out" } ] },
            "gui": { "pins": [ { "index": 1, "name": "Both", "type": "bool", "direction": "inout" } ] } } } ] })",
                                                   "test");
    ASSERT_EQ(d.plugins.size(), 1u);
    const auto& a = d.plugins[0];
    EXPECT_EQ(a.name, "a");  // the id when no name is given
    ASSERT_TRUE(a.dsp && a.gui);
    EXPECT_EQ(a.dsp->findPin(3)->type, host::PinType::Blob);
    EXPECT_EQ(a.dsp->findPin("In")->index, 0);
    EXPECT_EQ(a.dsp->findPin("3")->name, "Out");
    EXPECT_EQ(a.dsp->findPin("4"), nullptr);
    EXPECT_EQ(a.gui->findPin(1)->direction, host::PinDirection::InOut);
    EXPECT_EQ(d.findPlugin("b"), nullptr);
}

TEST(Description, ReadsVersion2ChoicePinsAndFlags) {
    const auto d = host::LibraryDescription::parse(R"({
        "library": "x", "generation": 2,
        "plugins": [ { "id": "m 1.0+", "kinds": {
            "dsp": { "pins": [ { "index": 0, "name": "A", "type": "float", "direction": "in", "flags": 1028 },
                               { "index": 1, "name": "B", "type": "int", "direction": "out" } ] },
            "gui": { "pins": [ { "index": 0, "name": "C", "type": "choice", "direction": "in" } ] } } } ] })",
                                                   "test");
    ASSERT_EQ(d.plugins.size(), 1u);
    EXPECT_EQ(d.generation, 2);
    EXPECT_EQ(d.plugins[0].dsp->findPin(0)->flags, 1028);
    EXPECT_EQ(d.plugins[0].dsp->findPin(1)->flags, 0);
    EXPECT_EQ(d.plugins[0].gui->findPin(0)->type, host::PinType::Choice);
}

TEST(Description, NamesWhatIsWrongWithAMalformedFile) {
    struct Case {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {"{", "not valid JSON"},
        {R"({"generation": 3, "plugins": []})", "has no \"library\""},
        {R"({"library": "x", "generation": 4, "plugins": []})", "neither 2 nor 3"},
        {R"({"library": "x", "generation": 3, "plugins": {}})", "\"plugins\" is not a list"},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {}}]})", "has no kind"},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dps": {"pins": []}}}]})",
         "unknown kind \"dps\""},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": 0, "name": "p", "type": "double", "direction": "in"}]}}}]})",
         "unknown type \"double\""},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": 0, "name": "p", "type": "choice", "direction": "in"}]}}}]})",
         "unknown type \"choice\""},
        {R"({"library": "x", "generation": 2, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": 0, "name": "p", "type": "int", "direction": "in", "flags": -4}]}}}]})",
         "\"flags\" is not a whole number"},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": 0, "name": "p", "type": "int", "direction": "sideways"}]}}}]})",
         "unknown direction \"sideways\""},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": 0, "name": "p", "type": "int", "direction": "in"},
            {"index": 0, "name": "q", "type": "int", "direction": "in"}]}}}]})",
         "pin 0 is listed twice"},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"dsp": {"pins": [
            {"index": -1, "name": "p", "type": "int", "direction": "in"}]}}}]})",
         "not a whole number"},
        {R"({"library": "x", "generation": 3, "plugins": [{"id": "a", "kinds": {"gui": {"pins": []}}},
                                                        {"id": "a", "kinds": {"gui": {"pins": []}}}]})",
         "listed twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            host::LibraryDescription::parse(c.json, "test.json");
            ADD_FAILURE() << "accepted";
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("test.json: ", 0), 0u) << e.what();
        }
    }
}

TEST(Library, ReportsWhatKeepsItFromLoading) {
    struct Case {
        std::filesystem::path path;
        const char* message;
    };
    const Case cases[] = {
        {testing_support::deliverable("nothing-here"), "cannot read the description file"},
        {testing_support::testPlugin("noentry"), "exports no MP_GetFactory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            host::Library::open(c.path);
            ADD_FAILURE() << "opened";
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(Library, FindsTheEntryPointsOfAVersion2Library) {
    for (const char* name : {"hostclock", "freqcvpanel", "freqcv"}) {
        SCOPED_TRACE(name);
        const auto library = testing_support::openDeliverable(name);
        EXPECT_EQ(library->description().generation, 2);
        EXPECT_NE(library->getModuleProperties(), nullptr);
        EXPECT_NE(library->makeModule(), nullptr);
        EXPECT_EQ(library->factory(), nullptr);
    }
}

TEST(Library, DescribesEveryDeliverableInAgreementWithItsFactory) {
    for (const char* name : {"cvpitch", "levelmap"}) {
        SCOPED_TRACE(name);
        const auto library = testing_support::openDeliverable(name);
        EXPECT_EQ(library->description().library, name);
        EXPECT_EQ(library->description().generation, 3);
        EXPECT_NO_THROW(library->plugin(name));
        EXPECT_THROW(library->plugin("unknown"), host::HostError);
    }
}

}  // namespace
