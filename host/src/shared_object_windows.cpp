#include "platform/windows.h"
#include "shared_object.h"

namespace host::shared_object {

void* open(const std::filesystem::path& path, std::string& error) {
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) error = "LoadLibraryW failed with error " + std::to_string(GetLastError());
    return module;
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void close(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

}  // namespace host::shared_object
