// One text renderer: a FreeType face at one pixel size, rendered into one
// alpha texture per character code 0..127 and drawn as textured quads through
// the text program, plus the built-in stroke font, which needs no file.
//
// The object is made with its module, before any window exists (the stroke
// glyphs are built then); `load` runs in the view's GL set-up with the view's
// context current and the text program linked; `drawText` and
// `drawStrokeText` run during paints; `release` with the context current
// before the view goes. All on the host's user-interface thread.
//
// Metrics are kept in normalised device units of the window size given to
// `load` (scaleX = 2 / width, scaleY = 2 / height); text positions are window
// pixels, y downward.
#pragma once

#include <GL/glew.h>

#include <array>
#include <string>
#include <string_view>

inline constexpr int fontelCharacterCount = 128;

// One glyph of the stroke font: filled rectangles as triangles in glyph units,
// y downward, the top of a capital at 0 and the baseline at 5.
struct FontelStrokeGlyph {
    static constexpr int capacity = 150;  // floats: 25 triangles
    int strokeAdvance = 0;                // glyph units, one unit of gap included
    int strokeFloatCount = 0;             // floats used, two per vertex, six per triangle
    std::array<float, capacity> strokeVertices{};
};

class FontelFont {
public:
    // Empty path, left-aligned, top-anchored, the stroke glyphs built.
    FontelFont();
    // The GL names belong to one context; a copy would share them.
    FontelFont(const FontelFont&) = delete;
    FontelFont& operator=(const FontelFont&) = delete;

    // Opens face 0 of the file at `path` (as fontelFindFontFile gives it) at
    // `size` pixels (below 1, or not a number, counts as 1; above 1024 as
    // 1024) and renders the glyph textures. A face that cannot be
    // opened shows the font message box (an empty path: the font was not
    // found) and leaves the object without glyphs; it then draws no FreeType
    // text, and says so through hasGlyphs().
    void load(float size, float spacing, float scaleXFactor, float scaleYFactor, GLuint program, const char* path);
    bool hasGlyphs() const { return glyphTextures[0] != 0; }

    // Draws a zero-terminated 8-bit string with its top-left reference at
    // window pixel (x, y), in `colour`, aligned and anchored as set: left,
    // centred or right of x by the sum of each line's advances; top-anchored
    // with the first baseline `lineSpacing` below y, centre-anchored with it
    // 0.35 x lines x `pixelSize` below y. Lines split at line feeds, empty
    // ones dropped, each `lineSpacing` below the last. Bytes above 127 have
    // no glyph: they draw nothing and do not move the pen.
    void drawText(float x, float y, const char* text);
    void drawTextInColour(float x, float y, const char* text, float red, float green, float blue, float alpha);

    void alignLeft() { horizontalAlign = 0; }
    void alignCentre() { horizontalAlign = 1; }
    void alignRight() { horizontalAlign = 2; }
    void anchorTop() { verticalMode = 0; }
    void anchorCentre() { verticalMode = 1; }

    // Deletes the glyph textures (the context of `load` current) and empties
    // the path; the object draws no FreeType text until it is loaded again.
    void release();

    // Draws a zero-terminated 8-bit string in the stroke font with its
    // top-left reference at (x, y) of the current coordinate system, one unit
    // per glyph unit, lines 7 units apart, aligned by `horizontalAlign`; with
    // the caller's program, colour and matrices, GL_VERTEX_ARRAY enabled. The
    // current matrix is left as it was found.
    void drawStrokeText(float x, float y, const char* text) const;

    std::string fontPath;  // the path last given to load
    float pixelSize = 0.0f;
    float lineSpacing = 0.0f;  // pixels between successive baselines
    std::array<float, 4> colour{1.0f, 1.0f, 1.0f, 1.0f};
    int horizontalAlign = 0;  // 0 left, 1 centred, 2 right
    int verticalMode = 0;     // 0 top-anchored, 1 centre-anchored
    // Per code: left bearing, top bearing, texture width, texture height.
    std::array<std::array<float, 4>, fontelCharacterCount> glyphBox{};
    std::array<float, fontelCharacterCount> advanceX{};
    float texCoordExtent = 1.0f;
    GLuint textProgram = 0;
    GLint texLocation = -1;
    GLint colourLocation = -1;
    GLint coordLocation = -1;
    GLuint vertexBuffer = 0;  // lives during one drawText
    std::array<GLuint, fontelCharacterCount> glyphTextures{};
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    std::array<FontelStrokeGlyph, fontelCharacterCount> strokeGlyphs{};

private:
    void drawGlyph(int code, float penX, float penY);
    float lineAdvance(std::string_view line) const;
};
