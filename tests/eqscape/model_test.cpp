// The editor's model on its own: band curves against an independent
// evaluation of the biquad response, the vertex lists, the totals and their
// wrapping, and the analyser's decoding of spectrum blobs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "analyser.h"
#include "reference.h"
#include "response.h"
#include "totals.h"

namespace {

constexpr int width = 900;
constexpr float rate = 48000.0f;
const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

struct BandSpec {
    int32_t type;
    float frequency, bandwidth, gain;
    int32_t order = 1;
    double oversampling = 1.0;
    int32_t active = 1;
    int32_t routing = eq::BothChannels;
};

void prepare(eq::EqBand& band, const BandSpec& s, int n = width) {
    band.type = s.type;
    band.order = s.order;
    band.oversampling = s.oversampling;
    band.active = s.active;
    band.routing = s.routing;
    band.plotWidth = n;
    eq::buildFrequencyGrid(band, n);
    eq::computeCoefficients(band, rate, s.frequency, s.bandwidth, s.gain);
    eq::computeMagnitudeCurve(band);
    eq::computePhaseCurve(band);
}

std::unique_ptr<eq::EqBand> makeBand(const BandSpec& s, int n = width) {
    auto band = std::make_unique<eq::EqBand>();
    prepare(*band, s, n);
    return band;
}

// Columns of a NOTCH spike (the curve there is the spike, not the response).
bool inSpike(const eq::EqBand& band, int j) {
    if (band.type != eq::Notch) return false;
    const int centre = int(reference::frequencyColumn(band.frequency, band.plotWidth));
    return j >= centre - 1 && j <= centre + 1;
}

// How far rounding may move the curve formula's dB value at w: its sums of
// squares cancel where the response is deep, losing about their terms'
// size over the result (relative), 4 rounding steps each.
double conditioningDecibels(const eq::EqBand& b, double w) {
    const double c1 = std::cos(w), c2 = std::cos(2 * w);
    const double terms = b.b0 * b.b0 + b.b1 * b.b1 + b.b2 * b.b2 + std::fabs(2 * (b.b0 + b.b2) * b.b1 * c1) +
                         std::fabs(2 * b.b0 * b.b2 * c2);
    const double num = b.b0 * b.b0 + b.b1 * b.b1 + b.b2 * b.b2 + 2 * (b.b0 + b.b2) * b.b1 * c1 + 2 * b.b0 * b.b2 * c2;
    return 10.0 / std::log(10.0) * 4.0 * 2.2e-16 * terms / std::fabs(num);
}

class BandCurve : public ::testing::TestWithParam<std::tuple<int32_t, int32_t, double>> {};

TEST_P(BandCurve, MatchesTheComplexResponseAtEveryColumn) {
    const auto [type, order, oversampling] = GetParam();
    const auto band = makeBand({type, 1500.0f, 1.3f, 7.5f, order, oversampling});
    ASSERT_EQ(band->pointCount, width);
    EXPECT_NEAR(band->nodeX, reference::frequencyColumn(1500.0, width), 1e-4);
    for (int j = 0; j < width; ++j) {
        SCOPED_TRACE(j);
        const double f = reference::columnFrequency(j, width);
        ASSERT_NEAR(band->gridFrequency[size_t(j)], f * oversampling, f * oversampling * 1e-6);
        ASSERT_EQ(band->curve[size_t(j)].x, float(j));
        // The filter runs at oversampling x the rate; the point's own frequency is evaluated.
        const double w = 2.0 * reference::pi * f / (rate * oversampling);
        const std::complex<double> h = reference::response(*band, w);
        const double magnitude = std::abs(h);
        if (inSpike(*band, j) || magnitude < 1e-4) continue;  // deep in a notch the response is ill-conditioned
        const double expected = -order * 20.0 * std::log10(magnitude);
        ASSERT_NEAR(band->curve[size_t(j)].y, expected,
                    2e-3 + 1e-4 * std::fabs(expected) + order * conditioningDecibels(*band, w));
        // Phase: -arg H in units of pi/2 times the order, equal up to whole turns.
        const double turn = band->phase[size_t(j)] / (order * -2.0 / reference::pi) + std::arg(h);
        ASSERT_NEAR(std::remainder(turn, 2.0 * reference::pi), 0.0, 1e-5);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTypeOrderAndOversampling, BandCurve,
                         ::testing::Combine(::testing::Range(0, 7), ::testing::Values(1, 2, 3),
                                            ::testing::Values(1.0, 4.0)));

// The response at the points the filter types are defined by.
TEST(BandCurve, EachTypeHasItsDefiningGainWhereItShould) {
    struct Case {
        int32_t type;
        double hertz;  // where the response is known (0: DC, rate / 2: Nyquist)
        double decibels;
    };
    const float gain = 9.0f;
    for (const Case c : {Case{eq::LowPass, 0.0, 0.0}, Case{eq::HighPass, rate / 2.0, 0.0},
                         Case{eq::BandPass, 1000.0, 0.0}, Case{eq::Peak, 1000.0, gain},
                         Case{eq::LowShelf, 0.0, gain}, Case{eq::LowShelf, rate / 2.0, 0.0},
                         Case{eq::HighShelf, rate / 2.0, gain}, Case{eq::HighShelf, 0.0, 0.0}}) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " at " << c.hertz);
        const auto band = makeBand({c.type, 1000.0f, 1.0f, gain});
        const double w = 2.0 * reference::pi * c.hertz / rate;
        EXPECT_NEAR(20.0 * std::log10(std::abs(reference::response(*band, w))), c.decibels, 1e-5);
    }
    const auto notch = makeBand({eq::Notch, 1000.0f, 1.0f, 0.0f});
    EXPECT_NEAR(std::abs(reference::response(*notch, 2.0 * reference::pi * 1000.0 / rate)), 0.0, 1e-6);
}

