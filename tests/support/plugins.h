// Where the tests find the built plug-in libraries (set by the build, never
// taken from the current directory).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/library.h"

namespace testing_support {

inline std::filesystem::path deliverable(const std::string& name) {
    return std::filesystem::path(SUITE_PLUGIN_DIR) / (name + SUITE_PLUGIN_SUFFIX);
}

inline std::filesystem::path testPlugin(const std::string& name) {
    return std::filesystem::path(SUITE_TEST_PLUGIN_DIR) / (name + SUITE_PLUGIN_SUFFIX);
}

// Each call opens the library (the system counts the openings); it stays
// loaded while any Library or object made from it exists.
inline std::shared_ptr<host::Library> openDeliverable(const std::string& name) {
    return host::Library::open(deliverable(name));
}

inline std::shared_ptr<host::Library> openTestPlugin(const std::string& name) {
    return host::Library::open(testPlugin(name));
}

}  // namespace testing_support
