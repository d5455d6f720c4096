// A test-only display module: opens a view through Vitrel, loads its shader
// pair from the files beside it and draws known shapes in pixel projection,
// and reports through its GUI pins what the tests cannot see in the frame
// (its slot, composed paths, files read, program names, matrices).
#include <cstring>
#include <string>

#include "mp/factory.h"
#include "platform/gl.h"
#include "test_gl_view.h"
#include "vitrel/shader.h"
#include "vitrel/window.h"

namespace {

// The shapes, in window pixels: a red and a green rectangle on dark blue.
constexpr float redQuad[] = {10, 10, 50, 10, 50, 30, 10, 30};
constexpr float greenQuad[] = {60, 40, 90, 40, 90, 80, 60, 80};

std::string utf8(const std::wstring& wide) {
    std::string out;
    for (wchar_t c : wide) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

class shapes final : public testing_support::TestGlView {
public:
    explicit shapes(mp::IMpUnknown* host) : TestGlView(host) {
        slot_.registerPin(this, 0);
        readFile_.registerPin(this, 1, &shapes::onReadFile);
        fileText_.registerPin(this, 2);
        fileRead_.registerPin(this, 3);
        shaderPath_.registerPin(this, 4);
        programs_.registerPin(this, 5);
        matrixRequest_.registerPin(this, 6, &shapes::onMatrixRequest);
        matrix_.registerPin(this, 7);
    }

protected:
    void opened() override {
        setUp();
        slot_.setValue(-1);  // so that every opening reports its slot, an unchanged one too
        slot_.setValue(slot());
    }

    int32_t onPaint(HDC dc) override {
        vitrelBeginPaint(slot());
        glClearColor(0.0f, 0.0f, 0.25f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        vitrelPixelProjection(windowWidth(), windowHeight());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glUseProgram(program_.program);
        glEnableClientState(GL_VERTEX_ARRAY);
        drawQuad(redQuad, 1.0f, 0.0f, 0.0f);
        drawQuad(greenQuad, 0.0f, 1.0f, 0.0f);
        SwapBuffers(dc);
        vitrelEndPaint();
        return 0;
    }

private:
    void setUp() {
        vitrelDefaultState();
        glDisable(GL_DEPTH_TEST);
        const std::wstring vertex = vitrelModuleFilePath("shapes.vert");
        const std::wstring fragment = vitrelModuleFilePath("shapes.frag");
        shaderPath_.setValue(static_cast<int32_t>(utf8(fragment).size()), utf8(fragment).data());
        // Two programs for one slot: the module keeps the first, the slot's
        // table names the second.
        program_ = vitrelLoadProgram(vertex.c_str(), fragment.c_str(), slot());
        const VitrelProgram second = vitrelLoadProgram(vertex.c_str(), fragment.c_str(), slot());
        const VitrelProgram table = vitrelSlotProgram(slot());
        const int32_t names[] = {int32_t(program_.vertexShader), int32_t(program_.fragmentShader), int32_t(program_.program),
                                 int32_t(second.program),        int32_t(table.vertexShader),    int32_t(table.fragmentShader),
                                 int32_t(table.program)};
        programs_.setValue(sizeof names, names);
        glUseProgram(program_.program);
        colourLocation_ = glGetUniformLocation(program_.program, "colour");
    }

    void drawQuad(const float* vertices, float r, float g, float b) {
        glUniform4f(colourLocation_, r, g, b, 1.0f);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glDrawArrays(GL_QUADS, 0, 4);
    }

    void onReadFile() {
        const std::string name(reinterpret_cast<const char*>(readFile_.value().data()),
                               static_cast<std::size_t>(readFile_.value().size()));
        const std::wstring path = vitrelModuleFilePath(name.c_str());
        const auto text = vitrelReadTextFile(path.c_str());
        fileRead_.setValue(text ? 1 : 0);
        if (text) fileText_.setValue(static_cast<int32_t>(std::strlen(text.get())), text.get());
    }

    // 1: vitrelPixelProjection(200, 100); 2: vitrelPerspective(300, 0);
    // 3: vitrelPerspective(300, 1). Answers the projection matrix.
    void onMatrixRequest() {
        if (windowHandle() == nullptr) return;
        vitrelBeginPaint(slot());
        switch (matrixRequest_.value()) {
        case 1: vitrelPixelProjection(200, 100); break;
        case 2: vitrelPerspective(300, 0); break;
        case 3: vitrelPerspective(300, 1); break;
        default: break;
        }
        float matrix[16] = {};
        glGetFloatv(GL_PROJECTION_MATRIX, matrix);
        vitrelEndPaint();
        matrix_.setValue(sizeof matrix, matrix);
    }

    VitrelProgram program_;
    GLint colourLocation_ = -1;
    mp::MpGuiPin<int32_t> slot_;
    mp::MpGuiPin<mp::MpBlob> readFile_;
    mp::MpGuiPin<mp::MpBlob> fileText_;
    mp::MpGuiPin<int32_t> fileRead_;
    mp::MpGuiPin<mp::MpBlob> shaderPath_;
    mp::MpGuiPin<mp::MpBlob> programs_;
    mp::MpGuiPin<int32_t> matrixRequest_;
    mp::MpGuiPin<mp::MpBlob> matrix_;
};

const int32_t registered = mp::registerPlugin<shapes>(u"shapes", mp::MP_KIND_GUI);

}  // namespace