TEST(BandCurve, PeakShowsMinusItsGainAtTheNodeColumn) {
    const double hertz = reference::columnFrequency(450, width);  // on a grid point
    const auto band = makeBand({eq::Peak, float(hertz), 1.0f, 6.0f});
    EXPECT_NEAR(band->curve[450].y, -6.0f, 1e-3);
    EXPECT_NEAR(band->nodeX, 450.0, 1e-3);
}

TEST(BandCurve, HigherOrdersMultiplyCurveAndPhase) {
    for (const int32_t type : {eq::LowPass, eq::HighPass}) {
        const auto first = makeBand({type, 800.0f, 0.7f, 0.0f, 1});
        const auto third = makeBand({type, 800.0f, 0.7f, 0.0f, 3});
        for (int j = 0; j < width; ++j) {
            ASSERT_NEAR(third->curve[size_t(j)].y, 3.0f * first->curve[size_t(j)].y,
                        1e-5f * std::fabs(first->curve[size_t(j)].y) + 1e-6f);
            ASSERT_NEAR(third->phase[size_t(j)], 3.0 * first->phase[size_t(j)], 1e-12);
        }
    }
}

TEST(BandCurve, VertexListsFillAndOutlineEverySegment) {
    const auto band = makeBand({eq::Peak, 2000.0f, 1.0f, -4.0f});
    ASSERT_EQ(band->fillCount, 12 * (width - 1));
    ASSERT_EQ(band->outlineCount, 2 * (width - 1));
    for (int j = 0; j + 1 < width; ++j) {
        const float x0 = float(j), y0 = band->curve[size_t(j)].y, x1 = float(j + 1), y1 = band->curve[size_t(j + 1)].y;
        const float expected[12] = {x0, 0, x0, y0, x1, y1, x0, 0, x1, y1, x1, 0};
        for (int i = 0; i < 12; ++i) ASSERT_EQ(band->fillList[size_t(12 * j + i)], expected[i]) << j << " " << i;
        ASSERT_EQ(band->outlineList[size_t(2 * j)], x0);
        ASSERT_EQ(band->outlineList[size_t(2 * j + 1)], y0);
    }
}

