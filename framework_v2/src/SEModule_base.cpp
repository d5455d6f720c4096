#include "se/SEModule_base.h"

#include <cstring>
#include <new>

#include "se/check.h"

namespace {

// The code of a routine for this object: GCC resolves a bound pointer to
// member (virtual or not) into a function taking the object first. The
// modules derive singly from SEModule_base, so no object adjustment arises.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
SEProcessEntry entryOf(SEModule_base* object, SEModule_base::ProcessRoutine routine) {
    return routine == nullptr ? nullptr : reinterpret_cast<SEProcessEntry>(object->*routine);
}
void* entryOf(SEModule_base* object, SEModule_base::DeferredRoutine routine) {
    return routine == nullptr ? nullptr : reinterpret_cast<void*>(object->*routine);
}
#pragma GCC diagnostic pop

using DeferredEntry = void (*)(SEModule_base* object);

// The library's one answer record for dispatcher opcode 13.
SEProcessInfo processInfo{};

}  // namespace

SEModule_base::SEModule_base(seaudioMasterFunction callback, void* hostPointer) : m_callback(callback) {
    m_struct.magic = SE_MODULE_MAGIC;
    m_struct.version = 1;
    m_struct.hostPointer = hostPointer;
    m_struct.object = this;
    m_struct.dispatcher = &SEModule_base::dispatcherEntry;
    m_struct.processEntry = entryOf(this, m_process);
    m_struct.eventEntry = &SEModule_base::eventEntry;
}

SEModule_base::~SEModule_base() = default;

void SEModule_base::onPinStatusChanged(SEPin*) {}

void SEModule_base::processEvent(SEEvent* e) {
    se::check([&] { return e->time_stamp == SampleClock(); }, "e->time_stamp == SampleClock()");
    switch (e->eventType) {
        case UET_STAT_CHANGE: {
            // A status for a pin the module does not have is dropped: the
            // module is never told of a pin outside its array.
            const intptr_t index = reinterpret_cast<intptr_t>(e->ptrParam);
            if (index < 0 || index >= m_pinCount) break;
            SEPin* pin = &m_pins[index];
            pin->setStatus(e->intParam1);
            onPinStatusChanged(pin);
            if (e->intParam1 == 1) pin->setStatus(0);
            break;
        }
        case UET_SHORT_EVENT:
            onShortEvent(e->time_stamp, e->intParam1, static_cast<int16_t>(e->intParam2));
            break;
        case UET_DEFERRED_CALL:
            if (e->ptrParam != nullptr) reinterpret_cast<DeferredEntry>(e->ptrParam)(this);
            break;
        default:
            break;
    }
}

intptr_t SEModule_base::dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    switch (opcode) {
        case seffOpen:
            open();
            return 0;
        case seffClose:
            close();
            delete this;
            return 1;
        case seffSetSampleRate:
            setSampleRate(opt);
            return 0;
        case seffSetBlockSize:
            setBlockSize(value);
            return 0;
        case seffGetPinProperties: {
            if (ptr == nullptr) return 0;
            if (!getPinProperties(index, static_cast<SEPinProperties*>(ptr))) return 0;
            se::check(
                [&] {
                    return (((SEPinProperties*)ptr)->flags & IO_PATCH_STORE) == 0 ||
                           (((SEPinProperties*)ptr)->flags & IO_PRIVATE) != 0 ||
                           ((SEPinProperties*)ptr)->direction == DR_OUT ||
                           (((SEPinProperties*)ptr)->flags & IO_UI_COMMUNICATION) != 0;
                },
                "(((SEPinProperties*)ptr)->flags & IO_PATCH_STORE) == 0 || (((SEPinProperties*)ptr)->flags & "
                "IO_PRIVATE) != 0 || ((SEPinProperties*)ptr)->direction == DR_OUT || ( ( "
                "(SEPinProperties*)ptr)->flags & IO_UI_COMMUNICATION) != 0");
            return 1;
        }
        case seffHostNotify:
            hostNotify();
            if (index > 0) hostNotifyCount(index);
            return 0;
        case seffHostMessage:
            onHostMessage(value, index, ptr);
            return 0;
        case seffGetProcessInfo:
            processInfo.version = 1;
            processInfo.recordSize = sizeof m_process;
            processInfo.record = &m_process;
            processInfo.tag = sizeof m_process == 8 ? 1002 : 0;
            return reinterpret_cast<intptr_t>(&processInfo);
        default:
            return 0;
    }
}

