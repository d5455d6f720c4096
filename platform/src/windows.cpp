// Window classes, windows, painting, the message queue, timers, mouse capture,
// key state and message boxes.
#include <algorithm>
#include <cwctype>
#include <iostream>

#include "state.h"
#include "text.h"

namespace platform::detail {

State& state() {
    static State instance;
    return instance;
}

Window* findWindow(HWND handle) {
    auto& windows = state().windows;
    auto found = windows.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == windows.end() ? nullptr : found->second.get();
}

bool takeFailure(Failure failure) { return state().failures.erase(failure) != 0; }

namespace {

std::wstring classKey(LPCWSTR name, HINSTANCE instance) {
    std::wstring key;
    for (const WCHAR* c = name; *c != 0; ++c) key += static_cast<WCHAR>(std::towlower(static_cast<wint_t>(*c)));
    key += L'|';
    key += std::to_wstring(reinterpret_cast<std::uintptr_t>(instance));
    return key;
}

// Windows finds a class by name among those of the given instance, then among
// those registered without one; so does the stand-in.
const WNDCLASSEXW* findClass(LPCWSTR name, HINSTANCE instance) {
    auto& classes = state().classes;
    if (auto found = classes.find(classKey(name, instance)); found != classes.end()) return &found->second;
    if (auto found = classes.find(classKey(name, nullptr)); found != classes.end()) return &found->second;
    return nullptr;
}

POINT originOf(const Window& window) {
    POINT origin{window.rect.left, window.rect.top};
    for (const Window* parent = findWindow(reinterpret_cast<HWND>(window.parent)); parent != nullptr;
         parent = findWindow(reinterpret_cast<HWND>(parent->parent))) {
        origin.x += parent->rect.left;
        origin.y += parent->rect.top;
    }
    return origin;
}

const Window* windowUnder(const Window& window, POINT point) {
    for (auto child = window.children.rbegin(); child != window.children.rend(); ++child) {
        const Window* candidate = findWindow(reinterpret_cast<HWND>(*child));
        if (candidate == nullptr || !candidate->visible()) continue;
        const RECT& r = candidate->rect;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return windowUnder(*candidate, POINT{point.x - r.left, point.y - r.top});
    }
    return &window;
}

bool matches(const MSG& message, HWND window, UINT first, UINT last) {
    if (window != nullptr && message.hwnd != window) return false;
    if (first == 0 && last == 0) return true;
    return message.message >= first && message.message <= last;
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, static_cast<DWORD>(state().clock), POINT{0, 0}};
}

void destroyTree(std::uintptr_t id) {
    Window* window = findWindow(reinterpret_cast<HWND>(id));
    if (window == nullptr || window->destroying) return;
    window->destroying = true;
    HWND handle = handleOf(*window);
    window->procedure(handle, WM_DESTROY, 0, 0);
    // The procedure may have destroyed children itself; look everything up again.
    window = findWindow(handle);
    if (window == nullptr) return;
    const std::vector<std::uintptr_t> children = window->children;
    for (std::uintptr_t child : children) destroyTree(child);
}

void freeTree(std::uintptr_t id) {
    auto& s = state();
    Window* window = findWindow(reinterpret_cast<HWND>(id));
    if (window == nullptr) return;
    const std::vector<std::uintptr_t> children = window->children;
    for (std::uintptr_t child : children) freeTree(child);
    if (Window* parent = findWindow(reinterpret_cast<HWND>(window->parent)))
        std::erase(parent->children, id);
    if (s.focus == id) s.focus = 0;
    if (s.capture == id) s.capture = 0;
    std::erase_if(s.queue, [&](const MSG& m) { return reinterpret_cast<std::uintptr_t>(m.hwnd) == id; });
    forgetWindowInContexts(id);
    s.windows.erase(id);
}

}  // namespace
}  // namespace platform::detail

using namespace platform::detail;

