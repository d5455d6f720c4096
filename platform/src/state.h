// The stand-in's system state: one per process, like the window manager's.
// Only the stand-in's own sources include this.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/control.h"

namespace platform::detail {

struct Timer {
    std::uint32_t period = 0;
    std::uint64_t due = 0;
    bool pending = false;  // a WM_TIMER for it is queued and not yet taken
};

struct GlContext;

struct Window {
    std::uintptr_t id = 0;
    std::wstring className;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // in the parent's client coordinates
    std::uintptr_t parent = 0;
    std::vector<std::uintptr_t> children;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    bool invalid = false;
    bool destroying = false;
    int pixelFormat = 0;
    std::map<UINT_PTR, Timer> timers;
    Frame frame;
    std::uint64_t framesSwapped = 0;
    GlContext* drawingContext = nullptr;  // the context last made current with this window

    bool visible() const { return (style & WS_VISIBLE) != 0; }
    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
};

struct RegistryKey {
    std::map<std::wstring, std::unique_ptr<RegistryKey>> subKeys;  // names folded to lower case
    std::vector<std::pair<std::wstring, std::wstring>> values;     // REG_SZ, in the order they were set
};

struct State {
    std::map<std::wstring, WNDCLASSEXW> classes;  // key: folded name, '|', instance
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::uintptr_t nextWindowId = 0x10000;
    std::uint64_t windowsCreated = 0;
    std::deque<MSG> queue;
    std::uintptr_t focus = 0;
    std::uintptr_t capture = 0;
    std::uint64_t clock = 0;
    std::set<int> keysDown;
    std::vector<MessageBoxRecord> messageBoxes;
    std::set<Failure> failures;
    std::map<UINT_PTR, std::unique_ptr<RegistryKey>> registryRoots;
    std::map<std::uintptr_t, RegistryKey*> openKeys;
    std::uintptr_t nextKeyId = 0x1000;
};

State& state();

// The live window behind a handle, or null for a stale or foreign handle.
Window* findWindow(HWND handle);
inline HWND handleOf(const Window& window) { return reinterpret_cast<HWND>(window.id); }

// Whether an injected failure of this kind is armed; disarms it.
bool takeFailure(Failure failure);

// Called by DestroyWindow for the GL side: forgets the window in every context.
void forgetWindowInContexts(std::uintptr_t window);

}  // namespace platform::detail
