// The GUI half of a version-3 plug-in: MpGuiBase implements IMpUserInterface
// and routes the host's pin values and notices to the module's GUI pins.
//
// Everything here runs on the host's user-interface thread. The host delivers
// a value as receivePinValue (stores it, no handler runs) followed by
// receivePinNotice (runs the pin's handler); the module answers by writing
// pins with setValue, which reaches the host through IMpGuiHost.
#pragma once

#include <map>

#include "mp/abi/host_interfaces.h"
#include "mp/abi/plugin_interfaces.h"
#include "mp/gui_pins.h"

namespace mp {

class MpGuiBase : public IMpUserInterface {
public:
    using PrimaryInterface = IMpUserInterface;

    // Asks `host` for IMpGuiHost; without it (or without a host object) the
    // constructor throws "host Interfaces not supported" and the factory
    // answers MP_FAIL. The host interface is never released by the module.
    explicit MpGuiBase(IMpUnknown* host);
    MpGuiBase(const MpGuiBase&) = delete;
    MpGuiBase& operator=(const MpGuiBase&) = delete;

    int32_t MP_STDCALL queryInterface(const MpGuid* iid, void** object) override;
    int32_t MP_STDCALL addRef() override;
    int32_t MP_STDCALL release() override;
    int32_t MP_STDCALL initialiseGui() override { return MP_OK; }
    int32_t MP_STDCALL receivePinValue(int32_t pinIndex, int32_t voice, int32_t size, const void* bytes) override;
    int32_t MP_STDCALL receivePinNotice(int32_t pinIndex, int32_t voice) override;
    int32_t MP_STDCALL receiveAudioMessage(int32_t, int32_t, const void*) override { return MP_OK; }
    int32_t MP_STDCALL buildContextMenu() override { return MP_OK; }
    int32_t MP_STDCALL contextMenuChosen(int32_t) override { return MP_OK; }

    virtual ~MpGuiBase();

    IMpGuiHost* host() const { return host_; }

private:
    friend class MpGuiPinSimpleBase;
    MpGuiPinBase* findPin(int32_t pinIndex) const;

    IMpGuiHost* host_ = nullptr;
    int32_t referenceCount_ = 0;
    std::map<int32_t, MpGuiPinBase*> pins_;
};

}  // namespace mp
