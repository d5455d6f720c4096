// Library start-up code, linked into every plug-in library: the loader's part
// of calling a library's entry routine. On Windows the system loader calls
// DllMain with the library's instance handle when the library is loaded and
// unloaded; here these two functions do, and the handle is the address the
// library is loaded at, as it is on Windows.
#include <dlfcn.h>

#include "platform/windows.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

HINSTANCE thisLibrary() {
    Dl_info info{};
    dladdr(reinterpret_cast<const void*>(&thisLibrary), &info);
    return static_cast<HINSTANCE>(info.dli_fbase);
}

[[gnu::constructor]] void attach() { DllMain(thisLibrary(), DLL_PROCESS_ATTACH, nullptr); }
[[gnu::destructor]] void detach() { DllMain(thisLibrary(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
