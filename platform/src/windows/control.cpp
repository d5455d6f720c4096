// The host's control interface on Windows itself: the services are the
// system's, so this only drives them the way a person would (messages, keys,
// mouse) and reads a window's pixels back through OpenGL. What only a stand-in
// can do (a virtual clock, counting windows and swaps, recording message boxes,
// injecting failures) does not exist here.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/windows.h"

#include <GL/gl.h>

namespace platform {
namespace {

// Keeps whatever context the caller had current and puts it back.
class CurrentContextKeeper {
public:
    CurrentContextKeeper() : dc_(wglGetCurrentDC()), context_(wglGetCurrentContext()) {}
    ~CurrentContextKeeper() { wglMakeCurrent(dc_, context_); }
    CurrentContextKeeper(const CurrentContextKeeper&) = delete;
    CurrentContextKeeper& operator=(const CurrentContextKeeper&) = delete;

private:
    HDC dc_;
    HGLRC context_;
};

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), length);
    return out;
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

// The deepest visible window under `point` (client coordinates of `window`),
// with the point turned into that window's client coordinates.
HWND deepestWindowAt(HWND window, POINT& point) {
    for (;;) {
        const HWND child = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (child == nullptr || child == window) return window;
        MapWindowPoints(window, child, &point, 1);
        window = child;
    }
}

void sendKey(int virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void advanceClock(std::uint32_t milliseconds) {
    // Real time cannot be moved on: wait it out, dispatching as we go, so that
    // the timers that fall due meanwhile post their messages.
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        pumpMessages();
    }
}

void setKeyDown(int virtualKey, bool down) {
    if (((GetAsyncKeyState(virtualKey) & 0x8000) != 0) != down) sendKey(virtualKey, down);
}

void releaseAllKeys() {
    for (int key : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL, VK_MENU, VK_LMENU, VK_RMENU})
        if ((GetAsyncKeyState(key) & 0x8000) != 0) sendKey(key, false);
}

int pumpMessages(int limit) {
    int dispatched = 0;
    MSG message;
    while (dispatched < limit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        ++dispatched;
    }
    return dispatched;
}

HWND postMouseMessage(HWND top, UINT message, POINT point, WPARAM keyFlags) {
    if (!IsWindow(top)) return nullptr;
    HWND target = GetCapture();
    if (target != nullptr) {
        MapWindowPoints(top, target, &point, 1);
    } else {
        target = deepestWindowAt(top, point);
    }
    PostMessageW(target, message, keyFlags,
                 MAKELPARAM(static_cast<WORD>(point.x & 0xFFFF), static_cast<WORD>(point.y & 0xFFFF)));
    return target;
}

Frame::Pixel Frame::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Pixel{0, 0, 0, 0};
    const std::uint8_t* p =
        &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
}

namespace {

// Reads one colour buffer of the current context, rows from the top.
Frame readBuffer(GLenum buffer, int width, int height) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
    // OpenGL gives the rows from the bottom.
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height / 2; ++y)
        std::swap_ranges(frame.rgba.begin() + static_cast<std::ptrdiff_t>(y * row),
                         frame.rgba.begin() + static_cast<std::ptrdiff_t>((y + 1) * row),
                         frame.rgba.begin() + static_cast<std::ptrdiff_t>((height - 1 - y) * row));
    return frame;
}

// The frame the current context's last SwapBuffers presented: its front
// buffer; where that was never filled, its back buffer. Wine presents the GL
// frame of a child window by copying it out of the back buffer, which keeps
// it, and leaves the front buffer empty.
// The context may be the module's: the read state is put back as it was.
std::optional<Frame> presentedFrame(int width, int height) {
    GLint readBufferBefore = GL_BACK, packAlignmentBefore = 4;
    glGetIntegerv(GL_READ_BUFFER, &readBufferBefore);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignmentBefore);
    Frame frame = readBuffer(GL_FRONT, width, height);
    if (std::all_of(frame.rgba.begin(), frame.rgba.end(), [](std::uint8_t byte) { return byte == 0; }))
        frame = readBuffer(GL_BACK, width, height);
    const bool read = glGetError() == GL_NO_ERROR;
    glReadBuffer(static_cast<GLenum>(readBufferBefore));
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignmentBefore);
    if (!read) return std::nullopt;
    return frame;
}

}  // namespace

// The frame the window's last SwapBuffers presented, read through the context
// its module left current after painting, else through a context of our own on
// the window's pixel format. None for a window that never drew with OpenGL.
std::optional<Frame> lastFrame(HWND window) {
    RECT client{};
    if (!IsWindow(window) || !GetClientRect(window, &client)) return std::nullopt;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return std::nullopt;

    if (wglGetCurrentContext() != nullptr && WindowFromDC(wglGetCurrentDC()) == window)
        return presentedFrame(width, height);

    HDC dc = GetDC(window);
    if (dc == nullptr) return std::nullopt;
    std::optional<Frame> frame;
    if (GetPixelFormat(dc) != 0) {
        const CurrentContextKeeper keeper;
        HGLRC context = wglCreateContext(dc);
        if (context != nullptr && wglMakeCurrent(dc, context)) {
            frame = presentedFrame(width, height);
        }
        if (context != nullptr) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
    }
    ReleaseDC(window, dc);
    return frame;
}

void setRegistryString(HKEY root, const std::wstring& keyPath, const std::wstring& name, const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

void deleteRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
    RegDeleteKeyValueW(root, keyPath.c_str(), name.c_str());
}

void deleteRegistryKey(HKEY root, const std::wstring& keyPath) { RegDeleteTreeW(root, keyPath.c_str()); }

// On Windows a path of this machine is already a Windows path.
std::wstring windowsPath(const std::string& nativePath) {
    std::wstring path = wide(nativePath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string nativePath(const std::wstring& windowsPath) { return narrow(windowsPath); }

}  // namespace platform
