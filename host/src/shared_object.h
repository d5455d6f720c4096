// The system's loader of shared libraries, behind one small interface: the
// only part of the host that differs between Windows and other systems.
#pragma once

#include <filesystem>
#include <string>

namespace host::shared_object {

// Loads the library; null on failure, with the system's reason in `error`.
void* open(const std::filesystem::path& path, std::string& error);
// The address of an exported name, or null.
void* symbol(void* handle, const char* name);
void close(void* handle);

}  // namespace host::shared_object
