// The dual level meter through the host: its view opened in an editor window,
// pins delivered as a host delivers them, real frames read back, and the GL
// calls of a frame caught on their way to GL.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "frames.h"
#include "gl_recorder.h"
#include "host/gui_instance.h"
#include "host/png.h"
#include "host/view.h"
#include "platform/control.h"
#include "plugins.h"

namespace {

using testing_support::GlCall;
using testing_support::GlRecorder;
using Pixel = platform::Frame::Pixel;

constexpr int32_t leftLevelPin = 0, rightLevelPin = 1, huePin = 2, saturationPin = 3, lightnessPin = 4, modePin = 5,
                  monochromePin = 6, blendPin = 7;

// What a pixel of the meter shows. The clear colour is black and lies where
// nothing is drawn (the gap between the halves); the background is dark but
// never black; the bars are bright.
enum class Element { Cleared, Background, Bar, Other };

const char* toString(Element e) {
    switch (e) {
    case Element::Cleared: return "cleared";
    case Element::Background: return "background";
    case Element::Bar: return "bar";
    default: return "other";
    }
}

int brightest(Pixel p) { return std::max({int(p.r), int(p.g), int(p.b)}); }

Element elementAt(const platform::Frame& frame, int x, int y) {
    const Pixel p = frame.at(x, y);
    if (p.a != 255) return Element::Other;  // the view's pixel format has no alpha
    if (brightest(p) == 0) return Element::Cleared;
    if (brightest(p) <= 70) return Element::Background;
    if (brightest(p) >= 150) return Element::Bar;
    return Element::Other;
}

::testing::AssertionResult shows(const platform::Frame& frame, int x, int y, Element expected) {
    const Element actual = elementAt(frame, x, y);
    if (actual == expected) return ::testing::AssertionSuccess();
    const Pixel p = frame.at(x, y);
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") shows " << toString(actual) << " ("
                                         << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ", " << int(p.a)
                                         << "), expected " << toString(expected);
}

struct Probe {
    int x, y;
    Element element;
};

void expectProbes(const platform::Frame& frame, std::initializer_list<Probe> probes) {
    for (const Probe& p : probes) EXPECT_TRUE(shows(frame, p.x, p.y, p.element));
}

// Frames of a few states, kept for people to look at.
void keepForPeople(const platform::Frame& frame, const std::string& name) {
    host::savePng(frame, std::filesystem::path(SUITE_PEOPLE_DIR) / (name + ".png"));
}

class Needlepair : public ::testing::Test {
protected:
    void SetUp() override {
        platform::clearMessageBoxes();
        platform::clearFailures();
        baseline_ = platform::liveWindowCount();
    }
    void TearDown() override {
        EXPECT_EQ(platform::liveWindowCount(), baseline_) << "windows left behind";
        EXPECT_TRUE(platform::messageBoxes().empty()) << "a message box was shown";
    }

    std::unique_ptr<host::GuiInstance> makeGui() { return host::GuiInstance::create(library_, "MY_needlepair"); }

    static void setLevels(host::GuiInstance& gui, float left, float right) {
        EXPECT_EQ(gui.deliver(leftLevelPin, left), mp::MP_OK);
        EXPECT_EQ(gui.deliver(rightLevelPin, right), mp::MP_OK);
    }

    static platform::Frame paintedFrame(host::View& view) {
        view.paint();
        auto frame = view.frame();
        if (!frame) {
            ADD_FAILURE() << "the view drew no frame";
            return {};
        }
        return *frame;
    }

