// Our real FFT against FFTW's single-precision r2c transform of the same
// input: every bin, real and imaginary part, within a small fraction of the
// spectrum's largest magnitude.
#include <gtest/gtest.h>

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <vector>

#include "real_fft.h"

namespace {

constexpr int32_t n = spectrum::RealFft4096::size;

// FFTW's answer, bins 0..n/2.
std::vector<std::complex<float>> oracle(const std::vector<float>& samples) {
    std::vector<float> in(samples);
    std::vector<std::complex<float>> out(n / 2 + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in.data(), reinterpret_cast<fftwf_complex*>(out.data()), FFTW_ESTIMATE);
    fftwf_execute(plan);
    fftwf_destroy_plan(plan);
    return out;
}

// Ours, in the same form.
std::vector<std::complex<float>> ours(const std::vector<float>& samples) {
    static spectrum::RealFft4096 fft;
    std::vector<float> data(samples);
    fft.transform(data.data());
    std::vector<std::complex<float>> out(n / 2 + 1);
    out[0] = data[0];
    out[n / 2] = data[n / 2];
    for (int32_t k = 1; k < n / 2; ++k) out[size_t(k)] = {data[size_t(k)], data[size_t(n / 2 + k)]};
    return out;
}

struct Input {
    const char* name;
    std::function<float(int32_t)> sample;
};

TEST(RealFft, AgreesWithFftwOnEveryBin) {
    std::mt19937 random(4096);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> noise(n);
    for (float& x : noise) x = uniform(random);
    const double twoPi = 6.283185307179586;
    const Input inputs[] = {
        {"white noise", [&](int32_t j) { return noise[size_t(j)]; }},
        {"noise scaled by 1e4", [&](int32_t j) { return 1e4f * noise[size_t(j)]; }},
        {"sine on bin 93", [&](int32_t j) { return float(std::sin(twoPi * 93 * j / n)); }},
        {"1000 Hz sine at 44100 Hz", [&](int32_t j) { return float(std::sin(twoPi * 1000 * j / 44100)); }},
        {"cosine on bin 2047", [&](int32_t j) { return float(std::cos(twoPi * 2047 * j / n)); }},
        {"Nyquist", [](int32_t j) { return j % 2 == 0 ? 1.0f : -1.0f; }},
        {"constant", [](int32_t) { return 0.5f; }},
        {"impulse at 1", [](int32_t j) { return j == 1 ? 1.0f : 0.0f; }},
        {"impulse at 4095", [](int32_t j) { return j == 4095 ? -2.0f : 0.0f; }},
        {"sines on bins 1, 512.5 and 1024", [&](int32_t j) {
             return float(std::sin(twoPi * j / n) + 0.25 * std::cos(twoPi * 512.5 * j / n) +
                          1e-3 * std::sin(twoPi * 1024 * j / n));
         }},
    };
    for (const Input& input : inputs) {
        SCOPED_TRACE(input.name);
        std::vector<float> samples(n);
        for (int32_t j = 0; j < n; ++j) samples[size_t(j)] = input.sample(j);
        const auto expected = oracle(samples);
        const auto actual = ours(samples);
        float largest = 0.0f;
        for (const auto& x : expected) largest = std::max(largest, std::abs(x));
        const float tolerance = 4e-6f * largest;  // a few float roundings per stage
        for (int32_t k = 0; k <= n / 2; ++k) {
            SCOPED_TRACE(k);
            ASSERT_NEAR(actual[size_t(k)].real(), expected[size_t(k)].real(), tolerance);
            ASSERT_NEAR(actual[size_t(k)].imag(), expected[size_t(k)].imag(), tolerance);
        }
    }
}

TEST(RealFft, IsUnnormalisedAndLinear) {
    // A full-scale cosine on bin 64 sums to n/2 there and nothing elsewhere; twice
    // the input gives exactly twice every output (scaling by 2 is exact).
    std::vector<float> samples(n);
    for (int32_t j = 0; j < n; ++j) samples[size_t(j)] = float(std::cos(6.283185307179586 * 64 * j / n));
    const auto once = ours(samples);
    EXPECT_NEAR(once[64].real(), n / 2, 1e-3);
    EXPECT_NEAR(once[64].imag(), 0, 1e-3);
    for (float& x : samples) x *= 2;
    const auto twice = ours(samples);
    for (int32_t k = 0; k <= n / 2; ++k) {
        ASSERT_EQ(twice[size_t(k)].real(), 2 * once[size_t(k)].real()) << k;
        ASSERT_EQ(twice[size_t(k)].imag(), 2 * once[size_t(k)].imag()) << k;
    }
}

}  // namespace
