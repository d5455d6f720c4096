#include "mp/gui_windows_gfx_base.h"

#include <algorithm>
#include <stdexcept>

#include "mp/module_instance.h"
#include "mp/unknown_support.h"

namespace mp {
namespace {

// Child windows of this library that exist now; the class is registered while
// there is at least one.
int32_t windowCount = 0;

// The class as registered once for the library by registerWindowClassOnce;
// given back as the library unloads.
struct LibraryWindowClass {
    bool registered = false;
    ~LibraryWindowClass() {
        if (registered) UnregisterClassW(MpGuiWindowsGfxBase::windowClassName, moduleInstance());
    }
};
LibraryWindowClass libraryWindowClass;

template <class Interface>
Interface* requireHostInterface(IMpUnknown* host, const MpGuid& iid) {
    void* found = nullptr;
    if (host == nullptr || host->queryInterface(&iid, &found) != MP_OK || found == nullptr)
        throw std::runtime_error("host Interfaces not supported");
    return static_cast<Interface*>(found);
}

}  // namespace

MpGuiWindowsGfxBase::MpGuiWindowsGfxBase(IMpUnknown* host)
    : MpGuiBase(host), windowHost_(requireHostInterface<IMpGuiWindowHost>(host, MP_IID_GUI_WINDOW_HOST)) {}

SeGuiWindowsGfxBase::SeGuiWindowsGfxBase(IMpUnknown* host)
    : MpGuiWindowsGfxBase(host),
      hostExtension_(requireHostInterface<IMpGuiHostExtension>(host, MP_IID_GUI_HOST_EXTENSION)) {}

int32_t MpGuiWindowsGfxBase::queryInterface(const MpGuid* iid, void** object) {
    if (iid != nullptr && *iid == MP_IID_GRAPHICS_WIN_GDI)
        return answerQueryInterface(iid, object, static_cast<IMpGraphicsWinGdi*>(this), {&MP_IID_GRAPHICS_WIN_GDI});
    return MpGuiBase::queryInterface(iid, object);
}

int32_t MpGuiWindowsGfxBase::proposeSize(int32_t width, int32_t height, MpSize* accepted) {
    if (accepted != nullptr) {
        accepted->width = std::clamp(width, smallestSide, largestSide);
        accepted->height = std::clamp(height, smallestSide, largestSide);
    }
    return MP_OK;
}

int32_t MpGuiWindowsGfxBase::placeWindow(MpRect rect) {
    rect_ = rect;
    return MP_OK;
}

int32_t MpGuiWindowsGfxBase::createChildWindow(void* parentWindow, void** window) {
    if (window_ != nullptr) {  // one window per object: a second request gets the first
        if (window != nullptr) *window = window_;
        return MP_OK;
    }
    if (windowCount++ == 0) registerWindowClass();
    if (window != nullptr) *window = nullptr;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    windowStyle(style, extendedStyle);
    window_ = CreateWindowExW(extendedStyle, windowClassName, nullptr, style, rect_.left, rect_.top,
                              windowWidth(), windowHeight(), static_cast<HWND>(parentWindow),
                              nullptr, moduleInstance(), nullptr);
    if (window_ == nullptr) {
        // No window: the null handle is stored and returned, the call still
        // succeeds, and the window is not counted (so the class does not stay
        // registered for a window that never existed).
        if (--windowCount == 0) unregisterWindowClass();
        return MP_OK;
    }
    if (window != nullptr) *window = window_;
    SetWindowLongPtrW(window_, GWLP_USERDATA, userDataValue());
    return MP_OK;
}

int32_t MpGuiWindowsGfxBase::destroyChildWindow() {
    if (window_ == nullptr) return MP_OK;
    DestroyWindow(window_);
    window_ = nullptr;
    if (--windowCount == 0) unregisterWindowClass();
    return MP_OK;
}

void MpGuiWindowsGfxBase::fillWindowClass(WNDCLASSEXW& windowClass) {
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &MpGuiWindowsGfxBase::windowProcedure;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = windowClassName;
}

void MpGuiWindowsGfxBase::windowStyle(DWORD& style, DWORD&) { style = WS_CHILD | WS_VISIBLE; }

void MpGuiWindowsGfxBase::registerWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    fillWindowClass(windowClass);
    RegisterClassExW(&windowClass);
}

void MpGuiWindowsGfxBase::registerWindowClassOnce() {
    if (libraryWindowClass.registered) return;
    registerWindowClass();
    libraryWindowClass.registered = true;
}

void MpGuiWindowsGfxBase::unregisterWindowClass() { UnregisterClassW(windowClassName, moduleInstance()); }

LRESULT CALLBACK MpGuiWindowsGfxBase::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<MpGuiWindowsGfxBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);  // messages sent during creation
    // No exception may leave through the system's frames that called us: a
    // handler that throws leaves the message to the default procedure (which
    // also validates a window whose paint failed, so no endless WM_PAINT).
    try {
        return object->handleWindowMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT MpGuiWindowsGfxBase::handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        if (GetParent(window) == nullptr) PostQuitMessage(0);
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC deviceContext = BeginPaint(window, &paint);
        onPaint(deviceContext);
        EndPaint(window, &paint);
        return 1;
    }
    case WM_CLOSE: DestroyWindow(window); return 1;
    case WM_TIMER: onTimer(); return 1;
    case WM_MOUSEMOVE: onMouseMove(wParam, mouseX(lParam), mouseY(lParam)); return 1;
    case WM_LBUTTONDOWN: onLButtonDown(wParam, mouseX(lParam), mouseY(lParam)); return 1;
    case WM_LBUTTONUP: onLButtonUp(wParam, mouseX(lParam), mouseY(lParam)); return 1;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace mp