    std::shared_ptr<host::Library> library_ = testing_support::openDeliverable("needlepair");
    int baseline_ = 0;
};

// ---- What a frame hands to GL ----------------------------------------------

// The calls of the latest frame (from its clear on) as text: uniform writes by
// name, program changes and draws.
std::vector<std::string> lastFrameTrace(const GlRecorder& recorder) {
    const auto& calls = recorder.calls();
    std::size_t start = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].kind == GlCall::Kind::Clear) start = i;
    std::vector<std::string> trace;
    GLuint program = 0;
    for (std::size_t i = start; i < calls.size(); ++i) {
        const GlCall& c = calls[i];
        std::ostringstream line;
        switch (c.kind) {
        case GlCall::Kind::Clear: line << "clear"; break;
        case GlCall::Kind::UseProgram:
            program = c.program;
            line << "use program";
            break;
        case GlCall::Kind::Uniform1f: line << recorder.uniformName(program, c.location) << "=" << c.floatValue; break;
        case GlCall::Kind::Uniform1i: line << recorder.uniformName(program, c.location) << "=" << c.intValue; break;
        case GlCall::Kind::DrawArrays:
            line << (c.intValue == GL_QUADS ? "quads " : "other ") << c.first << "+" << c.count;
            break;
        default: continue;
        }
        trace.push_back(line.str());
    }
    return trace;
}

std::vector<const GlCall*> lastFrameDraws(const GlRecorder& recorder) {
    std::vector<const GlCall*> draws;
    for (const GlCall& c : recorder.calls()) {
        if (c.kind == GlCall::Kind::Clear) draws.clear();
        if (c.kind == GlCall::Kind::DrawArrays) draws.push_back(&c);
    }
    return draws;
}

TEST_F(Needlepair, AFrameSetsEveryUniformThenDrawsTheBackgroundAndBothBars) {
    auto gui = makeGui();
    host::View view(*gui, 100, 200);  // the first view of the process initialises GLEW
    GlRecorder recorder;
    view.reopen();  // the set-up's look-ups, recorded

    std::vector<std::string> lookups;
    for (const GlCall& c : recorder.calls())
        if (c.kind == GlCall::Kind::GetUniformLocation) lookups.push_back(c.name.data());
    EXPECT_EQ(lookups, (std::vector<std::string>{"height", "stage", "level", "HUE", "SATURATION", "LIGHTNESS", "MODE",
                                                 "CHANNEL", "MONOCHROME", "BLEND"}));

    setLevels(*gui, 0.5f, 0.25f);
    gui->deliver(huePin, 0.125f);
    gui->deliver(saturationPin, -0.25f);
    gui->deliver(lightnessPin, 0.0625f);
    gui->deliver(modePin, int32_t{1});
    gui->deliver(monochromePin, int32_t{3});
    gui->deliver(blendPin, int32_t{-1});
    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE(frame == 0 ? "first frame" : "second frame");
        view.paint();
        // "level" carries the left bar's height in pixels; the background is
        // drawn before any "CHANNEL" of this frame is set.
        EXPECT_EQ(lastFrameTrace(recorder),
                  (std::vector<std::string>{"clear", "use program", "height=200", "level=100", "HUE=0.125",
                                            "SATURATION=-0.25", "LIGHTNESS=0.0625", "MODE=1", "MONOCHROME=3",
                                            "BLEND=-1", "stage=1", "quads 0+8", "stage=0", "CHANNEL=1", "quads 0+40",
                                            "CHANNEL=2", "quads 0+40"}));
    }
}

// Expected vertices of a bar: ten quads from the bottom edge, each a tenth of
// the bar's own height.
std::vector<float> barQuads(float x0, float x1, float height, float level) {
    std::vector<float> v;
    const float step = height * level * 0.1f;
    float y = height;
    for (int i = 0; i < 10; ++i) {
        const float next = y - step;
        for (float f : {x0, y, x0, next, x1, next, x1, y}) v.push_back(f);
        y = next;
    }
    return v;
}

std::vector<float> drawnVertices(const GlCall& draw) {
    return std::vector<float>(draw.vertices.begin(), draw.vertices.begin() + draw.vertexFloats);
}

