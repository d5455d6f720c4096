// The version-2 parts of suitehost: describing a version-2 library and
// setting the GUI pins of its module.
#include "suitehost_v2.h"

#include <cstdio>
#include <cstdlib>

#include "host/v2_gui.h"
#include "host/v2_module.h"

namespace suitehost {

namespace {

int32_t wholeNumber(const std::string& pin, const std::string& text) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        throw V2UsageError("pin \"" + pin + "\" takes a whole number, not \"" + text + "\"");
    return int32_t(value);
}

std::string v2TypeName(int32_t datatype) {
    switch (datatype) {
        case DT_ENUM_LIST:
        case DT_BOOL:
        case DT_FSAMPLE:
        case DT_FLOAT_VALUE:
        case DT_INT:
            return std::string(host::toString(static_cast<host::PinType>(datatype)));
        default:
            return "type " + std::to_string(datatype);
    }
}

std::string v2DirectionName(int32_t direction) { return direction == DR_OUT ? "out" : "in"; }

// Compares one pin the module reported with its description; prints a
// failure line and returns false when they differ.
bool agrees(const host::KindDescription& kind, size_t index, const std::string& name, int32_t datatype,
            int32_t direction, const int32_t* flags) {
    const host::PinDescription* described = kind.findPin(int32_t(index));
    const bool same = described != nullptr && described->name == name &&
                      static_cast<int32_t>(described->type) == datatype &&
                      (described->direction == host::PinDirection::Out) == (direction == DR_OUT) &&
                      (flags == nullptr || described->flags == *flags);
    if (!same) std::printf("      FAILED: pin %zu differs from the description\n", index);
    return same;
}

}  // namespace

bool describeV2(const std::shared_ptr<host::Library>& library) {
    const auto& description = library->description();
    const host::V2Properties properties = host::readProperties(*library);
    const std::string aboutFirstLine = properties.about.substr(0, properties.about.find('\n'));
    std::printf("  module \"%s\" (%s)\n    about: %s\n    flags %d, GUI flags %d, SDK version %d\n",
                properties.id.c_str(), properties.name.c_str(), aboutFirstLine.c_str(), properties.flags,
                properties.guiFlags, properties.sdkVersion);
    bool passed = true;
    const host::PluginDescription* plugin = description.findPlugin(properties.id);
    if (plugin == nullptr || description.plugins.size() != 1) {
        std::printf("    FAILED: the description does not list exactly this module\n");
        return false;
    }

    auto dsp = host::V2DspInstance::create(library);
    std::printf("    dsp: %zu pins declared\n", dsp->declaredPins().size());
    for (const auto& pin : dsp->declaredPins()) {
        std::printf("      pin %-3d %-24s %-6s %-4s flags 0x%x\n", pin.index, pin.name.c_str(),
                    v2TypeName(pin.datatype).c_str(), v2DirectionName(pin.direction).c_str(), unsigned(pin.flags));
        passed = agrees(plugin->dsp.value_or(host::KindDescription{}), size_t(pin.index), pin.name, pin.datatype,
                        pin.direction, &pin.flags) && passed;
    }
    const size_t describedDsp = plugin->dsp ? plugin->dsp->pins.size() : 0;
    if (describedDsp != dsp->declaredPins().size()) {
        std::printf("      FAILED: %zu pins described\n", describedDsp);
        passed = false;
    }

    if (!plugin->gui) {
        const bool none = !host::V2GuiInstance::makesGuiObject(library);
        std::printf("    gui: %s\n", none ? "none" : "FAILED: made but not described");
        return passed && none;
    }
    auto gui = host::V2GuiInstance::create(library);
    std::printf("    gui: %zu pins once initialised\n", gui->pins().size());
    for (size_t i = 0; i < gui->pins().size(); ++i) {
        const host::V2GuiPin& pin = gui->pins()[i];
        std::printf("      pin %-3zu %-24s %-6s %s\n", i, pin.name.c_str(), v2TypeName(pin.datatype).c_str(),
                    v2DirectionName(pin.direction).c_str());
        passed = agrees(*plugin->gui, i, pin.name, pin.datatype, pin.direction, nullptr) && passed;
    }
    if (plugin->gui->pins.size() != gui->pins().size()) {
        std::printf("      FAILED: %zu pins described\n", plugin->gui->pins.size());
        passed = false;
    }
    return passed;
}

void runV2Gui(const std::string& path, const std::vector<std::pair<std::string, std::string>>& settings) {
    const auto library = host::Library::open(path);
    if (library->description().generation != 2) throw V2UsageError("gui takes a version-2 library");
    auto gui = host::V2GuiInstance::create(library);
    for (const auto& [name, text] : settings) {
        const int32_t index = gui->findPin(name);
        if (index < 0) throw V2UsageError("the module has no GUI pin \"" + name + "\"");
        const int32_t datatype = gui->pin(index).datatype;
        char* end = nullptr;
        if (datatype == DT_FLOAT_VALUE) {
            const float value = std::strtof(text.c_str(), &end);
            if (text.empty() || *end != '\0')
                throw V2UsageError("pin \"" + name + "\" takes a number, not \"" + text + "\"");
            gui->setFloat(index, value);
        } else if (datatype == DT_ENUM_LIST || datatype == DT_INT || datatype == DT_BOOL) {
            gui->setInt(index, int32_t(wholeNumber(name, text)));
        } else {
            gui->setText(index, text);
        }
    }

    std::printf("%-5s %-16s %-6s %-4s %s\n", "pin", "name", "type", "dir", "value");
    for (size_t i = 0; i < gui->pins().size(); ++i) {
        const host::V2GuiPin& pin = gui->pins()[i];
        std::string value;
        if (pin.datatype == DT_FLOAT_VALUE) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.9g", double(pin.floatValue()));
            value = buffer;
        } else if (pin.datatype == DT_ENUM_LIST || pin.datatype == DT_INT || pin.datatype == DT_BOOL) {
            value = std::to_string(pin.intValue());
        } else {
            value = "\"" + pin.text + "\"";
        }
        if (!pin.choices.empty()) value += "  [" + pin.choices + "]";
        std::printf("%-5zu %-16s %-6s %-4s %s\n", i, pin.name.c_str(), v2TypeName(pin.datatype).c_str(),
                    v2DirectionName(pin.direction).c_str(), value.c_str());
    }
}

}  // namespace suitehost
