// The window base of GUI modules, through the probe plug-in's window-owning
// GUI halves: size negotiation, the child window and its class, and the
// routing of window messages to the module's operations.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "host/gui_instance.h"
#include "host/view.h"
#include "platform/control.h"
#include "plugins.h"

namespace {

using testing_support::openTestPlugin;

enum Kind : int32_t { paint = 1, buttonDown = 2, buttonUp = 3, mouseMove = 4, timer = 5 };

struct Message {
    int32_t kind, keys, x, y;
    bool operator==(const Message&) const = default;
};

// What the probe reported on its pin 0, in order.
std::vector<Message> messages(const host::GuiInstance& gui) {
    std::vector<Message> result;
    for (const auto& sent : gui.sentValues()) {
        if (sent.pinIndex != 0 || sent.bytes.size() != 20) continue;
        std::array<int32_t, 5> words;
        std::memcpy(words.data(), sent.bytes.data(), 20);
        result.push_back({words[1], words[2], words[3], words[4]});
    }
    return result;
}

mp::IMpGraphicsWinGdi* graphicsOf(const host::GuiInstance& gui) {
    void* graphics = nullptr;
    gui.userInterface()->queryInterface(&mp::MP_IID_GRAPHICS_WIN_GDI, &graphics);
    return static_cast<mp::IMpGraphicsWinGdi*>(graphics);
}

TEST(WindowBase, ProposeSizeClampsEachSideTo15Through100) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    mp::IMpGraphicsWinGdi* graphics = graphicsOf(*gui);
    ASSERT_NE(graphics, nullptr);
    struct Case {
        int32_t width, height, acceptedWidth, acceptedHeight;
    };
    for (const Case c : {Case{10, 500, 15, 100}, Case{50, 60, 50, 60}, Case{-4, 15, 15, 15}, Case{100, 101, 100, 100}}) {
        mp::MpSize accepted{};
        EXPECT_EQ(graphics->proposeSize(c.width, c.height, &accepted), mp::MP_OK);
        EXPECT_EQ(accepted.width, c.acceptedWidth) << c.width;
        EXPECT_EQ(accepted.height, c.acceptedHeight) << c.height;
    }
    graphics->release();
}

TEST(WindowBase, BothInterfacesShareOneObject) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    mp::IMpGraphicsWinGdi* graphics = graphicsOf(*gui);
    ASSERT_NE(graphics, nullptr);
    void* primary = nullptr;
    EXPECT_EQ(graphics->queryInterface(&mp::MP_IID_USER_INTERFACE, &primary), mp::MP_OK);
    EXPECT_EQ(primary, gui->userInterface());
    void* again = nullptr;
    EXPECT_EQ(graphics->queryInterface(&mp::MP_IID_GRAPHICS_WIN_GDI, &again), mp::MP_OK);
    EXPECT_EQ(again, graphics);
    void* none = &none;
    EXPECT_EQ(graphics->queryInterface(&mp::MP_IID_PLUGIN, &none), mp::MP_NOSUPPORT);
    EXPECT_EQ(none, nullptr);
    // One count: three references taken above, then the host's own remains.
    EXPECT_EQ(graphics->release(), 3);
    EXPECT_EQ(gui->userInterface()->release(), 2);
    EXPECT_EQ(graphics->release(), 1);
}

TEST(WindowBase, CreationNeedsTheWindowHostAndTheExtensionForTheDisplayVariant) {
    const auto library = openTestPlugin("probe");
    struct Case {
        const char* id;
        bool windowHost, extension;
        int32_t status;
    };
    const Case cases[] = {
        {"probe.window", true, false, mp::MP_OK},      {"probe.window", false, true, mp::MP_FAIL},
        {"probe.window.se", true, true, mp::MP_OK},    {"probe.window.se", true, false, mp::MP_FAIL},
        {"probe.window.se", false, true, mp::MP_FAIL},
    };
    for (const Case& c : cases) {
        host::GuiOptions options;
        options.provideWindowHost = c.windowHost;
        options.provideHostExtension = c.extension;
        EXPECT_EQ(host::GuiInstance::creationStatus(library, c.id, options), c.status)
            << c.id << " window host " << c.windowHost << " extension " << c.extension;
    }
}

