// Vitrel through a test-only display module ("shapes"): GL child windows and
// their slots, the capability probe, the failure boxes, shader files read
// from beside the module, the projections, and real frames.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frames.h"
#include "host/gui_instance.h"
#include "host/view.h"
#include "platform/control.h"
#include "plugins.h"
#include "slots.h"

namespace {

using testing_support::openTestPlugin;

constexpr int32_t slotPin = 0, readFilePin = 1, fileTextPin = 2, fileReadPin = 3, shaderPathPin = 4,
                  programsPin = 5, matrixRequestPin = 6, matrixPin = 7;

class Vitrel : public ::testing::Test {
protected:
    void SetUp() override {
        platform::clearMessageBoxes();
        platform::clearFailures();
        baseline_ = platform::liveWindowCount();
    }
    void TearDown() override { EXPECT_EQ(platform::liveWindowCount(), baseline_) << "windows left behind"; }

    std::unique_ptr<host::GuiInstance> makeGui() { return host::GuiInstance::create(library_, "shapes"); }

    static int32_t slotOf(const host::GuiInstance& gui) { return host::intOf(gui.pinValue(slotPin)); }

    // Opens and closes one view, so that the next creation does not probe.
    void warmUp() {
        auto gui = makeGui();
        host::View view(*gui, 20, 20);
        ASSERT_NE(view.child(), nullptr);
    }

    std::vector<std::wstring> boxTexts() const {
        std::vector<std::wstring> texts;
        for (const auto& box : platform::messageBoxes()) texts.push_back(box.caption + L": " + box.text);
        return texts;
    }

    // Held for the whole test: the toolkit's tables live as long as the module
    // file stays loaded.
    std::shared_ptr<host::Library> library_ = openTestPlugin("shapes");
    int baseline_ = 0;
};

TEST_F(Vitrel, DrawsTheModulesShapesInPixelProjection) {
    auto gui = makeGui();
    host::View view(*gui, 100, 100);
    const auto frame = view.frame();
    ASSERT_TRUE(frame.has_value());
    ASSERT_EQ(frame->width, 100);
    ASSERT_EQ(frame->height, 100);
    using Pixel = platform::Frame::Pixel;
    const Pixel background{0, 0, 64, 255}, red{255, 0, 0, 255}, green{0, 255, 0, 255};
    struct Probe {
        int x, y;
        Pixel colour;
    };
    // The red quad covers pixels 10..49 x 10..29, the green one 60..89 x 40..79.
    for (const Probe p : {Probe{10, 10, red}, Probe{49, 29, red}, Probe{30, 20, red}, Probe{9, 10, background},
                          Probe{50, 20, background}, Probe{30, 30, background}, Probe{60, 40, green},
                          Probe{89, 79, green}, Probe{90, 60, background}, Probe{75, 80, background},
                          Probe{0, 0, background}, Probe{99, 99, background}})
        EXPECT_TRUE(testing_support::pixelIs(*frame, p.x, p.y, p.colour));
    testing_support::keepFrameOnFailure(*frame, "vitrel_shapes");
    EXPECT_TRUE(platform::messageBoxes().empty());
}

TEST_F(Vitrel, SlotsFollowTheProcessHistory) {
    auto first = makeGui();
    auto second = makeGui();
    auto third = makeGui();
    auto a = std::make_unique<host::View>(*first, 20, 20);
    // A failed creation resets the window counter: the next creation probes
    // again and takes slot 0.
    a->close();
    platform::failNext(platform::Failure::CreateWindow);
    a->reopen();
    EXPECT_EQ(a->child(), nullptr);
    a->close();

    const auto created = platform::windowsCreated();
    a->reopen();
    EXPECT_EQ(platform::windowsCreated() - created, 2u) << "the probe's window and the view's";
    EXPECT_EQ(slotOf(*first), 0);
    host::View b(*second, 20, 20);
    EXPECT_EQ(platform::windowsCreated() - created, 4u) << "the editor's and the view's, no second probe";
    EXPECT_EQ(slotOf(*second), 1);
    a.reset();
    host::View c(*third, 20, 20);
    EXPECT_EQ(slotOf(*third), 2) << "the lowest free slot from 1 upward, not slot 0";
}

TEST_F(Vitrel, EachFailedStepShowsItsBoxReleasesWhatItMadeAndProbesNextTime) {
    struct Case {
        platform::Failure failure;
        const wchar_t* text;
    };
    const Case cases[] = {
        {platform::Failure::CreateWindow, L"Window Creation Error."},
        {platform::Failure::GetDC, L"Can't Create A GL Device Context."},
        {platform::Failure::ChoosePixelFormat, L"Can't Find A Suitable PixelFormat."},
        {platform::Failure::SetPixelFormat, L"Can't Set The PixelFormat."},
        {platform::Failure::CreateContext, L"Can't Create A GL Rendering Context."},
        {platform::Failure::MakeCurrent, L"Can't Activate The GL Rendering Context."},
    };
    auto gui = makeGui();
    host::View view(*gui, 20, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::wcslen(c.text)));
        view.close();
        platform::clearMessageBoxes();
        platform::failNext(c.failure);
        view.reopen();
        EXPECT_EQ(view.child(), nullptr);
        EXPECT_EQ(platform::liveWindowCount(), baseline_ + 1) << "only the editor's window is left";
        ASSERT_EQ(platform::messageBoxes().size(), 1u);
        EXPECT_EQ(platform::messageBoxes()[0].caption, L"ERROR");
        EXPECT_EQ(platform::messageBoxes()[0].text, c.text);
        EXPECT_EQ(platform::messageBoxes()[0].type, MB_ICONWARNING);

