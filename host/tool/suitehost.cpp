// suitehost: loads the suite's plug-in libraries as a host would and drives
// them from the command line.
//
//   suitehost info LIBRARY...
//   suitehost dsp LIBRARY ID [--rate HZ] [--blocks N] [--block-size N] [--set PIN=VALUE@SAMPLE]...
//                 [--input SOURCE] [--peaks N]
//   suitehost render LIBRARY ID [--size WxH] [--set PIN=VALUE]... [--mouse ACTION@X,Y[+KEY]...]...
//                    [--advance MS]... --out FRAME.png
//   suitehost gui LIBRARY [--set PIN=VALUE]...          (version-2 libraries)
//
// Results go to standard output, diagnostics to standard error. Exit status:
// 0 success, 1 a failed check or run, 2 bad usage.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/audio_source.h"
#include "host/dsp_instance.h"
#include "host/error.h"
#include "host/gui_instance.h"
#include "host/library.h"
#include "host/patch.h"
#include "host/png.h"
#include "host/spectrum_blob.h"
#include "host/view.h"
#include "suitehost_v2.h"

namespace {

constexpr int exitOk = 0, exitFailed = 1, exitUsage = 2;

struct UsageError : host::HostError {
    using HostError::HostError;
};

constexpr const char* mainHelp =
    "usage: suitehost <command> [options]\n"
    "\n"
    "commands:\n"
    "  info LIBRARY...        describe libraries and check that each plug-in kind can be made\n"
    "  dsp LIBRARY ID ...     run a plug-in's DSP half and print the values it sends\n"
    "  render LIBRARY ID ...  open a plug-in's view, drive it and save what it draws\n"
    "  gui LIBRARY ...        set a version-2 module's GUI pins and print them all\n"
    "\n"
    "'suitehost <command> --help' tells more.\n";

constexpr const char* infoHelp =
    "usage: suitehost info LIBRARY...\n"
    "\n"
    "Prints each library's plug-ins with their kinds and pins (from the description\n"
    "file beside the library), and checks that every described kind can be created\n"
    "and released through the library's factory and that no other kind is registered.\n"
    "For version-2 libraries it prints the module's properties and the pins its\n"
    "processing object declares and its GUI object adds, and checks them against\n"
    "the description.\n"
    "Exit status 1 when a check fails.\n";

constexpr const char* guiHelp =
    "usage: suitehost gui LIBRARY [options]\n"
    "\n"
    "Creates the GUI object of a version-2 library as a fresh module, applies the\n"
    "writes in order (each stored, then told to the object, which may write other\n"
    "pins in turn) and prints every GUI pin afterwards.\n"
    "\n"
    "options:\n"
    "  --set PIN=VALUE        write VALUE to PIN (the first pin of that name, or an\n"
    "                         index); repeatable\n";

constexpr const char* dspHelp =
    "usage: suitehost dsp LIBRARY ID [options]\n"
    "\n"
    "Creates the DSP half of plug-in ID, activates it, sends it the start event at\n"
    "sample 0 and runs blocks, printing every value it sends as a table of\n"
    "absolute sample, pin and value.\n"
    "\n"
    "options:\n"
    "  --rate HZ              sample rate (default 44100)\n"
    "  --blocks N             number of blocks to run (default 4)\n"
    "  --block-size N         samples per block (default 64)\n"
    "  --set PIN=VALUE@SAMPLE deliver VALUE to input PIN (name or index) at the\n"
    "                         absolute SAMPLE (\"@SAMPLE\" may be left out: 0); repeatable\n"
    "  --input SOURCE         feed the audio inputs: sine:HZ[:AMPLITUDE], silence, or a\n"
    "                         sound file (WAV...; its channels feed the inputs in turn,\n"
    "                         its rate is the default --rate)\n"
    "  --peaks N              spectrum blobs: print their channel and N strongest bins\n"
    "                         (default 5), each with its frequency and level\n"
    "\n"
    "A spectrum level above 0 dB wraps around in its byte and reads as a low level,\n"
    "so a full-scale tone may not show as the strongest bin: give it a smaller\n"
    "amplitude (sine:1000:0.25). Example, 0.4 s of a tone into fftfeed:\n"
    "  suitehost dsp fftfeed.so fftfeed --rate 48000 --input sine:1000:0.25 --blocks 300\n";

constexpr const char* renderHelp =
    "usage: suitehost render LIBRARY ID [options] --out FRAME.png\n"
    "\n"
    "Creates the GUI half of plug-in ID, opens its view in an editor window,\n"
    "delivers the pin values (each followed by its notice), replays the mouse and\n"
    "timer steps in the order given, paints, and saves the last frame as PNG.\n"
    "Prints the message boxes the plug-in showed.\n"
    "\n"
    "options:\n"
    "  --size WxH             the view's size (default: the description's, else 200x200)\n"
    "  --set PIN=VALUE        deliver VALUE to GUI PIN (name or index); repeatable\n"
    "  --mouse ACTION@X,Y     ACTION is down, move or up, at view pixel X,Y; add\n"
    "                         +shift, +ctrl and +alt to hold those keys; repeatable\n"
    "  --advance MS           let MS milliseconds pass, so that timers fire; repeatable\n"
    "  --out FRAME.png        where to save the frame (required)\n";

// Reads "--name value" pairs after the positional arguments.
class Arguments {
public:
    Arguments(int argc, char** argv, int first) : args_(argv + std::min(first, argc), argv + argc) {}

