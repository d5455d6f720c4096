#include "needlepair.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "mp/factory.h"
#include "mp/module_instance.h"
#include "vitrel/shader.h"
#include "vitrel/window.h"

namespace {

// Levels are drawn as they are, above 1 past the top edge and below 0 past the
// bottom edge. Beyond a thousand view heights nothing more can be seen, so
// larger values are held there, and a NaN level draws an empty bar: the
// rasteriser only ever gets finite coordinates.
constexpr float furthestLevel = 1000.0f;

float drawableLevel(float level) {
    if (std::isnan(level)) return 0.0f;
    return std::clamp(level, -furthestLevel, furthestLevel);
}

// A bar is ten quads of four vertices.
constexpr GLsizei barVertexCount = 40;

}  // namespace

needlepair::needlepair(mp::IMpUnknown* host) : SeGuiWindowsGfxBase(host) {
    leftLevel.registerPin(this, leftLevelPin, &needlepair::requestRepaint);
    rightLevel.registerPin(this, rightLevelPin, &needlepair::requestRepaint);
    hue.registerPin(this, huePin, &needlepair::requestRepaint);
    saturation.registerPin(this, saturationPin, &needlepair::requestRepaint);
    lightness.registerPin(this, lightnessPin, &needlepair::requestRepaint);
    mode.registerPin(this, modePin, &needlepair::requestRepaint);
    monochrome.registerPin(this, monochromePin, &needlepair::requestRepaint);
    blend.registerPin(this, blendPin, &needlepair::requestRepaint);
}

int32_t needlepair::createChildWindow(void* parentWindow, void** window) {
    // One view per object: asked again while it is open, the module answers
    // with the view it has rather than leaving a window and a slot behind.
    if (windowHandle() != nullptr) {
        if (window != nullptr) *window = windowHandle();
        return mp::MP_OK;
    }
    registerWindowClassOnce();
    if (window != nullptr) *window = nullptr;

    const mp::MpRect& r = windowRect();
    const int width = windowWidth();
    const int height = windowHeight();
    HWND made = vitrelCreateWindow(static_cast<HWND>(parentWindow), r.left, r.top, width, height);
    if (made == nullptr) return mp::MP_OK;

    setWindowHandle(made);
    if (window != nullptr) *window = made;
    viewSlot = vitrelCurrentSlot();
    viewWidth = static_cast<float>(width);
    viewHeight = static_cast<float>(height);
    SetWindowLongPtrW(made, GWLP_USERDATA, userDataValue());
    meterSetUp(width, height);
    ShowWindow(made, SW_SHOWNORMAL);
    UpdateWindow(made);
    return mp::MP_OK;
}

int32_t needlepair::destroyChildWindow() {
    if (windowHandle() == nullptr) return mp::MP_OK;
    vitrelDestroyWindow(viewSlot);
    setWindowHandle(nullptr);
    return mp::MP_OK;
}

int32_t needlepair::onPaint(HDC deviceContext) {
    takeViewSize();
    vitrelBeginPaint(viewSlot);
    drawMeterFrame();
    SwapBuffers(deviceContext);
    vitrelEndPaint();
    return 0;
}

void needlepair::requestRepaint() {
    if (windowHandle() != nullptr) InvalidateRgn(windowHandle(), nullptr, TRUE);
}

void needlepair::takeViewSize() {
    viewWidth = static_cast<float>(windowWidth());
    viewHeight = static_cast<float>(windowHeight());
}

void needlepair::meterSetUp(int width, int height) {
    vitrelPerspective(width, height == 0 ? 1 : height);
    vitrelDefaultState();

    const std::wstring fragmentPath = vitrelModuleFilePath("needlepair.frag");
    const std::wstring vertexPath = vitrelModuleFilePath("needlepair.vert");
    meterVertexShader = vitrelCompileVertexShader(vertexPath.c_str(), viewSlot);
    meterFragmentShader = vitrelCompileFragmentShader(fragmentPath.c_str(), viewSlot);
    meterProgram = vitrelLinkProgram(viewSlot);
    glUseProgram(meterProgram);

    uniforms.height = glGetUniformLocation(meterProgram, "height");
    uniforms.stage = glGetUniformLocation(meterProgram, "stage");
    uniforms.level = glGetUniformLocation(meterProgram, "level");
    uniforms.hue = glGetUniformLocation(meterProgram, "HUE");
    uniforms.saturation = glGetUniformLocation(meterProgram, "SATURATION");
    uniforms.lightness = glGetUniformLocation(meterProgram, "LIGHTNESS");
    uniforms.mode = glGetUniformLocation(meterProgram, "MODE");
    uniforms.channel = glGetUniformLocation(meterProgram, "CHANNEL");
    uniforms.monochrome = glGetUniformLocation(meterProgram, "MONOCHROME");
    uniforms.blend = glGetUniformLocation(meterProgram, "BLEND");

    glEnableClientState(GL_VERTEX_ARRAY);
    glUseProgram(meterProgram);

    // Two halves with a gap of 2 pixels at the centre.
    const float w = viewWidth, h = viewHeight;
    const float quads[16] = {0,         0, w / 2 - 1, 0, w / 2 - 1, h, 0,         h,
                             w / 2 + 1, 0, w,         0, w,         h, w / 2 + 1, h};
    std::copy(std::begin(quads), std::end(quads), backgroundQuads);
    backgroundFloatCount = 16;
}

void needlepair::fillSegmentQuads(float x0, float x1, float level) {
    const float step = viewHeight * level * 0.1f;
    float y = viewHeight;
    for (int i = 0; i < 10; ++i) {
        const float next = y - step;
        float* quad = segmentQuads + 8 * i;
        quad[0] = x0, quad[1] = y;
        quad[2] = x0, quad[3] = next;
        quad[4] = x1, quad[5] = next;
        quad[6] = x1, quad[7] = y;
        y = next;
    }
}

void needlepair::drawMeterFrame() {
    const float w = viewWidth, h = viewHeight;
    const float left = drawableLevel(leftLevel.value());
    const float right = drawableLevel(rightLevel.value());

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    vitrelPixelProjection(static_cast<int>(w), static_cast<int>(h));

    glUseProgram(meterProgram);
    glUniform1f(uniforms.height, h);
    glUniform1f(uniforms.level, h * left);
    glUniform1f(uniforms.hue, hue.value());
    glUniform1f(uniforms.saturation, saturation.value());
    glUniform1f(uniforms.lightness, lightness.value());
    glUniform1i(uniforms.mode, mode.value());
    glUniform1i(uniforms.monochrome, monochrome.value());
    glUniform1i(uniforms.blend, blend.value());

    // The background sees whatever "CHANNEL" the previous frame left.
    glUniform1i(uniforms.stage, 1);
    glVertexPointer(2, GL_FLOAT, 0, backgroundQuads);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(backgroundFloatCount / 2));
    glUniform1i(uniforms.stage, 0);

    fillSegmentQuads(0, w / 2 - 1, left);
    glUniform1i(uniforms.channel, 1);
    glVertexPointer(2, GL_FLOAT, 0, segmentQuads);
    glDrawArrays(GL_QUADS, 0, barVertexCount);

    glUniform1i(uniforms.channel, 2);
    fillSegmentQuads(w / 2 + 1, w, right);
    glDrawArrays(GL_QUADS, 0, barVertexCount);
}

namespace {
const int32_t registered = mp::registerPlugin<needlepair>(u"MY_needlepair", mp::MP_KIND_GUI);
}
