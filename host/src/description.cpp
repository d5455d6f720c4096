#include "host/description.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <set>

#include <nlohmann/json.hpp>

#include "host/error.h"

namespace host {

namespace {

using nlohmann::json;

struct NamedType {
    std::string_view name;
    PinType type;
};
constexpr NamedType pinTypes[] = {
    {"bool", PinType::Bool}, {"audio", PinType::Audio}, {"float", PinType::Float},
    {"int", PinType::Int},   {"blob", PinType::Blob}, {"choice", PinType::Choice},
};

struct NamedDirection {
    std::string_view name;
    PinDirection direction;
};
constexpr NamedDirection pinDirections[] = {
    {"in", PinDirection::In}, {"out", PinDirection::Out}, {"inout", PinDirection::InOut}};

[[noreturn]] void fail(const std::string& origin, const std::string& what) {
    throw HostError(origin + ": " + what);
}

const json& member(const json& object, const char* key, const std::string& origin, const std::string& where) {
    if (!object.is_object() || !object.contains(key)) fail(origin, where + " has no \"" + key + "\"");
    return object.at(key);
}

std::string text(const json& object, const char* key, const std::string& origin, const std::string& where) {
    const json& value = member(object, key, origin, where);
    if (!value.is_string()) fail(origin, where + ": \"" + key + "\" is not a string");
    return value.get<std::string>();
}

KindDescription parseKind(const json& kind, int generation, const std::string& origin, const std::string& where) {
    KindDescription result;
    const json& pins = member(kind, "pins", origin, where);
    if (!pins.is_array()) fail(origin, where + ": \"pins\" is not a list");
    std::set<int32_t> seen;
    for (const json& pin : pins) {
        PinDescription p;
        const json& index = member(pin, "index", origin, where + " pin");
        if (!index.is_number_integer() || index.get<int64_t>() < 0 || index.get<int64_t>() > INT32_MAX)
            fail(origin, where + ": a pin index is not a whole number from 0");
        p.index = index.get<int32_t>();
        const std::string pinWhere = where + " pin " + std::to_string(p.index);
        if (!seen.insert(p.index).second) fail(origin, pinWhere + " is listed twice");
        p.name = text(pin, "name", origin, pinWhere);

        const std::string type = text(pin, "type", origin, pinWhere);
        const auto* t = std::find_if(std::begin(pinTypes), std::end(pinTypes),
                                     [&](const NamedType& n) { return n.name == type; });
        if (t == std::end(pinTypes) || (t->type == PinType::Choice && generation != 2))
            fail(origin, pinWhere + ": unknown type \"" + type + "\"");
        p.type = t->type;
        if (generation == 2 && pin.contains("flags")) {
            const json& flags = pin.at("flags");
            if (!flags.is_number_integer() || flags.get<int64_t>() < 0 || flags.get<int64_t>() > INT32_MAX)
                fail(origin, pinWhere + ": \"flags\" is not a whole number from 0");
            p.flags = flags.get<int32_t>();
        }

        const std::string direction = text(pin, "direction", origin, pinWhere);
        const auto* d = std::find_if(std::begin(pinDirections), std::end(pinDirections),
                                     [&](const NamedDirection& n) { return n.name == direction; });
        if (d == std::end(pinDirections)) fail(origin, pinWhere + ": unknown direction \"" + direction + "\"");
        p.direction = d->direction;
        result.pins.push_back(std::move(p));
    }
    if (kind.contains("view")) {
        const json& view = kind.at("view");
        auto side = [&](const char* key) {
            const json& value = member(view, key, origin, where + " view");
            if (!value.is_number_integer() || value.get<int64_t>() < 1 || value.get<int64_t>() > 16384)
                fail(origin, where + ": the view's \"" + key + "\" is not a size in pixels");
            return value.get<int32_t>();
        };
        result.view = ViewSize{side("width"), side("height")};
    }
    return result;
}

}  // namespace

std::string_view toString(PinType type) {
    for (const auto& n : pinTypes)
        if (n.type == type) return n.name;
    return "?";
}

std::string_view toString(PinDirection direction) {
    for (const auto& n : pinDirections)
        if (n.direction == direction) return n.name;
    return "?";
}

const PinDescription* KindDescription::findPin(int32_t index) const {
    for (const auto& pin : pins)
        if (pin.index == index) return &pin;
    return nullptr;
}

const PinDescription* KindDescription::findPin(std::string_view nameOrIndex) const {
    for (const auto& pin : pins)
        if (pin.name == nameOrIndex) return &pin;
    int32_t index = 0;
    const char* end = nameOrIndex.data() + nameOrIndex.size();
    const auto [ptr, ec] = std::from_chars(nameOrIndex.data(), end, index);
    if (ec == std::errc{} && ptr == end) return findPin(index);
    return nullptr;
}

const PluginDescription* LibraryDescription::findPlugin(std::string_view id) const {
    for (const auto& plugin : plugins)
        if (plugin.id == id) return &plugin;
    return nullptr;
}

LibraryDescription LibraryDescription::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw HostError(file.string() + ": cannot read the description file");
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(content, file.string());
}

LibraryDescription LibraryDescription::parse(std::string_view content, const std::string& origin) {
    json root;
    try {
        root = json::parse(content);
    } catch (const json::parse_error& e) {
        fail(origin, std::string("not valid JSON: ") + e.what());
    }
    LibraryDescription result;
    result.library = text(root, "library", origin, "the description");
    const json& generation = member(root, "generation", origin, "the description");
    if (!generation.is_number_integer() || (generation.get<int>() != 2 && generation.get<int>() != 3))
        fail(origin, "\"generation\" is neither 2 nor 3");
    result.generation = generation.get<int>();

    const json& plugins = member(root, "plugins", origin, "the description");
    if (!plugins.is_array()) fail(origin, "\"plugins\" is not a list");
    for (const json& plugin : plugins) {
        PluginDescription p;
        p.id = text(plugin, "id", origin, "a plug-in");
        const std::string where = "plug-in \"" + p.id + "\"";
        if (result.findPlugin(p.id)) fail(origin, where + " is listed twice");
        p.name = plugin.contains("name") ? text(plugin, "name", origin, where) : p.id;
        const json& kinds = member(plugin, "kinds", origin, where);
        if (!kinds.is_object()) fail(origin, where + ": \"kinds\" is not an object");
        for (const auto& [kind, body] : kinds.items()) {
            if (kind == "dsp")
                p.dsp = parseKind(body, result.generation, origin, where + " dsp");
            else if (kind == "gui")
                p.gui = parseKind(body, result.generation, origin, where + " gui");
            else
                fail(origin, where + ": unknown kind \"" + kind + "\"");
        }
        if (!p.dsp && !p.gui) fail(origin, where + " has no kind");
        result.plugins.push_back(std::move(p));
    }
    return result;
}

}  // namespace host
