#include "host/v2_gui.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "host/error.h"

namespace host {

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// The texts a host hands out for pins it does not have.
const char emptyText[] = "";

}  // namespace

float V2GuiPin::floatValue() const {
    float value;
    std::memcpy(&value, &valueBits, 4);
    return value;
}

int32_t V2GuiPin::intValue() const { return static_cast<int32_t>(valueBits); }

std::unique_ptr<V2GuiInstance> V2GuiInstance::create(std::shared_ptr<Library> library, V2GuiOptions options) {
    return std::unique_ptr<V2GuiInstance>(new V2GuiInstance(std::move(library), options));
}

bool V2GuiInstance::makesGuiObject(std::shared_ptr<Library> library) {
    try {
        V2GuiOptions options;
        options.initialise = false;
        create(std::move(library), options);
        return true;
    } catch (const HostError&) {
        return false;
    }
}

V2GuiInstance::V2GuiInstance(std::shared_ptr<Library> library, V2GuiOptions options)
    : library_(std::move(library)), options_(options) {
    if (library_->makeModule() == nullptr) throw HostError(library_->path().string() + ": not a version-2 library");
    const auto& plugins = library_->description().plugins;
    if (!plugins.empty()) {
        const PluginDescription& plugin = plugins.front();
        auto seed = [&](const PinDescription& p) {
            V2GuiPin pin;
            pin.datatype = static_cast<int32_t>(p.type);
            pin.direction = p.direction == PinDirection::Out ? DR_OUT : DR_IN;
            pin.name = p.name;
            pins_.push_back(std::move(pin));
        };
        if (options_.restored && plugin.gui) {
            for (const auto& p : plugin.gui->pins) seed(p);
        } else if (!options_.restored && plugin.dsp) {
            for (const auto& p : plugin.dsp->pins)
                if ((p.flags & IO_UI_COMMUNICATION) != 0) seed(p);
        }
    }

    void* made = library_->makeModule()(0, SE_TYPE_GUI, options_.provideCallback ? &callback : nullptr, this);
    auto* record = static_cast<SEGUIStruct*>(made);
    if (record == nullptr) throw HostError(library_->path().string() + ": makeModule(0, 2) made no GUI object");
    if (record->magic != SE_GUI_MAGIC || record->dispatcher == nullptr)
        throw HostError(library_->path().string() + ": makeModule(0, 2) returned no GUI record");
    record_ = record;
    if (options_.initialise) dispatch(seGuiInitialise, options_.restored ? 1 : 0);
}

V2GuiInstance::~V2GuiInstance() {
    if (record_ != nullptr) close();
}

