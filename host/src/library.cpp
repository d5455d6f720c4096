#include "host/library.h"

#include "host/error.h"
#include "host/values.h"
#include "shared_object.h"

namespace host {

std::shared_ptr<Library> Library::open(const std::filesystem::path& path) {
    std::shared_ptr<Library> library(new Library);
    library->path_ = path;
    std::filesystem::path descriptionFile = path;
    descriptionFile.replace_extension(".json");
    library->description_ = LibraryDescription::load(descriptionFile);

    std::string error;
    library->handle_ = shared_object::open(path, error);
    if (library->handle_ == nullptr) throw HostError(path.string() + ": cannot load: " + error);

    if (library->description_.generation == 3) {
        auto entry = reinterpret_cast<mp::MpGetFactoryFunction>(
            shared_object::symbol(library->handle_, mp::MP_GET_FACTORY_NAME));
        if (entry == nullptr) throw HostError(path.string() + ": exports no MP_GetFactory");
        void* factory = nullptr;
        const int32_t status = entry(&factory);
        if (status != mp::MP_OK || factory == nullptr)
            throw HostError(path.string() + ": MP_GetFactory returned " + std::to_string(status));
        // The entry point hands out the factory as IMpUnknown: ask for IMpFactory.
        auto* unknown = static_cast<mp::IMpUnknown*>(factory);
        void* asFactory = nullptr;
        if (unknown->queryInterface(&mp::MP_IID_FACTORY, &asFactory) != mp::MP_OK || asFactory == nullptr)
            throw HostError(path.string() + ": the factory does not offer IMpFactory");
        library->factory_ = static_cast<mp::IMpFactory*>(asFactory);
    }
    if (library->description_.generation == 2) {
        library->getModuleProperties_ = reinterpret_cast<SEGetModulePropertiesFunction>(
            shared_object::symbol(library->handle_, SE_GET_MODULE_PROPERTIES_NAME));
        library->makeModule_ = reinterpret_cast<SEMakeModuleFunction>(
            shared_object::symbol(library->handle_, SE_MAKE_MODULE_NAME));
        if (library->getModuleProperties_ == nullptr || library->makeModule_ == nullptr)
            throw HostError(path.string() + ": exports no getModuleProperties and makeModule");
    }
    return library;
}

Library::~Library() {
    if (handle_ != nullptr) shared_object::close(handle_);
}

int32_t Library::createModule(std::string_view pluginId, int32_t kind, mp::IMpUnknown* host, void** object) const {
    *object = nullptr;
    if (factory_ == nullptr) return mp::MP_NOSUPPORT;
    return factory_->createModule(toUtf16(pluginId).c_str(), kind, host, object);
}

const PluginDescription& Library::plugin(std::string_view id) const {
    const PluginDescription* plugin = description_.findPlugin(id);
    if (plugin == nullptr)
        throw HostError(path_.string() + ": no plug-in \"" + std::string(id) + "\" in its description");
    return *plugin;
}

}  // namespace host
