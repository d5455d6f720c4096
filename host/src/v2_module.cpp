#include "host/v2_module.h"

#include <algorithm>
#include <cstring>

#include "host/error.h"

namespace host {

namespace {

// The most pins the host asks a module about, and the most it answers for.
constexpr int32_t maxPins = 4096;
constexpr size_t reservedRecords = 1 << 14;

bool guiOnly(int32_t flags) { return (flags & IO_UI_COMMUNICATION) != 0 && (flags & IO_UI_WITH_DSP) == 0; }

}  // namespace

V2Properties readProperties(const Library& library) {
    if (library.getModuleProperties() == nullptr)
        throw HostError(library.path().string() + ": not a version-2 library");
    SEModuleProperties properties{};
    if (!library.getModuleProperties()(0, &properties))
        throw HostError(library.path().string() + ": getModuleProperties(0) returned false");
    auto text = [](const char* t) { return t == nullptr ? std::string() : std::string(t); };
    return {text(properties.name), text(properties.id),      text(properties.about),
            properties.flags,      properties.guiFlags,      properties.sdkVersion};
}

std::unique_ptr<V2DspInstance> V2DspInstance::create(std::shared_ptr<Library> library, V2Options options) {
    return std::unique_ptr<V2DspInstance>(new V2DspInstance(std::move(library), options));
}

V2DspInstance::V2DspInstance(std::shared_ptr<Library> library, V2Options options)
    : library_(std::move(library)), options_(options) {
    if (library_->makeModule() == nullptr) throw HostError(library_->path().string() + ": not a version-2 library");
    if (options_.blockSize < 1 || options_.blockSize > (1 << 20)) throw HostError("block size out of range");
    void* made = library_->makeModule()(0, SE_TYPE_PROCESSING, options_.provideCallback ? &callback : nullptr, this);
    auto* record = static_cast<SEModuleStruct*>(made);
    if (record == nullptr) throw HostError(library_->path().string() + ": makeModule(0, 1) made no object");
    if (record->magic != SE_MODULE_MAGIC || record->dispatcher == nullptr)
        throw HostError(library_->path().string() + ": makeModule(0, 1) returned no module record");
    record_ = record;

    int32_t slots = 0;
    for (int32_t i = 0; i < maxPins; ++i) {
        SEPinProperties properties{};
        if (dispatch(seffGetPinProperties, i, 0, &properties) == 0) break;
        const int32_t slot = guiOnly(properties.flags) ? -1 : slots++;
        declared_.push_back({i, properties.name == nullptr ? "" : properties.name, properties.direction,
                             properties.datatype, properties.flags, properties.variableAddress, slot});
    }
    pinCount_ = std::clamp(options_.pinCount.value_or(slots), 0, maxPins);

    buffers_.resize(size_t(pinCount_));
    connected_.assign(size_t(pinCount_), false);
    for (int32_t slot = 0; slot < pinCount_; ++slot) {
        const V2DeclaredPin* pin = pinInSlot(slot);
        if (pin == nullptr || pin->datatype != DT_FSAMPLE) continue;
        buffers_[size_t(slot)].assign(size_t(options_.blockSize), 0.0f);
        // A declared audio pin's variable holds its buffer address.
        if (pin->slot == slot && pin->variable != nullptr) {
            float* buffer = buffers_[size_t(slot)].data();
            std::memcpy(pin->variable, &buffer, sizeof buffer);
        }
    }
    pending_.reserve(reservedRecords);
    statusChanges_.reserve(reservedRecords);
    added_.reserve(reservedRecords);

    if (options_.tellSampleRate) dispatch(seffSetSampleRate, 0, 0, nullptr, options_.sampleRate);
    dispatch(seffSetBlockSize, 0, options_.blockSize);
}

V2DspInstance::~V2DspInstance() {
    if (record_ != nullptr) close();
}

intptr_t V2DspInstance::close() { return dispatch(seffClose); }

intptr_t V2DspInstance::dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    if (record_ == nullptr) throw HostError("the module object is gone");
    SEModuleStruct* record = record_;
    if (opcode == seffClose) record_ = nullptr;  // the object destroys itself in this call
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

SEProcessInfo V2DspInstance::processInfo() {
    const intptr_t address = dispatch(seffGetProcessInfo);
    if (address == 0) throw HostError("the module gave no process information");
    SEProcessInfo info;
    std::memcpy(&info, reinterpret_cast<const void*>(address), sizeof info);
    return info;
}

void V2DspInstance::run(int64_t samples) {
    while (samples > 0) {
        deliverDue();
        int64_t count = std::min<int64_t>(samples, options_.blockSize);
        if (!pending_.empty()) count = std::min<int64_t>(count, int64_t(pending_.front().time_stamp - clock_));
        runBlock(int32_t(count));
        samples -= count;
    }
}

void V2DspInstance::runBlock(int32_t count) {
    if (record_ == nullptr) throw HostError("the module object is gone");
    if (count < 1 || count > options_.blockSize) throw HostError("a block holds 1 to block-size samples");
    deliverDue();
    bufferClock_ = clock_;
    if (!sleeping_ && record_->processEntry != nullptr) record_->processEntry(record_->object, 0, count);
    clock_ += uint32_t(count);
    ++blocksRun_;
}

void V2DspInstance::scheduleStatus(uint32_t clock, int32_t pinIndex, int32_t status) {
    SEEvent event{clock, UET_STAT_CHANGE, status, 0, reinterpret_cast<void*>(intptr_t{pinIndex}), nullptr};
    queue(event);
}

void V2DspInstance::scheduleEvent(const SEEvent& event) { queue(event); }

void V2DspInstance::deliverNow(SEEvent event) {
    if (record_ == nullptr) throw HostError("the module object is gone");
    event.next = nullptr;
    sleeping_ = false;
    if (record_->eventEntry != nullptr) record_->eventEntry(record_->object, &event);
}

void V2DspInstance::setConnected(int32_t pinIndex, bool connected) {
    if (pinIndex < 0 || pinIndex >= pinCount_) throw HostError("no pin slot " + std::to_string(pinIndex));
    connected_[size_t(pinIndex)] = connected;
}

std::span<float> V2DspInstance::audioBuffer(int32_t slot) {
    if (slot < 0 || slot >= pinCount_) return {};
    return buffers_[size_t(slot)];
}

int64_t V2DspInstance::calls(int32_t opcode) const { return calls_[size_t(std::clamp(opcode, 0, 31))]; }

void V2DspInstance::clearRecords() {
    statusChanges_.clear();
    added_.clear();
    calls_.fill(0);
    sleepRequests_ = processChanges_ = blocksRun_ = 0;
}

intptr_t V2DspInstance::callback(void* record, int32_t opcode, int32_t index, int32_t value, void* ptr, float) {
    auto* module = static_cast<SEModuleStruct*>(record);
    if (module == nullptr || module->magic != SE_MODULE_MAGIC || module->hostPointer == nullptr) return 0;
    return static_cast<V2DspInstance*>(module->hostPointer)->answer(opcode, index, value, ptr);
}

intptr_t V2DspInstance::answer(int32_t opcode, int32_t index, int32_t value, void* ptr) {
    ++calls_[size_t(std::clamp(opcode, 0, 31))];
    switch (opcode) {
        case seaudioMasterSetPinStatus:
        case seaudioMasterSendStatusAt: {
            V2StatusChange change{opcode, uint32_t(reinterpret_cast<uintptr_t>(ptr)), clock_, index, value, false, 0};
            const V2DeclaredPin* pin = pinInSlot(index);
            if (pin != nullptr && pin->slot == index && pin->variable != nullptr) {
                const size_t width = pin->datatype == DT_FLOAT_VALUE || pin->datatype == DT_INT ? 4
                                     : pin->datatype == DT_ENUM_LIST                          ? 2
                                     : pin->datatype == DT_BOOL                               ? 1
                                                                                              : 0;
                if (width > 0) {
                    change.hasValue = true;
                    std::memcpy(&change.valueBits, pin->variable, width);
                }
            }
            statusChanges_.push_back(change);
            return 0;
        }
        case seaudioMasterIsPinConnected:
            return index >= 0 && index < pinCount_ && connected_[size_t(index)] ? 1 : 0;
        case seaudioMasterGetSampleClock:
            return intptr_t{clock_};
        case seaudioMasterGetPinBuffer:
            if (index < 0 || index >= pinCount_ || buffers_[size_t(index)].empty()) return 0;
            return reinterpret_cast<intptr_t>(buffers_[size_t(index)].data());
        case seaudioMasterGetBufferClock:
            return intptr_t{bufferClock_};
        case seaudioMasterSleepMode:
            sleeping_ = true;
            ++sleepRequests_;
            return 0;
        case seaudioMasterGetPinCount:
            return pinCount_;
        case seaudioMasterAddEvent:
            if (ptr != nullptr) {
                SEEvent event;
                std::memcpy(&event, ptr, sizeof event);
                event.next = nullptr;
                added_.push_back(event);
                queue(event);
            }
            return 0;
        case seaudioMasterProcessChanged:
            ++processChanges_;
            return 0;
        default:
            return 0;
    }
}

void V2DspInstance::queue(SEEvent event) {
    event.next = nullptr;
    if (event.time_stamp < clock_) event.time_stamp = clock_;
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), event,
                                     [](const SEEvent& a, const SEEvent& b) { return a.time_stamp < b.time_stamp; });
    pending_.insert(at, event);
}

void V2DspInstance::deliverDue() {
    // Events the module adds while one is delivered join the queue, and are
    // delivered in this same pass when they are due now.
    while (record_ != nullptr && !pending_.empty() && pending_.front().time_stamp <= clock_) {
        SEEvent event = pending_.front();
        pending_.erase(pending_.begin());
        event.time_stamp = clock_;
        deliverNow(event);
    }
}

const V2DeclaredPin* V2DspInstance::pinInSlot(int32_t slot) const {
    if (slot < 0 || slot >= pinCount_) return nullptr;
    for (const auto& pin : declared_)
        if (pin.slot == slot) return &pin;
    // Slots past the declared ones repeat the last declared pin when it says so.
    if (declared_.empty()) return nullptr;
    const V2DeclaredPin& last = declared_.back();
    return last.slot >= 0 && (last.flags & IO_REPEAT_LAST) != 0 ? &last : nullptr;
}

}  // namespace host
