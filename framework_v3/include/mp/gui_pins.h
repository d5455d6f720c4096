// Pins of the GUI half: typed values the host keeps in step with the plug-in's
// patch pins. The host stores a value (receiveValue), then notifies the pin
// (notify), which runs the module's handler; the module writes with setValue,
// which sends the value to the host when it changed.
//
// A pin is a member of its module, registered by index in the module's
// constructor. Only the user-interface thread touches pins.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "mp/abi/timed_event.h"
#include "mp/blob.h"

namespace mp {

class MpGuiBase;

// Runs on the owner when the host notifies the pin.
using MpGuiPinHandler = void (MpGuiBase::*)();

class MpGuiPinBase {
public:
    virtual ~MpGuiPinBase() = default;
    // Stores a value from the host; true when the stored value changed (or was
    // rewritten). `voice` is ignored. `bytes` is read during the call only.
    virtual bool receiveValue(int32_t voice, int32_t size, const void* bytes) = 0;
    // Runs the handler, if any, on the owner.
    virtual void notify(int32_t voice) = 0;
    virtual int32_t dataType() const = 0;
};

class MpGuiPinSimpleBase : public MpGuiPinBase {
public:
    void notify(int32_t voice) override;
    // Sets the handler, resets the value, sets index and owner and enters the
    // pin into the owner's pin map (an index already present keeps its pin).
    virtual void registerPin(MpGuiBase* owner, int32_t pinIndex, MpGuiPinHandler handler = nullptr);
    template <class Module>
    void registerPin(Module* owner, int32_t pinIndex, void (Module::*handler)()) {
        registerPin(owner, pinIndex, static_cast<MpGuiPinHandler>(handler));
    }
    virtual int32_t valueSize() const = 0;
    virtual const void* valueBytes() const = 0;

    int32_t pinIndex() const { return pinIndex_; }

protected:
    virtual void resetValue() = 0;
    // Sends the current value to the host (voice 0).
    void sendToHost() const;

private:
    int32_t pinIndex_ = -1;
    MpGuiBase* owner_ = nullptr;
    MpGuiPinHandler handler_ = nullptr;
};

// A GUI pin of type T: int32_t, float, bool or MpBlob.
template <typename T>
class MpGuiPin final : public MpGuiPinSimpleBase {
    static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, float> || std::is_same_v<T, bool> ||
                  std::is_same_v<T, MpBlob>);

public:
    static constexpr bool isBlob = std::is_same_v<T, MpBlob>;

    // int and float keep 4 bytes (storeFourBytes). bool takes 1 byte as it is
    // (non-zero is true), 4 bytes as a 32-bit number, any other size by its
    // first byte (none: false). Blobs store what they are given.
    bool receiveValue(int32_t, int32_t size, const void* bytes) override {
        if (bytes == nullptr || size < 0) size = 0;
        if constexpr (isBlob) {
            if (size == value_.size() && (size == 0 || std::memcmp(bytes, value_.data(), size_t(size)) == 0))
                return false;
            value_.store(size, bytes);
            return true;
        } else if constexpr (std::is_same_v<T, bool>) {
            const auto* b = static_cast<const unsigned char*>(bytes);
            if (size == 1 && (b[0] != 0) == value_) return false;
            if (size == 4) {
                int32_t number;
                std::memcpy(&number, bytes, 4);
                value_ = number != 0;
            } else {
                value_ = size > 0 && b[0] != 0;
            }
            return true;
        } else {
            if (size == 4 && std::memcmp(bytes, &value_, 4) == 0) return false;
            storeFourBytes(&value_, size, bytes);
            return true;
        }
    }

    int32_t dataType() const override {
        if constexpr (isBlob) return MP_TYPE_BLOB;
        else if constexpr (std::is_same_v<T, bool>) return MP_TYPE_BOOL;
        else if constexpr (std::is_same_v<T, float>) return MP_TYPE_FLOAT;
        else return MP_TYPE_INT;
    }
    int32_t valueSize() const override {
        if constexpr (isBlob) return value_.size();
        else if constexpr (std::is_same_v<T, bool>) return 1;
        else return 4;
    }
    const void* valueBytes() const override {
        if constexpr (isBlob) return value_.data();
        else return &value_;
    }

    const T& value() const { return value_; }

    // Stores and sends a new value; an equal one (int and bool bitwise, float by
    // IEEE comparison, so NaN always differs) changes and sends nothing.
    void setValue(T value)
        requires(!isBlob)
    {
        if constexpr (std::is_same_v<T, float>) {
            if (value == value_) return;
        } else {
            if (std::memcmp(&value, &value_, sizeof(T)) == 0) return;
        }
        value_ = value;
        sendToHost();
    }
    void setValue(int32_t size, const void* bytes)
        requires isBlob
    {
        if (!receiveValue(0, size, bytes)) return;
        sendToHost();
    }

protected:
    void resetValue() override {
        if constexpr (isBlob) value_.clear();
        else value_ = T{};
    }

private:
    T value_{};
};

}  // namespace mp
