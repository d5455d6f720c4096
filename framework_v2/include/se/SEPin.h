// One processing-side pin object: created in the module's pin array when the
// module opens, one per slot (slot = pin index), destroyed with the array.
// Audio thread only.
#pragma once

#include <cstdint>

#include "se/abi/records.h"

class SEModule_base;

class SEPin {
public:
    SEPin() = default;
    virtual ~SEPin() = default;
    SEPin(const SEPin&) = delete;
    SEPin& operator=(const SEPin&) = delete;

    // From open: status 0. With a variable the pin uses it and clears its own
    // storage; without one it points at its own storage, cleared at the
    // datatype's width (audio: the host's buffer address, callback opcode 7).
    // Datatypes without storage of their own (1, 2, 3, 7) stay without a variable.
    void init(SEModule_base* module, int32_t index, int32_t datatype, void* variable);

    // Reports a status change at `sampleclock` (callback opcode 0).
    void sendStatus(uint32_t sampleclock, int32_t status);
    // The same through opcode 4; `sampleclock` must not lie before the current clock.
    void sendStatusAt(uint32_t sampleclock, int32_t status);
    bool isConnected();
    // Audio pins only: the sample of the current buffer at the current clock.
    // A clock outside the module's block size reads 0.
    float audioValueNow();

    int32_t getIndex() const { return m_index; }
    int32_t getStatus() const { return m_status; }
    void setStatus(int32_t status) { m_status = status; }
    int32_t getDatatype() const { return m_datatype; }
    void* getVariableAddress() const { return m_variable; }
    bool usesOwnStorage() const { return m_variable == &m_storage; }
    SEModule_base* getModule() const { return m_module; }

private:
    void* m_variable = nullptr;
    SEModule_base* m_module = nullptr;
    int32_t m_index = -1;
    int32_t m_status = 0;
    int32_t m_datatype = -1;
    // Four bytes of value; an audio pin's buffer address needs a whole pointer.
    union {
        uint8_t byte;
        uint16_t choice;
        uint32_t word;
        float* buffer;
    } m_storage{};
};