TEST_F(Needlepair, EachBarIsTenEqualPiecesOfItsOwnHeightAndTheBackgroundTwoHalves) {
    struct Case {
        int width, height;
        float left, right;
    };
    const Case cases[] = {
        {100, 200, 1.0f, 0.5f},   // 20-pixel pieces up to y 0; 10-pixel pieces up to y 100
        {100, 200, 0.0f, 1.5f},   // pieces of zero height; a bar past the top edge
        {100, 200, -0.5f, 0.25f}, // pieces running down from the bottom edge
        {61, 37, 0.3f, 0.9f},     // odd sizes: the halves meet at W/2 - 1 and W/2 + 1
    };
    auto gui = makeGui();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " levels " << c.left << ", " << c.right);
        host::View view(*gui, c.width, c.height);
        GlRecorder recorder;
        setLevels(*gui, c.left, c.right);
        view.paint();
        const auto draws = lastFrameDraws(recorder);
        ASSERT_EQ(draws.size(), 3u);
        const float w = float(c.width), h = float(c.height);
        EXPECT_EQ(drawnVertices(*draws[0]), (std::vector<float>{0, 0, w / 2 - 1, 0, w / 2 - 1, h, 0, h,  //
                                                                w / 2 + 1, 0, w, 0, w, h, w / 2 + 1, h}));
        EXPECT_EQ(drawnVertices(*draws[1]), barQuads(0, w / 2 - 1, h, c.left));
        EXPECT_EQ(drawnVertices(*draws[2]), barQuads(w / 2 + 1, w, h, c.right));
    }
}

TEST_F(Needlepair, AFrameAllocatesNothingAndMakesThreeDrawCalls) {
    auto gui = makeGui();
    host::View view(*gui, 200, 400);
    setLevels(*gui, 0.7f, 0.4f);
    view.paint();  // GL builds what it needs for these draws once
    testing_support::AllocationCounter counter;
    GlRecorder recorder(&counter);
    view.paint();
    const auto& calls = recorder.calls();
    const auto clear = std::find_if(calls.begin(), calls.end(), [](const GlCall& c) { return c.kind == GlCall::Kind::Clear; });
    ASSERT_NE(clear, calls.end());
    const auto draws = lastFrameDraws(recorder);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws.back()->allocations - clear->allocations, 0) << "allocations between the clear and the last draw";
}

// ---- What a frame shows ------------------------------------------------------

TEST_F(Needlepair, LevelsRiseFromTheBottomEdgeOfAView200High) {
    struct Case {
        const char* name;
        float level;
        std::optional<int> topRow;  // the first row the bar covers; none: no bar inside the view
    };
    const Case cases[] = {
        {"full", 1.0f, 0},       {"half", 0.5f, 100},     {"quarter", 0.25f, 150},
        {"zero", 0.0f, std::nullopt}, {"above_one", 1.5f, 0}, {"negative", -0.5f, std::nullopt},
    };
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The same level on the left and, on its own, on the right.
        for (const bool leftSide : {true, false}) {
            setLevels(*gui, leftSide ? c.level : 0.0f, leftSide ? 0.0f : c.level);
            const platform::Frame frame = paintedFrame(view);
            ASSERT_EQ(frame.width, 100);
            ASSERT_EQ(frame.height, 200);
            const int x = leftSide ? 20 : 75, other = leftSide ? 75 : 20;
            if (c.topRow) {
                expectProbes(frame, {{x, *c.topRow, Element::Bar}, {x, 199, Element::Bar}});
                if (*c.topRow > 0) {
                    EXPECT_TRUE(shows(frame, x, *c.topRow - 1, Element::Background));
                }
            } else {
                expectProbes(frame, {{x, 0, Element::Background}, {x, 199, Element::Background}});
            }
            EXPECT_TRUE(shows(frame, other, 199, Element::Background)) << "the other bar stays at 0";
            if (leftSide) keepForPeople(frame, std::string("level_") + c.name);
            testing_support::keepFrameOnFailure(frame, std::string("needlepair_level_") + c.name);
        }
    }
}

