// fftfeed through the host: blob layout, hop timing, channel alternation, the
// levels of known inputs, the whole analysis against FFTW, and safe answers to
// sample rates the analysis cannot use as they are.
#include <gtest/gtest.h>

#include <fftw3.h>

#include <cfloat>
#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "allocation_counter.h"
#include "host/dsp_instance.h"
#include "plugins.h"

namespace {

constexpr int32_t firstIn = 3, secondIn = 4, spectrumPin = 8;
constexpr int32_t blobSize = 2060;
constexpr double twoPi = 6.283185307179586;

using Signal = std::function<float(int64_t sample)>;
const Signal silence = [](int64_t) { return 0.0f; };

int32_t readInt(const uint8_t* at) {
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

struct Blob {
    int64_t block;  // counted from the first block of the run that sent it
    int32_t time;
    int32_t size;
    int32_t magic, channel, words;
    std::vector<uint8_t> levels;  // the 2048 level bytes
};

// One fftfeed instance, fed block by block from two signals of the absolute
// sample position.
class Feed {
public:
    explicit Feed(float sampleRate, int32_t maxBlockSize = 8192) {
        host::DspOptions options;
        options.sampleRate = sampleRate;
        options.maxBlockSize = maxBlockSize;
        dsp = host::DspInstance::create(testing_support::openDeliverable("fftfeed"), "fftfeed", options);
        dsp->activate();
    }

    // Runs `blocks` blocks of `size` samples and returns the blobs they sent.
    std::vector<Blob> run(int64_t blocks, int32_t size, const Signal& first = silence,
                          const Signal& second = silence) {
        dsp->clearRecords();
        for (int64_t b = 0; b < blocks; ++b) {
            fill(first, second, size);
            dsp->processBlock(size, events);
            position += size;
            ++blocksRun;
        }
        std::vector<Blob> blobs;
        const int64_t firstBlock = blocksRun - blocks;
        for (const auto& sent : dsp->sentValues()) {
            EXPECT_EQ(sent.pinIndex, spectrumPin);
            const uint8_t* bytes = sent.bytes.data();
            Blob blob{sent.block - firstBlock, sent.time, int32_t(sent.bytes.size()), 0, 0, 0, {}};
            if (sent.bytes.size() == size_t(blobSize)) {
                blob.magic = readInt(bytes);
                blob.channel = readInt(bytes + 4);
                blob.words = readInt(bytes + 8);
                blob.levels.assign(bytes + 12, bytes + blobSize);
            }
            blobs.push_back(std::move(blob));
        }
        return blobs;
    }

    void fill(const Signal& first, const Signal& second, int32_t size) {
        const auto a = dsp->audioBuffer(firstIn), b = dsp->audioBuffer(secondIn);
        for (int32_t i = 0; i < size; ++i) {
            a[size_t(i)] = first(position + i);
            b[size_t(i)] = second(position + i);
        }
    }

    std::unique_ptr<host::DspInstance> dsp;
    host::EventList events;
    int64_t position = 0;
    int64_t blocksRun = 0;
};

// The formula for one magnitude, kept apart from the module's code.
uint8_t levelByte(float magnitude, float offset) {
    const float m = std::max(magnitude, 0.00631f);
    const float level = 10.0f * std::log10(m * (10.0f / 4096.0f));
    return uint8_t(int32_t(-4.0f * (level + offset)) & 0xFF);
}

float hann(int32_t i, int32_t length) {
    const float s = std::sin(float(i) * 3.14159265358979f / float(length));
    return s * s;
}

// What the analysis of `ring` (L samples in storage order) should give, by
// FFTW. A byte counts as certain where the difference between two float FFTs
// cannot move -4 (level + offset) across a whole number.
struct Expected {
    std::vector<uint8_t> bytes;  // bins 2..2047
    std::vector<bool> certain;
    std::vector<float> magnitudes;  // bins 0..2048
};

Expected analyse(const std::vector<float>& ring, float offset) {
    const auto length = int32_t(ring.size());
    std::vector<float> frame(4096, 0.0f);
    for (int32_t k = 0; k < std::min(length, 4096); ++k) frame[size_t(k)] = ring[size_t(k)] * hann(k, length);
    std::vector<std::complex<float>> spectrum(2049);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(4096, frame.data(), reinterpret_cast<fftwf_complex*>(spectrum.data()),
                                            FFTW_ESTIMATE);
    fftwf_execute(plan);
    fftwf_destroy_plan(plan);

    Expected expected;
    float largest = 0.0f;
    for (const auto& x : spectrum) {
        expected.magnitudes.push_back(std::abs(x));
        largest = std::max(largest, std::abs(x));
    }
    const double error = 1e-5 * largest;  // between two float FFTs, generously
    for (int32_t bin = 2; bin < 2048; ++bin) {
        const float m = expected.magnitudes[size_t(bin)];
        expected.bytes.push_back(levelByte(m, offset));
        const auto y = [&](double magnitude) {
            return -4.0 * (10.0 * std::log10(std::max(magnitude, 0.00631) * 10.0 / 4096.0) + offset);
        };
        const double low = y(m + error), high = y(std::max(0.0, m - error));
        expected.certain.push_back(std::floor(low - 1e-3) == std::floor(high + 1e-3));
    }
    return expected;
}

// Every certain byte as expected; at least `share` of them certain.
void expectLevels(const Blob& blob, const Expected& expected, double share) {
    ASSERT_EQ(blob.levels.size(), 2048u);
    int32_t certain = 0, wrong = 0;
    for (size_t k = 0; k < 2046; ++k) {
        if (!expected.certain[k]) continue;
        ++certain;
        if (blob.levels[k] != expected.bytes[k] && ++wrong <= 5)
            ADD_FAILURE() << "byte " << k << " (bin " << k + 2 << "): " << int(blob.levels[k]) << ", expected "
                          << int(expected.bytes[k]);
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GE(certain, int32_t(share * 2046)) << "too few bytes to compare";
    EXPECT_EQ(blob.levels[2046], 0);
    EXPECT_EQ(blob.levels[2047], 0);
}

void expectAll(const Blob& blob, uint8_t byte) {
    ASSERT_EQ(blob.levels.size(), 2048u);
    for (size_t k = 0; k < 2046; ++k) ASSERT_EQ(blob.levels[k], byte) << "byte " << k;
    EXPECT_EQ(blob.levels[2046], 0);
    EXPECT_EQ(blob.levels[2047], 0);
}

// Uniform in [-1, 1), a hash of seed and sample position.
Signal noise(uint32_t seed) {
    return [seed](int64_t sample) {
        uint64_t x = uint64_t(sample) * 0x9E3779B97F4A7C15ull + seed;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        x ^= x >> 31;
        return float(int64_t(x >> 40) - (1 << 23)) / float(1 << 23);
    };
}

Signal sine(double hertz, double rate, double amplitude = 1.0) {
    return [=](int64_t sample) { return float(amplitude * std::sin(twoPi * hertz * double(sample) / rate)); };
}

TEST(Fftfeed, SilenceGivesTheFloorByteOfEachRate) {
    struct Case {
        float rate;
        uint8_t floorByte;
    };
    // 22050 Hz has no offset of its own: a new module's is 0.
    for (const Case c : {Case{44100, 176}, Case{48000, 180}, Case{88200, 200}, Case{96000, 206}, Case{22050, 192}}) {
        SCOPED_TRACE(c.rate);
        Feed feed(c.rate);
        const auto blobs = feed.run(100, 64);
        ASSERT_GE(blobs.size(), 2u);
        for (const Blob& blob : blobs) {
            EXPECT_EQ(blob.size, blobSize);
            EXPECT_EQ(blob.magic, 329544);
            EXPECT_EQ(blob.words, 512);
            expectAll(blob, c.floorByte);
        }
    }
}

TEST(Fftfeed, AnalysesAtTheEndOfTheCallThatReachesTheHopAndDropsTheSurplus) {
    struct Case {
        float rate;
        int32_t blockSize;
        std::vector<int64_t> blocks;  // of the first blobs
    };
    const Case cases[] = {
        {44100, 64, {17, 35, 53}},   // hop 1102: 18 blocks (1152 samples), the 50 over are dropped
        {48000, 64, {18, 37, 56}},   // 1200: 19 blocks
        {88200, 64, {34, 69, 104}},  // 2205: 35 blocks
        {96000, 64, {37, 75, 113}},  // 2400: 38 blocks
        {44100, 1102, {0, 1, 2}},
        {44100, 4096, {0, 1, 2}},    // one analysis per call at most
        {44100, 1101, {1, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, blocks of " << c.blockSize);
        Feed feed(c.rate);
        const auto blobs = feed.run(c.blocks.back() + 1, c.blockSize);
        ASSERT_EQ(blobs.size(), c.blocks.size());
        for (size_t i = 0; i < blobs.size(); ++i) {
            EXPECT_EQ(blobs[i].block, c.blocks[i]);
            EXPECT_EQ(blobs[i].time, 0);
        }
    }
}

TEST(Fftfeed, AlternatesChannelsAndAnalysesEachInputInItsTurn) {
    Feed feed(44100);
    // A tone on the first input only, then on the second only.
    const Signal tone = sine(1000, 44100, 0.25);
    auto blobs = feed.run(18 * 6, 64, tone, silence);
    auto more = feed.run(18 * 6, 64, silence, tone);
    blobs.insert(blobs.end(), more.begin(), more.end());
    ASSERT_EQ(blobs.size(), 12u);
    for (size_t i = 0; i < blobs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(blobs[i].channel, int32_t(i % 2));
        // Each ring holds its input's last two captures (phase 0 only): blob 6
        // still sees the tone captured for blob 4.
        const bool toneAnalysed = i < 6 ? i % 2 == 0 : i % 2 == 1 || i == 6;
        if (toneAnalysed) {
            EXPECT_LT(*std::min_element(blobs[i].levels.begin(), blobs[i].levels.begin() + 2046), 100);
        } else {
            expectAll(blobs[i], 176);
        }
    }
}

TEST(Fftfeed, FullScaleSineAt1000HzPeaksInBin93AndWraps) {
    // Blocks of exactly one hop: blob 2 (channel 0 again) analyses samples
    // 0..1101 in slots 0..1101 and 2204..3305 in slots 1102..2203.
    const Signal tone = sine(1000, 44100);
    Feed feed(44100);
    const auto blobs = feed.run(3, 1102, tone);
    ASSERT_EQ(blobs.size(), 3u);
    std::vector<float> ring(2204);
    for (int32_t k = 0; k < 1102; ++k) {
        ring[size_t(k)] = tone(k);
        ring[size_t(1102 + k)] = tone(2204 + k);
    }
    const Expected expected = analyse(ring, 4.0f);
    const auto peak = std::max_element(expected.magnitudes.begin(), expected.magnitudes.end());
    EXPECT_EQ(peak - expected.magnitudes.begin(), 93);
    EXPECT_NEAR(*peak, 549.5f, 2.0f) << "with 2204 samples straight from the tone, about 549.5";
    EXPECT_EQ(blobs[2].channel, 0);
    EXPECT_EQ(blobs[2].levels[93 - 2], 235);  // about +5.28 after the offset: -21 wraps
    expectLevels(blobs[2], expected, 0.05);   // the bins far from the tone are too faint to compare

    std::vector<float> straight(2204);
    for (int32_t k = 0; k < 2204; ++k) straight[size_t(k)] = tone(k);
    const Expected steady = analyse(straight, 4.0f);
    EXPECT_NEAR(steady.magnitudes[93], 549.5f, 0.5f);
    EXPECT_EQ(steady.bytes[93 - 2], 235);
}

TEST(Fftfeed, WholeAnalysisAgreesWithFftw) {
    // Noise on both inputs, blocks of one hop: channel-0 blob j holds the
    // first input's samples [2jh, 2jh + h) in slots (j % 2) h.., and the
    // capture before it in the other half; channel 1 the same of the second.
    struct Case {
        float rate;
        float offset;
    };
    for (const Case c : {Case{44100, 4}, Case{48000, 3}, Case{88200, -2}, Case{96000, -3.5f}, Case{192000, 0},
                         Case{8000, 0}}) {
        SCOPED_TRACE(c.rate);
        const auto hop = int32_t(double(c.rate) * 0.025);
        const Signal inputs[2] = {noise(1), noise(2)};
        Feed feed(c.rate);
        const auto blobs = feed.run(6, hop, inputs[0], inputs[1]);
        ASSERT_EQ(blobs.size(), 6u);
        for (int32_t i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            const int32_t channel = i % 2;
            const int32_t j = i / 2;
            ASSERT_EQ(blobs[size_t(i)].channel, channel);
            std::vector<float> ring(size_t(2 * hop), 0.0f);
            for (int32_t capture = std::max(0, j - 1); capture <= j; ++capture)
                for (int32_t s = 0; s < hop; ++s)
                    ring[size_t((capture % 2) * hop + s)] = inputs[channel](int64_t(2 * capture) * hop + s);
            expectLevels(blobs[size_t(i)], analyse(ring, c.offset), 0.9);
        }
    }
}

TEST(Fftfeed, AnalysesOnlyTheFirst4096WindowedSamplesOfLongerRings) {
    // Blob 2 (channel 0) holds samples [2h, 3h) in slots h..2h-1. Sound only in
    // the slots from 4096 on is never analysed; sound in slot 4095 is.
    struct Case {
        float rate;
        int32_t hop;
        uint8_t floorByte;
    };
    for (const Case c : {Case{88200, 2205, 200}, Case{96000, 2400, 206}}) {
        SCOPED_TRACE(c.rate);
        const int64_t slot4096 = 2 * c.hop + (4096 - c.hop);  // the sample landing in slot 4096
        for (const int64_t firstLoud : {slot4096, slot4096 - 1}) {
            Feed feed(c.rate);
            const auto blobs =
                feed.run(3, c.hop, [=](int64_t sample) { return sample >= firstLoud && sample < 3 * c.hop ? 1.0f : 0.0f; });
            ASSERT_EQ(blobs.size(), 3u);
            if (firstLoud == slot4096) {
                expectAll(blobs[2], c.floorByte);
            } else {
                EXPECT_LT(*std::min_element(blobs[2].levels.begin(), blobs[2].levels.begin() + 2046), c.floorByte);
            }
        }
    }
}

TEST(Fftfeed, RatesPastTheWindowTableStayInsideTheirBuffers) {
    // From 163880 Hz twice the analysis length exceeds the 16384-entry window
    // table; past 1920040 Hz the analysis length exceeds the rings. The hop
    // keeps its 25 ms up to the rings' 48000 samples.
    struct Case {
        float rate;
        int32_t hop;
    };
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case c : {Case{163879, 4096}, Case{163880, 4097}, Case{192000, 4800}, Case{384000, 9600},
                         Case{1920000, 48000}, Case{1920040, 48000}, Case{1e9f, 48000}, Case{inf, 48000}}) {
        SCOPED_TRACE(c.rate);
        Feed feed(c.rate);
        const int64_t blocksPerHop = (c.hop + 999) / 1000;
        const auto blobs = feed.run(3 * blocksPerHop, 1000, noise(3), noise(4));
        ASSERT_EQ(blobs.size(), 3u);
        for (size_t i = 0; i < blobs.size(); ++i) {
            EXPECT_EQ(blobs[i].channel, int32_t(i % 2));
            EXPECT_EQ(blobs[i].block, int64_t(i + 1) * blocksPerHop - 1);
            EXPECT_EQ(blobs[i].levels[2046], 0);
        }
    }
}

TEST(Fftfeed, UnusableRatesLeaveTheModuleIdleUntilAUsableOne) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float rate : {0.0f, -0.0f, -44100.0f, nan, -std::numeric_limits<float>::infinity(), 39.99f}) {
        SCOPED_TRACE(rate);
        Feed feed(rate);
        EXPECT_TRUE(feed.run(200, 64, noise(5), noise(6)).empty());
        EXPECT_TRUE(feed.dsp->sleepRequests().empty());
        feed.dsp->setSampleRate(44100);
        feed.dsp->activate();
        const auto blobs = feed.run(18, 64);
        ASSERT_EQ(blobs.size(), 1u);
        expectAll(blobs[0], 176);
    }
    Feed slow(40);  // one sample per hop: an analysis after every call
    EXPECT_EQ(slow.run(5, 64).size(), 5u);
}

TEST(Fftfeed, ActivatingAgainRebuildsTheAnalysisButKeepsThePhaseAndOtherRatesKeepTheOffset) {
    Feed feed(44100);
    auto blobs = feed.run(18, 64);
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ(blobs[0].channel, 0);
    feed.run(10, 64);  // counted, then forgotten by the next activation
    feed.dsp->setSampleRate(22050);  // hop 551, and no offset of its own: 4 stays
    feed.dsp->activate();
    blobs = feed.run(9, 64);
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ(blobs[0].block, 8);
    EXPECT_EQ(blobs[0].channel, 1);
    expectAll(blobs[0], 176);
    feed.dsp->setSampleRate(96000);
    feed.dsp->activate();
    blobs = feed.run(38, 64);
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ(blobs[0].channel, 0);
    expectAll(blobs[0], 206);
}

TEST(Fftfeed, TheStartEventSendsTheEmptyInitialBlobOnly) {
    Feed feed(44100);
    feed.events.start(5);
    auto blobs = feed.run(1, 64);
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ(blobs[0].time, 5);
    EXPECT_EQ(blobs[0].size, 0);  // receivers ignore an empty blob
    feed.events.clear();
    blobs = feed.run(17, 64);
    ASSERT_EQ(blobs.size(), 1u);
    EXPECT_EQ(blobs[0].channel, 0);
    EXPECT_EQ(blobs[0].block, 16);  // the start block's samples counted too
}

TEST(Fftfeed, NeverSleepsWhateverTheInputsStreaming) {
    Feed feed(48000);
    EXPECT_EQ(feed.run(100, 64).size(), 5u);
    feed.events.streaming(0, firstIn, true).streaming(0, secondIn, true);
    feed.run(1, 64);
    feed.events.clear();
    feed.events.streaming(10, firstIn, false).streaming(20, secondIn, false);
    feed.run(1, 64);
    feed.events.clear();
    EXPECT_EQ(feed.run(100, 64).size(), 5u);
    EXPECT_TRUE(feed.dsp->sleepRequests().empty());
}

TEST(Fftfeed, TheSpareInputsChangeNothing) {
    Feed quiet(44100), busy(44100);
    for (int32_t pin : {5, 6, 7}) busy.events.value(3, pin, int32_t(1234 * pin));
    busy.events.value(5, 0, int32_t(1)).value(6, 99, 2.0f);  // no such pins
    const auto a = quiet.run(40, 64, noise(7), noise(8));
    const auto b = busy.run(40, 64, noise(7), noise(8));
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), a.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].levels, b[i].levels);
}

