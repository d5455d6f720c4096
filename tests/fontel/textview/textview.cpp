// A test-only display module for the text toolkit: opens a view through
// Vitrel, loads a font through Fontel when the view is made (the face found in
// the font registry, or a file given as it stands) with the text program from
// the files beside it, and at each paint draws the text set through its pins
// with the FreeType glyphs, and the stroke text with the stroke font. It
// reports the loaded font's metrics and the matrix around the stroke text,
// which the tests cannot see in the frame.
//
// The text program's files (the deliverables' qz_GLTEXT.vert and
// qz_GLTEXT.frag) are staged beside this module by the build.
#include <cstring>
#include <string>
#include <vector>

#include "fontel/find_font.h"
#include "fontel/font.h"
#include "mp/factory.h"
#include "platform/gl.h"
#include "test_gl_view.h"
#include "vitrel/shader.h"
#include "vitrel/window.h"

namespace {

std::string textOf(const mp::MpBlob& blob) {
    return std::string(reinterpret_cast<const char*>(blob.data()), static_cast<std::size_t>(blob.size()));
}

class textview final : public testing_support::TestGlView {
public:
    explicit textview(mp::IMpUnknown* host) : TestGlView(host) {
        face_.registerPin(this, 0);
        fontFile_.registerPin(this, 1);
        pixelSize_.registerPin(this, 2);
        lineSpacing_.registerPin(this, 3);
        text_.registerPin(this, 4, &textview::repaint);
        x_.registerPin(this, 5, &textview::repaint);
        y_.registerPin(this, 6, &textview::repaint);
        align_.registerPin(this, 7, &textview::repaint);
        anchor_.registerPin(this, 8, &textview::repaint);
        colour_.registerPin(this, 9, &textview::repaint);
        strokeText_.registerPin(this, 10, &textview::repaint);
        strokeX_.registerPin(this, 11, &textview::repaint);
        strokeY_.registerPin(this, 12, &textview::repaint);
        strokeScale_.registerPin(this, 13, &textview::repaint);
        metrics_.registerPin(this, 14);
        strokeMatrices_.registerPin(this, 15);
    }

    // Any size the host proposes, so that views can be as large as the text.
    int32_t MP_STDCALL proposeSize(int32_t width, int32_t height, mp::MpSize* accepted) override {
        if (accepted != nullptr) *accepted = mp::MpSize{width < 1 ? 1 : width, height < 1 ? 1 : height};
        return mp::MP_OK;
    }

protected:
    void opened() override { setUp(windowWidth(), windowHeight()); }

    void closing() override {
        vitrelBeginPaint(slot());
        font_.release();
        vitrelEndPaint();
    }

    int32_t onPaint(HDC dc) override {
        vitrelBeginPaint(slot());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawFreeTypeText();
        drawStrokeText(windowWidth(), windowHeight());
        SwapBuffers(dc);
        vitrelEndPaint();
        return 0;
    }

private:
    void setUp(int width, int height) {
        vitrelDefaultState();
        glDisable(GL_DEPTH_TEST);
        const std::wstring vertex = vitrelModuleFilePath("qz_GLTEXT.vert");
        const std::wstring fragment = vitrelModuleFilePath("qz_GLTEXT.frag");
        textProgram_ = vitrelLoadProgram(vertex.c_str(), fragment.c_str(), slot()).program;
        const std::wstring flatVertex = vitrelModuleFilePath("textview.vert");
        const std::wstring flatFragment = vitrelModuleFilePath("textview.frag");
        flatProgram_ = vitrelLoadProgram(flatVertex.c_str(), flatFragment.c_str(), slot()).program;
        flatColour_ = glGetUniformLocation(flatProgram_, "colour");

        const std::string file = textOf(fontFile_.value());
        const std::string path = file.empty() ? fontelFindFontFile(textOf(face_.value()).c_str()) : file;
        font_.load(pixelSize_.value(), lineSpacing_.value(), 2.0f / static_cast<float>(width),
                   2.0f / static_cast<float>(height), textProgram_, path.c_str());
        reportMetrics();
    }

    // [glyphBox 128 x 4, advanceX 128, scaleX, scaleY, hasGlyphs]
    void reportMetrics() {
        std::vector<float> metrics;
        for (const auto& box : font_.glyphBox) metrics.insert(metrics.end(), box.begin(), box.end());
        metrics.insert(metrics.end(), font_.advanceX.begin(), font_.advanceX.end());
        metrics.push_back(font_.scaleX);
        metrics.push_back(font_.scaleY);
        metrics.push_back(font_.hasGlyphs() ? 1.0f : 0.0f);
        metrics_.setValue(static_cast<int32_t>(metrics.size() * sizeof(float)), metrics.data());
    }

    void applyLayout() {
        switch (align_.value()) {
        case 1: font_.alignCentre(); break;
        case 2: font_.alignRight(); break;
        default: font_.alignLeft(); break;
        }
        if (anchor_.value() == 1) font_.anchorCentre();
        else font_.anchorTop();
    }

    void drawFreeTypeText() {
        applyLayout();
        const std::string text = textOf(text_.value());
        if (colour_.value().size() == 4 * sizeof(float)) {
            float c[4];
            std::memcpy(c, colour_.value().data(), sizeof c);
            font_.drawTextInColour(x_.value(), y_.value(), text.c_str(), c[0], c[1], c[2], c[3]);
        } else {
            font_.drawText(x_.value(), y_.value(), text.c_str());
        }
    }

    // In pixel projection scaled to `strokeScale` pixels per glyph unit, green.
    void drawStrokeText(int width, int height) {
        const std::string text = textOf(strokeText_.value());
        if (text.empty()) return;
        vitrelPixelProjection(width, height);
        glScalef(strokeScale_.value(), strokeScale_.value(), 1.0f);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glUseProgram(flatProgram_);
        glUniform4f(flatColour_, 0.0f, 1.0f, 0.0f, 1.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        float matrices[32];
        glGetFloatv(GL_PROJECTION_MATRIX, matrices);
        font_.drawStrokeText(strokeX_.value(), strokeY_.value(), text.c_str());
        glGetFloatv(GL_PROJECTION_MATRIX, matrices + 16);
        glDisableClientState(GL_VERTEX_ARRAY);
        strokeMatrices_.setValue(sizeof matrices, matrices);
    }

    void repaint() {
        if (windowHandle() != nullptr) InvalidateRect(windowHandle(), nullptr, FALSE);
    }

    GLuint textProgram_ = 0;
    GLuint flatProgram_ = 0;
    GLint flatColour_ = -1;
    FontelFont font_;
    mp::MpGuiPin<mp::MpBlob> face_;
    mp::MpGuiPin<mp::MpBlob> fontFile_;
    mp::MpGuiPin<float> pixelSize_;
    mp::MpGuiPin<float> lineSpacing_;
    mp::MpGuiPin<mp::MpBlob> text_;
    mp::MpGuiPin<float> x_;
    mp::MpGuiPin<float> y_;
    mp::MpGuiPin<int32_t> align_;
    mp::MpGuiPin<int32_t> anchor_;
    mp::MpGuiPin<mp::MpBlob> colour_;
    mp::MpGuiPin<mp::MpBlob> strokeText_;
    mp::MpGuiPin<float> strokeX_;
    mp::MpGuiPin<float> strokeY_;
    mp::MpGuiPin<float> strokeScale_;
    mp::MpGuiPin<mp::MpBlob> metrics_;
    mp::MpGuiPin<mp::MpBlob> strokeMatrices_;
};

const int32_t registered = mp::registerPlugin<textview>(u"textview", mp::MP_KIND_GUI);

}  // namespace
