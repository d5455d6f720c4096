// freqcv: converts between a frequency and a control voltage on five GUI pins
// it adds itself, one volt per octave (5 V = 440 Hz) or one volt per
// kilohertz. The processing object has no pins and sleeps.
#include <cmath>
#include <cstdio>
#include <new>

#include "se/module_entry.h"

namespace {

enum Pin : int32_t { hertzIn = 0, hertzOut = 1, voltsIn = 2, voltsOut = 3, freqScale = 4 };
enum Scale : int32_t { voltPerOctave = 0, voltPerKilohertz = 1 };

// Rounded to single precision once, when the library loads.
const float lnOf440 = static_cast<float>(std::log(440.0L));
const float oneOverLnOf2 = static_cast<float>(1.0L / std::log(2.0L));

class Module final : public SEModule_base {
public:
    using SEModule_base::SEModule_base;

    void open() override {
        SEModule_base::open();
        setProcess(&Module::sleep);
    }

    void sleep(int32_t, int32_t) { sleepRequest(); }
};

class Gui final : public SEGUI_base {
public:
    using SEGUI_base::SEGUI_base;

    void initialise(bool restored) override {
        if (!restored) {
            addPin(DT_FLOAT_VALUE, DR_IN, "Hz");
            addPin(DT_FLOAT_VALUE, DR_OUT, "Hz");
            addPin(DT_FLOAT_VALUE, DR_IN, "Volts");
            addPin(DT_FLOAT_VALUE, DR_OUT, "Volts");
            addPin(DT_ENUM_LIST, DR_IN, "Freq Scale");
            getPin(hertzIn).setValueFloat(0.0f);
        }
        m_frequency = getPin(hertzIn).getValueFloat();
        if (m_frequency == 0.0f) m_frequency = getPin(hertzOut).getValueFloat();
        setChoiceList(freqScale, "1 Volt/Oct,1 Volt/kHz");
        m_scale = getPin(freqScale).getValueInt();
    }

    void onPinChanged(SEGUIPin pin) override {
        const int32_t i = pin.getIndex();
        if (i == hertzIn || i == hertzOut) {
            const float x = pin.getValueFloat();
            m_lastFrequencyRead = x;
            if (x == m_frequency) return;
            m_frequency = x;
            frequencyToVoltage();
            copyToTwin(i == hertzIn ? hertzOut : hertzIn, x);
        } else if (i == voltsIn || i == voltsOut) {
            const float x = pin.getValueFloat();
            m_lastVoltageRead = x;
            if (x == m_voltage) return;
            m_voltage = x;
            voltageToFrequency();
            copyToTwin(i == voltsIn ? voltsOut : voltsIn, x);
        } else if (i == freqScale) {
            m_scale = pin.getValueInt();
            voltageToFrequency();
        }
    }

private:
    // Runs `work` unless a guarded routine is already running further up.
    template <class Work>
    void guarded(Work work) {
        if (m_nesting > 0) return;
        ++m_nesting;
        work();
        --m_nesting;
    }

    void frequencyToVoltage() {
        guarded([this] {
            if (m_scale == voltPerOctave) {
                m_voltage = m_frequency > 0.0f
                                ? static_cast<float>((std::log(static_cast<long double>(m_frequency)) - lnOf440) *
                                                         oneOverLnOf2 +
                                                     5.0L)
                                : -10.0f;
            } else if (m_scale == voltPerKilohertz) {
                m_voltage = m_frequency * 0.001f;
            }
            getPin(voltsIn).setValueFloat(m_voltage);
            getPin(voltsOut).setValueFloat(m_voltage);
        });
    }

    void voltageToFrequency() {
        guarded([this] {
            if (m_scale == voltPerOctave) {
                m_frequency =
                    static_cast<float>(std::pow(2.0L, static_cast<long double>(m_voltage) - 5.0L) * 440.0L);
            } else if (m_scale == voltPerKilohertz) {
                m_frequency = m_voltage * 1000.0f;
            }
            getPin(hertzIn).setValueFloat(m_frequency);
            getPin(hertzOut).setValueFloat(m_frequency);
        });
    }

    void copyToTwin(int32_t twin, float value) {
        guarded([&] { getPin(twin).setValueFloat(value); });
    }

    int32_t m_scale = 0;
    float m_frequency = 0.0f;
    float m_lastFrequencyRead = 0.0f;
    float m_voltage = 0.0f;
    float m_lastVoltageRead = 0.0f;
    int32_t m_nesting = 0;
};

}  // namespace

bool se::moduleProperties(int32_t index, SEModuleProperties* properties) {
    if (index != 0) return false;
    static char id[64];
    std::snprintf(id, sizeof id, "quenby %s %s+", "freqcv", "1.0");
    properties->name = "freqcv";
    properties->id = id;
    properties->about =
        "freqcv module v1.0.1\n"
        "Frequency and control voltage, either way, on two scales.\n"
        "Quenby modules.";
    properties->guiFlags = 256;
    properties->sdkVersion = SE_SDK_VERSION;
    return true;
}

SEModule_base* se::makeProcessingModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Module(callback, hostPointer);
}

SEGUI_base* se::makeGuiModule(seaudioMasterFunction callback, void* hostPointer) {
    return new (std::nothrow) Gui(callback, hostPointer);
}
