// freqcvpanel: converts between a frequency and a control voltage, one volt
// per octave with 5 V at 440 Hz, on four GUI pins the host keeps. The
// processing object only declares the pins and sleeps.
#include <cmath>
#include <new>

#include "se/module_entry.h"

namespace {

enum Pin : int32_t { voltsIn = 0, hertzIn = 1, voltsOut = 2, hertzOut = 3 };

struct Declared {
    const char* name;
    int32_t direction;
};
constexpr Declared declaredPins[] = {{"Volts", DR_IN}, {"Hz", DR_IN}, {"Volts", DR_OUT}, {"Hz", DR_OUT}};

class Module final : public SEModule_base {
public:
    using SEModule_base::SEModule_base;

    void open() override {
        setProcess(&Module::sleep);
        SEModule_base::open();
    }

    bool getPinProperties(int32_t index, SEPinProperties* properties) override {
        if (index < 0 || index >= int32_t(std::size(declaredPins))) return false;
        properties->name = declaredPins[index].name;
        properties->direction = declaredPins[index].direction;
        properties->datatype = DT_FLOAT_VALUE;
        properties->variableAddress = nullptr;
        properties->flags = IO_UI_COMMUNICATION | IO_HOST_FLAG_4;
        return true;
    }

    void sleep(int32_t, int32_t) { sleepRequest(); }
};

class Gui final : public GuiModule {
public:
    using GuiModule::GuiModule;

    void initialise(bool restored) override {
        m_busy = 0;
        GuiModule::initialise(restored);
    }

    // Each write may bring a nested call from the host; the busy flag turns it away.
    void onPinChanged(SEGUIPin pin) override {
        if (m_busy != 0) return;
        const int32_t i = pin.getIndex();
        if (i == hertzIn || i == hertzOut) {
            m_busy = 1;
            const float f = pin.getValueFloat();
            const auto v = static_cast<float>(5.0 + (std::log(double(f)) - std::log(440.0)) / std::log(2.0));
            getPin(voltsIn).setValueFloat(v);
            getPin(voltsOut).setValueFloat(v);
            getPin(i == hertzIn ? hertzOut : hertzIn).setValueFloat(f);
        } else if (i == voltsIn || i == voltsOut) {
            m_busy = 1;
            const float v = pin.getValueFloat();
            const auto f = static_cast<float>(440.0 * std::pow(2.0, double(v) - 5.0));
            getPin(hertzIn).setValueFloat(f);
            getPin(hertzOut).setValueFloat(f);
            getPin(i == voltsIn ? voltsOut : voltsIn).setValueFloat(v);
        }
        m_busy = 0;
    }

private:
    int32_t m_busy = 0;
};

}  // namespace

bool se::moduleProperties(int32_t index, SEModuleProperties* properties) {
    properties->sdkVersion = SE_SDK_VERSION;
    if (index != 0) return false;
    properties->name = "freqcvpanel";
    properties->id = "freqcvpanel";
    properties->about = "freqcvpanel";
    properties->flags = 512;
    properties->guiFlags = 256;
    return true;
}

SEModule_base* se::makeProcessingModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Module(callback, hostPointer);
}

SEGUI_base* se::makeGuiModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Gui(callback, hostPointer);
}
