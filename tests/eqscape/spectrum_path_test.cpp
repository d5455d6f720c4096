// The analyser end to end: the built fftfeed analyses a tone in the host, the
// host carries its blobs to the editor's spectrum pin, and the editor's input
// curve peaks at the tone's frequency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "eqscape.h"
#include "host/dsp_instance.h"
#include "host/gui_instance.h"
#include "host/patch.h"
#include "plugins.h"

namespace {

constexpr int32_t feedFirstIn = 3, feedSecondIn = 4, feedSpectrum = 8;

TEST(SpectrumPath, TheInputCurvePeaksAtTheTone) {
    constexpr float rate = 48000.0f;
    constexpr double tone = 3000.0;  // FFT bin 256 of 4096 at 48000 Hz: curve point 255
    host::DspOptions options;
    options.sampleRate = rate;
    auto feed = host::DspInstance::create(testing_support::openDeliverable("fftfeed"), "fftfeed", options);
    auto gui = host::GuiInstance::create(testing_support::openDeliverable("eqscape"), "MY_eqscape");
    host::Patch patch;
    patch.addDsp(*feed);
    patch.connect(*feed, feedSpectrum, *gui, eq::pins::spectrum);
    patch.deliver(*gui, eq::pins::sampleRate, host::bytesOf(rate));
    patch.deliver(*gui, eq::pins::analyser, host::bytesOf(int32_t(1)));
    patch.scheduleStart(*feed, 0);

    constexpr int32_t block = 64;
    int64_t position = 0;
    for (int b = 0; b < 40; ++b) {  // 2560 samples: two hops of 1200
        auto first = feed->audioBuffer(feedFirstIn);
        auto second = feed->audioBuffer(feedSecondIn);
        for (int32_t i = 0; i < block; ++i) {
            first[size_t(i)] = float(0.1 * std::sin(2.0 * 3.141592653589793 * tone * double(position + i) / rate));
            second[size_t(i)] = 0.0f;
        }
        patch.runBlock(block);
        position += block;
    }
    ASSERT_EQ(gui->pinValue(eq::pins::spectrum).size(), 2060u);

    const auto& input = static_cast<const eqscape*>(gui->userInterface())->spectra().input;
    const auto loudest = std::max_element(input.begin() + 1, input.begin() + 2047,
                                          [](const eq::CurvePoint& a, const eq::CurvePoint& b) { return a.y < b.y; });
    const auto point = int32_t(loudest - input.begin());
    EXPECT_NEAR(point, 255, 1);
    EXPECT_GT(loudest->y, -20.0f);
    EXPECT_LT(input[100].y, loudest->y - 20.0f);
    // On the 900-unit axis the peak lies at the tone's column.
    EXPECT_NEAR(loudest->x, (std::log2(tone / 10000.0) + 9.0) * 90.0, 1.0);
}

}  // namespace