intptr_t V2GuiInstance::dispatch(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    if (record_ == nullptr) throw HostError("the GUI object is gone");
    SEGUIStruct* record = record_;
    if (opcode == seGuiClose) record_ = nullptr;  // the object destroys itself in this call
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void V2GuiInstance::setFloat(int32_t pinIndex, float value) {
    pin(pinIndex);
    find(pinIndex)->valueBits = bitsOf(value);
    notify(pinIndex);
}

void V2GuiInstance::setInt(int32_t pinIndex, int32_t value) {
    pin(pinIndex);
    find(pinIndex)->valueBits = static_cast<uint32_t>(value);
    notify(pinIndex);
}

void V2GuiInstance::storeFloat(int32_t pinIndex, float value) {
    pin(pinIndex);
    find(pinIndex)->valueBits = bitsOf(value);
}

void V2GuiInstance::storeInt(int32_t pinIndex, int32_t value) {
    pin(pinIndex);
    find(pinIndex)->valueBits = static_cast<uint32_t>(value);
}

void V2GuiInstance::setText(int32_t pinIndex, std::string_view text) {
    pin(pinIndex);
    find(pinIndex)->text = std::string(text);
    notify(pinIndex);
}

void V2GuiInstance::setWideText(int32_t pinIndex, std::u16string_view text) {
    pin(pinIndex);
    find(pinIndex)->wideText = std::u16string(text);
    notify(pinIndex);
}

const V2GuiPin& V2GuiInstance::pin(int32_t index) const {
    if (index < 0 || size_t(index) >= pins_.size()) throw HostError("no GUI pin " + std::to_string(index));
    return pins_[size_t(index)];
}

int32_t V2GuiInstance::findPin(std::string_view nameOrIndex) const {
    for (size_t i = 0; i < pins_.size(); ++i)
        if (pins_[i].name == nameOrIndex) return int32_t(i);
    int32_t index = -1;
    const char* end = nameOrIndex.data() + nameOrIndex.size();
    const auto [ptr, ec] = std::from_chars(nameOrIndex.data(), end, index);
    if (ec == std::errc{} && ptr == end && index >= 0 && size_t(index) < pins_.size()) return index;
    return -1;
}

void V2GuiInstance::clearRecords() {
    writes_.clear();
    requests_.clear();
    notices_ = cutNotices_ = opcode22_ = 0;
    deepest_ = 0;
}

intptr_t V2GuiInstance::callback(void* record, int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    auto* gui = static_cast<SEGUIStruct*>(record);
    if (gui == nullptr || gui->magic != SE_GUI_MAGIC || gui->hostPointer == nullptr) return 0;
    return static_cast<V2GuiInstance*>(gui->hostPointer)->answer(opcode, index, value, ptr, opt);
}

intptr_t V2GuiInstance::answer(int32_t opcode, int32_t index, int32_t value, void* ptr, float opt) {
    V2GuiPin* pin = find(index);
    switch (opcode) {
        case seGuiHostSetText:
            if (pin == nullptr) return 0;
            pin->text = ptr == nullptr ? std::string() : std::string(static_cast<const char*>(ptr));
            writes_.push_back({index, 0, 0.0f, depth_, true});
            notify(index);
            return 0;
        case seGuiHostGetText:
            return reinterpret_cast<intptr_t>(pin == nullptr ? emptyText : pin->text.c_str());
        case seGuiHostAddPin: {
            V2GuiPin added;
            added.datatype = index;
            added.direction = value;
            added.name = ptr == nullptr ? std::string() : std::string(static_cast<const char*>(ptr));
            pins_.push_back(std::move(added));
            return 0;
        }
        case seGuiHostGetValue:
            if (ptr != nullptr) {
                const uint32_t bits = pin == nullptr ? 0 : pin->valueBits;
                std::memcpy(ptr, &bits, 4);
            }
            return 0;
        case seGuiHostSetValue:
            if (pin == nullptr) return 0;
            pin->valueBits = pin->datatype == DT_FLOAT_VALUE ? bitsOf(opt) : static_cast<uint32_t>(value);
            writes_.push_back({index, value, opt, depth_, false});
            notify(index);
            return 0;
        case seGuiHostSetChoiceList:
            if (pin != nullptr)
                pin->choices = ptr == nullptr ? std::string() : std::string(static_cast<const char*>(ptr));
            return 0;
        case seGuiHostGetWideText: {
            if (pin == nullptr) return 0;
            const auto length = static_cast<intptr_t>(pin->wideText.size());
            if (ptr != nullptr && value > 0)
                std::memcpy(ptr, pin->wideText.data(), size_t(std::min<intptr_t>(value, length)) * sizeof(char16_t));
            return length;
        }
        case seGuiHostRequest18:
        case seGuiHostRequest19:
            requests_.emplace_back(opcode, ptr);
            return 0;
        case seGuiHostQuery20:
            requests_.emplace_back(opcode, ptr);
            return options_.query20Answer;
        case seGuiHostNotify22:
            ++opcode22_;
            return 0;
        default:
            return 0;
    }
}

V2GuiPin* V2GuiInstance::find(int32_t index) {
    if (index < 0 || size_t(index) >= pins_.size()) return nullptr;
    return &pins_[size_t(index)];
}

void V2GuiInstance::notify(int32_t pinIndex) {
    if (record_ == nullptr) return;
    if (depth_ >= options_.maxNesting) {
        ++cutNotices_;
        return;
    }
    ++depth_;
    deepest_ = std::max(deepest_, depth_);
    ++notices_;
    dispatch(seGuiPinChanged, pinIndex);
    --depth_;
}

}  // namespace host
