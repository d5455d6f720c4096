// A plug-in library's description file (`<library>.json` beside the library):
// what a host needs to show and connect its plug-ins without running them.
//
//   { "library": "cvpitch", "generation": 3,
//     "plugins": [ { "id": "cvpitch", "name": "CV to Pitch",
//                    "kinds": { "dsp": { "pins": [ { "index": 0, "name": "Volts",
//                                                    "type": "float", "direction": "in" }, ... ] },
//                               "gui": { "pins": [ ... ] } } } ] }
//
// Pin types: "bool", "audio", "float", "int", "blob", and in version-2
// libraries "choice". Directions: "in", "out", and for GUI pins that the
// module both reads and writes, "inout".
//
// Version-2 libraries ("generation": 2) list under "dsp" the pins the
// processing object declares, each with its "flags" (the declared flag bits,
// 0 when left out), and under "gui" the GUI pins of a GUI object as the host
// keeps them once it is set up. The plug-in id is the module's id.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class PinType : int32_t { Choice = 0, Bool = 4, Audio = 5, Float = 6, Int = 8, Blob = 10 };
enum class PinDirection { In, Out, InOut };

std::string_view toString(PinType type);
std::string_view toString(PinDirection direction);

struct PinDescription {
    int32_t index = 0;
    std::string name;
    PinType type = PinType::Float;
    PinDirection direction = PinDirection::In;
    int32_t flags = 0;  // version 2: the declared flag bits
};

// The natural size of a GUI half's own view, in pixels.
struct ViewSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The pins of one half (DSP or GUI) of a plug-in; a GUI half that draws in a
// window of its own also gives its view's natural size ("view": {"width",
// "height"}).
struct KindDescription {
    std::vector<PinDescription> pins;
    std::optional<ViewSize> view;

    const PinDescription* findPin(int32_t index) const;
    // By name, or by a decimal index given as text.
    const PinDescription* findPin(std::string_view nameOrIndex) const;
};

struct PluginDescription {
    std::string id;
    std::string name;
    std::optional<KindDescription> dsp;
    std::optional<KindDescription> gui;
};

struct LibraryDescription {
    std::string library;
    int generation = 0;
    std::vector<PluginDescription> plugins;

    const PluginDescription* findPlugin(std::string_view id) const;

    // Reads and checks a description file; throws HostError naming the file
    // and what is wrong with it.
    static LibraryDescription load(const std::filesystem::path& file);
    static LibraryDescription parse(std::string_view json, const std::string& origin);
};

}  // namespace host
