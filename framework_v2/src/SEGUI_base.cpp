#include "se/SEGUI_base.h"

#include <cstring>

#include "se/check.h"

namespace {

// Longest wide text taken from the host; a longer claimed length is cut.
constexpr intptr_t maxWideText = 1 << 20;

}  // namespace

int32_t SEGUIPin::getValueInt() {
    int32_t value = 0;
    m_owner->callHost(seGuiHostGetValue, m_index, 0, &value);
    return value;
}

float SEGUIPin::getValueFloat() {
    float value = 0.0f;
    m_owner->callHost(seGuiHostGetValue, m_index, 0, &value);
    return value;
}

void SEGUIPin::setValueInt(int32_t value) { m_owner->callHost(seGuiHostSetValue, m_index, value, nullptr, 0.0f); }

void SEGUIPin::setValueFloat(float value) { m_owner->callHost(seGuiHostSetValue, m_index, 0, nullptr, value); }

std::string SEGUIPin::getText() {
    const auto* text = reinterpret_cast<const char*>(m_owner->callHost(seGuiHostGetText, m_index));
    return text == nullptr ? std::string() : std::string(text);
}

void SEGUIPin::setText(const char* text) {
    m_owner->callHost(seGuiHostSetText, m_index, 0, const_cast<char*>(text));
}

std::u16string SEGUIPin::getWideText() {
    intptr_t length = m_owner->callHost(seGuiHostGetWideText, m_index, 0, nullptr);
    if (length <= 0) return {};
    if (length > maxWideText) length = maxWideText;
    std::u16string text(static_cast<size_t>(length), u'\0');
    m_owner->callHost(seGuiHostGetWideText, m_index, static_cast<int32_t>(length), text.data());
    const auto end = text.find(u'\0');
    if (end != std::u16string::npos) text.resize(end);
    return text;
}

SEGUI_base::SEGUI_base(seaudioMasterFunction callback, void* hostPointer) : m_callback(callback) {
    m_struct.magic = SE_GUI_MAGIC;
    m_struct.version = 1;
    m_struct.dispatcher = &SEGUI_base::dispatcherEntry;
    m_struct.hostPointer = hostPointer;
    m_struct.object = this;
}

SEGUI_base::~SEGUI_base() = default;

intptr_t SEGUI_base::dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    const SEPoint point{index, value};
    switch (opcode) {
        case seGuiInitialise:
            initialise(index == 1);
            return 0;
        case seGuiClose:
            close();
            delete this;
            return 1;
        case seGuiOpcode2:
            onOpcode2(index, ptr);
            return 0;
        case seGuiOpcode3:
            onOpcode3(ptr, opt, point);
            return 0;
        case seGuiOpcode4:
            onOpcode4(ptr, opt, point);
            return 0;
        case seGuiOpcode5:
            onOpcode5(ptr, opt, point);
            return 0;
        case seGuiDspMessage:
            onDspMessage(value, index, ptr);
            return 0;
        case seGuiPinChanged:
            onPinChanged(getPin(index));
            return 0;
        case seGuiOpcode8:
            onOpcode8(ptr);
            return 0;
        case seGuiOpcode9:
            onOpcode9(ptr);
            return 0;
        case seGuiQueryOpcode10:
            return queryOpcode10() ? 1 : 0;
        case seGuiOpcode11:
            onOpcode11(index);
            return 0;
        case seGuiOpcode12:
            onOpcode12(index);
            return 0;
        default:
            return 0;
    }
}

void SEGUI_base::initialise(bool) {}
void SEGUI_base::close() {}
void SEGUI_base::onOpcode2(int32_t, void*) {}
void SEGUI_base::onOpcode3(void*, float, SEPoint) {}
void SEGUI_base::onOpcode4(void*, float, SEPoint) {}
void SEGUI_base::onOpcode5(void*, float, SEPoint) {}
void SEGUI_base::onOpcode8(void*) {}
void SEGUI_base::onOpcode9(void*) {}
bool SEGUI_base::queryOpcode10() { return false; }
void SEGUI_base::onOpcode11(int32_t) {}
void SEGUI_base::onOpcode12(int32_t) {}
void SEGUI_base::onDspMessage(int32_t, int32_t, void*) {}
void SEGUI_base::onPinChanged(SEGUIPin) {}

intptr_t SEGUI_base::callHost(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    se::check([&] { return m_callback != nullptr; }, "seaudioMaster");
    if (m_callback == nullptr) return 0;
    return m_callback(&m_struct, opcode, index, value, ptr, opt);
}

void SEGUI_base::addPin(int32_t datatype, int32_t direction, const char* name) {
    callHost(seGuiHostAddPin, datatype, direction, const_cast<char*>(name));
}

void SEGUI_base::setChoiceList(int32_t pinIndex, const char* choices) {
    callHost(seGuiHostSetChoiceList, pinIndex, 0, const_cast<char*>(choices));
}

void SEGUI_base::hostRequest18(void* ptr) { callHost(seGuiHostRequest18, 0, 0, ptr); }
void SEGUI_base::hostRequest19(void* ptr) { callHost(seGuiHostRequest19, 0, 0, ptr); }
bool SEGUI_base::hostQuery20(void* ptr) { return callHost(seGuiHostQuery20, 0, 0, ptr) != 0; }

intptr_t SEGUI_base::dispatcherEntry(SEGUIStruct* record, int32_t opcode, int32_t index, int32_t value, void* ptr,
                                     float opt) {
    if (record == nullptr || record->object == nullptr) return 0;
    return static_cast<SEGUI_base*>(record->object)->dispatch(opcode, index, value, ptr, opt);
}

GuiModule::~GuiModule() { callHost(seGuiHostNotify22); }

void GuiModule::initialise(bool restored) {
    callHost(seGuiHostNotify22);
    SEGUI_base::initialise(restored);
}

bool GuiModule::queryOpcode10() { return true; }
void GuiModule::onDspMessage(int32_t, int32_t, void*) {}
void GuiModule::onPinChanged(SEGUIPin) {}
