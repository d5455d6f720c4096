#include "mp/gui_base.h"

#include <stdexcept>

#include "mp/unknown_support.h"

namespace mp {

// ---- pins -------------------------------------------------------------------

void MpGuiPinSimpleBase::notify(int32_t) {
    if (handler_ != nullptr) (owner_->*handler_)();
}

void MpGuiPinSimpleBase::registerPin(MpGuiBase* owner, int32_t pinIndex, MpGuiPinHandler handler) {
    handler_ = handler;
    resetValue();
    pinIndex_ = pinIndex;
    owner_ = owner;
    owner->pins_.try_emplace(pinIndex, this);  // an index already present keeps its first pin
}

void MpGuiPinSimpleBase::sendToHost() const {
    if (owner_ == nullptr) return;  // never registered
    owner_->host()->sendGuiPinValue(pinIndex_, valueSize(), valueBytes(), 0);
}

// ---- MpGuiBase ------------------------------------------------------------------

MpGuiBase::MpGuiBase(IMpUnknown* host) {
    void* guiHost = nullptr;
    if (host == nullptr || host->queryInterface(&MP_IID_GUI_HOST, &guiHost) != MP_OK || guiHost == nullptr)
        throw std::runtime_error("host Interfaces not supported");
    host_ = static_cast<IMpGuiHost*>(guiHost);
}

MpGuiBase::~MpGuiBase() { pins_.clear(); }

int32_t MpGuiBase::queryInterface(const MpGuid* iid, void** object) {
    return answerQueryInterface(iid, object, static_cast<IMpUserInterface*>(this),
                                {&MP_IID_UNKNOWN, &MP_IID_USER_INTERFACE});
}

int32_t MpGuiBase::addRef() { return ++referenceCount_; }

int32_t MpGuiBase::release() {
    if (--referenceCount_ == 0) {
        delete this;
        return 0;
    }
    return referenceCount_;
}

int32_t MpGuiBase::receivePinValue(int32_t pinIndex, int32_t voice, int32_t size, const void* bytes) {
    MpGuiPinBase* pin = findPin(pinIndex);
    if (pin == nullptr) return MP_FAIL;
    pin->receiveValue(voice, size, bytes);
    return MP_OK;
}

int32_t MpGuiBase::receivePinNotice(int32_t pinIndex, int32_t voice) {
    MpGuiPinBase* pin = findPin(pinIndex);
    if (pin == nullptr) return MP_FAIL;
    pin->notify(voice);
    return MP_OK;
}

MpGuiPinBase* MpGuiBase::findPin(int32_t pinIndex) const {
    const auto found = pins_.find(pinIndex);
    return found == pins_.end() ? nullptr : found->second;
}

}  // namespace mp
