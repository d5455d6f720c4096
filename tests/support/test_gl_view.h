// The base of the test-only display modules: opens a Vitrel view as the
// object's child window at its placed rectangle and closes it again, the way
// the suite's display modules do. A derived module sets up its GL state in
// `opened` (the view's context is current) and releases it in `closing`.
#pragma once

#include "mp/gui_windows_gfx_base.h"
#include "platform/gl.h"
#include "vitrel/window.h"

namespace testing_support {

class TestGlView : public mp::SeGuiWindowsGfxBase {
public:
    using SeGuiWindowsGfxBase::SeGuiWindowsGfxBase;

    int32_t MP_STDCALL createChildWindow(void* parent, void** window) override {
        registerWindowClassOnce();
        if (window != nullptr) *window = nullptr;
        const mp::MpRect& r = windowRect();
        HWND made = vitrelCreateWindow(static_cast<HWND>(parent), r.left, r.top, windowWidth(), windowHeight());
        if (made == nullptr) return mp::MP_OK;
        setWindowHandle(made);
        if (window != nullptr) *window = made;
        slot_ = vitrelCurrentSlot();
        SetWindowLongPtrW(made, GWLP_USERDATA, userDataValue());
        opened();
        ShowWindow(made, SW_SHOWNORMAL);
        UpdateWindow(made);
        return mp::MP_OK;
    }

    int32_t MP_STDCALL destroyChildWindow() override {
        if (windowHandle() == nullptr) return mp::MP_OK;
        closing();
        vitrelDestroyWindow(slot_);
        setWindowHandle(nullptr);
        return mp::MP_OK;
    }

protected:
    // The view's Vitrel slot while it is open.
    int slot() const { return slot_; }

    virtual void opened() {}
    virtual void closing() {}

private:
    int slot_ = 0;
};

}  // namespace testing_support