extern "C" {

ATOM RegisterClassExW(const WNDCLASSEXW* record) {
    if (record == nullptr || record->cbSize != sizeof(WNDCLASSEXW) || record->lpszClassName == nullptr ||
        record->lpfnWndProc == nullptr)
        return 0;
    const std::wstring key = classKey(record->lpszClassName, record->hInstance);
    auto& classes = state().classes;
    if (classes.contains(key)) return 0;  // Windows: ERROR_CLASS_ALREADY_EXISTS
    classes[key] = *record;
    static ATOM nextAtom = 0xC000;
    return nextAtom++;
}

BOOL UnregisterClassW(LPCWSTR name, HINSTANCE instance) {
    if (name == nullptr) return FALSE;
    const std::wstring key = classKey(name, instance);
    auto& s = state();
    auto found = s.classes.find(key);
    if (found == s.classes.end()) return FALSE;
    // Windows refuses while windows of the class exist.
    for (const auto& [id, window] : s.windows)
        if (window->instance == instance && classKey(window->className.c_str(), window->instance) == key)
            return FALSE;
    s.classes.erase(found);
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU, HINSTANCE instance, LPVOID) {
    auto& s = state();
    if (className == nullptr || takeFailure(platform::Failure::CreateWindow)) return nullptr;
    const WNDCLASSEXW* windowClass = findClass(className, instance);
    if (windowClass == nullptr) return nullptr;
    Window* parentWindow = nullptr;
    if (parent != nullptr) {
        parentWindow = findWindow(parent);
        if (parentWindow == nullptr) return nullptr;
    } else if ((style & WS_CHILD) != 0) {
        return nullptr;  // a child window needs a parent
    }

    auto window = std::make_unique<Window>();
    window->id = s.nextWindowId++;
    window->className = className;
    window->procedure = windowClass->lpfnWndProc;
    window->style = style;
    window->exStyle = exStyle;
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window->parent = parentWindow != nullptr ? parentWindow->id : 0;
    window->instance = instance;
    window->invalid = true;
    const std::uintptr_t id = window->id;
    HWND handle = handleOf(*window);
    s.windows.emplace(id, std::move(window));
    if (parentWindow != nullptr) parentWindow->children.push_back(id);
    ++s.windowsCreated;

    if (Window* created = findWindow(handle)) created->procedure(handle, WM_CREATE, 0, 0);
    return findWindow(handle) != nullptr ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->destroying) return TRUE;
    const std::uintptr_t id = window->id;
    destroyTree(id);
    freeTree(id);
    return TRUE;
}

BOOL IsWindow(HWND handle) { return findWindow(handle) != nullptr ? TRUE : FALSE; }

HWND GetParent(HWND handle) {
    Window* window = findWindow(handle);
    return window != nullptr ? reinterpret_cast<HWND>(window->parent) : nullptr;
}

BOOL ShowWindow(HWND handle, int command) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasVisible = window->visible() ? TRUE : FALSE;
    if (command == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
    } else {
        if (!window->visible()) window->invalid = true;
        window->style |= WS_VISIBLE;
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
    Window* window = findWindow(handle);
    return window != nullptr && window->visible() ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->invalid && window->visible()) window->procedure(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL SetForegroundWindow(HWND handle) { return findWindow(handle) != nullptr ? TRUE : FALSE; }

HWND SetFocus(HWND handle) {
    auto& s = state();
    const HWND previous = reinterpret_cast<HWND>(s.focus);
    if (handle == nullptr) {
        s.focus = 0;
        return previous;
    }
    if (findWindow(handle) == nullptr) return nullptr;
    s.focus = reinterpret_cast<std::uintptr_t>(handle);
    return previous;
}

HWND GetFocus() { return reinterpret_cast<HWND>(state().focus); }

LONG_PTR GetWindowLongPtrW(HWND handle, int index) {
    Window* window = findWindow(handle);
    if (window == nullptr) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA: return window->userData;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
    Window* window = findWindow(handle);
    if (window == nullptr) return 0;
    LONG_PTR previous = 0;
    switch (index) {
    case GWL_STYLE:
        previous = static_cast<LONG_PTR>(window->style);
        window->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        previous = static_cast<LONG_PTR>(window->exStyle);
        window->exStyle = static_cast<DWORD>(value);
        break;
    case GWLP_USERDATA:
        previous = window->userData;
        window->userData = value;
        break;
    default: return 0;
    }
    return previous;
}

// The 32-bit forms keep 32 bits, as on 64-bit Windows; pointers need the Ptr forms.
LONG GetWindowLongW(HWND handle, int index) { return static_cast<LONG>(GetWindowLongPtrW(handle, index)); }
LONG SetWindowLongW(HWND handle, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrW(handle, index, value));
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* window = findWindow(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, window->width(), window->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    Window* window = findWindow(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = window->rect;
    return TRUE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (repaint) window->invalid = true;
    window->procedure(handle, WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
    return TRUE;
}

BOOL SetWindowPos(HWND handle, HWND, int x, int y, int width, int height, UINT flags) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    if ((flags & SWP_NOMOVE) != 0) {
        x = window->rect.left;
        y = window->rect.top;
    }
    if ((flags & SWP_NOSIZE) != 0) {
        width = window->width();
        height = window->height();
    }
    return MoveWindow(handle, x, y, width, height, TRUE);
}

LRESULT DefWindowProcW(HWND handle, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CLOSE: DestroyWindow(handle); return 0;
    case WM_PAINT: ValidateRect(handle, nullptr); return 0;
    default: return 0;
    }
}

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) {
    // Only the system cursors exist; their handles are their resource ids.
    const auto id = reinterpret_cast<UINT_PTR>(name);
    return id != 0 && id < 0x10000 ? reinterpret_cast<HCURSOR>(id) : nullptr;
}

