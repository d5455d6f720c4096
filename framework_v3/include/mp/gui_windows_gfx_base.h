// GUI modules that draw in a child window of their own.
//
// MpGuiWindowsGfxBase adds IMpGraphicsWinGdi to MpGuiBase: the host negotiates
// the size, places the window and asks for it to be created and destroyed. The
// base registers the library's window class while at least one of its windows
// exists and routes the window's messages to the virtual operations below,
// which module classes override. SeGuiWindowsGfxBase, the base of the display
// modules, behaves the same and also needs the host's IMpGuiHostExtension.
//
// Everything runs on the host's user-interface thread, which also pumps the
// windows' messages; the library-wide window count is not locked.
#pragma once

#include "mp/gui_base.h"
#include "platform/windows.h"

namespace mp {

class MpGuiWindowsGfxBase : public MpGuiBase, public IMpGraphicsWinGdi {
public:
    // The name of the library's one window class.
    static constexpr const WCHAR* windowClassName = L"DefaultMpWClass";

    // Asks `host` for IMpGuiWindowHost; without it the constructor throws
    // "host Interfaces not supported". The interface is never called.
    explicit MpGuiWindowsGfxBase(IMpUnknown* host);

    // Both interface pointers answer for the whole object.
    int32_t MP_STDCALL queryInterface(const MpGuid* iid, void** object) override;
    int32_t MP_STDCALL addRef() override { return MpGuiBase::addRef(); }
    int32_t MP_STDCALL release() override { return MpGuiBase::release(); }

    // IMpGraphicsWinGdi.
    int32_t MP_STDCALL proposeSize(int32_t width, int32_t height, MpSize* accepted) override;
    int32_t MP_STDCALL placeWindow(MpRect rect) override;
    int32_t MP_STDCALL createChildWindow(void* parentWindow, void** window) override;
    int32_t MP_STDCALL destroyChildWindow() override;

    // The sizes proposeSize accepts, each side on its own.
    static constexpr int32_t smallestSide = 15;
    static constexpr int32_t largestSide = 100;

    // The procedure of the window class: finds the object in the window's
    // user-data slot and hands the message to handleWindowMessage.
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The pointer a window's user-data slot holds for this object.
    LONG_PTR userDataValue() { return reinterpret_cast<LONG_PTR>(this); }

protected:
    // Routes paint, timer and left-button mouse messages to the operations below.
    virtual LRESULT handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void fillWindowClass(WNDCLASSEXW& windowClass);
    virtual void windowStyle(DWORD& style, DWORD& extendedStyle);
    virtual void registerWindowClass();
    virtual void unregisterWindowClass();
    // For modules that create their window themselves: registers the class at
    // the library's first call and keeps it until the library unloads, when
    // it is given back (no class may outlive its window procedure).
    void registerWindowClassOnce();
    virtual int32_t onPaint(HDC deviceContext) { return (void)deviceContext, 0; }
    virtual int32_t onLButtonDown(WPARAM keyFlags, int32_t x, int32_t y) { return (void)keyFlags, (void)x, (void)y, 0; }
    virtual int32_t onLButtonUp(WPARAM keyFlags, int32_t x, int32_t y) { return (void)keyFlags, (void)x, (void)y, 0; }
    virtual int32_t onMouseMove(WPARAM keyFlags, int32_t x, int32_t y) { return (void)keyFlags, (void)x, (void)y, 0; }
    virtual int32_t onTimer() { return 0; }

    // The object's child window (null while there is none), for modules that
    // create and destroy their window themselves.
    HWND windowHandle() const { return window_; }
    void setWindowHandle(HWND window) { window_ = window; }
    const MpRect& windowRect() const { return rect_; }
    // The placed rectangle's sides as a window's size: computed without
    // overflow whatever the host placed, an inverted side is 0 and no side is
    // longer than `longestWindowSide`.
    int32_t windowWidth() const { return sideLength(rect_.left, rect_.right); }
    int32_t windowHeight() const { return sideLength(rect_.top, rect_.bottom); }
    static constexpr int32_t longestWindowSide = 32767;

private:
    static int32_t sideLength(int32_t from, int32_t to) {
        const int64_t length = int64_t{to} - from;
        return length < 0 ? 0 : length > longestWindowSide ? longestWindowSide : static_cast<int32_t>(length);
    }

    HWND window_ = nullptr;
    IMpGuiWindowHost* windowHost_ = nullptr;
    MpRect rect_{0, 0, 0, 0};
};

class SeGuiWindowsGfxBase : public MpGuiWindowsGfxBase {
public:
    // Also asks `host` for IMpGuiHostExtension, which it never calls; without
    // it the constructor throws "host Interfaces not supported".
    explicit SeGuiWindowsGfxBase(IMpUnknown* host);

private:
    IMpGuiHostExtension* hostExtension_ = nullptr;
};

// The window coordinates of a mouse message: the low and high 16 bits of
// lParam, each sign-extended, so that points left of or above the window (seen
// while the mouse is captured) are negative.
constexpr int32_t mouseX(LPARAM lParam) { return static_cast<int16_t>(static_cast<uint32_t>(lParam) & 0xFFFF); }
constexpr int32_t mouseY(LPARAM lParam) { return static_cast<int16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFF); }

}  // namespace mp
