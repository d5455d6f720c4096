// The library's exported entry point, the only symbol a version-3 library shows.
#include "mp/factory.h"

#if defined(_WIN32)
#define MP_EXPORT __declspec(dllexport)
#else
#define MP_EXPORT __attribute__((visibility("default")))
#endif

extern "C" MP_EXPORT int32_t MP_STDCALL MP_GetFactory(void** factory) {
    return mp::MpFactory::instance().queryInterface(&mp::MP_IID_UNKNOWN, factory);
}
