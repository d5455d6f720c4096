// processBlock of cvpitch through its exported interface: a 64-sample block
// with 0, 1 and 8 event groups, each group a new voltage (so each converts and
// sends). "per_group" is the block's time divided by its groups.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "host/dsp_instance.h"
#include "host/library.h"

namespace {

constexpr int32_t blockSize = 64;

void processBlockWithEventGroups(benchmark::State& state) {
    const auto groups = int32_t(state.range(0));
    auto library = host::Library::open(std::filesystem::path(SUITE_PLUGIN_DIR) / "cvpitch.so");
    auto dsp = host::DspInstance::create(library, "cvpitch");
    dsp->activate();

    // Two lists with different voltages, alternated, so every group sends.
    host::EventList lists[2];
    for (int k = 0; k < 2; ++k)
        for (int32_t g = 0; g < groups; ++g) lists[k].value(g * (blockSize / 8), 0, float(k) + float(g) / 16);

    int64_t block = 0;
    for (auto _ : state) {
        dsp->processBlock(blockSize, lists[block++ & 1]);
        if ((block & 1023) == 0) dsp->clearRecords();  // keep the host's record inside its reserve
    }
    state.SetItemsProcessed(state.iterations() * groups);
    if (groups > 0)
        state.counters["per_group"] =
            benchmark::Counter(double(state.iterations() * groups), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(processBlockWithEventGroups)->Arg(0)->Arg(1)->Arg(8);

}  // namespace

BENCHMARK_MAIN();