TEST(BandCurve, NotchSpikeIsCutToThePointsThatExist) {
    struct Case {
        float hertz;
        std::vector<int> spike;  // columns holding 60, 120, 60 in turn (-1: outside)
    };
    const int last = width - 1;
    const int nearTop = int(reference::frequencyColumn(19990.0, width));
    ASSERT_EQ(nearTop, last);
    for (const Case& c : {Case{1000.0f, {}}, Case{19990.0f, {last - 1, last, -1}},
                          Case{10000.0f / 512.0f * 0.999f, {-1, 0, 1}}}) {
        SCOPED_TRACE(c.hertz);
        auto band = std::make_unique<eq::EqBand>();
        band->curve[size_t(width)].y = -7.0f;  // beyond the points: must stay
        prepare(*band, {eq::Notch, c.hertz, 1.0f, 0.0f});
        const int centre = int(reference::frequencyColumn(c.hertz, width));
        const std::vector<int> spike = c.spike.empty() ? std::vector<int>{centre - 1, centre, centre + 1} : c.spike;
        const float values[3] = {60.0f, 120.0f, 60.0f};
        for (int i = 0; i < 3; ++i)
            if (spike[size_t(i)] >= 0) {
                EXPECT_EQ(band->curve[size_t(spike[size_t(i)])].y, values[i]) << i;
            }
        EXPECT_EQ(band->curve[size_t(width)].y, -7.0f);
    }
}

TEST(BandCurve, HostValuesThatBreakTheMathsReachNoIndex) {
    // Curves may turn NaN or infinite; the spike column and the vertex lists
    // stay within the band.
    for (const float hertz : {0.0f, -100.0f, nan, inf, -inf, 1e30f, 1e-30f}) {
        for (const int32_t type : {eq::Notch, eq::Peak}) {
            SCOPED_TRACE(testing::Message() << hertz << " type " << type);
            auto band = std::make_unique<eq::EqBand>();
            band->curve[size_t(width)].y = -7.0f;
            prepare(*band, {type, hertz, nan, 1e30f, std::numeric_limits<int32_t>::min()});
            EXPECT_EQ(band->fillCount, 12 * (width - 1));
            EXPECT_EQ(band->curve[size_t(width)].y, -7.0f);
        }
    }
    auto band = makeBand({eq::Peak, 1000.0f, 1.0f, 3.0f});
    const double before = band->b0;
    band->type = 99;  // outside the types: no formula
    eq::computeCoefficients(*band, rate, 500.0f, 1.0f, 3.0f);
    EXPECT_EQ(band->b0, before);
}

TEST(BandCurve, TheGridIsClampedToTheBandsCapacity) {
    auto band = std::make_unique<eq::EqBand>();
    for (const auto& [asked, kept] : {std::pair{2500, eq::maxPlotColumns}, std::pair{-3, 0}, std::pair{1667, 1667}}) {
        eq::buildFrequencyGrid(*band, asked);
        EXPECT_EQ(band->pointCount, kept);
    }
    band->plotWidth = 2500;
    eq::buildFrequencyGrid(*band, 2500);
    band->type = eq::Notch;
    eq::computeCoefficients(*band, rate, 19000.0f, 1.0f, 0.0f);  // its column lies beyond the points
    eq::computeMagnitudeCurve(*band);
    EXPECT_EQ(band->fillCount, 12 * (eq::maxPlotColumns - 1));
}

