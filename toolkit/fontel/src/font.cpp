#include "fontel/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <vector>

#include "lines.h"
#include "platform/gl.h"

namespace fontel {
namespace {

constexpr const char* notFoundText =
    "FreeType Could not locate the desired font.\n\nPlugin will likely crash.\n\nShelter somewhere and then try "
    "again once you've installed the plugin's required fonts.\n\nIf in-doubt consult the plugin vendor.";
constexpr const char* notOpenedText =
    "FreeType Could not open the desired font.\n\nPlugin will likely crash.\n\nShelter somewhere and then try "
    "again once you've installed the plugin's required fonts.\n\nIf in-doubt consult the plugin vendor - the "
    "missing font is : \n\n";
constexpr const WCHAR* boxCaption = L"Ah, yeh, now ... that's not good.";

// The largest pixel size asked of FreeType: a glyph texture stays within a
// few megabytes and within every GL's texture size limit.
constexpr float largestPixelSize = 1024.0f;

void showFontBox(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(count, 0)), L'\0');
    if (count > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), count);
    MessageBoxW(nullptr, wide.c_str(), boxCaption, MB_OK | MB_ICONWARNING);
}

// The whole file, read through the C runtime's wide open (the narrow path
// widened character by character); empty when it cannot be read.
std::vector<FT_Byte> fileBytes(const std::string& path) {
    std::wstring wide;
    for (char c : path) wide += static_cast<WCHAR>(static_cast<unsigned char>(c));
    std::vector<FT_Byte> bytes;
    if (wide.empty()) return bytes;
    FILE* file = _wfopen(wide.c_str(), L"rb");
    if (file == nullptr) return bytes;
    FT_Byte chunk[65536];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + read);
    std::fclose(file);
    return bytes;
}

// A FreeType library and one face, released together.
struct OpenFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~OpenFace() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

bool openFace(OpenFace& open, const std::vector<FT_Byte>& bytes) {
    if (bytes.empty() || FT_Init_FreeType(&open.library) != 0) return false;
    return FT_New_Memory_Face(open.library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &open.face) == 0;
}

FT_UInt pixelHeight(float size) {
    if (!(size >= 1.0f)) return 1;  // NaN too
    return static_cast<FT_UInt>(std::min(size, largestPixelSize));
}

// The texture of a rendered glyph: power-of-two sides, two equal bytes of
// coverage per texel, the bitmap in the top-left corner and 0 elsewhere.
struct GlyphTexels {
    int width = 1;
    int height = 1;
    std::vector<GLubyte> texels;
};

void fillTexels(const FT_Bitmap& bitmap, GlyphTexels& out) {
    const int columns = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    out.width = static_cast<int>(std::bit_ceil(static_cast<unsigned>(std::max(columns, 1))));
    out.height = static_cast<int>(std::bit_ceil(static_cast<unsigned>(std::max(rows, 1))));
    out.texels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 2, 0);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr) return;
    // Rows from the top, each `pitch` bytes on from the last (its sign says
    // which way they run).
    const int stride = std::abs(bitmap.pitch);
    for (int r = 0; r < rows; ++r) {
        const int sourceRow = bitmap.pitch >= 0 ? r : rows - 1 - r;
        const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(sourceRow) * stride;
        GLubyte* target = out.texels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(out.width) * 2;
        for (int c = 0; c < columns; ++c) target[2 * c] = target[2 * c + 1] = source[c];
    }
}

void setTextureParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

}  // namespace
}  // namespace fontel

using namespace fontel;

