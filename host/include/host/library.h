// A loaded plug-in library: opened by path, entered only through its exported
// entry point, with its description file read from beside it.
#pragma once

#include <filesystem>
#include <memory>

#include "host/description.h"
#include "mp/abi/plugin_interfaces.h"
#include "se/abi/records.h"

namespace host {

class Library {
public:
    // Opens `path` and reads `<stem>.json` beside it. Throws HostError when the
    // library cannot be loaded, lacks its entry point(s) or its description.
    // Module objects keep the library loaded (they hold its shared_ptr).
    static std::shared_ptr<Library> open(const std::filesystem::path& path);

    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const LibraryDescription& description() const { return description_; }
    // The description of one plug-in; throws HostError when it is not described.
    const PluginDescription& plugin(std::string_view id) const;

    // Version 3: the factory obtained through MP_GetFactory (never released:
    // it lives as long as the library).
    mp::IMpFactory* factory() const { return factory_; }
    // Asks the factory for a module object of `kind`, made for `host`; returns
    // the factory's status (MP_NOSUPPORT for a library without one). On MP_OK
    // *object holds the object's primary interface with the caller's reference.
    int32_t createModule(std::string_view pluginId, int32_t kind, mp::IMpUnknown* host, void** object) const;

    // Version 2: the two exported entry points (null for version-3 libraries).
    SEGetModulePropertiesFunction getModuleProperties() const { return getModuleProperties_; }
    SEMakeModuleFunction makeModule() const { return makeModule_; }

private:
    Library() = default;

    std::filesystem::path path_;
    LibraryDescription description_;
    void* handle_ = nullptr;
    mp::IMpFactory* factory_ = nullptr;
    SEGetModulePropertiesFunction getModuleProperties_ = nullptr;
    SEMakeModuleFunction makeModule_ = nullptr;
};

}  // namespace host
