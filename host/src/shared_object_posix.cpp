#include <dlfcn.h>

#include "shared_object.h"

namespace host::shared_object {

void* open(const std::filesystem::path& path, std::string& error) {
    // RTLD_LOCAL: each library keeps its own symbols, as separate DLLs do.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) error = dlerror();
    return handle;
}

void* symbol(void* handle, const char* name) { return dlsym(handle, name); }

void close(void* handle) { dlclose(handle); }

}  // namespace host::shared_object