void FontelFont::load(float size, float spacing, float scaleXFactor, float scaleYFactor, GLuint program,
                      const char* path) {
    fontPath = path != nullptr ? path : "";
    pixelSize = size;
    lineSpacing = spacing;
    scaleX = scaleXFactor;
    scaleY = scaleYFactor;
    // Whatever an earlier load made belongs to that load's context.
    glyphTextures.fill(0);
    glyphBox = {};
    advanceX.fill(0.0f);

    const std::vector<FT_Byte> bytes = fileBytes(fontPath);
    OpenFace open;
    if (!openFace(open, bytes)) {
        showFontBox(fontPath.empty() ? std::string(notFoundText) : notOpenedText + fontPath);
        return;
    }
    FT_Set_Pixel_Sizes(open.face, 0, pixelHeight(size));

    // Rows of a glyph texture are two bytes per texel with no padding.
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    setTextureParameters();
    glGenTextures(fontelCharacterCount, glyphTextures.data());
    GlyphTexels glyph;
    for (int code = 0; code < fontelCharacterCount; ++code) {
        const bool rendered = FT_Load_Char(open.face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) == 0;
        const FT_GlyphSlot slot = open.face->glyph;
        if (rendered) {
            fillTexels(slot->bitmap, glyph);
        } else {
            glyph.width = glyph.height = 1;
            glyph.texels.assign(2, 0);
        }
        glBindTexture(GL_TEXTURE_2D, glyphTextures[static_cast<std::size_t>(code)]);
        setTextureParameters();
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, glyph.width, glyph.height, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                     glyph.texels.data());
        const auto n = static_cast<std::size_t>(code);
        const float left = rendered ? static_cast<float>(slot->bitmap_left) : 0.0f;
        const float top = rendered ? static_cast<float>(slot->bitmap_top) : 0.0f;
        glyphBox[n] = {left * scaleX, top * scaleY, static_cast<float>(glyph.width) * scaleX,
                       static_cast<float>(glyph.height) * scaleY};
        advanceX[n] = rendered ? static_cast<float>(slot->advance.x >> 6) * scaleX : 0.0f;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);

    textProgram = program;
    texLocation = glGetUniformLocation(program, "tex");
    coordLocation = glGetAttribLocation(program, "coord");
    colourLocation = glGetUniformLocation(program, "color");
}

float FontelFont::lineAdvance(std::string_view line) const {
    float sum = 0.0f;
    for (char c : line)
        if (const int code = characterCode(c); code >= 0) sum += advanceX[static_cast<std::size_t>(code)];
    return sum;
}

void FontelFont::drawGlyph(int code, float penX, float penY) {
    const auto n = static_cast<std::size_t>(code);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glyphTextures[n]);
    glUniform1i(texLocation, 0);
    const auto& [left, top, width, height] = glyphBox[n];
    const float x0 = penX + left;
    const float y0 = penY + top;
    const float e = texCoordExtent;
    const GLfloat quad[16] = {x0, y0, 0, 0, x0 + width, y0, e, 0, x0, y0 - height, 0, e, x0 + width, y0 - height, e, e};
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_DYNAMIC_DRAW);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void FontelFont::drawText(float x, float y, const char* text) {
    if (!hasGlyphs() || text == nullptr) return;
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glUseProgram(textProgram);
    const float startX = scaleX * x - 1.0f;
    float penY = 1.0f - scaleY * y;

    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    const bool hasCoord = coordLocation >= 0;  // not so when the program failed to link
    if (hasCoord) {
        glEnableVertexAttribArray(static_cast<GLuint>(coordLocation));
        glVertexAttribPointer(static_cast<GLuint>(coordLocation), 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glUniform4fv(colourLocation, 1, colour.data());

    // The first baseline one line spacing below y, or one line centred on y.
    const int lines = lineCount(text);
    if (verticalMode == 0) penY -= lineSpacing * scaleY;
    else if (verticalMode == 1) penY -= 0.35f * static_cast<float>(lines) * pixelSize * scaleY;

    std::string_view line;
    for (const char* cursor = text; nextLine(cursor, line);) {
        float penX = startX;
        if (horizontalAlign == 1) penX -= lineAdvance(line) * 0.5f;
        else if (horizontalAlign == 2) penX -= lineAdvance(line);
        for (char c : line) {
            const int code = characterCode(c);
            if (code < 0) continue;
            drawGlyph(code, penX, penY);
            penX += advanceX[static_cast<std::size_t>(code)];
        }
        penY -= lineSpacing * scaleY;
    }

    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (hasCoord) glDisableVertexAttribArray(static_cast<GLuint>(coordLocation));
    glUseProgram(static_cast<GLuint>(previousProgram));
    glDeleteBuffers(1, &vertexBuffer);
    vertexBuffer = 0;
}

void FontelFont::drawTextInColour(float x, float y, const char* text, float red, float green, float blue,
                                  float alpha) {
    colour = {red, green, blue, alpha};
    drawText(x, y, text);
}

void FontelFont::release() {
    if (hasGlyphs()) glDeleteTextures(fontelCharacterCount, glyphTextures.data());
    glyphTextures.fill(0);
    fontPath.clear();
}
