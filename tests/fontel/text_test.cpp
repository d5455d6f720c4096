// FreeType text through the test view: glyph textures and metrics, glyphs at
// their bearings, alignment, anchoring and lines read back from real frames,
// and the font message boxes. The expected frames are composed here from the
// glyph bitmaps FreeType renders for the same file and size.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <bit>
#include <cmath>
#include <filesystem>
#include <functional>
#include <tuple>
#include <map>

#include "fontel/find_font.h"
#include "frames.h"
#include "textview.h"

namespace {

using namespace fontel_test;

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<unsigned char> coverage;  // rows from the top, `width` bytes each
};

// The glyphs of one face at one pixel size, as FreeType renders them.
class Glyphs {
public:
    Glyphs(const std::string& windowsPath, float size) {
        const std::string file = platform::nativePath(std::wstring(windowsPath.begin(), windowsPath.end()));
        FT_Library library = nullptr;
        FT_Face face = nullptr;
        if (FT_Init_FreeType(&library) != 0) return;
        if (FT_New_Face(library, file.c_str(), 0, &face) == 0) {
            FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
            for (int code = 0; code < 128; ++code) {
                if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) continue;
                const FT_GlyphSlot slot = face->glyph;
                Glyph& g = glyphs_[code];
                g = {slot->bitmap_left, slot->bitmap_top, static_cast<int>(slot->bitmap.width),
                     static_cast<int>(slot->bitmap.rows), static_cast<int>(slot->advance.x >> 6), {}};
                for (int r = 0; r < g.rows; ++r)
                    for (int c = 0; c < g.width; ++c) g.coverage.push_back(slot->bitmap.buffer[r * slot->bitmap.pitch + c]);
            }
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);
    }
    const Glyph& operator[](char c) const { return glyphs_.at(c); }
    int advance(const std::string& text) const {
        int sum = 0;
        for (char c : text) sum += (*this)[c].advance;
        return sum;
    }

private:
    std::map<int, Glyph> glyphs_;
};

// A frame of coverage, white glyphs laid over black as the blending does.
class Coverage {
public:
    Coverage(int width, int height) : width_(width), height_(height), alpha_(std::size_t(width * height), 0.0) {}

    // One line of glyphs, the first one's origin at (penX, baseline).
    void line(const Glyphs& glyphs, const std::string& text, int penX, int baseline) {
        for (char c : text) {
            const Glyph& g = glyphs[c];
            for (int r = 0; r < g.rows; ++r)
                for (int col = 0; col < g.width; ++col) {
                    const int x = penX + g.left + col, y = baseline - g.top + r;
                    if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
                    const double a = g.coverage[std::size_t(r * g.width + col)] / 255.0;
                    double& dst = alpha_[std::size_t(y * width_ + x)];
                    dst = a + (1.0 - a) * dst;
                }
            penX += g.advance;
        }
    }
    double at(int x, int y) const { return alpha_[std::size_t(y * width_ + x)]; }
    bool hasInk() const {
        for (double a : alpha_)
            if (a > 0) return true;
        return false;
    }

private:
    int width_, height_;
    std::vector<double> alpha_;
};

// Pixels whose channels differ from colour x coverage by more than the
// tolerance (texture filtering and blending round to whole levels).
int mismatches(const platform::Frame& frame, const Coverage& expected, std::vector<float> colour = {1, 1, 1}) {
    constexpr int tolerance = 2;
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const auto p = frame.at(x, y);
            const int actual[3] = {p.r, p.g, p.b};
            for (int channel = 0; channel < 3; ++channel) {
                const int wanted = static_cast<int>(std::lround(colour[std::size_t(channel)] * expected.at(x, y) * 255));
                if (std::abs(actual[channel] - wanted) > tolerance) {
                    if (count < 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << channel << " is "
                                                 << actual[channel] << ", expected " << wanted;
                    ++count;
                    break;
                }
            }
        }
    return count;
}

std::string arialFile() { return fontelFindFontFile("Arial"); }