        const auto created = platform::windowsCreated();
        view.reopen();
        EXPECT_NE(view.child(), nullptr);
        EXPECT_EQ(slotOf(*gui), 0);
        EXPECT_EQ(platform::windowsCreated() - created, 2u) << "the probe and the view";
    }
}

TEST_F(Vitrel, AProbeAfterAFailureLeavesTheSlotsOfLiveWindowsAlone) {
    warmUp();
    auto live = makeGui();
    host::View liveView(*live, 100, 100);
    auto later = makeGui();
    host::View laterView(*later, 20, 20);
    laterView.close();
    platform::failNext(platform::Failure::CreateContext);
    laterView.reopen();
    EXPECT_EQ(laterView.child(), nullptr);
    laterView.reopen();
    ASSERT_NE(laterView.child(), nullptr);
    EXPECT_NE(slotOf(*later), slotOf(*live));

    // The live window still draws with its own context and program.
    liveView.paint();
    const auto frame = liveView.frame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(testing_support::pixelIs(*frame, 30, 20, {255, 0, 0, 255}));
    testing_support::keepFrameOnFailure(*frame, "vitrel_live_after_probe");
}

TEST_F(Vitrel, AFailedContextDeletionShowsItsBoxAndStillFreesTheSlot) {
    warmUp();
    auto first = makeGui();
    auto view = std::make_unique<host::View>(*first, 20, 20);
    const int32_t slot = slotOf(*first);
    platform::failNext(platform::Failure::DeleteContext);
    view.reset();
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"SHUTDOWN ERROR: Release Rendering Context Failed."});
    EXPECT_EQ(platform::messageBoxes().at(0).type, MB_ICONINFORMATION);
    auto second = makeGui();
    host::View again(*second, 20, 20);
    EXPECT_EQ(slotOf(*second), slot);
}

TEST(VitrelSlots, AreChosenWithinTheTable) {
    vitrel::SlotTable<unsigned char> inUse{};
    EXPECT_EQ(vitrel::chooseSlot(inUse, 0), 0);
    EXPECT_EQ(vitrel::chooseSlot(inUse, 3), 1);
    inUse[0] = 1;
    EXPECT_EQ(vitrel::chooseSlot(inUse, 0), 1) << "slot 0 held by a live window";
    inUse.fill(1);
    inUse[999] = 0;
    EXPECT_EQ(vitrel::chooseSlot(inUse, 5), 999);
    inUse[999] = 1;
    EXPECT_EQ(vitrel::chooseSlot(inUse, 5), std::nullopt);
    EXPECT_EQ(vitrel::chooseSlot(inUse, 0), std::nullopt);
}

