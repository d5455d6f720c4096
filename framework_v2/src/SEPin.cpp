#include "se/SEPin.h"

#include "se/SEModule_base.h"
#include "se/check.h"

void SEPin::init(SEModule_base* module, int32_t index, int32_t datatype, void* variable) {
    m_module = module;
    m_index = index;
    m_datatype = datatype;
    m_status = 0;
    m_storage.buffer = nullptr;  // clears every byte of the storage
    if (variable != nullptr) {
        m_variable = variable;
        return;
    }
    switch (datatype) {
        case DT_ENUM_LIST:
            m_variable = &m_storage;
            m_storage.choice = 0;
            break;
        case DT_BOOL:
            m_variable = &m_storage;
            m_storage.byte = 0;
            break;
        case DT_FLOAT_VALUE:
        case DT_INT:
            m_variable = &m_storage;
            m_storage.word = 0;
            break;
        case DT_FSAMPLE:
            m_variable = &m_storage;
            m_storage.buffer = reinterpret_cast<float*>(module->callHost(seaudioMasterGetPinBuffer, index));
            break;
        default:
            m_variable = nullptr;
            break;
    }
}

void SEPin::sendStatus(uint32_t sampleclock, int32_t status) {
    if (m_module == nullptr) return;
    m_module->callHost(seaudioMasterSetPinStatus, m_index, status, reinterpret_cast<void*>(uintptr_t{sampleclock}));
}

void SEPin::sendStatusAt(uint32_t sampleclock, int32_t status) {
    if (m_module == nullptr) return;
    se::check([&] { return sampleclock >= m_module->SampleClock(); }, "sampleclock >= m_module->SampleClock()");
    m_module->callHost(seaudioMasterSendStatusAt, m_index, status, reinterpret_cast<void*>(uintptr_t{sampleclock}));
}

bool SEPin::isConnected() {
    return m_module != nullptr && m_module->callHost(seaudioMasterIsPinConnected, m_index) != 0;
}

float SEPin::audioValueNow() {
    se::check([&] { return m_datatype == DT_FSAMPLE; }, "m_datatype == DT_FSAMPLE");
    if (m_module == nullptr || m_datatype != DT_FSAMPLE || m_variable == nullptr) return 0.0f;
    const float* buffer = *static_cast<float* const*>(m_variable);
    if (buffer == nullptr) return 0.0f;
    const auto first = static_cast<uint32_t>(m_module->callHost(seaudioMasterGetBufferClock, m_index));
    const uint32_t position = m_module->SampleClock() - first;
    if (position >= static_cast<uint32_t>(m_module->blockSize())) return 0.0f;
    return buffer[position];
}