TEST_F(TextView, GlyphTexturesHavePowerOfTwoSidesAndMetricsInDeviceUnits) {
    open({"Arial", 40, 48, ""}, 256, 128);
    const Glyphs glyphs(arialFile(), 40);
    const std::vector<float> m = pinFloats(metricsPin);
    ASSERT_EQ(m.size(), 128 * 5 + 3u);
    const float scaleX = 2.0f / 256, scaleY = 2.0f / 128;
    EXPECT_EQ(m[640], scaleX);
    EXPECT_EQ(m[641], scaleY);
    EXPECT_EQ(m[642], 1.0f) << "the font has its glyphs";
    int notPowerOfTwo = 0;
    for (int code = 1; code < 128; ++code) {
        SCOPED_TRACE(code);
        const Glyph& g = glyphs[static_cast<char>(code)];
        const auto side = [](int n) { return static_cast<float>(std::bit_ceil(static_cast<unsigned>(std::max(n, 1)))); };
        notPowerOfTwo += !std::has_single_bit(static_cast<unsigned>(std::max(g.width, 1)));
        const float* box = &m[std::size_t(code) * 4];
        EXPECT_EQ(box[0], static_cast<float>(g.left) * scaleX);
        EXPECT_EQ(box[1], static_cast<float>(g.top) * scaleY);
        EXPECT_EQ(box[2], side(g.width) * scaleX);
        EXPECT_EQ(box[3], side(g.rows) * scaleY);
        EXPECT_EQ(m[512 + std::size_t(code)], static_cast<float>(g.advance) * scaleX);
    }
    EXPECT_GT(notPowerOfTwo, 50) << "most glyphs get a texture larger than their bitmap";
    EXPECT_TRUE(platform::messageBoxes().empty());
}

struct LayoutCase {
    const char* name;
    FontSetting font;
    std::string text;
    float x, y;
    Align align;
    Anchor anchor;
    // The expected lines: text, origin x of the first glyph, baseline.
    std::function<std::vector<std::tuple<std::string, int, int>>(const Glyphs&)> lines;
    std::vector<float> colour = {};
};