TEST(WindowBase, TheChildWindowSitsAtThePlacedRectangleAndRoutesToTheObject) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 80, 60, 30, 20);
    ASSERT_NE(view.child(), nullptr);
    EXPECT_EQ(GetParent(view.child()), view.parent());
    RECT rect{};
    GetWindowRect(view.child(), &rect);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 110);
    EXPECT_EQ(rect.bottom, 80);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(view.child(), GWL_STYLE)), WS_CHILD | WS_VISIBLE);
    EXPECT_NE(GetWindowLongPtrW(view.child(), GWLP_USERDATA), 0);
    // The new visible window was painted once by the pump.
    EXPECT_EQ(messages(*gui), (std::vector<Message>{{paint, 0, 0, 0}}));
}

TEST(WindowBase, TheClassIsRegisteredWhileAnyWindowOfTheLibraryExists) {
    const auto library = openTestPlugin("probe");
    auto first = host::GuiInstance::create(library, "probe.window");
    auto second = host::GuiInstance::create(library, "probe.window");
    EXPECT_FALSE(platform::isClassRegistered(L"DefaultMpWClass"));
    host::View a(*first, 40, 40);
    EXPECT_TRUE(platform::isClassRegistered(L"DefaultMpWClass"));
    host::View b(*second, 40, 40);
    a.close();
    EXPECT_TRUE(platform::isClassRegistered(L"DefaultMpWClass"));
    mp::IMpGraphicsWinGdi* graphics = graphicsOf(*first);
    graphics->destroyChildWindow();  // a second destroy does nothing: the count stays
    graphics->release();
    EXPECT_TRUE(platform::isClassRegistered(L"DefaultMpWClass"));
    b.close();
    EXPECT_FALSE(platform::isClassRegistered(L"DefaultMpWClass"));
}

TEST(WindowBase, AFailedCreationAnswersNullAndLeavesNoClassBehind) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 40, 40);
    view.close();
    platform::failNext(platform::Failure::CreateWindow);
    view.reopen();
    EXPECT_EQ(view.child(), nullptr);
    EXPECT_FALSE(platform::isClassRegistered(L"DefaultMpWClass"));
    view.reopen();
    EXPECT_NE(view.child(), nullptr);
}

TEST(WindowBase, MouseMessagesArriveWithTheirKeyFlagsAndSignedCoordinates) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 50, 50, 20, 20);
    gui->clearRecords();
    view.mouse(host::MouseAction::Down, 10, 12, {.shift = true});
    SetCapture(view.child());
    view.mouse(host::MouseAction::Move, -3, 70);  // left of and below the window, captured
    view.mouse(host::MouseAction::Up, 5, 6, {.control = true});
    EXPECT_EQ(messages(*gui), (std::vector<Message>{{buttonDown, int32_t(MK_LBUTTON | MK_SHIFT), 10, 12},
                                                    {mouseMove, int32_t(MK_LBUTTON), -3, 70},
                                                    {buttonUp, int32_t(MK_CONTROL), 5, 6}}));
    ReleaseCapture();
}

TEST(WindowBase, AHandlerThatThrowsLeavesTheMessageToTheDefaultProcedure) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 50, 50);
    gui->clearRecords();
    EXPECT_EQ(SendMessageW(view.child(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(1, 2)), 0);
    view.mouse(host::MouseAction::Move, 3, 4);
    EXPECT_EQ(messages(*gui), (std::vector<Message>{{mouseMove, 0, 3, 4}}));
}

TEST(WindowBase, EveryTimerReachesOnTimerAndCloseDestroysTheWindow) {
    auto gui = host::GuiInstance::create(openTestPlugin("probe"), "probe.window");
    host::View view(*gui, 50, 50);
    gui->clearRecords();
    SetTimer(view.child(), 0, 20, nullptr);
    SetTimer(view.child(), 1234, 30, nullptr);
    view.advance(30);
    EXPECT_EQ(messages(*gui), (std::vector<Message>{{timer, 0, 0, 0}, {timer, 0, 0, 0}}));
    const HWND child = view.child();
    SendMessageW(child, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(child));
}

}  // namespace
