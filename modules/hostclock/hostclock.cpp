// hostclock: one float output carrying the sample rate the host had set when
// the module opened, re-announced as a one-off change at every block.
#include <new>

#include "se/module_entry.h"

namespace {

class Module final : public SEModule_base {
public:
    using SEModule_base::SEModule_base;

    void open() override {
        setProcess(&Module::subProcess);
        SEModule_base::open();
        m_sampleRate = getSampleRate();
        getPin(0)->sendStatus(SampleClock(), 1);
    }

    bool getPinProperties(int32_t index, SEPinProperties* properties) override {
        if (index != 0) return false;
        properties->name = "SAMPLERATE";
        properties->direction = DR_OUT;
        properties->datatype = DT_FLOAT_VALUE;
        properties->variableAddress = &m_sampleRate;
        properties->flags = 0;
        return true;
    }

    void subProcess(int32_t, int32_t) {
        getPin(0)->sendStatus(SampleClock(), 1);
        setProcess(&Module::subProcess);
    }

private:
    float m_sampleRate = 0.0f;
};

}  // namespace

bool se::moduleProperties(int32_t index, SEModuleProperties* properties) {
    properties->sdkVersion = SE_SDK_VERSION;
    if (index != 0) return false;
    properties->name = "hostclock";
    properties->id = "hostclock";
    properties->about = "https://quenby.example.org/modules";
    properties->flags = 512;
    properties->guiFlags = 256;
    return true;
}

SEModule_base* se::makeProcessingModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Module(callback, hostPointer);
}

SEGUI_base* se::makeGuiModule(seaudioMasterFunction, void*) { return nullptr; }