std::string textOf(const host::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST_F(Vitrel, ReadsFilesBesideTheModuleInTextMode) {
    auto gui = makeGui();
    host::View view(*gui, 20, 20);
    const std::filesystem::path directory = SUITE_TEST_PLUGIN_DIR;
    struct Case {
        const char* name;
        const char* bytes;
        const char* text;
    };
    const Case cases[] = {
        {"crlf.txt", "line one\r\nline two\r\n", "line one\nline two\n"},
        {"no_final_break.txt", "void main() {}", "void main() {}"},
        {"empty.txt", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(directory / c.name, std::ios::binary) << c.bytes;
        gui->deliver(readFilePin, host::Bytes(c.name, c.name + std::strlen(c.name)));
        EXPECT_EQ(host::intOf(gui->pinValue(fileReadPin)), 1);
        EXPECT_EQ(textOf(gui->pinValue(fileTextPin)), c.text);
        std::filesystem::remove(directory / c.name);
    }
    EXPECT_TRUE(platform::messageBoxes().empty());

    gui->deliver(readFilePin, host::Bytes{'n', 'o', 'n', 'e', '.', 'f', 'r', 'a', 'g'});
    EXPECT_EQ(host::intOf(gui->pinValue(fileReadPin)), 0);
    const std::wstring path = platform::windowsPath((directory / "none.frag").string());
    EXPECT_EQ(boxTexts(), std::vector<std::wstring>{L"ERROR: Can't open file '" + path + L"' for reading\n"});
}

TEST_F(Vitrel, ComposesPathsInTheModulesOwnDirectoryAndKeepsTheLastProgramPerSlot) {
    const auto directory = std::filesystem::current_path();
    std::filesystem::current_path("/");  // the module's directory, whatever the current one is
    auto gui = makeGui();
    host::View view(*gui, 20, 20);
    std::filesystem::current_path(directory);
    const std::wstring expected =
        platform::windowsPath(std::filesystem::canonical(SUITE_TEST_PLUGIN_DIR).string()) + L"\\shapes.frag";
    const host::Bytes path = gui->pinValue(shaderPathPin);
    EXPECT_EQ(std::wstring(path.begin(), path.end()), expected);

    // [kept vertex, fragment, program; second program; the slot's vertex, fragment, program]
    const host::Bytes bytes = gui->pinValue(programsPin);
    ASSERT_EQ(bytes.size(), 7 * 4u);
    int32_t names[7];
    std::memcpy(names, bytes.data(), sizeof names);
    EXPECT_NE(names[2], 0);
    EXPECT_NE(names[3], names[2]);
    EXPECT_EQ(names[6], names[3]) << "the slot names the program loaded last";
    EXPECT_NE(names[4], names[0]);
    EXPECT_NE(names[5], names[1]);
}

TEST_F(Vitrel, ProjectionsMapPixelsToTheCornersAndTreatHeightZeroAsOne) {
    auto gui = makeGui();
    host::View view(*gui, 20, 20);
    auto matrix = [&](int32_t request) {
        gui->deliver(matrixRequestPin, request);
        const host::Bytes bytes = gui->pinValue(matrixPin);
        std::vector<float> m(16);
        if (bytes.size() == 64) std::memcpy(m.data(), bytes.data(), 64);
        return m;
    };
    // Column-major: clip = M * (x, y, 0, 1).
    const std::vector<float> pixel = matrix(1);
    auto map = [&](float x, float y) { return std::pair{pixel[0] * x + pixel[4] * y + pixel[12], pixel[1] * x + pixel[5] * y + pixel[13]}; };
    EXPECT_EQ(map(0, 0), (std::pair{-1.0f, 1.0f}));
    EXPECT_EQ(map(200, 100), (std::pair{1.0f, -1.0f}));
    EXPECT_EQ(matrix(2), matrix(3));
    EXPECT_NE(matrix(2), std::vector<float>(16, 0.0f));
}

TEST_F(Vitrel, OpeningAndClosingAView200TimesLeavesNothingBehind) {
    auto gui = makeGui();
    host::View view(*gui, 64, 48);
    for (int i = 0; i < 200; ++i) {
        view.reopen();
        ASSERT_NE(view.child(), nullptr) << "opening " << i;
    }
    EXPECT_EQ(platform::liveWindowCount(), baseline_ + 2);
    EXPECT_TRUE(platform::messageBoxes().empty());
}

}  // namespace