TEST(TypeLimits, ClampBandwidthAndFrequencyByType) {
    struct Case {
        int32_t type;
        double bandwidth, frequency;
        double keptBandwidth, keptFrequency;
    };
    for (const Case c : {Case{eq::Peak, 4.5, 5.0, 3.0, 20.0}, Case{eq::Notch, 4.5, 30000.0, 4.5, 20000.0},
                         Case{eq::LowShelf, 0.2, 100.0, 1.5, 100.0}, Case{eq::HighShelf, 3.0, 100.0, 1.5, 100.0},
                         Case{eq::LowPass, 0.01, 100.0, 0.1, 100.0}}) {
        SCOPED_TRACE(c.type);
        auto band = std::make_unique<eq::EqBand>();
        band->type = c.type;
        band->bandwidth = c.bandwidth;
        band->frequency = c.frequency;
        eq::applyTypeLimits(*band);
        eq::setTypeLabels(*band);
        EXPECT_EQ(band->bandwidth, c.keptBandwidth);
        EXPECT_EQ(band->frequency, c.keptFrequency);
        EXPECT_EQ(band->longLabel, eq::filterTypes[size_t(c.type)].longLabel);
    }
}

// Totals ---------------------------------------------------------------------

struct TotalsFixture : ::testing::Test {
    TotalsFixture() : bands(std::make_unique<eq::Bands>()), totals(std::make_unique<eq::TotalCurves>()) {
        for (int k = 0; k < eq::bandCount; ++k)
            prepare((*bands)[size_t(k)], {eq::Peak, 50.0f * float(k + 1) * float(k + 1), 0.8f, float(k) - 4.5f});
    }
    eq::EqBand& band(int k) { return (*bands)[size_t(k)]; }
    std::unique_ptr<eq::Bands> bands;
    std::unique_ptr<eq::TotalCurves> totals;
};

TEST_F(TotalsFixture, CombineModeFollowsStereoModeAndRouting) {
    EXPECT_EQ(eq::combineModeOf(*bands, eq::SplitStereo), 1);  // all routed to both channels
    band(4).routing = eq::FirstChannel;
    EXPECT_EQ(eq::combineModeOf(*bands, eq::SplitStereo), 2);
    EXPECT_EQ(eq::combineModeOf(*bands, eq::MidSide), 2);
    EXPECT_EQ(eq::combineModeOf(*bands, eq::TrueStereo), 1);
}

TEST_F(TotalsFixture, MagnitudesAreSumsOfTheActiveBandsPerChannel) {
    band(1).routing = eq::FirstChannel;
    band(2).routing = eq::SecondChannel;
    band(3).active = 0;  // muted: in neither total
    const bool all[10] = {1, 1, 1, 0, 1, 1, 1, 1, 1, 1};
    const bool first[10] = {1, 1, 0, 0, 1, 1, 1, 1, 1, 1};
    const bool second[10] = {1, 0, 1, 0, 1, 1, 1, 1, 1, 1};
    for (const int32_t mode : {eq::TrueStereo, eq::SplitStereo}) {
        SCOPED_TRACE(mode);
        eq::recomputeTotals(*bands, mode, 0, float(width), *totals);
        const bool* inA = mode == eq::TrueStereo ? all : first;
        for (int j = 0; j < width - 1; ++j) {
            float a = 0.0f, b = 0.0f;
            for (int k = 0; k < eq::bandCount; ++k) {
                if (inA[k]) a += band(k).curve[size_t(j)].y;
                if (second[k]) b += band(k).curve[size_t(j)].y;
            }
            ASSERT_EQ(totals->magnitudeA[size_t(j)].x, float(j));
            ASSERT_NEAR(totals->magnitudeA[size_t(j)].y, a, 1e-4f) << j;
            if (mode == eq::SplitStereo) {
                ASSERT_NEAR(totals->magnitudeB[size_t(j)].y, b, 1e-4f) << j;
            }
        }
        EXPECT_EQ(totals->combineMode, mode == eq::TrueStereo ? 1 : 2);
        EXPECT_EQ(totals->magnitudeCountA, 2 * (width - 1));
        EXPECT_EQ(totals->magnitudeCountB, 2 * (width - 1));
    }
}