    bool wantsHelp() const {
        for (const auto& a : args_)
            if (a == "--help" || a == "-h") return true;
        return false;
    }
    std::vector<std::string> positional() {
        std::vector<std::string> result;
        while (next_ < args_.size() && !args_[next_].starts_with("--")) result.push_back(args_[next_++]);
        return result;
    }
    // Calls `handle(name, value)` for each option; every option takes a value.
    void options(const std::function<void(const std::string&, const std::string&)>& handle) {
        while (next_ < args_.size()) {
            const std::string& name = args_[next_];
            if (!name.starts_with("--")) throw UsageError("unexpected argument \"" + name + "\"");
            if (next_ + 1 >= args_.size()) throw UsageError(name + " needs a value");
            handle(name, args_[next_ + 1]);
            next_ += 2;
        }
    }

private:
    std::vector<std::string> args_;
    size_t next_ = 0;
};

long long wholeNumber(const std::string& option, const std::string& text, long long low, long long high) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

std::string kindLine(const char* kind, int32_t status, bool described) {
    std::string line = std::string("    ") + kind + ": ";
    if (described)
        line += status == mp::MP_OK ? "created and released" : "FAILED: createModule returned " + std::to_string(status);
    else
        line += status == mp::MP_NOSUPPORT ? "none" : "FAILED: registered but not described (status " +
                                                          std::to_string(status) + ")";
    return line;
}

void printPins(const host::KindDescription& kind) {
    for (const auto& pin : kind.pins)
        std::printf("      pin %-3d %-24s %-6s %s\n", pin.index, pin.name.c_str(),
                    std::string(host::toString(pin.type)).c_str(), std::string(host::toString(pin.direction)).c_str());
}

int runGui(Arguments& args) {
    if (args.wantsHelp()) return std::fputs(guiHelp, stdout), exitOk;
    const auto positional = args.positional();
    if (positional.size() != 1) throw UsageError("gui needs LIBRARY");
    std::vector<std::pair<std::string, std::string>> settings;
    args.options([&](const std::string& name, const std::string& value) {
        if (name != "--set") throw UsageError("unknown option " + name);
        const auto equals = value.find('=');
        if (equals == std::string::npos || equals == 0) throw UsageError("--set takes PIN=VALUE");
        settings.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    });
    try {
        suitehost::runV2Gui(positional[0], settings);
    } catch (const suitehost::V2UsageError& e) {
        throw UsageError(e.what());
    }
    return exitOk;
}

int runInfo(Arguments& args) {
    if (args.wantsHelp()) return std::fputs(infoHelp, stdout), exitOk;
    const auto libraries = args.positional();
    args.options([](const std::string& name, const std::string&) { throw UsageError("unknown option " + name); });
    if (libraries.empty()) throw UsageError("info needs at least one LIBRARY");

    bool allPassed = true;
    for (const auto& path : libraries) {
        const auto library = host::Library::open(path);
        const auto& description = library->description();
        std::printf("%s (version %d) %s\n", description.library.c_str(), description.generation, path.c_str());
        if (description.generation == 2) {
            allPassed = suitehost::describeV2(library) && allPassed;
            continue;
        }
        for (const auto& plugin : description.plugins) {
            std::printf("  plug-in \"%s\" (%s)\n", plugin.id.c_str(), plugin.name.c_str());
            const int32_t dsp = host::DspInstance::creationStatus(library, plugin.id);
            const int32_t gui = host::GuiInstance::creationStatus(library, plugin.id);
            const bool dspOk = plugin.dsp ? dsp == mp::MP_OK : dsp == mp::MP_NOSUPPORT;
            const bool guiOk = plugin.gui ? gui == mp::MP_OK : gui == mp::MP_NOSUPPORT;
            allPassed = allPassed && dspOk && guiOk;
            std::printf("%s\n", kindLine("dsp", dsp, plugin.dsp.has_value()).c_str());
            if (plugin.dsp) printPins(*plugin.dsp);
            std::printf("%s\n", kindLine("gui", gui, plugin.gui.has_value()).c_str());
            if (plugin.gui) printPins(*plugin.gui);
        }
    }
    return allPassed ? exitOk : exitFailed;
}

int runDsp(Arguments& args) {
    if (args.wantsHelp()) return std::fputs(dspHelp, stdout), exitOk;
    const auto positional = args.positional();
    if (positional.size() != 2) throw UsageError("dsp needs LIBRARY and ID");

    host::DspOptions options;
    long long blocks = 4;
    int32_t blockSize = 64;
    struct Setting {
        std::string pin, value;
        long long sample;
    };
    std::vector<Setting> settings;
    std::string input;
    bool rateGiven = false;
    int32_t peaks = 5;
    args.options([&](const std::string& name, const std::string& value) {
        if (name == "--rate") {
            char* end = nullptr;
            options.sampleRate = std::strtof(value.c_str(), &end);
            if (value.empty() || *end != '\0') throw UsageError("--rate takes a number, not \"" + value + "\"");
            rateGiven = true;
        } else if (name == "--input") {
            input = value;
        } else if (name == "--peaks") {
            peaks = int32_t(wholeNumber(name, value, 0, 2046));
        } else if (name == "--blocks") {
            blocks = wholeNumber(name, value, 0, 100000000);
        } else if (name == "--block-size") {
            blockSize = int32_t(wholeNumber(name, value, 1, 1 << 20));
        } else if (name == "--set") {
            const auto equals = value.find('=');
            if (equals == std::string::npos || equals == 0) throw UsageError("--set takes PIN=VALUE@SAMPLE");
            const auto at = value.find('@', equals);
            const long long sample =
                at == std::string::npos ? 0 : wholeNumber("--set's @SAMPLE", value.substr(at + 1), 0, INT64_MAX / 2);
            settings.push_back({value.substr(0, equals), value.substr(equals + 1, at - equals - 1), sample});
        } else {
            throw UsageError("unknown option " + name);
        }
    });
    options.maxBlockSize = blockSize;
    std::optional<host::AudioSource> source;
    if (!input.empty()) {
        source = host::AudioSource::open(input, options.sampleRate);
        if (source->fileRate() > 0 && !rateGiven) options.sampleRate = source->fileRate();
    }

    auto dsp = host::DspInstance::create(host::Library::open(positional[0]), positional[1], options);
    host::Patch patch;
    patch.addDsp(*dsp);
    patch.scheduleStart(*dsp, 0);
    for (const auto& s : settings) {
        const host::PinDescription* pin = dsp->pins().findPin(s.pin);
        if (pin == nullptr) throw UsageError("\"" + positional[1] + "\" has no DSP pin \"" + s.pin + "\"");
        if (pin->direction != host::PinDirection::In) throw UsageError("pin \"" + s.pin + "\" is not an input");
        patch.schedule(*dsp, s.sample, pin->index, host::parseValue(pin->type, s.value));
    }
    for (long long b = 0; b < blocks; ++b) {
        if (source) {
            int32_t channel = 0;
            for (const auto& pin : dsp->pins().pins)
                if (pin.type == host::PinType::Audio && pin.direction == host::PinDirection::In)
                    source->read(channel++, b * blockSize, dsp->audioBuffer(pin.index).first(size_t(blockSize)));
        }
        patch.runBlock(blockSize);
    }

    std::printf("%-10s %-16s %s\n", "sample", "pin", "value");
    for (const auto& sent : dsp->sentValues()) {
        const host::PinDescription* pin = dsp->pins().findPin(sent.pinIndex);
        const std::string pinName = pin ? pin->name : std::to_string(sent.pinIndex) + " (undescribed)";
        std::string value =
            pin ? host::formatValue(pin->type, sent.bytes) : host::formatValue(host::PinType::Blob, sent.bytes);
        if (pin && pin->type == host::PinType::Blob)
            if (const auto spectrum = host::decodeSpectrumBlob(sent.bytes))
                value = host::describeSpectrum(*spectrum, options.sampleRate, peaks);
        std::printf("%-10lld %-16s %s\n", static_cast<long long>(sent.block * blockSize + sent.time), pinName.c_str(),
                    value.c_str());
    }
    return exitOk;
}

// "WxH" with both sides from 1 to 16384.
std::pair<int32_t, int32_t> viewSize(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) throw UsageError("--size takes WxH, not \"" + text + "\"");
    return {int32_t(wholeNumber("--size's width", text.substr(0, x), 1, 16384)),
            int32_t(wholeNumber("--size's height", text.substr(x + 1), 1, 16384))};
}

