// The stroke font through the test view, rasterised at a whole number of
// pixels per glyph unit and read back cell by cell.
#include <algorithm>
#include <sstream>

#include "frames.h"
#include "textview.h"

namespace {

using namespace fontel_test;

const platform::Frame::Pixel ink{0, 255, 0, 255};

// A glyph's cells as blocks, top row first, rows separated by "/".
std::vector<std::string> rowsOf(const std::string& pattern) {
    std::vector<std::string> rows;
    std::stringstream in(pattern);
    for (std::string row; std::getline(in, row, '/');) rows.push_back(row);
    return rows;
}

// The cells from unit (u0, v0) on, as drawn with `scale` pixels per unit,
// read at each cell's centre: "#" ink, "." none.
std::string cellsOf(const platform::Frame& frame, int u0, int v0, int columns, int rows, int scale) {
    std::string cells;
    for (int v = 0; v < rows; ++v) {
        if (v > 0) cells += '/';
        for (int u = 0; u < columns; ++u)
            cells += frame.at((u0 + u) * scale + scale / 2, (v0 + v) * scale + scale / 2) == ink ? '#' : '.';
    }
    return cells;
}

// The leftmost and rightmost pixel columns with ink, or (-1, -1).
std::pair<int, int> inkColumns(const platform::Frame& frame) {
    int first = -1, last = -1;
    for (int x = 0; x < frame.width; ++x)
        for (int y = 0; y < frame.height; ++y)
            if (frame.at(x, y) == ink) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

class StrokeText : public TextView {
protected:
    void SetUp() override {
        TextView::SetUp();
        open({"Arial", 14, 14, ""}, 256, 96);
    }
};

TEST_F(StrokeText, GlyphsAreTheirBlockPatterns) {
    struct Case {
        const char* text;
        const char* pattern;  // with one blank cell around the glyph and the gap column
    };
    const Case cases[] = {
        {"A", "....../..##../.#..#./.####./.#..#./.#..#./......"},
        {"K", "....../.#..#./.#.#../.##.../.#.#../.#..#./......"},
        {"4", "...../.#.#./.#.#./.###./...#./...#./....."},
        {"Q", "....../..##../.#..#./.#..#./.#..#./..##../....#./......"},
        {"M", "......./.#...#./.##.##./.#.#.#./.#...#./.#...#./......."},
        {"S", "....../..###./.#..../..##../....#./.###../......"},
        {",", "..../..../..../..../..../.#../#.../...."},  // its tail one unit left
        {"+", "...../...../..#../.###./..#../...../....."},
    };
    constexpr int scale = 4, x = 4, y = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const platform::Frame frame = drawStroke(c.text, x, y, scale);
        const std::vector<std::string> rows = rowsOf(c.pattern);
        const int columns = static_cast<int>(rows[0].size());
        EXPECT_EQ(cellsOf(frame, x - 1, y - 1, columns, static_cast<int>(rows.size()), scale), c.pattern);
        testing_support::keepFrameOnFailure(frame, std::string("fontel_stroke_") + (c.text[0] == ',' ? "comma" : c.text));
    }
}

TEST_F(StrokeText, LinesAlignAroundAndEndAtTheirReference) {
    struct Case {
        const char* text;
        Align align;
        int x;
        int firstUnit, lastUnit;  // of the ink
    };
    const Case cases[] = {
        {"AB", left, 20, 20, 28},      // advances 5 + 5, the last unit a gap
        {"AB", centred, 60, 56, 64},   // shifted by -4
        {"AB", right, 100, 91, 99},    // shifted by -9: the ink ends at x
        {"I", left, 20, 20, 20},
        {"I", centred, 20, 20, 20},    // (2 - 1) / 2 truncates to 0
        {"I", right, 20, 19, 19},
        {"A B", right, 100, 88, 99},   // the space is three units
    };
    constexpr int scale = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " aligned " + std::to_string(c.align));
        const platform::Frame frame = drawStroke(c.text, static_cast<float>(c.x), 4, scale, c.align);
        EXPECT_EQ(inkColumns(frame), (std::pair{c.firstUnit * scale, c.lastUnit * scale + scale - 1}));
        testing_support::keepFrameOnFailure(frame, std::string("fontel_stroke_align_") + std::to_string(c.align));
    }
}

TEST_F(StrokeText, CopiesAndUnknownCharactersDrawAsTheirOriginals) {
    struct Case {
        const char* text;
        const char* same;
    };
    const Case cases[] = {
        {"0", "O"},
        {"1", "I"},
        {"abcxyz", "ABCXYZ"},
        {"A/B", "AB"},              // no glyph: nothing drawn, the pen stays
        {"A\xC3\xA9" "B", "AB"},    // bytes above 127 likewise
        {"A\n\nB\n", "A\nB"},       // empty lines dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const platform::Frame same = drawStroke(c.same, 40, 2, 3, centred);
        const platform::Frame frame = drawStroke(c.text, 40, 2, 3, centred);
        EXPECT_EQ(frame.rgba, same.rgba);
        EXPECT_NE(inkColumns(frame).first, -1);
        testing_support::keepFrameOnFailure(frame, "fontel_stroke_copy");
    }
    const platform::Frame nothing = drawStroke("/\x80", 40, 2, 3);
    EXPECT_EQ(inkColumns(nothing).first, -1);
}

TEST_F(StrokeText, TheNextLineStartsSevenUnitsLower) {
    constexpr int scale = 3, x = 5, y = 1;
    const platform::Frame frame = drawStroke("A\nA", x, y, scale);
    const std::string a = "..##./.#..#/.####/.#..#/.#..#";
    EXPECT_EQ(cellsOf(frame, x - 1, y, 5, 5, scale), a);
    EXPECT_EQ(cellsOf(frame, x - 1, y + 5, 5, 2, scale), "...../.....") << "the leading";
    EXPECT_EQ(cellsOf(frame, x - 1, y + 7, 5, 5, scale), a);
    testing_support::keepFrameOnFailure(frame, "fontel_stroke_lines");
}

TEST_F(StrokeText, LeavesTheMatrixAsItFoundIt) {
    for (const Align align : {left, centred, right}) {
        SCOPED_TRACE(align);
        drawStroke("AB\nK 12\n+", 2.5f, 1.25f, 4, align);
        const std::vector<float> matrices = pinFloats(strokeMatricesPin);
        ASSERT_EQ(matrices.size(), 32u);
        // The translations undo each other up to the rounding of the products.
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(matrices[std::size_t(i) + 16], matrices[std::size_t(i)], 1e-6) << i;
    }
}

}  // namespace
