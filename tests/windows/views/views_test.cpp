// Views on the real system: Win32 child windows of the host's editor window,
// WGL contexts, shader files found beside the module through its module
// handle, and frames read back from the windows' front buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fontel/find_font.h"
#include "frames.h"
#include "host/description.h"
#include "host/gui_instance.h"
#include "host/values.h"
#include "host/view.h"
#include "plugins.h"

namespace {

using Pixel = platform::Frame::Pixel;

constexpr int32_t shaderPathPin = 4;
constexpr Pixel background{0, 0, 64, 255}, red{255, 0, 0, 255}, green{0, 255, 0, 255};

struct Probe {
    int x, y;
    Pixel colour;
};

// The test module's shapes: the red quad covers pixels 10..49 x 10..29, the
// green one 60..89 x 40..79, on dark blue.
void expectShapes(const platform::Frame& frame, const std::string& name) {
    ASSERT_EQ(frame.width, 100);
    ASSERT_EQ(frame.height, 100);
    for (const Probe p : {Probe{10, 10, red}, Probe{49, 29, red}, Probe{9, 10, background}, Probe{50, 20, background},
                          Probe{60, 40, green}, Probe{89, 79, green}, Probe{90, 60, background},
                          Probe{0, 0, background}, Probe{99, 99, background}})
        EXPECT_TRUE(testing_support::pixelIs(frame, p.x, p.y, p.colour));
    testing_support::keepFrameOnFailure(frame, name);
}

TEST(WindowsView, DrawsTheShapesThroughWgl) {
    const auto gui = host::GuiInstance::create(testing_support::openTestPlugin("shapes"), "shapes");
    host::View view(*gui, 100, 100);
    ASSERT_NE(view.child(), nullptr);
    EXPECT_TRUE(IsWindow(view.child()));
    EXPECT_EQ(GetParent(view.child()), view.parent());
    const auto frame = view.frame();
    ASSERT_TRUE(frame.has_value());
    expectShapes(*frame, "windows_shapes");
}

TEST(WindowsView, FindsTheShaderFilesBesideTheModuleThroughItsHandle) {
    const auto gui = host::GuiInstance::create(testing_support::openTestPlugin("shapes"), "shapes");
    host::View view(*gui, 100, 100);
    std::string expected = (std::filesystem::path(SUITE_TEST_PLUGIN_DIR) / "shapes.frag").string();
    std::replace(expected.begin(), expected.end(), '/', '\\');
    const host::Bytes path = gui->pinValue(shaderPathPin);
    EXPECT_EQ(std::string(path.begin(), path.end()), expected);
}

TEST(WindowsView, DrawsAgainAfterItsWindowIsMadeAnew) {
    const auto gui = host::GuiInstance::create(testing_support::openTestPlugin("shapes"), "shapes");
    host::View view(*gui, 100, 100);
    const HWND first = view.child();
    view.reopen();
    ASSERT_NE(view.child(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    view.paint();
    const auto frame = view.frame();
    ASSERT_TRUE(frame.has_value());
    expectShapes(*frame, "windows_shapes_reopened");
}

TEST(WindowsView, TwoViewsDrawSideBySideWithTheirOwnContexts) {
    const auto library = testing_support::openTestPlugin("shapes");
    const auto a = host::GuiInstance::create(library, "shapes");
    const auto b = host::GuiInstance::create(library, "shapes");
    host::View first(*a, 100, 100);
    host::View second(*b, 100, 100, 120, 0);
    first.paint();
    second.paint();
    for (const host::View* view : {&first, &second}) {
        const auto frame = view->frame();
        ASSERT_TRUE(frame.has_value());
        expectShapes(*frame, view == &first ? "windows_shapes_first" : "windows_shapes_second");
    }
}

// The window base's procedure, entered from the system's own frames: a
// handler that throws must not unwind through them.
TEST(WindowsView, AHandlerThatThrowsDoesNotLeaveTheWindowProcedure) {
    const auto gui = host::GuiInstance::create(testing_support::openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 50, 50);
    EXPECT_EQ(SendMessageW(view.child(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(1, 2)), 0);
    EXPECT_TRUE(IsWindow(view.child()));
}

// The test prefix registers Liberation Sans as Arial in the system's font
// registry: the lookup names the file in the Windows font folder, which holds
// the installed font (the machine's own copy, seen through drive Z:).
TEST(WindowsFonts, ArialIsFoundInTheRegistryAsLiberationSans) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const auto& [face, style] : {std::pair{"Arial", "Regular"}, std::pair{"Arial Bold", "Bold"}}) {
        SCOPED_TRACE(face);
        const std::string file = std::string("LiberationSans-") + style + ".ttf";
        const std::string path = fontelFindFontFile(face);
        EXPECT_EQ(path, std::string(windows) + "\\Fonts\\" + file);
        const std::filesystem::path installed = "Z:/usr/share/fonts/truetype/liberation2/" + file;
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(std::filesystem::file_size(path), std::filesystem::file_size(installed));
    }
}

// Every display deliverable (a GUI half with a view of its own in its
// description) opens its view at its natural size and presents a frame of
// that size.
struct DisplayModule {
    std::filesystem::path library;
    std::string id;
    host::ViewSize size;
};

std::vector<DisplayModule> displayDeliverables() {
    std::vector<DisplayModule> found;
    for (const auto& entry : std::filesystem::directory_iterator(SUITE_PLUGIN_DIR)) {
        if (entry.path().extension() != ".json") continue;
        std::filesystem::path library = entry.path();
        library.replace_extension(SUITE_PLUGIN_SUFFIX);
        if (!std::filesystem::exists(library)) continue;
        for (const auto& plugin : host::LibraryDescription::load(entry.path()).plugins)
            if (plugin.gui && plugin.gui->view) found.push_back({library, plugin.id, *plugin.gui->view});
    }
    return found;
}

TEST(WindowsView, EveryDisplayDeliverablePresentsAFrameOfItsNaturalSize) {
    const auto modules = displayDeliverables();
    EXPECT_GE(modules.size(), 2u) << "eqscape and needlepair";
    for (const DisplayModule& module : modules) {
        SCOPED_TRACE(module.id);
        const auto gui = host::GuiInstance::create(host::Library::open(module.library), module.id);
        host::View view(*gui, module.size.width, module.size.height);
        ASSERT_NE(view.child(), nullptr);
        view.paint();
        const auto frame = view.frame();
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->width, module.size.width);
        EXPECT_EQ(frame->height, module.size.height);
        testing_support::keepFrameOnFailure(*frame, "windows_" + module.id);
    }
}

// The level meter at half level on both sides: the lower half of each bar lit,
// the upper half its dark background, the two pixels between the bars clear.
TEST(WindowsView, TheLevelMeterLightsTheLowerHalfOfEachBarAtHalfLevel) {
    const auto gui = host::GuiInstance::create(testing_support::openDeliverable("needlepair"), "MY_needlepair");
    host::View view(*gui, 100, 200);
    constexpr int32_t leftLevelPin = 0, rightLevelPin = 1;
    ASSERT_EQ(gui->deliver(leftLevelPin, 0.5f), mp::MP_OK);
    ASSERT_EQ(gui->deliver(rightLevelPin, 0.5f), mp::MP_OK);
    view.paint();
    const auto frame = view.frame();
    ASSERT_TRUE(frame.has_value());
    const auto brightest = [&](int x, int y) {
        const Pixel p = frame->at(x, y);
        return std::max({int(p.r), int(p.g), int(p.b)});
    };
    for (const int x : {0, 48, 51, 99}) {
        SCOPED_TRACE(x);
        EXPECT_GE(brightest(x, 150), 150) << "a lit bar";
        EXPECT_GT(brightest(x, 50), 0) << "the dark background";
        EXPECT_LE(brightest(x, 50), 70) << "the dark background";
    }
    for (const int x : {49, 50}) EXPECT_EQ(brightest(x, 100), 0) << "cleared between the bars at x " << x;
    testing_support::keepFrameOnFailure(*frame, "windows_needlepair_half");
}

}  // namespace
