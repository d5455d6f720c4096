// needlepair: a dual level meter. Two vertical bars side by side, the left
// channel in the left half of the view and the right channel in the right
// half, each drawn as ten stacked quads rising from the bottom edge to the
// channel's level over a background quad per half. How it looks is the meter
// shader's business ("needlepair.vert", "needlepair.frag" beside the library);
// the module hands it the geometry, the view height, the left level and the
// six display settings.
//
// GUI only. Every pin notice asks for a repaint; a frame draws the levels
// exactly as the pins hold them (no ballistics, no timer, no mouse input).
// Everything runs on the host's user-interface thread.
#pragma once

#include <cstdint>

#include "mp/gui_windows_gfx_base.h"
#include "platform/gl.h"

class needlepair final : public mp::SeGuiWindowsGfxBase {
public:
    // Registers the eight pins in index order (each starts at 0).
    explicit needlepair(mp::IMpUnknown* host);

    // Opens the view with its own GL context and meter program; without a
    // window (creation failed) the module stays without a view. Both return 0.
    int32_t MP_STDCALL createChildWindow(void* parentWindow, void** window) override;
    int32_t MP_STDCALL destroyChildWindow() override;

    // Pin indices.
    enum Pin : int32_t { leftLevelPin, rightLevelPin, huePin, saturationPin, lightnessPin, modePin, monochromePin, blendPin };

protected:
    int32_t onPaint(HDC deviceContext) override;
    int32_t onLButtonDown(WPARAM, int32_t, int32_t) override { return 0; }
    int32_t onLButtonUp(WPARAM, int32_t, int32_t) override { return 0; }
    int32_t onMouseMove(WPARAM, int32_t, int32_t) override { return 0; }

private:
    // GL set-up of one opening, with the new context current: projection and
    // fixed state, the meter program and its uniforms, the background quads.
    void meterSetUp(int width, int height);
    // One frame, between vitrelBeginPaint and SwapBuffers.
    void drawMeterFrame();
    // The pins' handler: a repaint of the whole view, if there is one.
    void requestRepaint();
    // viewWidth and viewHeight from the module's rectangle.
    void takeViewSize();
    // Ten quads of a bar from the bottom edge up to `level` (a fraction of the
    // view height) between x0 and x1, into segmentQuads.
    void fillSegmentQuads(float x0, float x1, float level);

    mp::MpGuiPin<float> leftLevel;
    mp::MpGuiPin<float> rightLevel;
    mp::MpGuiPin<float> hue;
    mp::MpGuiPin<float> saturation;
    mp::MpGuiPin<float> lightness;
    mp::MpGuiPin<int32_t> mode;
    mp::MpGuiPin<int32_t> monochrome;
    mp::MpGuiPin<int32_t> blend;

    int viewSlot = -1;     // the window slot of the open view
    float viewWidth = 0;   // the module's rectangle: set at opening and at every paint
    float viewHeight = 0;
    GLuint meterProgram = 0;
    GLuint meterVertexShader = 0;
    GLuint meterFragmentShader = 0;

    // Locations in meterProgram, in the order the frame's uniforms are looked up.
    struct UniformLocations {
        GLint height = -1, stage = -1, level = -1, hue = -1, saturation = -1, lightness = -1;
        GLint mode = -1, channel = -1, monochrome = -1, blend = -1;
    } uniforms;

    // The two background quads of the opening's size: (x, y) per vertex.
    float backgroundQuads[16] = {};
    float backgroundFloatCount = 0;
    // Ten quads of four vertices, refilled for each bar in each frame.
    float segmentQuads[80] = {};
};