BOOL InvalidateRgn(HWND handle, HRGN, BOOL) { return InvalidateRect(handle, nullptr, TRUE); }

BOOL InvalidateRect(HWND handle, const RECT*, BOOL) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    window->invalid = true;
    return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT*) {
    Window* window = findWindow(handle);
    if (window == nullptr) return FALSE;
    window->invalid = false;
    return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = findWindow(handle);
    if (window == nullptr || paint == nullptr) return nullptr;
    *paint = PAINTSTRUCT{};
    paint->hdc = GetDC(handle);
    paint->fErase = TRUE;
    paint->rcPaint = RECT{0, 0, window->width(), window->height()};
    window->invalid = false;
    return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT*) { return findWindow(handle) != nullptr ? TRUE : FALSE; }

LRESULT SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(handle);
    return window != nullptr ? window->procedure(handle, message, wParam, lParam) : 0;
}

BOOL PostMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle != nullptr && findWindow(handle) == nullptr) return FALSE;
    state().queue.push_back(makeMessage(handle, message, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    state().queue.push_back(makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0));
}

BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
    auto& s = state();
    if (message == nullptr) return FALSE;
    for (auto queued = s.queue.begin(); queued != s.queue.end(); ++queued) {
        if (!matches(*queued, window, first, last)) continue;
        *message = *queued;
        if ((remove & PM_REMOVE) != 0) {
            if (queued->message == WM_TIMER)
                if (Window* target = findWindow(queued->hwnd))
                    if (auto timer = target->timers.find(queued->wParam); timer != target->timers.end())
                        timer->second.pending = false;
            s.queue.erase(queued);
        }
        return TRUE;
    }
    // Paints come last, as on Windows, and are not queued: a window stays
    // invalid until it is painted (or validated).
    for (const auto& [id, candidate] : s.windows) {
        if (!candidate->invalid || !candidate->visible()) continue;
        const MSG paint = makeMessage(handleOf(*candidate), WM_PAINT, 0, 0);
        if (!matches(paint, window, first, last)) continue;
        *message = paint;
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last) {
    if (!PeekMessageW(message, window, first, last, PM_REMOVE)) return -1;  // Windows would wait
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }  // no keyboard messages exist here

LRESULT DispatchMessageW(const MSG* message) {
    if (message == nullptr) return 0;
    return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}

UINT_PTR SetTimer(HWND handle, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
    Window* window = findWindow(handle);
    if (window == nullptr || procedure != nullptr) return 0;
    // Windows raises periods below 10 ms to 10 ms.
    const std::uint32_t period = std::max<UINT>(milliseconds, 10);
    Timer& timer = window->timers[id];
    timer.period = period;
    timer.due = state().clock + period;
    return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND handle, UINT_PTR id) {
    Window* window = findWindow(handle);
    if (window == nullptr || window->timers.erase(id) == 0) return FALSE;
    std::erase_if(state().queue, [&](const MSG& m) { return m.hwnd == handle && m.message == WM_TIMER && m.wParam == id; });
    return TRUE;
}

DWORD GetTickCount() { return static_cast<DWORD>(state().clock); }

HWND SetCapture(HWND handle) {
    auto& s = state();
    const HWND previous = reinterpret_cast<HWND>(s.capture);
    if (findWindow(handle) != nullptr) s.capture = reinterpret_cast<std::uintptr_t>(handle);
    return previous;
}

BOOL ReleaseCapture() {
    state().capture = 0;
    return TRUE;
}

