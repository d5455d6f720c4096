// Our stand-in for the Windows services this suite calls, for machines that
// are not Windows. Include "platform/windows.h", never this file directly.
//
// The names, argument meanings, constants and results are those of the
// Windows API for the cases the suite uses; where the stand-in simplifies,
// the comment says what Windows would do. One shared library implements all of
// it, so that the host and every plug-in see one window table, one message
// queue, one clock, one key state, one registry and one list of message boxes.
//
// Differences that callers can see:
// - Wide characters are wchar_t (32 bits here, 16 on Windows); "wide" text is
//   UTF-32 rather than UTF-16. Code written with WCHAR, L"..." and the W
//   functions works unchanged on both.
// - Windows have no pixels of their own. A window's GL context renders into an
//   offscreen framebuffer of the window's size; SwapBuffers keeps the finished
//   frame for the host (platform/control.h).
// - Time is a virtual clock that only the host advances; timers fire when it
//   does. Nothing blocks: GetMessageW on an empty queue returns -1.
// - File paths are shown Windows-style: the file system root is drive Z:
//   ("/usr/lib/x.so" is "Z:\usr\lib\x.so"), and _wfopen accepts such paths.
//
// Every function runs on the thread that owns the windows (the host's
// user-interface thread); none of them is safe to call from two threads.
#pragma once

#include <cstdint>
#include <cstdio>

// ---- Basic types ----------------------------------------------------------

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using SHORT = std::int16_t;
using LONG = std::int32_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using WCHAR = wchar_t;
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LSTATUS = LONG;
using REGSAM = DWORD;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Calling conventions exist on 32-bit Windows only.
#define WINAPI
#define CALLBACK

// Handles: opaque, compared by value; a stale handle is refused, never used.
struct HWND__;
struct HDC__;
struct HGLRC__;
struct HINSTANCE__;
struct HKEY__;
struct HICON__;
struct HBRUSH__;
struct HMENU__;
struct HRGN__;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HKEY = HKEY__*;
using HICON = HICON__*;
using HCURSOR = HICON;
using HBRUSH = HBRUSH__*;
using HMENU = HMENU__*;
using HRGN = HRGN__*;
using PHKEY = HKEY*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct POINT {
    LONG x;
    LONG y;
};

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);

// ---- Messages ---------------------------------------------------------------

inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_USER = 0x0400;

// Key flags in the wParam of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;

// Virtual keys.
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_LSHIFT = 0xA0;
inline constexpr int VK_RSHIFT = 0xA1;
inline constexpr int VK_LCONTROL = 0xA2;
inline constexpr int VK_RCONTROL = 0xA3;
inline constexpr int VK_LMENU = 0xA4;
inline constexpr int VK_RMENU = 0xA5;

inline constexpr WORD LOWORD(LPARAM value) { return static_cast<WORD>(static_cast<UINT_PTR>(value) & 0xFFFF); }
inline constexpr WORD HIWORD(LPARAM value) { return static_cast<WORD>((static_cast<UINT_PTR>(value) >> 16) & 0xFFFF); }
inline constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// ---- Window classes and windows ---------------------------------------------

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_OWNDC = 0x0020;

inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;

inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWLP_USERDATA = -21;
inline constexpr int GWL_USERDATA = GWLP_USERDATA;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;

// Resource ids given to LoadCursorW as pointers, as Windows does.
inline LPCWSTR MAKEINTRESOURCEW(WORD id) { return reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(id)); }
inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);

struct WNDCLASSEXW {
    UINT cbSize;  // sizeof(WNDCLASSEXW); a record of another size is refused
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// ---- Pixel formats ------------------------------------------------------------

inline constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
inline constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
inline constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
inline constexpr BYTE PFD_TYPE_RGBA = 0;
inline constexpr BYTE PFD_MAIN_PLANE = 0;

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;  // 40
    WORD nVersion;  // 1
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

// ---- Message boxes ------------------------------------------------------------

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONWARNING = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;

// ---- Registry -----------------------------------------------------------------

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000001u));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000002u));
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr DWORD REG_SZ = 1;
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;

// ---- Text conversion ----------------------------------------------------------

inline constexpr UINT CP_ACP = 0;  // the system code page; Windows-1252 here (its Latin-1 subset)
inline constexpr UINT CP_UTF8 = 65001;

inline constexpr DWORD MAX_PATH = 260;

// ---- Entry routine of a library ----------------------------------------------

// Reasons for which the loader calls a library's DllMain. On Windows the
// loader calls it; here the stand-in's library start-up code (linked into every
// plug-in) calls it when the library is loaded and unloaded.
inline constexpr DWORD DLL_PROCESS_DETACH = 0;
inline constexpr DWORD DLL_PROCESS_ATTACH = 1;

extern "C" {

// Windows and classes.
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
// Sends WM_CREATE (and nothing else) during creation; a visible window starts
// invalid, so it gets a WM_PAINT once the queue is otherwise empty.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
// Sends WM_DESTROY to the window, then destroys its children the same way.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
HWND GetParent(HWND window);
BOOL ShowWindow(HWND window, int command);  // returns whether it was visible before
BOOL IsWindowVisible(HWND window);
BOOL UpdateWindow(HWND window);  // sends WM_PAINT at once when the window is invalid
BOOL SetForegroundWindow(HWND window);
HWND SetFocus(HWND window);  // returns the window that had the focus
HWND GetFocus();
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongW(HWND window, int index, LONG value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);  // in the parent's client coordinates here
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);

// Painting. The region is not looked at: the whole window becomes invalid.
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// Messages.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);

// Timers on the virtual clock. A due timer posts one WM_TIMER (never two
// pending for the same timer, as on Windows). The procedure is not supported
// (it must be null).
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
DWORD GetTickCount();

// Mouse capture and keys. GetAsyncKeyState has the high bit set (the result is
// negative) while the key is down; the host sets which keys are down.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
SHORT GetAsyncKeyState(int key);

// Device contexts, pixel formats and WGL. A window has one device context.
// A context renders into the framebuffer of the window it is current with.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* request);  // once per window
int GetPixelFormat(HDC dc);
HGLRC wglCreateContext(HDC dc);  // needs the window's pixel format set
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
BOOL SwapBuffers(HDC dc);

// Message boxes never wait for a user: each is recorded for the host, printed
// to standard error, and answered as if OK were pressed.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Modules and directories.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int wideLength);
// The C runtime's wide open. Text mode (no "b" in the mode) reads each
// carriage return and line feed pair as one line feed.
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);

// Registry, reading only.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR className, LPDWORD classNameLength, LPDWORD reserved,
                         LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptor,
                         void* lastWriteTime);
LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD dataLength);

}  // extern "C"
