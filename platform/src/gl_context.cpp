// Device contexts, pixel formats, WGL contexts and buffer swapping, on real
// OpenGL: each context is a desktop OpenGL compatibility context of Mesa
// through EGL, with no display server, rendering into a framebuffer object of
// its window's size. SwapBuffers reads the finished frame back for the host.
#define EGL_NO_X11
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <iostream>

#include "state.h"

namespace platform::detail {

struct GlContext {
    std::uintptr_t id = 0;
    EGLContext egl = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    int width = 0;
    int height = 0;
    bool viewportSet = false;
};

namespace {

struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
};

struct GlState {
    bool initialised = false;
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    FramebufferFunctions gl;
    std::map<std::uintptr_t, std::uintptr_t> deviceContexts;  // DC -> window
    std::map<std::uintptr_t, std::unique_ptr<GlContext>> contexts;
    std::uintptr_t nextId = 0x20000;
    GlContext* current = nullptr;
    std::uintptr_t currentDc = 0;
};

GlState& gl() {
    static GlState instance;
    return instance;
}

template <typename Function>
void load(Function& function, const char* name) {
    function = reinterpret_cast<Function>(eglGetProcAddress(name));
}

bool initialiseEgl() {
    GlState& g = gl();
    if (g.initialised) return g.display != EGL_NO_DISPLAY;
    g.initialised = true;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return false;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE) {
        std::cerr << "platform: no EGL display for OpenGL\n";
        return false;
    }
    // Any surface type: the contexts render into framebuffer objects only.
    const EGLint attributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE || eglChooseConfig(display, attributes, &g.config, 1, &count) != EGL_TRUE ||
        count < 1) {
        std::cerr << "platform: EGL offers no desktop OpenGL\n";
        eglTerminate(display);
        return false;
    }
    g.display = display;
    load(g.gl.genFramebuffers, "glGenFramebuffers");
    load(g.gl.deleteFramebuffers, "glDeleteFramebuffers");
    load(g.gl.bindFramebuffer, "glBindFramebuffer");
    load(g.gl.genRenderbuffers, "glGenRenderbuffers");
    load(g.gl.deleteRenderbuffers, "glDeleteRenderbuffers");
    load(g.gl.bindRenderbuffer, "glBindRenderbuffer");
    load(g.gl.renderbufferStorage, "glRenderbufferStorage");
    load(g.gl.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    return true;
}

Window* windowOfDc(HDC dc) {
    const auto& dcs = gl().deviceContexts;
    auto found = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
    return found == dcs.end() ? nullptr : findWindow(reinterpret_cast<HWND>(found->second));
}

GlContext* findContext(HGLRC handle) {
    auto& contexts = gl().contexts;
    auto found = contexts.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == contexts.end() ? nullptr : found->second.get();
}

// On Windows the pixels of a window beyond the screen are never drawn. The
// stand-in's screen is this many pixels each way, so no window, however large
// its rectangle, gets a larger framebuffer (or a larger frame read back).
constexpr int screenSide = 4096;

// Gives the (current) context a framebuffer of the window's size and binds it.
void bindFramebufferFor(GlContext& context, const Window& window) {
    const FramebufferFunctions& f = gl().gl;
    const int width = std::clamp(window.width(), 1, screenSide);
    const int height = std::clamp(window.height(), 1, screenSide);
    if (context.framebuffer == 0) {
        f.genFramebuffers(1, &context.framebuffer);
        f.genRenderbuffers(1, &context.colour);
        f.genRenderbuffers(1, &context.depth);
    }
    f.bindFramebuffer(GL_FRAMEBUFFER, context.framebuffer);
    if (width != context.width || height != context.height) {
        f.bindRenderbuffer(GL_RENDERBUFFER, context.colour);
        f.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        f.bindRenderbuffer(GL_RENDERBUFFER, context.depth);
        f.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        f.bindRenderbuffer(GL_RENDERBUFFER, 0);
        f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, context.colour);
        f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, context.depth);
        context.width = width;
        context.height = height;
    }
    // Windows sets the viewport to the window the first time a context is made current.
    if (!context.viewportSet) {
        glViewport(0, 0, width, height);
        context.viewportSet = true;
    }
}

bool makeEglCurrent(GlContext* context) {
    const GlState& g = gl();
    return eglMakeCurrent(g.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context != nullptr ? context->egl : EGL_NO_CONTEXT) ==
           EGL_TRUE;
}

}  // namespace

void forgetWindowInContexts(std::uintptr_t window) {
    GlState& g = gl();
    std::erase_if(g.deviceContexts, [&](const auto& entry) { return entry.second == window; });
    if (g.currentDc != 0 && !g.deviceContexts.contains(g.currentDc)) g.currentDc = 0;
}

}  // namespace platform::detail

using namespace platform::detail;
using platform::Failure;

