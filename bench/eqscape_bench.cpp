// The EQ editor's model at a plot width of 900: one node-drag step (the
// dragged band's coefficients, magnitude curve and vertex lists, then the ten
// cached curves re-summed into the totals), without and with the phase pass;
// and one analyser blob decoded into the spectrum curves. The goal for the
// drag step without phase is 1% of a 60 fps frame, 167 us.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "analyser.h"
#include "response.h"
#include "totals.h"

namespace {

constexpr int width = 900;
constexpr float rate = 48000.0f;

struct Model {
    Model() : bands(std::make_unique<eq::Bands>()), totals(std::make_unique<eq::TotalCurves>()) {
        for (int k = 0; k < eq::bandCount; ++k) {
            eq::EqBand& b = (*bands)[size_t(k)];
            b.type = k % 7;
            b.order = 1;
            b.active = 1;
            b.routing = eq::BothChannels;
            b.plotWidth = width;
            eq::buildFrequencyGrid(b, width);
            eq::computeCoefficients(b, rate, 40.0f * float(k + 1) * float(k + 1), 1.0f, 3.0f);
            eq::computeMagnitudeCurve(b);
            eq::computePhaseCurve(b);
        }
    }
    std::unique_ptr<eq::Bands> bands;
    std::unique_ptr<eq::TotalCurves> totals;
};

void dragStep(benchmark::State& state) {
    const bool phase = state.range(0) != 0;
    Model model;
    eq::EqBand& dragged = (*model.bands)[4];
    float frequency = 500.0f;
    for (auto _ : state) {
        frequency = frequency > 8000.0f ? 500.0f : frequency * 1.01f;  // the pointer moves
        eq::computeCoefficients(dragged, rate, frequency, 1.0f, 6.0f);
        eq::computeMagnitudeCurve(dragged);
        if (phase) eq::computePhaseCurve(dragged);
        eq::recomputeTotals(*model.bands, eq::SplitStereo, phase ? 1 : 0, float(width), *model.totals);
        benchmark::DoNotOptimize(model.totals->magnitudeA[450].y);
    }
    // Seconds per step over a hundredth of a 60 fps frame: the step's share of the frame in %.
    state.counters["frame_%"] = benchmark::Counter(double(state.iterations()) / 60.0 / 100.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(dragStep)->ArgName("phase")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void analyserBlob(benchmark::State& state) {
    auto curves = std::make_unique<eq::SpectrumCurves>();
    eq::rebuildAnalyserAxis(*curves, rate);
    std::vector<uint8_t> blob(2060);
    const int32_t header[3] = {eq::spectrumMagic, 0, 512};
    std::memcpy(blob.data(), header, 12);
    for (size_t i = 12; i < blob.size(); ++i) blob[i] = uint8_t(i * 37 % 200);
    int32_t channel = 0;
    for (auto _ : state) {
        std::memcpy(blob.data() + 4, &channel, 4);  // the channels alternate
        channel ^= 1;
        eq::applySpectrumBlob(*curves, blob.data(), int32_t(blob.size()), eq::FallingPeak);
        benchmark::DoNotOptimize(curves->difference[500].y);
    }
}
BENCHMARK(analyserBlob)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
