// The library's factory and the registration of plug-in classes.
//
// Each plug-in class registers itself while the library loads, from a static
// initialiser in its own source file:
//
//     namespace { const int32_t registered = mp::registerPlugin<cvpitch>(u"cvpitch", mp::MP_KIND_DSP); }
//
// The first registration (or the first MP_GetFactory call) makes the factory,
// which lives until the library is unloaded.
#pragma once

#include <map>
#include <string>

#include "mp/abi/plugin_interfaces.h"

namespace mp {

// Makes a new module object for a host object and returns its primary
// interface (IMpPlugin for DSP, IMpUserInterface for GUI) with count 0.
using MpCreator = IMpUnknown* (*)(IMpUnknown* host);

struct MpRegistration {
    std::u16string pluginId;
    MpCreator dspCreator = nullptr;
    MpCreator guiCreator = nullptr;
};

class MpFactory final : public IMpFactory {
public:
    // The library's one factory, made on first use.
    static MpFactory& instance();

    int32_t MP_STDCALL queryInterface(const MpGuid* iid, void** object) override;
    int32_t MP_STDCALL addRef() override { return 16; }  // the host never destroys the factory
    int32_t MP_STDCALL release() override { return 1; }
    int32_t MP_STDCALL createModule(const char16_t* pluginId, int32_t kind, IMpUnknown* host,
                                    void** object) override;
    int32_t MP_STDCALL describeSdk(int32_t* version, int32_t bufferSize, char16_t* buffer) override;

    // Stores `creator` in the entry for `pluginId` (made if absent): the DSP slot
    // for MP_KIND_DSP, the GUI slot for MP_KIND_GUI. Returns 0.
    int32_t registerCreator(const char16_t* pluginId, int32_t kind, MpCreator creator);

    static constexpr int32_t sdkVersion = 30400;

private:
    MpFactory() = default;
    std::map<std::u16string, MpRegistration> registrations_;
};

int32_t registerPlugin(const char16_t* pluginId, int32_t kind, MpCreator creator);

// Registers plug-in class `Module` under `pluginId` for `kind`. The class derives
// from MpBase (kind MP_KIND_DSP) or from MpGuiBase (kind MP_KIND_GUI) and is made
// with `new Module(host)`.
template <class Module>
int32_t registerPlugin(const char16_t* pluginId, MpPluginKind kind) {
    return registerPlugin(pluginId, kind, [](IMpUnknown* host) -> IMpUnknown* {
        return static_cast<typename Module::PrimaryInterface*>(new Module(host));
    });
}

}  // namespace mp