TEST_F(Needlepair, TheHalvesAreTwoPixelsApartAtTheCentre) {
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    setLevels(*gui, 0.5f, 0.5f);
    const platform::Frame frame = paintedFrame(view);
    // Left bar x 0..49, right bar x 51..100: pixels 49 and 50 stay clear.
    for (const int y : {150, 50}) {
        const Element drawn = y == 150 ? Element::Bar : Element::Background;
        expectProbes(frame, {{0, y, drawn}, {48, y, drawn}, {49, y, Element::Cleared}, {50, y, Element::Cleared},
                             {51, y, drawn}, {99, y, drawn}});
    }
    testing_support::keepFrameOnFailure(frame, "needlepair_gap");
}

TEST_F(Needlepair, TheScaleRunsFromGreenAtTheBottomToRedAtTheTop) {
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    setLevels(*gui, 1.0f, 1.0f);
    const platform::Frame frame = paintedFrame(view);
    for (const int x : {20, 75}) {
        const Pixel bottom = frame.at(x, 195), top = frame.at(x, 4);
        EXPECT_GT(bottom.g, 2 * bottom.r) << "green at the bottom";
        EXPECT_GT(top.r, 2 * top.g) << "red at the top";
    }
    EXPECT_EQ(frame.at(20, 100), frame.at(75, 100)) << "both channels look alike at one height";
    keepForPeople(frame, "full_scale");
    testing_support::keepFrameOnFailure(frame, "needlepair_scale");
}

TEST_F(Needlepair, ModeMonochromeBlendAndTheColourPinsEachChangeTheLook) {
    struct Case {
        const char* name;
        int32_t pin;
        host::Bytes value;
    };
    const Case cases[] = {
        {"mode_segments", modePin, host::bytesOf(int32_t{1})},
        {"mode_single_colour", modePin, host::bytesOf(int32_t{2})},
        {"monochrome", monochromePin, host::bytesOf(int32_t{1})},
        {"blend", blendPin, host::bytesOf(int32_t{1})},
        {"hue", huePin, host::bytesOf(0.5f)},
        {"saturation", saturationPin, host::bytesOf(-0.6f)},
        {"lightness", lightnessPin, host::bytesOf(0.2f)},
    };
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    setLevels(*gui, 0.9f, 0.6f);
    const platform::Frame standard = paintedFrame(view);
    keepForPeople(standard, "look_standard");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui->deliver(c.pin, c.value);
        const platform::Frame frame = paintedFrame(view);
        int changed = 0;
        for (std::size_t i = 0; i < frame.rgba.size(); ++i) changed += frame.rgba[i] != standard.rgba[i];
        EXPECT_GT(changed, 4 * 100 * 20) << "bytes that differ from the standard look";
        // The bars stay on the background where they were.
        expectProbes(frame, {{20, 10, Element::Background}, {75, 70, Element::Background}, {49, 150, Element::Cleared}});
        if (c.pin == monochromePin) {
            for (const Probe p : {Probe{20, 150, Element::Bar}, Probe{20, 40, Element::Background}}) {
                const Pixel grey = frame.at(p.x, p.y);
                EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b) << "grey at (" << p.x << ", " << p.y << ")";
            }
        }
        if (c.pin == blendPin) {
            EXPECT_LT(brightest(frame.at(20, 195)), brightest(standard.at(20, 195)))
                << "the bar's foot lets the background through";
        }
        keepForPeople(frame, std::string("look_") + c.name);
        testing_support::keepFrameOnFailure(frame, std::string("needlepair_look_") + c.name);
        gui->deliver(c.pin, host::Bytes(4, 0));
    }
}

TEST_F(Needlepair, ARectangleChangeMovesBarsAndProjectionWhileTheBackgroundKeepsItsOpeningSize) {
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    setLevels(*gui, 0.5f, 0.5f);
    view.place(mp::MpRect{0, 100, 0, 200});  // 200 wide and 100 high, without reopening
    const platform::Frame frame = paintedFrame(view);
    ASSERT_EQ(frame.width, 200);
    ASSERT_EQ(frame.height, 100);
    // Bars of the new size: left x 0..99, right x 101..200, rows 50..99. The
    // background of the opening: x 0..49 and 51..100, every row.
    expectProbes(frame, {{20, 60, Element::Bar},        {20, 40, Element::Background}, {75, 60, Element::Bar},
                         {75, 40, Element::Background}, {49, 40, Element::Cleared},    {49, 60, Element::Bar},
                         {99, 40, Element::Background}, {99, 60, Element::Background}, {100, 60, Element::Cleared},
                         {150, 60, Element::Bar},       {150, 40, Element::Cleared},   {199, 99, Element::Bar}});
    keepForPeople(frame, "rectangle_changed");
    testing_support::keepFrameOnFailure(frame, "needlepair_rectangle_changed");
}