// "down@X,Y+shift+ctrl": one mouse step.
struct MouseStep {
    host::MouseAction action;
    int32_t x, y;
    host::Modifiers modifiers;
};

MouseStep mouseStep(const std::string& text) {
    const auto at = text.find('@');
    const auto comma = text.find(',', at);
    if (at == std::string::npos || comma == std::string::npos) throw UsageError("--mouse takes ACTION@X,Y[+KEY...]");
    MouseStep step{};
    const std::string action = text.substr(0, at);
    if (action == "down") step.action = host::MouseAction::Down;
    else if (action == "move") step.action = host::MouseAction::Move;
    else if (action == "up") step.action = host::MouseAction::Up;
    else throw UsageError("--mouse's ACTION is down, move or up, not \"" + action + "\"");
    const auto plus = text.find('+', comma);
    step.x = int32_t(wholeNumber("--mouse's X", text.substr(at + 1, comma - at - 1), -32768, 32767));
    step.y = int32_t(wholeNumber("--mouse's Y", text.substr(comma + 1, plus - comma - 1), -32768, 32767));
    for (auto key = plus; key != std::string::npos;) {
        const auto next = text.find('+', key + 1);
        const std::string name = text.substr(key + 1, next - key - 1);
        if (name == "shift") step.modifiers.shift = true;
        else if (name == "ctrl") step.modifiers.control = true;
        else if (name == "alt") step.modifiers.alt = true;
        else throw UsageError("--mouse's keys are shift, ctrl and alt, not \"" + name + "\"");
        key = next;
    }
    return step;
}