TEST(Fftfeed, NonFiniteSamplesGiveDefinedBytes) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Feed feed(44100);
    const auto blobs = feed.run(1, 1102, [=](int64_t s) { return s == 500 ? nan : 0.5f; });
    ASSERT_EQ(blobs.size(), 1u);
    expectAll(blobs[0], 176);  // every sum holds the NaN: the floor
    Feed other(44100);
    const auto more = other.run(1, 1102, [=](int64_t s) { return s == 500 ? inf : 0.0f; });
    ASSERT_EQ(more.size(), 1u);
    const uint8_t floorByte = 176, largestByte = levelByte(FLT_MAX, 4.0f);
    for (size_t k = 0; k < 2046; ++k) {
        const uint8_t b = more[0].levels[k];
        ASSERT_TRUE(b == floorByte || b == largestByte) << k << ": " << int(b);
    }
}

TEST(Fftfeed, RunsWithoutAudioBuffersAsOnSilence) {
    host::DspOptions options;
    auto dsp = host::DspInstance::create(testing_support::openDeliverable("fftfeed"), "fftfeed", options);
    ASSERT_EQ(dsp->plugin()->activate(), 0);  // no setAudioBuffer calls
    host::EventList none;
    for (int b = 0; b < 18; ++b) dsp->processBlock(64, none);
    ASSERT_EQ(dsp->sentValues().size(), 1u);
    const auto bytes = dsp->sentValues()[0].bytes;
    for (size_t k = 12; k < 12 + 2046; ++k) ASSERT_EQ(bytes[k], 176) << k;
}

TEST(Fftfeed, AllocatesOnlyTheBlobPinsStorageOnItsFirstSend) {
    Feed feed(44100);
    feed.fill(noise(9), noise(10), 64);
    host::EventList none;
    {
        testing_support::AllocationCounter counter;
        for (int b = 0; b < 18 * 20; ++b) feed.dsp->processBlock(64, none);
        EXPECT_EQ(feed.dsp->sentValues().size(), 20u);
        EXPECT_EQ(counter.allocations(), 1);
    }
    feed.dsp->clearRecords();
    {
        testing_support::AllocationCounter counter;
        feed.dsp->activate();
        for (int b = 0; b < 18 * 20; ++b) feed.dsp->processBlock(64, none);
        EXPECT_EQ(feed.dsp->sentValues().size(), 20u);
        EXPECT_EQ(counter.allocations(), 0);
    }
}

}  // namespace