HWND GetCapture() { return reinterpret_cast<HWND>(state().capture); }

SHORT GetAsyncKeyState(int key) {
    const auto& down = state().keysDown;
    auto isDown = [&](std::initializer_list<int> keys) {
        return std::any_of(keys.begin(), keys.end(), [&](int k) { return down.contains(k); });
    };
    bool pressed = false;
    switch (key) {
    case VK_SHIFT: pressed = isDown({VK_LSHIFT, VK_RSHIFT}); break;
    case VK_CONTROL: pressed = isDown({VK_LCONTROL, VK_RCONTROL}); break;
    case VK_MENU: pressed = isDown({VK_LMENU, VK_RMENU}); break;
    default: pressed = down.contains(key); break;
    }
    return pressed ? static_cast<SHORT>(0x8000) : 0;
}

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    platform::MessageBoxRecord record{text != nullptr ? text : L"", caption != nullptr ? caption : L"Error", type};
    std::cerr << "message box \"" << utf8Of(record.caption) << "\": " << utf8Of(record.text) << '\n';
    state().messageBoxes.push_back(std::move(record));
    return IDOK;
}

}  // extern "C"

namespace platform {

void advanceClock(std::uint32_t milliseconds) {
    auto& s = state();
    s.clock += milliseconds;
    for (auto& [id, window] : s.windows) {
        for (auto& [timerId, timer] : window->timers) {
            if (timer.due > s.clock) continue;
            while (timer.due <= s.clock) timer.due += timer.period;
            if (!timer.pending) {
                timer.pending = true;
                s.queue.push_back(makeMessage(handleOf(*window), WM_TIMER, timerId, 0));
            }
        }
    }
}

std::uint32_t clockMilliseconds() { return static_cast<std::uint32_t>(state().clock); }

void setKeyDown(int key, bool down) {
    // The generic keys stand for their left-hand key.
    switch (key) {
    case VK_SHIFT: key = VK_LSHIFT; break;
    case VK_CONTROL: key = VK_LCONTROL; break;
    case VK_MENU: key = VK_LMENU; break;
    default: break;
    }
    if (down) state().keysDown.insert(key);
    else state().keysDown.erase(key);
}

void releaseAllKeys() { state().keysDown.clear(); }

int pumpMessages(int limit) {
    int dispatched = 0;
    MSG message;
    while (dispatched < limit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        DispatchMessageW(&message);
        ++dispatched;
    }
    return dispatched;
}

HWND postMouseMessage(HWND top, UINT message, POINT point, WPARAM keyFlags) {
    const Window* topWindow = findWindow(top);
    if (topWindow == nullptr) return nullptr;
    const Window* target = findWindow(GetCapture());
    if (target == nullptr) target = windowUnder(*topWindow, point);
    const POINT topOrigin = originOf(*topWindow);
    const POINT targetOrigin = originOf(*target);
    const LONG x = point.x + topOrigin.x - targetOrigin.x;
    const LONG y = point.y + topOrigin.y - targetOrigin.y;
    const HWND handle = handleOf(*target);
    PostMessageW(handle, message, keyFlags, MAKELPARAM(static_cast<WORD>(x & 0xFFFF), static_cast<WORD>(y & 0xFFFF)));
    return handle;
}

std::uint64_t windowsCreated() { return state().windowsCreated; }
int liveWindowCount() { return static_cast<int>(state().windows.size()); }

bool isClassRegistered(const std::wstring& className) {
    const std::wstring prefix = classKey(className.c_str(), nullptr).substr(0, className.size() + 1);
    for (const auto& [key, windowClass] : state().classes)
        if (key.starts_with(prefix)) return true;
    return false;
}

Frame::Pixel Frame::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Pixel{0, 0, 0, 0};
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
}

std::optional<Frame> lastFrame(HWND handle) {
    const Window* window = findWindow(handle);
    if (window == nullptr || window->framesSwapped == 0) return std::nullopt;
    return window->frame;
}

std::uint64_t framesSwapped(HWND handle) {
    const Window* window = findWindow(handle);
    return window != nullptr ? window->framesSwapped : 0;
}

const std::vector<MessageBoxRecord>& messageBoxes() { return state().messageBoxes; }
void clearMessageBoxes() { state().messageBoxes.clear(); }

void failNext(Failure failure) { state().failures.insert(failure); }
void clearFailures() { state().failures.clear(); }

}  // namespace platform
