// GL views through Vitrel in Mesa's software rasteriser: the time to open and
// close a view (window, device context, pixel format, context, shader
// programs), one paint of the test module's shapes, and the memory a live
// view holds. Memory is the process's resident size from /proc/self/statm:
// "per_live_view_MB" is the growth with 10 views open divided by 10,
// "growth_after_200_MB" what 200 open-close cycles leave behind.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "host/gui_instance.h"
#include "host/library.h"
#include "host/view.h"

namespace {

// Mesa keeps no shader cache between runs, so every run compiles alike.
const bool shaderCacheOff = setenv("MESA_SHADER_CACHE_DISABLE", "true", 1) == 0;

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

std::shared_ptr<host::Library> shapesLibrary() {
    static auto library = host::Library::open(std::filesystem::path(SUITE_TEST_PLUGIN_DIR) / "shapes.so");
    return library;
}

void openAndCloseAView(benchmark::State& state) {
    auto gui = host::GuiInstance::create(shapesLibrary(), "shapes");
    host::View view(*gui, 200, 200);
    for (auto _ : state) view.reopen();
}
BENCHMARK(openAndCloseAView)->Unit(benchmark::kMillisecond);

void paintAView(benchmark::State& state) {
    auto gui = host::GuiInstance::create(shapesLibrary(), "shapes");
    host::View view(*gui, int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) view.paint();
}
BENCHMARK(paintAView)->Args({200, 400})->Args({900, 400})->Unit(benchmark::kMicrosecond);

void memoryOfViews(benchmark::State& state) {
    for (auto _ : state) {
        const double before = residentMegabytes();
        std::vector<std::unique_ptr<host::GuiInstance>> guis;
        std::vector<std::unique_ptr<host::View>> views;
        for (int i = 0; i < 10; ++i) {
            guis.push_back(host::GuiInstance::create(shapesLibrary(), "shapes"));
            views.push_back(std::make_unique<host::View>(*guis.back(), 200, 200));
        }
        const double open = residentMegabytes();
        views.clear();
        guis.clear();

        auto gui = host::GuiInstance::create(shapesLibrary(), "shapes");
        host::View view(*gui, 200, 200);
        const double afterFirst = residentMegabytes();
        for (int i = 0; i < 200; ++i) view.reopen();
        const double after200 = residentMegabytes();

        state.counters["per_live_view_MB"] = (open - before) / 10.0;
        state.counters["growth_after_200_MB"] = after200 - afterFirst;
    }
}
BENCHMARK(memoryOfViews)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