TEST_F(TotalsFixture, PhasesWrapIntoPlusMinusOne) {
    for (int k = 0; k < eq::bandCount; ++k) band(k).order = 3;  // large phases, so that sums leave -1..1
    for (eq::EqBand& b : *bands) eq::computePhaseCurve(b);
    band(5).active = 0;
    eq::computePhaseCurve(band(5));
    for (int j = 0; j < width; ++j) ASSERT_EQ(band(5).phase[size_t(j)], 0.0);
    eq::recomputeTotals(*bands, eq::TrueStereo, 1, float(width), *totals);
    for (int j = 0; j < width - 1; ++j) {
        double sum = 0.0;
        for (const eq::EqBand& b : *bands) sum += b.phase[size_t(j)];
        const float y = totals->phaseA[size_t(j)].y;
        ASSERT_GE(y, -1.0f);
        ASSERT_LE(y, 1.0f);
        ASSERT_NEAR(std::remainder(double(y) - sum, 2.0), 0.0, 1e-4) << j;
    }
    EXPECT_EQ(totals->phaseCountA, 2 * (width - 1));
}

TEST(PhaseWrap, RepeatedAndOnce) {
    struct Case {
        float value, repeated, once;
    };
    for (const Case c : {Case{0.5f, 0.5f, 0.5f}, Case{1.0f, 1.0f, 1.0f}, Case{-1.0f, -1.0f, -1.0f},
                         Case{3.0f, 1.0f, 1.0f}, Case{3.5f, -0.5f, 1.5f}, Case{-3.5f, 0.5f, -1.5f},
                         Case{5.5f, -0.5f, 3.5f}, Case{1e30f, 0.0f, 1e30f}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(eq::wrapPhaseRepeated(c.value), c.repeated);
        EXPECT_EQ(eq::wrapPhaseOnce(c.value), c.once);
    }
    EXPECT_TRUE(std::isnan(eq::wrapPhaseRepeated(inf)));  // ends, with no finite answer
    EXPECT_TRUE(std::isnan(eq::wrapPhaseRepeated(nan)));
}

TEST_F(TotalsFixture, AViewWiderThanTheCurvesSumsOnlyThePointsTheyHave) {
    eq::recomputeTotals(*bands, eq::TrueStereo, 1, 5000.0f, *totals);
    for (int j = width; j < 5000; ++j) {
        ASSERT_EQ(totals->magnitudeA[size_t(j)].y, 0.0f) << j;
        ASSERT_EQ(totals->phaseA[size_t(j)].x, float(j));
    }
    for (const float bad : {nan, -5.0f, 1e9f}) eq::recomputeTotals(*bands, eq::SplitStereo, 1, bad, *totals);
}

// Analyser -------------------------------------------------------------------

std::vector<uint8_t> blob(int32_t channel, const std::vector<uint8_t>& levels, int32_t words = 512,
                          int32_t magic = eq::spectrumMagic) {
    std::vector<uint8_t> bytes(12 + levels.size());
    const int32_t header[3] = {magic, channel, words};
    std::memcpy(bytes.data(), header, 12);
    std::copy(levels.begin(), levels.end(), bytes.begin() + 12);
    return bytes;
}

std::vector<uint8_t> levels(uint8_t fill) { return std::vector<uint8_t>(2048, fill); }

struct Analyser : ::testing::Test {
    Analyser() : curves(std::make_unique<eq::SpectrumCurves>()) { eq::rebuildAnalyserAxis(*curves, 44100.0f); }
    bool apply(const std::vector<uint8_t>& bytes, int32_t hold) {
        return eq::applySpectrumBlob(*curves, bytes.data(), int32_t(bytes.size()), hold);
    }
    std::unique_ptr<eq::SpectrumCurves> curves;
};

TEST_F(Analyser, AxisPlacesEachBinAtItsFrequency) {
    EXPECT_EQ(curves->input[0].x, 0.0f);
    EXPECT_EQ(curves->input[0].y, -120.0f);
    for (int n = 1; n <= 2046; ++n) {
        const double hertz = double(((n + 1) * 44100) / 4096);
        ASSERT_NEAR(curves->input[size_t(n)].x, reference::frequencyColumn(hertz, 900), 1e-3) << n;
        ASSERT_EQ(curves->output[size_t(n)].y, -200.0f);
        ASSERT_EQ(curves->difference[size_t(n)].y, 0.0f);
    }
}

TEST_F(Analyser, AHigherRateMovesThePointsRightAndKeepsTheirLevels) {
    apply(blob(0, levels(40)), eq::LiveSpectrum);
    const auto before = std::make_unique<eq::SpectrumCurves>(*curves);
    eq::rebuildAnalyserAxis(*curves, 96000.0f);
    for (int n = 1; n <= 2046; ++n) ASSERT_GT(curves->input[size_t(n)].x, before->input[size_t(n)].x) << n;
    for (const float bad : {nan, inf, -44100.0f, 3e9f}) eq::rebuildAnalyserAxis(*curves, bad);
}

TEST_F(Analyser, LevelBytesReadAsQuarterDecibelsBelowZero) {
    auto bytes = levels(0);
    bytes[5] = 255;
    bytes[6] = 1;
    ASSERT_TRUE(apply(blob(0, bytes), eq::LiveSpectrum));
    EXPECT_EQ(curves->input[1].y, 0.0f);
    EXPECT_EQ(curves->input[0].y, 0.0f);  // point 0 follows point 1
    EXPECT_EQ(curves->drawCount, 7792);
    // Points 6 and 7 lie in the smoothing range of the falling-peak mode only.
    EXPECT_EQ(curves->input[6].y, -63.75f);
    EXPECT_EQ(curves->input[7].y, -0.25f);
}

TEST_F(Analyser, HoldModesOnPointsOutsideTheSmoothing) {
    // Points 1..4 are never smoothed; a peak of 0 dB, then silence (-60).
    struct Case {
        int32_t hold;
        float inputAfter[3];  // input point 1 after the 1st, 2nd, 3rd silent blob
        float output;         // output point 1 after the silent output blob
    };
    for (const Case c : {Case{eq::LiveSpectrum, {-60, -60, -60}, -60}, Case{eq::FallingPeak, {-2, -4, -6}, -60},
                         Case{eq::PeakHold, {0, 0, 0}, 0}}) {
        SCOPED_TRACE(c.hold);
        eq::rebuildAnalyserAxis(*curves, 44100.0f);
        apply(blob(0, levels(0)), c.hold);
        apply(blob(1, levels(0)), c.hold);
        for (int i = 0; i < 3; ++i) {
            apply(blob(0, levels(240)), c.hold);
            EXPECT_EQ(curves->input[1].y, c.inputAfter[i]) << i;
        }
        apply(blob(1, levels(240)), c.hold);
        EXPECT_EQ(curves->output[1].y, c.output);
        EXPECT_EQ(curves->difference[1].y, (curves->input[1].y - curves->output[1].y) * 2.0f);
    }
}

TEST_F(Analyser, DifferenceIsSmoothedAndFallingPeakSmoothsInPlace) {
    std::vector<uint8_t> in(2048), out(2048);
    for (size_t i = 0; i < 2048; ++i) in[i] = uint8_t(i * 7 % 251), out[i] = uint8_t(i * 13 % 241);
    apply(blob(0, in), eq::LiveSpectrum);
    apply(blob(1, out), eq::LiveSpectrum);
    const auto kernel = [](const std::array<eq::CurvePoint, eq::spectrumCapacity>& c, int p) {
        return (c[size_t(p - 2)].y + 2 * c[size_t(p - 1)].y + 3 * c[size_t(p)].y + 2 * c[size_t(p + 1)].y +
                c[size_t(p + 2)].y) * 0.11111111f;
    };
    const int last = 4 * (512 - 5) + 4;
    for (int p = 5; p <= last; ++p)
        ASSERT_FLOAT_EQ(curves->difference[size_t(p)].y, 2 * (kernel(curves->input, p) - kernel(curves->output, p))) << p;
    EXPECT_EQ(curves->difference[size_t(last + 1)].y, (curves->input[size_t(last + 1)].y - curves->output[size_t(last + 1)].y) * 2);

    const auto live = std::make_unique<eq::SpectrumCurves>(*curves);
    apply(blob(0, in), eq::FallingPeak);  // held values above the live ones fall by 2 first
    auto expected = std::make_unique<eq::SpectrumCurves>(*live);
    for (int p = 1; p <= 2048; ++p)
        expected->input[size_t(p)].y = std::max(float(in[size_t(p - 1)]) * -0.25f, live->input[size_t(p)].y - 2.0f);
    for (int p = 5; p <= last; ++p) expected->input[size_t(p)].y = kernel(expected->input, p);
    for (int p = 1; p <= 2048; ++p) ASSERT_FLOAT_EQ(curves->input[size_t(p)].y, expected->input[size_t(p)].y) << p;
}

TEST_F(Analyser, OtherChannelsChangeNoCurveButReSmoothTheDifference) {
    apply(blob(0, levels(20)), eq::LiveSpectrum);
    apply(blob(1, levels(60)), eq::LiveSpectrum);
    auto before = std::make_unique<eq::SpectrumCurves>(*curves);
    curves->difference[100].y = 99.0f;
    ASSERT_TRUE(apply(blob(2, levels(0)), eq::LiveSpectrum));
    for (int p = 1; p < 2100; ++p) {
        ASSERT_EQ(curves->input[size_t(p)].y, before->input[size_t(p)].y) << p;
        ASSERT_EQ(curves->output[size_t(p)].y, before->output[size_t(p)].y) << p;
    }
    EXPECT_EQ(curves->difference[100].y, before->difference[100].y);
}

TEST_F(Analyser, MalformedBlobsAreNeverReadOrWrittenPastTheirEnd) {
    // Each blob lives in a vector of exactly its size, so a read past it is caught.
    EXPECT_FALSE(apply({}, 0));
    const auto header = blob(0, {});
    for (size_t size = 1; size < 12; ++size)
        EXPECT_FALSE(apply(std::vector<uint8_t>(header.begin(), header.begin() + long(size)), 0)) << size;
    EXPECT_FALSE(apply(blob(0, levels(0), 512, 329545), 0));

    // The header claims 512 words, the blob carries 25 and a half.
    ASSERT_TRUE(apply(blob(0, std::vector<uint8_t>(102, 8)), eq::LiveSpectrum));
    EXPECT_EQ(curves->input[100].y, -2.0f);
    EXPECT_EQ(curves->input[101].y, -200.0f);  // not carried: untouched
    // More words than the curves take, and counts below zero.
    auto big = blob(0, std::vector<uint8_t>(4 * 4000, 4), 4000);
    ASSERT_TRUE(apply(big, eq::LiveSpectrum));
    EXPECT_EQ(curves->input[2048].y, -1.0f);
    EXPECT_EQ(curves->input[2049].y, 0.0f);  // beyond the level points: never written
    ASSERT_TRUE(apply(blob(0, levels(100), -7), eq::FallingPeak));
    EXPECT_EQ(curves->input[1].y, -1.0f);
}

TEST_F(Analyser, ResetEmptiesInputAndOutputOnly) {
    apply(blob(0, levels(8)), 0);
    apply(blob(1, levels(80)), 0);
    const float difference = curves->difference[300].y;
    eq::resetSpectra(*curves);
    for (int p = 1; p <= 2048; ++p) {
        ASSERT_EQ(curves->input[size_t(p)].y, -200.0f);
        ASSERT_EQ(curves->output[size_t(p)].y, -200.0f);
    }
    EXPECT_EQ(curves->difference[300].y, difference);
}

}  // namespace
