// The spectrum module's analysis side by side with FFTW (single precision,
// r2c, FFTW_MEASURE), in one run:
//   fft/ours, fft/fftw        the 4096-point real transform alone
//   hop/ours, hop/fftw        one whole analysis: window, transform, magnitudes,
//                             level bytes and packing; the FFTW hop takes the
//                             levels with the plain log10f loop
//   module/block              fftfeed through the host: 64-sample blocks at
//                             44100 Hz, one hop's worth per iteration
// Ratios: divide ours by fftw.
#include <benchmark/benchmark.h>

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "host/dsp_instance.h"
#include "host/library.h"
#include "real_fft.h"
#include "spectrum_levels.h"

namespace {

constexpr int32_t n = spectrum::RealFft4096::size;
constexpr int32_t analysisLength = 2204;  // at 44100 Hz
constexpr float levelOffset = 4.0f;

std::vector<float> noise(size_t count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> samples(count);
    for (float& x : samples) x = uniform(random);
    return samples;
}

std::vector<float> hannWindow() {
    std::vector<float> window(n, 0.0f);
    for (int32_t i = 0; i < analysisLength; ++i) {
        const float s = std::sin(float(i) * 3.14159265358979f / float(analysisLength));
        window[size_t(i)] = s * s;
    }
    return window;
}

// FFTW owns aligned buffers and the plan for the whole run.
struct Fftw {
    float* in = fftwf_alloc_real(n);
    fftwf_complex* out = fftwf_alloc_complex(n / 2 + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
    ~Fftw() {
        fftwf_destroy_plan(plan);
        fftwf_free(out);
        fftwf_free(in);
    }
};

void fftOurs(benchmark::State& state) {
    spectrum::RealFft4096 fft;
    const auto input = noise(n);
    alignas(16) static float data[n];
    for (auto _ : state) {
        std::memcpy(data, input.data(), sizeof data);
        fft.transform(data);
        benchmark::DoNotOptimize(data);
    }
}

void fftFftw(benchmark::State& state) {
    Fftw fftw;
    const auto input = noise(n);
    for (auto _ : state) {
        std::memcpy(fftw.in, input.data(), n * sizeof(float));
        fftwf_execute(fftw.plan);
        benchmark::DoNotOptimize(fftw.out);
    }
}

void hopOurs(benchmark::State& state) {
    spectrum::RealFft4096 fft;
    const auto ring = noise(analysisLength);
    const auto window = hannWindow();
    alignas(16) static float frame[n];
    alignas(16) static float magnitudes[n / 2];
    static uint8_t blob[2060];
    for (auto _ : state) {
        std::memset(frame, 0, sizeof frame);
        for (int32_t k = 0; k < analysisLength; ++k) frame[k] = ring[size_t(k)] * window[size_t(k)];
        fft.transform(frame);
        spectrum::binMagnitudes(frame, magnitudes);
        spectrum::levelBytes(magnitudes + 2, 2046, levelOffset, blob + 12);
        blob[12 + 2046] = blob[12 + 2047] = 0;
        benchmark::DoNotOptimize(blob);
    }
}

void hopFftw(benchmark::State& state) {
    Fftw fftw;
    const auto ring = noise(analysisLength);
    const auto window = hannWindow();
    static uint8_t blob[2060];
    for (auto _ : state) {
        std::memset(fftw.in, 0, n * sizeof(float));
        for (int32_t k = 0; k < analysisLength; ++k) fftw.in[k] = ring[size_t(k)] * window[size_t(k)];
        fftwf_execute(fftw.plan);
        for (int32_t k = 0; k < 2046; ++k) {
            const float re = fftw.out[k + 2][0], im = fftw.out[k + 2][1];
            const float m = std::sqrt(re * re + im * im);
            const float level = 10.0f * std::log10((m > 0.00631f ? m : 0.00631f) * (10.0f / 4096.0f));
            blob[12 + k] = uint8_t(int32_t(-4.0f * (level + levelOffset)) & 0xFF);
        }
        blob[12 + 2046] = blob[12 + 2047] = 0;
        benchmark::DoNotOptimize(blob);
    }
}

void moduleBlocks(benchmark::State& state) {
    auto library = host::Library::open(std::filesystem::path(SUITE_PLUGIN_DIR) / "fftfeed.so");
    auto dsp = host::DspInstance::create(library, "fftfeed");
    dsp->activate();
    const auto input = noise(64);
    for (int32_t pin : {3, 4}) std::copy(input.begin(), input.end(), dsp->audioBuffer(pin).begin());
    host::EventList none;
    int64_t iterations = 0;
    for (auto _ : state) {
        for (int b = 0; b < 18; ++b) dsp->processBlock(64, none);  // 1152 samples: one hop
        if ((++iterations & 15) == 0) dsp->clearRecords();
    }
}

BENCHMARK(fftOurs)->Name("fft/ours");
BENCHMARK(fftFftw)->Name("fft/fftw");
BENCHMARK(hopOurs)->Name("hop/ours");
BENCHMARK(hopFftw)->Name("hop/fftw");
BENCHMARK(moduleBlocks)->Name("module/block");

}  // namespace

BENCHMARK_MAIN();
