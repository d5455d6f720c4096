// A GUI module's own view, opened in a parent window of the host as a host's
// editor opens it, and driven the way a person would drive it: mouse steps
// with modifier keys held, time passing, repaints; plus reading the frames it
// draws.
//
// The host gives the view the rectangle it lays out: the module's answer to
// proposeSize is asked for and kept, not imposed. Everything runs on the
// host's user-interface thread, which also pumps the window messages.
#pragma once

#include <cstdint>
#include <optional>

#include "host/gui_instance.h"
#include "mp/abi/plugin_interfaces.h"
#include "platform/control.h"

namespace host {

enum class MouseAction { Down, Move, Up };

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;  // the left Alt key
};

class View {
public:
    // Makes the parent window, asks the module's IMpGraphicsWinGdi for the
    // size, places the view at (left, top) with the given size and asks for
    // the child window; then pumps the messages that follow. Throws HostError
    // when the module offers no IMpGraphicsWinGdi.
    View(GuiInstance& gui, int32_t width, int32_t height, int32_t left = 0, int32_t top = 0);
    // Closes the view if it is open and destroys the parent window.
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // destroyChildWindow; the view can be opened again with reopen().
    void close();
    void reopen();
    bool isOpen() const { return open_; }

    HWND parent() const { return parent_; }
    // The handle createChildWindow answered (null when the module made none).
    HWND child() const { return child_; }
    // The module's answer to proposeSize.
    mp::MpSize acceptedSize() const { return accepted_; }
    const mp::MpRect& rect() const { return rect_; }

    // Tells the module its new rectangle and moves the child window there.
    void place(mp::MpRect rect);

    // One mouse step at (x, y) in the view's own pixels, with the modifier keys
    // held while the message is handled; the left button counts as held from
    // Down to Up. Pumps the messages.
    void mouse(MouseAction action, int32_t x, int32_t y, Modifiers modifiers = {});
    // Lets time pass on the virtual clock; due timers fire. Pumps the messages.
    void advance(uint32_t milliseconds);
    // Invalidates the view and pumps, so that it paints.
    void paint();
    // Dispatches pending messages.
    void pump();

    // The last frame the view finished (none before its first SwapBuffers).
    std::optional<platform::Frame> frame() const;

private:
    void openChild();

    GuiInstance& gui_;
    mp::IMpGraphicsWinGdi* graphics_ = nullptr;
    HWND parent_ = nullptr;
    HWND child_ = nullptr;
    mp::MpSize accepted_{0, 0};
    mp::MpRect rect_{0, 0, 0, 0};
    bool open_ = false;
    bool buttonDown_ = false;
};

}  // namespace host