// ---- Life of the view ---------------------------------------------------------

TEST_F(Needlepair, PinNoticesWhileTheViewIsClosedDoNothingVisible) {
    auto gui = makeGui();
    const auto created = platform::windowsCreated();
    auto deliverAll = [&](float left, float right) {
        setLevels(*gui, left, right);
        for (const int32_t pin : {huePin, saturationPin, lightnessPin}) EXPECT_EQ(gui->deliver(pin, 0.0f), mp::MP_OK);
        for (const int32_t pin : {modePin, monochromePin, blendPin}) EXPECT_EQ(gui->deliver(pin, int32_t{0}), mp::MP_OK);
    };
    deliverAll(0.5f, 1.0f);  // never opened
    EXPECT_EQ(platform::windowsCreated(), created);
    {
        host::View view(*gui, 100, 200);
        expectProbes(paintedFrame(view), {{20, 100, Element::Bar}, {20, 99, Element::Background}, {75, 0, Element::Bar}});
        view.close();
        deliverAll(1.0f, 0.25f);  // closed again
        view.reopen();
        expectProbes(*view.frame(), {{20, 0, Element::Bar}, {75, 150, Element::Bar}, {75, 149, Element::Background}});
    }
    EXPECT_TRUE(gui->sentValues().empty()) << "the module never writes a pin";
}

TEST_F(Needlepair, OpensAndClosesAHundredTimes) {
    auto gui = makeGui();
    setLevels(*gui, 1.0f, 0.5f);
    host::View view(*gui, 100, 200);
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        view.reopen();
        ASSERT_NE(view.child(), nullptr);
        ASSERT_EQ(platform::liveWindowCount(), baseline_ + 2) << "the editor's window and the view";
        const auto frame = view.frame();
        ASSERT_TRUE(frame.has_value()) << "each opening paints";
        ASSERT_TRUE(shows(*frame, 20, 0, Element::Bar));
        ASSERT_TRUE(shows(*frame, 75, 99, Element::Background));
    }
    view.close();
    EXPECT_TRUE(platform::isClassRegistered(L"DefaultMpWClass")) << "registered once, kept while the library is loaded";
}

TEST_F(Needlepair, TheWindowClassIsGivenBackWhenTheLibraryUnloads) {
    {
        auto gui = makeGui();
        host::View view(*gui, 40, 100);
    }
    EXPECT_TRUE(platform::isClassRegistered(L"DefaultMpWClass"));
    library_.reset();  // the last reference: the library unloads
    EXPECT_FALSE(platform::isClassRegistered(L"DefaultMpWClass"));
    library_ = testing_support::openDeliverable("needlepair");  // loaded again, it registers again
    auto gui = makeGui();
    host::View view(*gui, 40, 100);
    setLevels(*gui, 1.0f, 1.0f);
    EXPECT_TRUE(shows(paintedFrame(view), 10, 50, Element::Bar));
}

TEST_F(Needlepair, AFreshMeterShowsTwoEmptyBars) {
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    const auto frame = view.frame();  // the opening paints at once
    ASSERT_TRUE(frame.has_value());
    expectProbes(*frame, {{20, 199, Element::Background}, {75, 199, Element::Background}, {20, 0, Element::Background}});
    keepForPeople(*frame, "fresh");
    testing_support::keepFrameOnFailure(*frame, "needlepair_fresh");
}

