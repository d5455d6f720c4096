#include "host/view.h"

#include <algorithm>
#include <cstdint>

#include "host/error.h"

namespace host {
namespace {

constexpr const WCHAR* editorClassName = L"SuiteHostEditor";

LRESULT CALLBACK editorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The host's own window class, registered once for the process.
void registerEditorClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &editorProcedure;
        windowClass.lpszClassName = editorClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw HostError("cannot register the editor's window class");
}

// A side of a rectangle the test hands over, as a window size: computed
// without overflow, an inverted side is empty.
int sideOf(int32_t from, int32_t to) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, 0, INT32_MAX));
}

}  // namespace

View::View(GuiInstance& gui, int32_t width, int32_t height, int32_t left, int32_t top) : gui_(gui) {
    void* graphics = nullptr;
    if (gui.userInterface()->queryInterface(&mp::MP_IID_GRAPHICS_WIN_GDI, &graphics) != mp::MP_OK ||
        graphics == nullptr)
        throw HostError("the module has no view of its own (no IMpGraphicsWinGdi)");
    graphics_ = static_cast<mp::IMpGraphicsWinGdi*>(graphics);

    registerEditorClass();
    parent_ = CreateWindowExW(0, editorClassName, L"editor", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                              std::max(left + width, 1), std::max(top + height, 1), nullptr, nullptr, nullptr, nullptr);
    if (parent_ == nullptr) {
        graphics_->release();
        throw HostError("cannot create the editor's window");
    }
    graphics_->proposeSize(width, height, &accepted_);
    rect_ = mp::MpRect{top, top + height, left, left + width};
    openChild();
}

View::~View() {
    close();
    DestroyWindow(parent_);
    platform::pumpMessages();
    graphics_->release();
}

void View::openChild() {
    graphics_->placeWindow(rect_);
    void* child = nullptr;
    graphics_->createChildWindow(parent_, &child);
    child_ = static_cast<HWND>(child);
    open_ = true;
    pump();
}

void View::close() {
    if (!open_) return;
    graphics_->destroyChildWindow();
    open_ = false;
    child_ = nullptr;
    buttonDown_ = false;
    ReleaseCapture();
    pump();
}

void View::reopen() {
    close();
    openChild();
}

void View::place(mp::MpRect rect) {
    rect_ = rect;
    graphics_->placeWindow(rect_);
    if (child_ != nullptr) MoveWindow(child_, rect.left, rect.top, sideOf(rect.left, rect.right), sideOf(rect.top, rect.bottom), TRUE);
    pump();
}

void View::mouse(MouseAction action, int32_t x, int32_t y, Modifiers modifiers) {
    platform::setKeyDown(VK_SHIFT, modifiers.shift);
    platform::setKeyDown(VK_CONTROL, modifiers.control);
    platform::setKeyDown(VK_LMENU, modifiers.alt);
    UINT message = WM_MOUSEMOVE;
    if (action == MouseAction::Down) {
        message = WM_LBUTTONDOWN;
        buttonDown_ = true;
    } else if (action == MouseAction::Up) {
        message = WM_LBUTTONUP;
        buttonDown_ = false;
    }
    WPARAM keyFlags = 0;
    if (buttonDown_) keyFlags |= MK_LBUTTON;
    if (modifiers.shift) keyFlags |= MK_SHIFT;
    if (modifiers.control) keyFlags |= MK_CONTROL;
    platform::postMouseMessage(parent_, message, POINT{rect_.left + x, rect_.top + y}, keyFlags);
    pump();
    platform::releaseAllKeys();
}

void View::advance(uint32_t milliseconds) {
    platform::advanceClock(milliseconds);
    pump();
}

void View::paint() {
    if (child_ != nullptr) InvalidateRect(child_, nullptr, TRUE);
    pump();
}

void View::pump() {
    if (platform::pumpMessages() >= 100000) throw HostError("the view's messages never run out (endless repaints?)");
}

std::optional<platform::Frame> View::frame() const {
    if (child_ == nullptr) return std::nullopt;
    return platform::lastFrame(child_);
}

}  // namespace host
