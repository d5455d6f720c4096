// Text through Fontel in Mesa's software rasteriser, in the test view: one
// paint with a 20-character line of FreeType text or of stroke text beside a
// paint with no text (the difference is what drawing the line costs), and
// opening a view, which loads a font (128 glyph textures at 19 pixels).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "host/gui_instance.h"
#include "host/library.h"
#include "host/view.h"

namespace {

const bool shaderCacheOff = setenv("MESA_SHADER_CACHE_DISABLE", "true", 1) == 0;

constexpr int32_t facePin = 0, pixelSizePin = 2, lineSpacingPin = 3, textPin = 4, xPin = 5, yPin = 6,
                  strokeTextPin = 10, strokeXPin = 11, strokeYPin = 12, strokeScalePin = 13;
const std::string line = "MERIDIAN 20 BANDS EQ";  // 20 characters

std::shared_ptr<host::Library> textviewLibrary() {
    static auto library = host::Library::open(std::filesystem::path(SUITE_TEST_PLUGIN_DIR) / "textview.so");
    return library;
}

host::Bytes bytesOf(const std::string& text) { return host::Bytes(text.begin(), text.end()); }

std::unique_ptr<host::GuiInstance> textview() {
    auto gui = host::GuiInstance::create(textviewLibrary(), "textview");
    gui->deliver(facePin, bytesOf("Arial"));
    gui->deliver(pixelSizePin, 19.0f);
    gui->deliver(lineSpacingPin, 19.0f);
    gui->deliver(xPin, 10.0f);
    gui->deliver(yPin, 10.0f);
    gui->deliver(strokeXPin, 2.0f);
    gui->deliver(strokeYPin, 10.0f);
    gui->deliver(strokeScalePin, 2.0f);
    return gui;
}

enum class Text { none, freeType, stroke };

void paintALine(benchmark::State& state, Text text) {
    auto gui = textview();
    if (text == Text::freeType) gui->deliver(textPin, bytesOf(line));
    if (text == Text::stroke) gui->deliver(strokeTextPin, bytesOf(line));
    host::View view(*gui, 400, 100);
    for (auto _ : state) view.paint();
}
BENCHMARK_CAPTURE(paintALine, no_text, Text::none)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(paintALine, freetype_20_characters, Text::freeType)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(paintALine, stroke_20_characters, Text::stroke)->Unit(benchmark::kMicrosecond);

void openAViewLoadingItsFont(benchmark::State& state) {
    auto gui = textview();
    host::View view(*gui, 400, 100);
    for (auto _ : state) view.reopen();
}
BENCHMARK(openAViewLoadingItsFont)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
