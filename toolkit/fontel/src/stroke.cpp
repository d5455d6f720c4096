// The stroke font: capitals, digits and a few signs as filled rectangles on a
// grid five units high, built into every font object.
#include <initializer_list>

#include "fontel/font.h"
#include "lines.h"
#include "platform/gl.h"

namespace fontel {
namespace {

// A rectangle (x0, y0)-(x1, y1) of a glyph, y up, the baseline at 0.
struct Rect {
    int x0, y0, x1, y1;
};

struct GlyphSource {
    char code;
    int advance;
    std::initializer_list<Rect> rects;
};

constexpr GlyphSource capitals[] = {
    {'A', 5, {{0, 0, 1, 4}, {3, 0, 4, 4}, {1, 4, 3, 5}, {1, 2, 3, 3}}},
    {'B', 5, {{0, 0, 1, 5}, {1, 4, 3, 5}, {1, 2, 3, 3}, {1, 0, 3, 1}, {3, 1, 4, 2}, {3, 3, 4, 4}}},
    {'C', 5, {{0, 1, 1, 4}, {1, 4, 3, 5}, {1, 0, 3, 1}, {3, 1, 4, 2}, {3, 3, 4, 4}}},
    {'D', 5, {{0, 0, 1, 5}, {1, 4, 3, 5}, {1, 0, 3, 1}, {3, 1, 4, 4}}},
    {'E', 4, {{0, 0, 1, 5}, {1, 4, 3, 5}, {1, 2, 2, 3}, {1, 0, 3, 1}}},
    {'F', 4, {{0, 0, 1, 5}, {1, 4, 3, 5}, {1, 2, 2, 3}}},
    {'G', 5, {{0, 1, 1, 4}, {1, 4, 4, 5}, {1, 0, 3, 1}, {2, 2, 4, 3}, {3, 1, 4, 2}}},
    {'H', 5, {{0, 0, 1, 5}, {3, 0, 4, 5}, {1, 2, 3, 3}}},
    {'I', 2, {{0, 0, 1, 5}}},
    {'J', 5, {{3, 1, 4, 5}, {0, 1, 1, 2}, {1, 0, 3, 1}}},
    {'K', 5, {{0, 0, 1, 5}, {1, 2, 2, 3}, {2, 3, 3, 4}, {3, 4, 4, 5}, {3, 0, 4, 1}, {2, 1, 3, 2}}},
    {'L', 4, {{0, 0, 1, 5}, {1, 0, 3, 1}}},
    {'M', 6, {{0, 0, 1, 5}, {4, 0, 5, 5}, {1, 3, 2, 4}, {3, 3, 4, 4}, {2, 2, 3, 3}}},
    {'N', 6, {{0, 0, 1, 5}, {4, 0, 5, 5}, {1, 3, 2, 4}, {3, 1, 4, 2}, {2, 2, 3, 3}}},
    {'O', 5, {{0, 1, 1, 4}, {3, 1, 4, 4}, {1, 4, 3, 5}, {1, 0, 3, 1}}},
    {'P', 5, {{0, 0, 1, 5}, {3, 3, 4, 4}, {1, 4, 3, 5}, {1, 2, 3, 3}}},
    {'Q', 5, {{0, 1, 1, 4}, {3, 1, 4, 4}, {1, 4, 3, 5}, {1, 0, 3, 1}, {3, -1, 4, 0}}},
    {'R', 5, {{0, 0, 1, 5}, {3, 3, 4, 4}, {1, 4, 3, 5}, {1, 2, 3, 3}, {2, 1, 3, 2}, {3, 0, 4, 1}}},
    {'S', 5, {{0, 0, 3, 1}, {1, 4, 4, 5}, {1, 2, 3, 3}, {0, 3, 1, 4}, {3, 1, 4, 2}}},
    {'T', 4, {{1, 0, 2, 4}, {0, 4, 3, 5}}},
    {'U', 5, {{0, 1, 1, 5}, {3, 1, 4, 5}, {1, 0, 3, 1}}},
    {'V', 6, {{0, 3, 1, 5}, {4, 3, 5, 5}, {2, 0, 3, 1}, {1, 1, 2, 4}, {3, 1, 4, 4}}},
    {'W', 6, {{0, 1, 1, 5}, {4, 1, 5, 5}, {2, 1, 3, 4}, {1, 0, 2, 1}, {3, 0, 4, 1}}},
    {'X', 6, {{0, 0, 1, 1}, {0, 4, 1, 5}, {4, 0, 5, 1}, {4, 4, 5, 5}, {1, 1, 2, 2}, {1, 3, 2, 4}, {3, 1, 4, 2},
              {3, 3, 4, 4}, {2, 2, 3, 3}}},
    {'Y', 6, {{0, 4, 1, 5}, {4, 4, 5, 5}, {1, 3, 2, 4}, {3, 3, 4, 4}, {2, 0, 3, 3}}},
    {'Z', 5, {{0, 0, 4, 1}, {0, 4, 4, 5}, {1, 1, 2, 2}, {2, 2, 3, 3}, {3, 3, 4, 4}}},
};

constexpr GlyphSource digitsAndSigns[] = {
    {'2', 5, {{0, 0, 4, 1}, {1, 4, 3, 5}, {0, 3, 1, 4}, {3, 3, 4, 4}, {1, 1, 2, 2}, {2, 2, 3, 3}}},
    {'3', 5, {{1, 0, 3, 1}, {1, 4, 3, 5}, {0, 3, 1, 4}, {3, 3, 4, 4}, {0, 1, 1, 2}, {2, 2, 3, 3}, {3, 1, 4, 2}}},
    {'4', 4, {{2, 0, 3, 5}, {0, 2, 1, 5}, {1, 2, 2, 3}}},
    {'5', 4, {{0, 0, 3, 1}, {0, 4, 3, 5}, {0, 2, 3, 3}, {0, 3, 1, 4}, {2, 1, 3, 2}}},
    {'6', 4, {{0, 0, 3, 1}, {0, 4, 3, 5}, {1, 2, 3, 3}, {0, 1, 1, 4}, {2, 1, 3, 2}}},
    {'7', 4, {{2, 0, 3, 5}, {0, 4, 2, 5}}},
    {'8', 5, {{1, 0, 3, 1}, {1, 4, 3, 5}, {0, 3, 1, 4}, {3, 3, 4, 4}, {0, 1, 1, 2}, {1, 2, 3, 3}, {3, 1, 4, 2}}},
    {'9', 4, {{0, 0, 3, 1}, {0, 4, 3, 5}, {1, 2, 2, 3}, {0, 2, 1, 4}, {2, 1, 3, 4}}},
    {'+', 4, {{0, 2, 3, 3}, {1, 3, 2, 4}, {1, 1, 2, 2}}},
    {',', 2, {{0, 0, 1, 1}, {-1, -1, 0, 0}}},
    {'-', 4, {{0, 2, 3, 3}}},
    {'.', 2, {{0, 0, 1, 1}}},
};

constexpr int floatsPerRect = 12;  // two triangles of three x, y vertices

template <std::size_t N>
constexpr bool fitsTheRecords(const GlyphSource (&table)[N]) {
    for (const GlyphSource& glyph : table)
        if (glyph.rects.size() * floatsPerRect > static_cast<std::size_t>(FontelStrokeGlyph::capacity)) return false;
    return true;
}
static_assert(fitsTheRecords(capitals) && fitsTheRecords(digitsAndSigns));

FontelStrokeGlyph built(const GlyphSource& source) {
    FontelStrokeGlyph glyph;
    glyph.strokeAdvance = source.advance;
    for (const Rect& r : source.rects) {
        const int corners[6][2] = {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x1, r.y1}, {r.x0, r.y1}, {r.x0, r.y0}};
        for (const auto& [x, y] : corners) {
            glyph.strokeVertices[static_cast<std::size_t>(glyph.strokeFloatCount++)] = static_cast<float>(x);
            glyph.strokeVertices[static_cast<std::size_t>(glyph.strokeFloatCount++)] = static_cast<float>(y);
        }
    }
    return glyph;
}

constexpr std::size_t at(char code) { return static_cast<std::size_t>(static_cast<unsigned char>(code)); }

constexpr int capitalHeight = 5;
constexpr int lineHeight = 7;  // five units of capital, two of leading

}  // namespace
}  // namespace fontel

