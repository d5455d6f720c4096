// The dual level meter in Mesa's software rasteriser at 200 x 400: one whole
// paint (the frame drawn, swapped and read back by the stand-in), and the CPU
// side of a frame alone, from the return of its clear to the return of its
// last draw call, with the draw calls and heap allocations it makes
// ("draw_calls" and "allocations" per frame).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "allocation_counter.h"
#include "gl_recorder.h"
#include "host/gui_instance.h"
#include "host/library.h"
#include "host/view.h"

namespace {

using testing_support::GlCall;

// Mesa keeps no shader cache between runs, so every run compiles alike.
const bool shaderCacheOff = setenv("MESA_SHADER_CACHE_DISABLE", "true", 1) == 0;

std::shared_ptr<host::Library> meterLibrary() {
    static auto library = host::Library::open(std::filesystem::path(SUITE_PLUGIN_DIR) / "needlepair.so");
    return library;
}

struct Meter {
    std::unique_ptr<host::GuiInstance> gui = host::GuiInstance::create(meterLibrary(), "MY_needlepair");
    host::View view{*gui, 200, 400};
    Meter() {
        gui->deliver(0, 0.8f);
        gui->deliver(1, 0.55f);
        view.paint();  // GL builds what these draws need once
    }
};

void paintTheMeter(benchmark::State& state) {
    Meter meter;
    for (auto _ : state) meter.view.paint();
}
BENCHMARK(paintTheMeter)->Unit(benchmark::kMicrosecond);

void cpuSideOfAFrame(benchmark::State& state) {
    Meter meter;
    testing_support::AllocationCounter counter;
    testing_support::GlRecorder recorder(&counter);
    int64_t draws = 0, allocations = 0;
    for (auto _ : state) {
        recorder.clear();
        meter.view.paint();
        const auto& calls = recorder.calls();
        const auto clear = std::find_if(calls.begin(), calls.end(), [](const GlCall& c) { return c.kind == GlCall::Kind::Clear; });
        const auto last = std::find_if(calls.rbegin(), calls.rend(), [](const GlCall& c) { return c.kind == GlCall::Kind::DrawArrays; });
        if (clear == calls.end() || last == calls.rend()) {
            state.SkipWithError("the frame made no clear or no draw");
            break;
        }
        draws += std::count_if(clear, calls.end(), [](const GlCall& c) { return c.kind == GlCall::Kind::DrawArrays; });
        allocations += last->allocations - clear->allocations;
        state.SetIterationTime(std::chrono::duration<double>(last->returned - clear->returned).count());
    }
    const double frames = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["draw_calls"] = double(draws) / frames;
    state.counters["allocations"] = double(allocations) / frames;
}
BENCHMARK(cpuSideOfAFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