extern "C" {

HDC GetDC(HWND handle) {
    Window* window = findWindow(handle);
    if (window == nullptr || takeFailure(Failure::GetDC)) return nullptr;
    // One device context per window, for its whole life (as with CS_OWNDC).
    GlState& g = gl();
    for (const auto& [dc, owner] : g.deviceContexts)
        if (owner == window->id) return reinterpret_cast<HDC>(dc);
    const std::uintptr_t dc = g.nextId++;
    g.deviceContexts[dc] = window->id;
    return reinterpret_cast<HDC>(dc);
}

int ReleaseDC(HWND handle, HDC dc) {
    const Window* window = windowOfDc(dc);
    return window != nullptr && handleOf(*window) == handle ? 1 : 0;
}

HWND WindowFromDC(HDC dc) {
    const Window* window = windowOfDc(dc);
    return window != nullptr ? handleOf(*window) : nullptr;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request) {
    if (windowOfDc(dc) == nullptr || request == nullptr || request->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
        takeFailure(Failure::ChoosePixelFormat))
        return 0;
    // The one format: double-buffered RGBA for OpenGL on a window.
    return (request->dwFlags & PFD_SUPPORT_OPENGL) != 0 && request->iPixelType == PFD_TYPE_RGBA ? 1 : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    Window* window = windowOfDc(dc);
    if (window == nullptr || format != 1 || takeFailure(Failure::SetPixelFormat)) return FALSE;
    // A window's pixel format is set once.
    if (window->pixelFormat != 0 && window->pixelFormat != format) return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

int GetPixelFormat(HDC dc) {
    const Window* window = windowOfDc(dc);
    return window != nullptr ? window->pixelFormat : 0;
}

HGLRC wglCreateContext(HDC dc) {
    const Window* window = windowOfDc(dc);
    if (window == nullptr || window->pixelFormat == 0 || takeFailure(Failure::CreateContext) || !initialiseEgl())
        return nullptr;
    GlState& g = gl();
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext egl = eglCreateContext(g.display, g.config, EGL_NO_CONTEXT, attributes);
    if (egl == EGL_NO_CONTEXT) return nullptr;
    auto context = std::make_unique<GlContext>();
    context->id = g.nextId++;
    context->egl = egl;
    const std::uintptr_t id = context->id;
    g.contexts.emplace(id, std::move(context));
    return reinterpret_cast<HGLRC>(id);
}

BOOL wglMakeCurrent(HDC dc, HGLRC handle) {
    GlState& g = gl();
    if (handle == nullptr) {
        if (g.display != EGL_NO_DISPLAY) makeEglCurrent(nullptr);
        g.current = nullptr;
        g.currentDc = 0;
        return TRUE;
    }
    GlContext* context = findContext(handle);
    Window* window = windowOfDc(dc);
    if (context == nullptr || window == nullptr || window->pixelFormat == 0 || takeFailure(Failure::MakeCurrent))
        return FALSE;
    if (!makeEglCurrent(context)) return FALSE;
    bindFramebufferFor(*context, *window);
    g.current = context;
    g.currentDc = reinterpret_cast<std::uintptr_t>(dc);
    window->drawingContext = context;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC handle) {
    GlState& g = gl();
    GlContext* context = findContext(handle);
    if (context == nullptr) return FALSE;
    const bool failing = takeFailure(Failure::DeleteContext);
    // Its framebuffer goes with it; that needs the context current for a moment.
    GlContext* previous = g.current;
    if (makeEglCurrent(context) && context->framebuffer != 0) {
        g.gl.deleteFramebuffers(1, &context->framebuffer);
        g.gl.deleteRenderbuffers(1, &context->colour);
        g.gl.deleteRenderbuffers(1, &context->depth);
    }
    // Deleting the current context makes no context current, as on Windows.
    if (previous != nullptr && previous != context) {
        makeEglCurrent(previous);
    } else {
        makeEglCurrent(nullptr);
        g.current = nullptr;
        g.currentDc = 0;
    }
    for (auto& [id, window] : state().windows)
        if (window->drawingContext == context) window->drawingContext = nullptr;
    eglDestroyContext(g.display, context->egl);
    g.contexts.erase(context->id);
    return failing ? FALSE : TRUE;
}

HGLRC wglGetCurrentContext() {
    const GlContext* context = gl().current;
    return context != nullptr ? reinterpret_cast<HGLRC>(context->id) : nullptr;
}

HDC wglGetCurrentDC() { return reinterpret_cast<HDC>(gl().currentDc); }

BOOL SwapBuffers(HDC dc) {
    GlState& g = gl();
    Window* window = windowOfDc(dc);
    if (window == nullptr || window->drawingContext == nullptr) return FALSE;
    GlContext* context = window->drawingContext;
    GlContext* previous = g.current;
    if (previous != context && !makeEglCurrent(context)) return FALSE;

    GLint readBinding = 0;
    GLint packAlignment = 4;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBinding);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    g.gl.bindFramebuffer(GL_READ_FRAMEBUFFER, context->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const int width = context->width;
    const int height = context->height;
    std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    g.gl.bindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));

    platform::Frame& frame = window->frame;
    frame.width = width;
    frame.height = height;
    frame.rgba.resize(bottomUp.size());
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        std::copy_n(&bottomUp[static_cast<std::size_t>(height - 1 - y) * row], row, &frame.rgba[static_cast<std::size_t>(y) * row]);
    // The window's pixel format has no alpha: what the window shows is opaque.
    for (std::size_t i = 3; i < frame.rgba.size(); i += 4) frame.rgba[i] = 255;
    ++window->framesSwapped;

    if (previous != context) makeEglCurrent(previous);
    return TRUE;
}

}  // extern "C"
