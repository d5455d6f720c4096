#include "vitrel/window.h"

#include "mp/gui_windows_gfx_base.h"
#include "mp/module_instance.h"
#include "platform/gl.h"
#include "slots.h"

namespace vitrel {
namespace {

// The one pixel format requested, for the probe and for every window:
// double-buffered RGBA on a window, 32 colour bits, 16 depth bits, nothing else.
constexpr PIXELFORMATDESCRIPTOR pixelFormatRequest() {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 32;
    request.cDepthBits = 16;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}
constexpr PIXELFORMATDESCRIPTOR pixelFormat = pixelFormatRequest();

constexpr DWORD childStyle = WS_CHILD | WS_VISIBLE;

void showError(const WCHAR* text) { MessageBoxW(nullptr, text, L"ERROR", MB_OK | MB_ICONWARNING); }

// Checks once that OpenGL 2.0 is there, with a window and context of its own
// that it releases again whatever the outcome.
bool probeCapabilities(HWND parent, int x, int y, int width, int height) {
    HWND window = CreateWindowExW(0, mp::MpGuiWindowsGfxBase::windowClassName, nullptr, childStyle, x, y, width,
                                  height, parent, nullptr, mp::moduleInstance(), nullptr);
    ShowWindow(window, SW_HIDE);
    // The probe goes on whatever these steps answer: glewInit tells.
    HDC dc = GetDC(window);
    SetPixelFormat(dc, ChoosePixelFormat(dc, &pixelFormat), &pixelFormat);
    HGLRC context = wglCreateContext(dc);
    wglMakeCurrent(dc, context);

    bool capable = glewEntryPointsLoaded(glewInit());
    if (capable && !GLEW_VERSION_2_0) {
        MessageBoxW(nullptr, L"INFO: OpenGL 2.0 not supported. Exit\n", L"INFO", MB_OK | MB_ICONWARNING);
        capable = false;
    }

    wglMakeCurrent(nullptr, nullptr);
    if (context != nullptr) wglDeleteContext(context);
    if (dc != nullptr) ReleaseDC(window, dc);
    if (window != nullptr) DestroyWindow(window);
    return capable;
}

// Releases whatever a creation had made for the slot and frees the slot.
void releaseSlot(Tables& t, std::size_t slot) {
    if (t.contexts[slot] != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(t.contexts[slot]);
    }
    if (t.deviceContexts[slot] != nullptr) ReleaseDC(t.windows[slot], t.deviceContexts[slot]);
    if (t.windows[slot] != nullptr) DestroyWindow(t.windows[slot]);
    t.contexts[slot] = nullptr;
    t.deviceContexts[slot] = nullptr;
    t.windows[slot] = nullptr;
    t.inUse[slot] = 0;
}

HWND failCreation(Tables& t, std::size_t slot, const WCHAR* text) {
    if (text != nullptr) showError(text);
    releaseSlot(t, slot);
    t.windowCounter = 0;  // the next creation probes again
    return nullptr;
}

}  // namespace
}  // namespace vitrel

using namespace vitrel;

HWND vitrelCreateWindow(HWND parent, int x, int y, int width, int height) {
    Tables& t = tables();
    const std::optional<int> chosen = chooseSlot(t.inUse, t.windowCounter);
    if (!chosen) {
        showError(L"No Free GL Window Slot.");
        return nullptr;
    }
    const auto slot = static_cast<std::size_t>(*chosen);
    t.inUse[slot] = 1;
    t.currentSlot = *chosen;

    if (t.windowCounter == 0) {
        t.windowCounter = 1;
        // Slots whose window is gone are free again; those of live windows
        // (open while an earlier creation failed) and the chosen one stay taken.
        for (std::size_t other = 0; other < t.inUse.size(); ++other)
            if (other != slot && t.windows[other] == nullptr) t.inUse[other] = 0;
        if (!probeCapabilities(parent, x, y, width, height)) return failCreation(t, slot, nullptr);
    }

    HWND window = CreateWindowExW(0, mp::MpGuiWindowsGfxBase::windowClassName, nullptr, childStyle, x, y, width, height,
                                  parent, nullptr, mp::moduleInstance(), nullptr);
    if (window == nullptr) return failCreation(t, slot, L"Window Creation Error.");
    t.windows[slot] = window;
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));

    HDC dc = GetDC(window);
    if (dc == nullptr) return failCreation(t, slot, L"Can't Create A GL Device Context.");
    t.deviceContexts[slot] = dc;
    const int format = ChoosePixelFormat(dc, &pixelFormat);
    if (format == 0) return failCreation(t, slot, L"Can't Find A Suitable PixelFormat.");
    if (!SetPixelFormat(dc, format, &pixelFormat)) return failCreation(t, slot, L"Can't Set The PixelFormat.");
    HGLRC context = wglCreateContext(dc);
    if (context == nullptr) return failCreation(t, slot, L"Can't Create A GL Rendering Context.");
    t.contexts[slot] = context;
    if (!wglMakeCurrent(dc, context)) return failCreation(t, slot, L"Can't Activate The GL Rendering Context.");

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    ++t.windowCounter;
    return window;
}

int vitrelCurrentSlot() { return tables().currentSlot; }

void vitrelDestroyWindow(int slot) {
    if (!validSlot(slot)) return;
    Tables& t = tables();
    const auto s = static_cast<std::size_t>(slot);
    if (t.contexts[s] != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        if (!wglDeleteContext(t.contexts[s]))
            MessageBoxW(nullptr, L"Release Rendering Context Failed.", L"SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
        t.contexts[s] = nullptr;
    }
    if (t.deviceContexts[s] != nullptr) {
        ReleaseDC(t.windows[s], t.deviceContexts[s]);
        t.deviceContexts[s] = nullptr;
    }
    if (t.windows[s] != nullptr) {
        DestroyWindow(t.windows[s]);
        t.windows[s] = nullptr;
    }
    t.inUse[s] = 0;
}

void vitrelBeginPaint(int slot) {
    if (!validSlot(slot)) return;
    const Tables& t = tables();
    const auto s = static_cast<std::size_t>(slot);
    wglMakeCurrent(t.deviceContexts[s], t.contexts[s]);
    glPushAttrib(0xFFFFF);  // every classic attribute group
}

void vitrelEndPaint() { glPopAttrib(); }

void vitrelDefaultState() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LINE_SMOOTH);
}

void vitrelPixelProjection(int width, int height) {
    glViewport(0, 0, width, height);
    const int w = width > 0 ? width : 1;
    const int h = height > 0 ? height : 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f / static_cast<float>(w), -2.0f / static_cast<float>(h), 1.0f);
    glTranslatef(static_cast<float>(-(w / 2)), static_cast<float>(-(h / 2)), 0.0f);
}

void vitrelPerspective(int width, int height) {
    if (height == 0) height = 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, width, height);
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
