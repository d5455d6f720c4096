#include "mp/factory.h"

#include <cstdio>

#include "mp/unknown_support.h"

namespace mp {

MpFactory& MpFactory::instance() {
    static MpFactory factory;  // destroyed with its entries when the library unloads
    return factory;
}

int32_t MpFactory::queryInterface(const MpGuid* iid, void** object) {
    return answerQueryInterface(iid, object, static_cast<IMpFactory*>(this), {&MP_IID_UNKNOWN, &MP_IID_FACTORY});
}

int32_t MpFactory::createModule(const char16_t* pluginId, int32_t kind, IMpUnknown* host, void** object) {
    if (object == nullptr) return MP_NOSUPPORT;
    *object = nullptr;
    if (pluginId == nullptr) return MP_NOSUPPORT;

    const auto entry = registrations_.find(std::u16string(pluginId));
    if (entry == registrations_.end()) return MP_NOSUPPORT;

    MpCreator creator = nullptr;
    if (kind == MP_KIND_DSP)
        creator = entry->second.dspCreator;
    else if (kind == MP_KIND_GUI)
        creator = entry->second.guiCreator;
    if (creator == nullptr) return MP_NOSUPPORT;

    IMpUnknown* module = nullptr;
    try {
        module = creator(host);
    } catch (...) {
        return MP_FAIL;  // the constructor's unwinding freed what it had made
    }
    *object = module;
    module->addRef();
    return MP_OK;
}

int32_t MpFactory::describeSdk(int32_t* version, int32_t bufferSize, char16_t* buffer) {
    if (version != nullptr) *version = sdkVersion;
    if (buffer == nullptr || bufferSize <= 0) return MP_OK;

    char text[32];
    const int length = std::snprintf(text, sizeof text, "MS Compiler V%d", 1800);
    const int copied = length < bufferSize ? length : bufferSize - 1;
    for (int i = 0; i < copied; ++i) buffer[i] = char16_t(text[i]);
    buffer[copied] = 0;
    return MP_OK;
}

int32_t MpFactory::registerCreator(const char16_t* pluginId, int32_t kind, MpCreator creator) {
    const std::u16string id(pluginId);
    auto [entry, added] = registrations_.try_emplace(id);
    if (added) entry->second.pluginId = id;
    if (kind == MP_KIND_DSP)
        entry->second.dspCreator = creator;
    else if (kind == MP_KIND_GUI)
        entry->second.guiCreator = creator;
    return 0;
}

int32_t registerPlugin(const char16_t* pluginId, int32_t kind, MpCreator creator) {
    return MpFactory::instance().registerCreator(pluginId, kind, creator);
}

}  // namespace mp
