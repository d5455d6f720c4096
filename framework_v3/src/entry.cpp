// The library's entry points: the system's entry routine, which keeps the
// instance handle, and MP_GetFactory, the only symbol a version-3 library shows.
#include "mp/factory.h"
#include "mp/module_instance.h"

#if defined(_WIN32)
#define MP_EXPORT __declspec(dllexport)
#else
#define MP_EXPORT __attribute__((visibility("default")))
#endif

namespace {
HINSTANCE instanceHandle = nullptr;
}

HINSTANCE mp::moduleInstance() { return instanceHandle; }

// Called by the system for every reason (load, unload, threads): it keeps the
// handle it is given each time and does nothing else.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    instanceHandle = instance;
    return TRUE;
}

extern "C" MP_EXPORT int32_t MP_STDCALL MP_GetFactory(void** factory) {
    return mp::MpFactory::instance().queryInterface(&mp::MP_IID_UNKNOWN, factory);
}