TEST_F(Needlepair, WithoutItsShaderFilesTheViewSaysWhichAreMissingAndStillPaints) {
    // A copy of the library in a folder of its own, without the shader pair.
    const std::filesystem::path folder = std::filesystem::path(SUITE_ARTIFACT_DIR) / "needlepair_without_shaders";
    std::filesystem::create_directories(folder);
    for (const char* file : {"needlepair.so", "needlepair.json"})
        std::filesystem::copy_file(std::filesystem::path(SUITE_PLUGIN_DIR) / file, folder / file,
                                   std::filesystem::copy_options::overwrite_existing);
    {
        auto gui = host::GuiInstance::create(host::Library::open(folder / "needlepair.so"), "MY_needlepair");
        host::View view(*gui, 100, 200);
        ASSERT_NE(view.child(), nullptr);
        setLevels(*gui, 1.0f, 0.5f);
        view.paint();
        EXPECT_TRUE(view.frame().has_value());
    }
    const std::wstring where = platform::windowsPath(std::filesystem::canonical(folder).string()) + L"\\";
    std::vector<std::wstring> boxes;
    for (const auto& box : platform::messageBoxes()) boxes.push_back(box.caption + L": " + box.text);
    EXPECT_EQ(boxes, (std::vector<std::wstring>{L"ERROR: Can't open file '" + where + L"needlepair.vert' for reading\n",
                                                 L"ERROR: Can't open file '" + where + L"needlepair.frag' for reading\n"}));
    platform::clearMessageBoxes();
    std::filesystem::remove_all(folder);
}

// ---- Bad input ------------------------------------------------------------------

TEST_F(Needlepair, NonNumbersHugeValuesAndShortValuesDrawSafely) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        int32_t pin;
        host::Bytes value;
        Element top, bottom;  // left bar at rows 0 and 199
    };
    const Case cases[] = {
        {"nan_level", leftLevelPin, host::bytesOf(nan), Element::Background, Element::Background},
        {"infinite_level", leftLevelPin, host::bytesOf(inf), Element::Bar, Element::Bar},
        {"minus_infinite_level", leftLevelPin, host::bytesOf(-inf), Element::Background, Element::Background},
        {"huge_level", leftLevelPin, host::bytesOf(3.0e38f), Element::Bar, Element::Bar},
        {"two_byte_level", leftLevelPin, host::Bytes{0x12, 0x34}, Element::Background, Element::Background},
        {"nan_hue", huePin, host::bytesOf(nan), Element::Bar, Element::Bar},
        {"huge_lightness", lightnessPin, host::bytesOf(-3.0e38f), Element::Bar, Element::Bar},
        {"huge_mode", modePin, host::bytesOf(std::numeric_limits<int32_t>::min()), Element::Bar, Element::Bar},
    };
    auto gui = makeGui();
    host::View view(*gui, 100, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setLevels(*gui, 1.0f, 0.5f);
        EXPECT_EQ(gui->deliver(c.pin, c.value), mp::MP_OK);
        const platform::Frame frame = paintedFrame(view);
        if (c.pin == leftLevelPin && c.value.size() != 4) {
            EXPECT_NE(elementAt(frame, 20, 100), Element::Other);  // whatever the two bytes make of the level
        } else {
            expectProbes(frame, {{20, 0, c.top}, {20, 199, c.bottom}});
        }
        expectProbes(frame, {{75, 150, Element::Bar}, {75, 99, Element::Background}});
        testing_support::keepFrameOnFailure(frame, std::string("needlepair_bad_") + c.name);
    }
}

TEST_F(Needlepair, InvertedAndOverflowingRectanglesAreSafe) {
    const struct {
        const char* name;
        mp::MpRect rect;  // top, bottom, left, right
    } cases[] = {
        {"inverted", {100, 0, 50, 10}},  // bottom above top, right left of left
        {"sides beyond 32 bits", {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto gui = makeGui();
        setLevels(*gui, 1.0f, 1.0f);
        host::View view(*gui, 40, 100);
        view.place(c.rect);
        view.paint();
        view.reopen();
        view.paint();
        EXPECT_NE(view.child(), nullptr);
        EXPECT_TRUE(view.frame().has_value());
    }
}

}  // namespace
