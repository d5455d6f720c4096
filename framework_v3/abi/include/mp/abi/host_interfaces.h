// The services a host offers its version-3 module objects.
//
// Every module object receives one host object (an IMpUnknown) at creation and
// asks it with queryInterface for the interfaces below; nothing else is called
// on that object. Every operation returns a status that modules ignore.
#pragma once

#include "mp/abi/unknown.h"

namespace mp {

inline constexpr MpGuid MP_IID_DSP_HOST = makeGuid("4F1B532F-3C46-4927-A498-614867425BE7");
inline constexpr MpGuid MP_IID_GUI_HOST = makeGuid("174F9DDC-1850-40DB-BAF0-E0B41D079645");
inline constexpr MpGuid MP_IID_GUI_WINDOW_HOST = makeGuid("E52FAA41-42C3-40A6-A11A-E69DB335CE50");
inline constexpr MpGuid MP_IID_GUI_HOST_EXTENSION = makeGuid("B1EFF8C9-9ADC-450B-BCD6-D359CFDC8275");

// Asked for by every DSP module in its constructor and kept until the module is
// destroyed, when the module calls release once. Called on the audio thread,
// from inside IMpPlugin operations only.
class IMpDspHost : public IMpUnknown {
public:
    // The host copies `size` bytes from `value` and delivers them to whatever the
    // output pin feeds, timed at `blockPosition` of the current block.
    virtual int32_t MP_STDCALL sendPinValue(int32_t blockPosition, int32_t pinIndex, int32_t size,
                                            const void* value) = 0;
    virtual int32_t MP_STDCALL hostOperation4() = 0;  // the host's own; modules never call it
    // The module renders nothing more in this call; the host calls processBlock
    // again when it has events for the module.
    virtual int32_t MP_STDCALL requestSleep() = 0;
    virtual int32_t MP_STDCALL hostOperation6() = 0;  // the host's own; modules never call it
    virtual int32_t MP_STDCALL hostOperation7() = 0;  // the host's own; modules never call it
    // The host writes the sample rate in Hz.
    virtual int32_t MP_STDCALL querySampleRate(float* sampleRate) = 0;

protected:
    ~IMpDspHost() = default;
};

// Asked for by every GUI module in its constructor; without it the module is
// not created. Called on the user-interface thread. Modules never release it.
class IMpGuiHost : public IMpUnknown {
public:
    // The host copies `size` bytes from `value` and delivers them to the pins
    // connected to the GUI pin. `voice` is always 0.
    virtual int32_t MP_STDCALL sendGuiPinValue(int32_t pinIndex, int32_t size, const void* value,
                                               int32_t voice) = 0;

protected:
    ~IMpGuiHost() = default;
};

// Required of the host by window-owning GUI modules; none of their operations
// is called, so only the object conventions are declared here.
class IMpGuiWindowHost : public IMpUnknown {
protected:
    ~IMpGuiWindowHost() = default;
};

class IMpGuiHostExtension : public IMpUnknown {
protected:
    ~IMpGuiHostExtension() = default;
};

}  // namespace mp