std::string narrow(const std::wstring& wide) {
    std::string out;
    for (wchar_t c : wide) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

int runRender(Arguments& args) {
    if (args.wantsHelp()) return std::fputs(renderHelp, stdout), exitOk;
    const auto positional = args.positional();
    if (positional.size() != 2) throw UsageError("render needs LIBRARY and ID");

    std::optional<std::pair<int32_t, int32_t>> size;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<std::function<void(host::View&)>> steps;
    std::string out;
    args.options([&](const std::string& name, const std::string& value) {
        if (name == "--size") {
            size = viewSize(value);
        } else if (name == "--set") {
            const auto equals = value.find('=');
            if (equals == std::string::npos || equals == 0) throw UsageError("--set takes PIN=VALUE");
            settings.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else if (name == "--mouse") {
            const MouseStep step = mouseStep(value);
            steps.push_back([step](host::View& view) { view.mouse(step.action, step.x, step.y, step.modifiers); });
        } else if (name == "--advance") {
            const auto milliseconds = uint32_t(wholeNumber(name, value, 0, 86400000));
            steps.push_back([milliseconds](host::View& view) { view.advance(milliseconds); });
        } else if (name == "--out") {
            out = value;
        } else {
            throw UsageError("unknown option " + name);
        }
    });
    if (out.empty()) throw UsageError("render needs --out FRAME.png");

    auto library = host::Library::open(positional[0]);
    auto gui = host::GuiInstance::create(library, positional[1]);
    if (!size) {
        const auto& view = gui->pins().view;
        size = view ? std::pair{view->width, view->height} : std::pair{200, 200};
    }
    std::vector<std::pair<int32_t, host::Bytes>> values;
    for (const auto& [pinName, text] : settings) {
        const host::PinDescription* pin = gui->pins().findPin(pinName);
        if (pin == nullptr) throw UsageError("\"" + positional[1] + "\" has no GUI pin \"" + pinName + "\"");
        values.emplace_back(pin->index, host::parseValue(pin->type, text));
    }

    bool saved = false;
    {
        host::View view(*gui, size->first, size->second);
        for (const auto& [pin, bytes] : values) gui->deliver(pin, bytes);
        view.pump();
        for (const auto& step : steps) step(view);
        view.paint();
        if (const auto frame = view.frame()) {
            host::savePng(*frame, out);
            saved = true;
        }
    }
    for (const auto& box : platform::messageBoxes())
        std::printf("message box \"%s\": %s\n", narrow(box.caption).c_str(), narrow(box.text).c_str());
    if (!saved) {
        std::fprintf(stderr, "suitehost: the view drew no frame\n");
        return exitFailed;
    }
    std::printf("saved %dx%d frame to %s\n", size->first, size->second, out.c_str());
    return exitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        Arguments args(argc, argv, 2);
        if (command == "info") return runInfo(args);
        if (command == "dsp") return runDsp(args);
        if (command == "render") return runRender(args);
        if (command == "gui") return runGui(args);
        if (command == "--help" || command == "-h" || command == "help") return std::fputs(mainHelp, stdout), exitOk;
        if (command.empty()) throw UsageError("no command given");
        throw UsageError("unknown command \"" + command + "\"");
    } catch (const UsageError& e) {
        std::fprintf(stderr, "suitehost: %s\n", e.what());
        if (command.empty() || (command != "info" && command != "dsp" && command != "render" && command != "gui"))
            std::fputs(mainHelp, stderr);
        return exitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "suitehost: %s\n", e.what());
        return exitFailed;
    }
}