TEST_F(TextView, DrawsGlyphsAtTheirBearingsAlignedAnchoredAndInLines) {
    const FontSetting large{"Arial", 40, 48, ""}, small{"Arial", 20, 24, ""};
    const std::vector<LayoutCase> cases = {
        {"left_top", large, "Hg", 20, 10, left, top, [](const Glyphs&) { return std::vector{std::tuple{std::string("Hg"), 20, 58}}; }, {}},
        {"centred", large, "HH", 128, 10, centred, top,
         [](const Glyphs& g) { return std::vector{std::tuple{std::string("HH"), 128 - g.advance("HH") / 2, 58}}; }, {}},
        // Right-aligned, the sum of the advances ends exactly at x.
        {"right", large, "HH", 250, 10, right, top,
         [](const Glyphs& g) { return std::vector{std::tuple{std::string("HH"), 250 - g.advance("HH"), 58}}; }, {}},
        // One line centred on y: the baseline 0.35 x 1 x 40 pixels below it.
        {"centre_anchored", large, "Hx", 20, 60, left, centre,
         [](const Glyphs&) { return std::vector{std::tuple{std::string("Hx"), 20, 74}}; }, {}},
        // Two lines of 20 pixels: the first baseline 0.35 x 2 x 20 below y.
        {"centre_anchored_two_lines", small, "Hx\nxH", 30, 40, left, centre,
         [](const Glyphs&) {
             return std::vector{std::tuple{std::string("Hx"), 30, 54}, std::tuple{std::string("xH"), 30, 78}};
         }, {}},
        // Two line feeds make one break: the second line one spacing lower.
        {"two_lines", large, "H\n\nI", 20, 4, left, top,
         [](const Glyphs&) { return std::vector{std::tuple{std::string("H"), 20, 52}, std::tuple{std::string("I"), 20, 100}}; }, {}},
        {"right_two_lines", small, "\nHHx\nH\n", 200, 10, right, top,
         [](const Glyphs& g) {
             return std::vector{std::tuple{std::string("HHx"), 200 - g.advance("HHx"), 34},
                                std::tuple{std::string("H"), 200 - g.advance("H"), 58}};
         }, {}},
        // At 6 pixels "i" and "l" are one texel wide: rows of two bytes each.
        {"one_texel_wide", {"Arial", 6, 8, ""}, "lil", 20, 10, left, top,
         [](const Glyphs&) { return std::vector{std::tuple{std::string("lil"), 20, 18}}; }, {}},
        // Bytes above 127 draw nothing and take no room.
        {"bytes_above_127", large, "H\xC3\xA9\x80H", 20, 10, left, top,
         [](const Glyphs&) { return std::vector{std::tuple{std::string("HH"), 20, 58}}; }, {}},
        {"in_colour", large, "Hg", 20, 10, left, top,
         [](const Glyphs&) { return std::vector{std::tuple{std::string("Hg"), 20, 58}}; }, {1.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        open(c.font);
        const Glyphs glyphs(arialFile(), c.font.size);
        const platform::Frame frame = drawText(c.text, c.x, c.y, c.align, c.anchor, c.colour);
        ASSERT_EQ(frame.width, 256);
        Coverage expected(frame.width, frame.height);
        for (const auto& [text, penX, baseline] : c.lines(glyphs)) expected.line(glyphs, text, penX, baseline);
        ASSERT_TRUE(expected.hasInk());
        EXPECT_EQ(mismatches(frame, expected, c.colour.empty() ? std::vector<float>{1, 1, 1} : c.colour), 0);
        testing_support::keepFrameOnFailure(frame, std::string("fontel_text_") + c.name);
    }
    EXPECT_TRUE(platform::messageBoxes().empty());
}

TEST_F(TextView, AReopenedViewLoadsItsFontAgainAndDrawsTheSame) {
    open({"Arial Bold", 20, 24, ""});
    const platform::Frame first = drawText("MIX 12", 128, 64, centred, centre);
    view_->close();
    view_->reopen();
    const platform::Frame again = drawText("MIX 12", 128, 64, centred, centre);
    EXPECT_EQ(again.rgba, first.rgba);
    EXPECT_NE(first.rgba, drawText("", 0, 0).rgba) << "the text is drawn";
    testing_support::keepFrameOnFailure(again, "fontel_text_reopened");
}

constexpr const wchar_t* advice =
    L"Plugin will likely crash.\n\nShelter somewhere and then try again once you've installed the plugin's required "
    L"fonts.\n\nIf in-doubt consult the plugin vendor";

TEST_F(TextView, AFontThatCannotBeHadShowsItsBoxAndDrawsNoTextButStrokeText) {
    const std::wstring notAFontPath =
        platform::windowsPath((std::filesystem::path(SUITE_TEST_PLUGIN_DIR) / "textview.json").string());
    struct Case {
        const char* name;
        FontSetting font;
        std::wstring text;
    };
    const Case cases[] = {
        {"not_in_the_registry", {"No Such Face", 20, 24, ""},
         L"FreeType Could not locate the desired font.\n\n" + std::wstring(advice) + L"."},
        {"not_a_font", {"", 20, 24, std::string(notAFontPath.begin(), notAFontPath.end())},
         L"FreeType Could not open the desired font.\n\n" + std::wstring(advice) + L" - the missing font is : \n\n" +
             notAFontPath},
        {"no_such_file", {"", 20, 24, "Z:\\no\\such\\font.ttf"},
         L"FreeType Could not open the desired font.\n\n" + std::wstring(advice) +
             L" - the missing font is : \n\nZ:\\no\\such\\font.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::clearMessageBoxes();
        open(c.font);
        ASSERT_EQ(platform::messageBoxes().size(), 1u);
        EXPECT_EQ(platform::messageBoxes()[0].text, c.text);
        EXPECT_EQ(platform::messageBoxes()[0].caption, L"Ah, yeh, now ... that's not good.");
        EXPECT_EQ(platform::messageBoxes()[0].type, MB_OK | MB_ICONWARNING);
        EXPECT_EQ(pinFloats(metricsPin).back(), 0.0f) << "no glyphs";

        const platform::Frame text = drawText("HH\nHH", 10, 10);
        EXPECT_EQ(text.rgba, drawText("", 0, 0).rgba) << "no FreeType text";
        const platform::Frame stroke = drawStroke("A", 2, 2, 4);
        EXPECT_TRUE(testing_support::pixelIs(stroke, 14, 10, {0, 255, 0, 255})) << "the stroke font needs no file";
        testing_support::keepFrameOnFailure(text, std::string("fontel_text_") + c.name);
    }
}

}  // namespace
