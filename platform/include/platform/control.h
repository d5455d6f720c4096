// The stand-in's control interface, for the host and its tests only: what a
// person or the system itself would do on Windows (press keys, let time pass,
// look at a window, read a message box), and fault injection. Plug-ins never
// include this header.
//
// Like the rest of the stand-in, everything here runs on the user-interface
// thread.
//
// On Windows itself (platform/src/windows/control.cpp) the services are the
// system's, and only what can be done to a real system exists: pumping,
// keys and mouse, advanceClock (which waits the time out in real time),
// lastFrame (what the window last presented), the registry and paths. The clock
// query, window and swap counts, class query, message-box records and fault
// injection are the stand-in's alone; code that uses them is not built there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace platform {

// ---- Time and keys ----------------------------------------------------------

// Moves the virtual clock on. Every timer that falls due on the way posts its
// WM_TIMER (one pending message per timer at most); the caller then pumps.
void advanceClock(std::uint32_t milliseconds);
std::uint32_t clockMilliseconds();

// Holds a virtual key down or lets it go, as GetAsyncKeyState reports it.
// VK_SHIFT, VK_CONTROL and VK_MENU follow their left and right keys.
void setKeyDown(int virtualKey, bool down);
void releaseAllKeys();

// ---- Windows and messages ---------------------------------------------------

// Dispatches queued messages (and the paints and timers they lead to) until the
// queue is empty or `limit` messages have been dispatched. Returns how many
// were dispatched.
int pumpMessages(int limit = 100000);

// The window that a mouse message at `point` (client coordinates of `top`)
// goes to: the window holding the capture, else the deepest visible window
// under the point. Windows with the capture get points outside themselves.
// Posts `message` to it with the point in its own client coordinates.
HWND postMouseMessage(HWND top, UINT message, POINT point, WPARAM keyFlags);

// How many windows CreateWindowExW has made since the process started, and how
// many exist now.
std::uint64_t windowsCreated();
int liveWindowCount();
// Whether a window class of this name is registered, for any instance.
bool isClassRegistered(const std::wstring& className);

// ---- Frames -----------------------------------------------------------------

// The last frame SwapBuffers finished for a window: rows from the top,
// 4 bytes per pixel (red, green, blue, alpha).
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    struct Pixel {
        std::uint8_t r, g, b, a;
        bool operator==(const Pixel&) const = default;
    };
    Pixel at(int x, int y) const;
};
std::optional<Frame> lastFrame(HWND window);
// How many frames SwapBuffers has finished for the window.
std::uint64_t framesSwapped(HWND window);

// ---- Message boxes ----------------------------------------------------------

struct MessageBoxRecord {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};
const std::vector<MessageBoxRecord>& messageBoxes();
void clearMessageBoxes();

// ---- Registry ---------------------------------------------------------------

// The system fills HKEY_LOCAL_MACHINE's
// "Software\Microsoft\Windows NT\CurrentVersion\Fonts" with the installed
// fonts when the registry is first used.
//
// Creates the key path under `root` if needed and sets a REG_SZ value (a value
// of the same name, in any case, keeps its place in the enumeration).
void setRegistryString(HKEY root, const std::wstring& keyPath, const std::wstring& name, const std::wstring& data);
void deleteRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& name);
void deleteRegistryKey(HKEY root, const std::wstring& keyPath);

// ---- Paths ------------------------------------------------------------------

// A path of this machine shown as Windows shows it ("/a/b" is "Z:\a\b"), and
// back; nativePath answers an empty string for a path it cannot map.
std::wstring windowsPath(const std::string& nativePath);
std::string nativePath(const std::wstring& windowsPath);

// ---- Fault injection --------------------------------------------------------

// Makes the next call of one service fail, once, as Windows would report it.
enum class Failure {
    CreateWindow,       // CreateWindowExW returns null
    GetDC,              // GetDC returns null
    ChoosePixelFormat,  // returns 0
    SetPixelFormat,     // returns FALSE
    CreateContext,      // wglCreateContext returns null
    MakeCurrent,        // wglMakeCurrent returns FALSE (with a context given)
    DeleteContext,      // wglDeleteContext returns FALSE (the context is still freed)
};
void failNext(Failure failure);
void clearFailures();

}  // namespace platform