void SEModule_base::open() { buildPins(); }
void SEModule_base::close() {}
void SEModule_base::spareHook() {}
void SEModule_base::setSampleRate(float sampleRate) { m_sampleRate = sampleRate; }
void SEModule_base::setBlockSize(int32_t blockSize) { m_blockSize = blockSize; }
float SEModule_base::getSampleRate() { return m_sampleRate; }
int32_t SEModule_base::blockSize() { return m_blockSize; }
bool SEModule_base::getPinProperties(int32_t, SEPinProperties*) { return false; }
int32_t SEModule_base::spareQuery1() { return 0; }
int32_t SEModule_base::spareQuery2() { return 0; }
void SEModule_base::hostNotify() {}
void SEModule_base::hostNotifyCount(int32_t) {}
void SEModule_base::onShortEvent(uint32_t, int32_t, int32_t) {}
void SEModule_base::onHostMessage(int32_t, int32_t, void*) {}

intptr_t SEModule_base::callHost(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    return m_callback == nullptr ? 0 : m_callback(&m_struct, opcode, index, value, ptr, opt);
}

uint32_t SEModule_base::SampleClock() { return static_cast<uint32_t>(callHost(seaudioMasterGetSampleClock)); }

void SEModule_base::sleepRequest() { callHost(seaudioMasterSleepMode); }

SEPin* SEModule_base::getPin(int32_t index) {
    se::check([&] { return m_pins != 0; }, "m_pins != 0");
    if (m_pins == nullptr || index < 0 || index >= m_pinCount) return &m_sparePin;
    return &m_pins[index];
}

void SEModule_base::setProcess(ProcessRoutine routine) {
    if (routine == m_process) return;
    m_process = routine;
    m_struct.processEntry = entryOf(this, routine);
    callHost(seaudioMasterProcessChanged);
}

void SEModule_base::addEvent(uint32_t timeStamp, int32_t eventType, int32_t intParam1, int32_t intParam2,
                             void* ptrParam) {
    const uint32_t p_time_stamp = timeStamp;
    se::check([&] { return p_time_stamp >= SampleClock(); }, "p_time_stamp >= SampleClock()");
    SEEvent event{p_time_stamp, eventType, intParam1, intParam2, ptrParam, nullptr};
    callHost(seaudioMasterAddEvent, 0, 0, &event);
}

void SEModule_base::runAt(uint32_t timeStamp, DeferredRoutine routine) {
    addEvent(timeStamp, UET_DEFERRED_CALL, 0, 0, entryOf(this, routine));
}

void SEModule_base::processNothing(int32_t, int32_t) {}

intptr_t SEModule_base::dispatcherEntry(SEModuleStruct* record, int32_t opcode, int32_t index, int32_t value,
                                        void* ptr, float opt) {
    if (record == nullptr || record->object == nullptr) return 0;
    return static_cast<SEModule_base*>(record->object)->dispatch(opcode, index, value, ptr, opt);
}

void SEModule_base::eventEntry(void* object, SEEvent* event) {
    if (object == nullptr || event == nullptr) return;
    static_cast<SEModule_base*>(object)->processEvent(event);
}

void SEModule_base::buildPins() {
    const intptr_t count = callHost(seaudioMasterGetPinCount);
    // A count no module could use is treated as none.
    if (count <= 0 || count > 0x10000) return;
    m_pins.reset(new SEPin[count]);
    m_pinCount = static_cast<int32_t>(count);

    SEPinProperties properties;
    int32_t slot = 0;
    int32_t declared = 0;
    for (; slot < m_pinCount; ++declared) {
        std::memset(&properties, 0, sizeof properties);
        if (!getPinProperties(declared, &properties)) break;
        const bool guiOnly =
            (properties.flags & IO_UI_COMMUNICATION) != 0 && (properties.flags & IO_UI_WITH_DSP) == 0;
        if (guiOnly) continue;
        m_pins[slot].init(this, slot, properties.datatype, properties.variableAddress);
        ++slot;
    }
    if (declared == 0) return;

    std::memset(&properties, 0, sizeof properties);
    getPinProperties(declared - 1, &properties);
    const bool guiOnly = (properties.flags & IO_UI_COMMUNICATION) != 0 && (properties.flags & IO_UI_WITH_DSP) == 0;
    if (guiOnly || (properties.flags & IO_REPEAT_LAST) == 0) return;
    for (; slot < m_pinCount; ++slot) m_pins[slot].init(this, slot, properties.datatype, nullptr);
}