using namespace fontel;

FontelFont::FontelFont() {
    for (const GlyphSource& source : capitals) strokeGlyphs[at(source.code)] = built(source);
    for (char c = 'a'; c <= 'z'; ++c) strokeGlyphs[at(c)] = strokeGlyphs[at(static_cast<char>(c - 'a' + 'A'))];
    strokeGlyphs[at('0')] = strokeGlyphs[at('O')];
    strokeGlyphs[at('1')] = strokeGlyphs[at('I')];
    for (const GlyphSource& source : digitsAndSigns) strokeGlyphs[at(source.code)] = built(source);
    strokeGlyphs[at(' ')].strokeAdvance = 3;
    // From here on y runs downward: the top of a capital at 0, the baseline at 5.
    for (FontelStrokeGlyph& glyph : strokeGlyphs)
        for (int i = 1; i < glyph.strokeFloatCount; i += 2)
            glyph.strokeVertices[static_cast<std::size_t>(i)] =
                static_cast<float>(capitalHeight) - glyph.strokeVertices[static_cast<std::size_t>(i)];
}

void FontelFont::drawStrokeText(float x, float y, const char* text) const {
    if (text == nullptr) return;
    const int lines = lineCount(text);
    glTranslatef(x, y, 0.0f);
    std::string_view line;
    for (const char* cursor = text; nextLine(cursor, line);) {
        int sum = 0;
        for (char c : line)
            if (const int code = characterCode(c); code >= 0) sum += strokeGlyphs[static_cast<std::size_t>(code)].strokeAdvance;
        // Centred: the visible width (one unit of gap less) split around x, to
        // a whole unit; right-aligned: the last glyph's ink ends at x.
        const int shift = horizontalAlign == 1 ? static_cast<int>(-(sum - 1) * 0.5) : horizontalAlign == 2 ? 1 - sum : 0;
        glTranslatef(static_cast<float>(shift), 0.0f, 0.0f);
        for (char c : line) {
            const int code = characterCode(c);
            if (code < 0) continue;
            const FontelStrokeGlyph& glyph = strokeGlyphs[static_cast<std::size_t>(code)];
            if (glyph.strokeFloatCount > 0) {
                glVertexPointer(2, GL_FLOAT, 0, glyph.strokeVertices.data());
                glDrawArrays(GL_TRIANGLES, 0, glyph.strokeFloatCount / 2);
            }
            glTranslatef(static_cast<float>(glyph.strokeAdvance), 0.0f, 0.0f);
        }
        glTranslatef(static_cast<float>(-sum), static_cast<float>(lineHeight), 0.0f);
        glTranslatef(static_cast<float>(-shift), 0.0f, 0.0f);
    }
    glTranslatef(0.0f, static_cast<float>(-lineHeight * lines), 0.0f);
    glTranslatef(-x, -y, 0.0f);
}
