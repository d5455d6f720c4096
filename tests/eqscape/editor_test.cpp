// The editor through the host's GUI pins: the host delivers values and
// notices, the editor's writes come back as sendGuiPinValue. Its model is
// read in place (as its view reads it) where no pin shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "eqscape.h"
#include "host/gui_instance.h"
#include "host/view.h"
#include "platform/control.h"
#include "plugins.h"

namespace {

namespace pins = eq::pins;
const float nan = std::numeric_limits<float>::quiet_NaN();

struct BandValues {
    float frequency = 1000.0f, bandwidth = 1.0f, gain = 6.0f;
    int32_t type = eq::Peak, routing = eq::BothChannels, order = 1, active = 1;
};

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        platform::releaseAllKeys();
        gui = host::GuiInstance::create(testing_support::openDeliverable("eqscape"), "MY_eqscape");
        gui->deliver(pins::sampleRate, 48000.0f);
    }

    const eqscape& editor() const { return *static_cast<const eqscape*>(gui->userInterface()); }
    const eq::EqBand& band(int k) const { return editor().bands()[size_t(k)]; }

    void setBand(int k, const BandValues& v) {
        gui->deliver(pins::band(k, pins::type), v.type);
        gui->deliver(pins::band(k, pins::order), v.order);
        gui->deliver(pins::band(k, pins::routing), v.routing);
        gui->deliver(pins::band(k, pins::active), v.active);
        gui->deliver(pins::band(k, pins::frequency), v.frequency);
        gui->deliver(pins::band(k, pins::bandwidth), v.bandwidth);
        gui->deliver(pins::band(k, pins::gain), v.gain);
    }

    // The last value sent on a pin since the records were cleared.
    std::optional<host::Bytes> sentBytes(int32_t pin) const {
        std::optional<host::Bytes> last;
        for (const auto& s : gui->sentValues())
            if (s.pinIndex == pin) last = s.bytes;
        return last;
    }
    std::optional<float> sentFloat(int32_t pin) const {
        const auto b = sentBytes(pin);
        return b ? std::optional<float>(host::floatOf(*b)) : std::nullopt;
    }
    std::optional<int32_t> sentInt(int32_t pin) const {
        const auto b = sentBytes(pin);
        return b ? std::optional<int32_t>(host::intOf(*b)) : std::nullopt;
    }
    std::optional<bool> sentBool(int32_t pin) const {
        const auto b = sentBytes(pin);
        return b ? std::optional<bool>(host::boolOf(*b)) : std::nullopt;
    }
    // A pin's value as the host keeps it (0 before either side set it).
    int32_t pinInt(int32_t pin) const {
        const host::Bytes& b = gui->pinValue(pin);
        return b.empty() ? 0 : host::intOf(b);
    }
    bool pinBool(int32_t pin) const {
        const host::Bytes& b = gui->pinValue(pin);
        return !b.empty() && host::boolOf(b);
    }
    size_t sends() const { return gui->sentValues().size(); }

    std::unique_ptr<host::GuiInstance> gui;
};

TEST_F(Editor, StartsWithEveryBandOnThePinsZeros) {
    auto fresh = host::GuiInstance::create(testing_support::openDeliverable("eqscape"), "MY_eqscape");
    EXPECT_TRUE(fresh->sentValues().empty());
    EXPECT_EQ(fresh->pins().pins.size(), size_t(pins::count));
    ASSERT_TRUE(fresh->pins().view);
    EXPECT_EQ(fresh->pins().view->width, 900);
    const eqscape& e = *static_cast<const eqscape*>(fresh->userInterface());
    for (const eq::EqBand& b : e.bands()) {
        EXPECT_EQ(b.type, eq::LowPass);
        EXPECT_EQ(b.shortLabel, "LP");
        EXPECT_EQ(b.longLabel, "LOW PASS");
        EXPECT_EQ(b.bandwidthMin, 0.1);
        EXPECT_EQ(b.bandwidthMax, 3.0);
        EXPECT_EQ(b.order, 0);
        EXPECT_EQ(b.active, 0);
        EXPECT_EQ(b.routing, 0);
        EXPECT_EQ(b.frequency, 0.0);
        EXPECT_EQ(b.bandwidth, 0.0);
        EXPECT_EQ(b.gain, 0.0);
        EXPECT_EQ(b.pointCount, 0);
        EXPECT_EQ(b.oversampling, 1.0);
        EXPECT_EQ(b.pi, double(float(3.141592653589793)));
        EXPECT_EQ(b.ln2, double(float(0.6931471805599453)));
    }
    for (int list = 0; list < 2; ++list)
        for (int k = 0; k < eq::bandCount; ++k) EXPECT_EQ(e.drawOrder(list)[size_t(k)], 9 - k);
    EXPECT_EQ(e.selectedBand(), 0);
    EXPECT_EQ(e.editLinkCount(), 0);
    EXPECT_EQ(e.spectra().input[0].y, -120.0f);
}

TEST_F(Editor, BandPinsReachOnlyTheirBandAndItsCoefficients) {
    setBand(6, {440.0f, 0.5f, -9.0f, eq::Peak, eq::FirstChannel, 1, 1});
    const eq::EqBand& b = band(6);
    EXPECT_EQ(b.frequency, 440.0);
    EXPECT_EQ(b.bandwidth, 0.5);
    EXPECT_EQ(b.gain, -9.0);
    EXPECT_EQ(b.routing, eq::FirstChannel);
    EXPECT_EQ(b.active, 1);
    EXPECT_EQ(b.designRate, 48000.0);
    EXPECT_NEAR(b.A, std::pow(10.0, -9.0 / 40.0), 1e-12);
    EXPECT_NEAR(b.w0, 2 * 3.141592653589793 * 440.0 / 48000.0, 1e-7);
    EXPECT_EQ(b.a0, 1.0);
    EXPECT_EQ(b.shortLabel, "P");
    EXPECT_EQ(band(5).frequency, 0.0);
    EXPECT_EQ(band(7).gain, 0.0);
    EXPECT_TRUE(gui->sentValues().empty());  // no view: nothing is mirrored

    // A spare pin copies type, routing, order and active, with no recomputation.
    const double b0 = b.b0;
    gui->sendValueOnly(pins::band(6, pins::type), host::bytesOf(int32_t(eq::Notch)));
    gui->sendValueOnly(pins::band(6, pins::order), host::bytesOf(int32_t(2)));
    gui->deliver(pins::band(6, pins::spareFirst) + 3, 0.0f);
    EXPECT_EQ(b.type, eq::Notch);
    EXPECT_EQ(b.order, 2);
    EXPECT_EQ(b.shortLabel, "P");
    EXPECT_EQ(b.b0, b0);
}

TEST_F(Editor, HostValuesStayUnclampedUntilTheTypeChanges) {
    struct Case {
        int32_t type;
        float bandwidth;
        double keptBandwidth;
    };
    for (const Case c : {Case{eq::Peak, 4.5f, 3.0}, Case{eq::Notch, 4.5f, 4.5}, Case{eq::LowShelf, 0.3f, 1.5},
                         Case{eq::HighShelf, 2.9f, 1.5}, Case{eq::BandPass, 0.05f, 0.1}}) {
        SCOPED_TRACE(c.type);
        gui->deliver(pins::band(2, pins::frequency), 5.0f);
        gui->deliver(pins::band(2, pins::bandwidth), c.bandwidth);
        EXPECT_EQ(band(2).frequency, 5.0);
        EXPECT_EQ(band(2).bandwidth, double(c.bandwidth));
        gui->deliver(pins::band(2, pins::type), c.type);
        EXPECT_EQ(band(2).frequency, 20.0);
        EXPECT_EQ(band(2).bandwidth, double(float(c.keptBandwidth)));  // coefficients take single precision
    }
    // A type outside the range keeps labels and coefficients.
    const double b1 = band(2).b1;
    gui->deliver(pins::band(2, pins::type), int32_t(7));
    EXPECT_EQ(band(2).longLabel, "BAND PASS");
    EXPECT_EQ(band(2).b1, b1);
}

TEST_F(Editor, WhileTheViewIsOpenAHostChangeSelectsItsBand) {
    setBand(3, {250.0f, 1.0f, 0.0f, eq::HighPass, eq::SecondChannel, 2, 1});
    EXPECT_TRUE(gui->sentValues().empty());
    host::View view(*gui, 900, 400);
    EXPECT_EQ(sentInt(pins::viewOpen), 1);
    EXPECT_EQ(sentInt(pins::viewWidthOut), 900);
    EXPECT_EQ(band(3).pointCount, 900);
    EXPECT_NEAR(band(3).nodeX, (std::log2(250.0 / 10000.0) + 9.0) * 90.0, 1e-4);
    gui->clearRecords();

    gui->deliver(pins::band(3, pins::frequency), 1000.0f);
    EXPECT_EQ(sentInt(pins::selBand), 4);
    EXPECT_EQ(sentFloat(pins::selFrequency), 1000.0f);
    EXPECT_EQ(sentFloat(pins::selBandwidth), 1.0f);
    EXPECT_EQ(sentInt(pins::selTypeCode), 4);  // HIGH PASS of order 2
    EXPECT_EQ(sentInt(pins::selRouting), eq::SecondChannel);
    EXPECT_EQ(sentInt(pins::selActive), 1);
    EXPECT_EQ(sentBool(pins::noGain), true);
    EXPECT_EQ(sentBool(pins::trueStereo), true);
    EXPECT_EQ(editor().selectedBand(), 3);

    // Holding the left Alt key keeps the selection where it is.
    gui->clearRecords();
    platform::setKeyDown(VK_LMENU, true);
    gui->deliver(pins::band(0, pins::frequency), 700.0f);
    platform::setKeyDown(VK_LMENU, false);
    EXPECT_FALSE(sentInt(pins::selBand));
    EXPECT_EQ(band(0).frequency, 700.0);
}

TEST_F(Editor, TypeCodesRoundTripThroughTheSelectedBand) {
    gui->deliver(pins::dbRange, 24.0f);
    gui->deliver(pins::selBand, int32_t(3));
    struct Case {
        int32_t code, type, order;
    };
    for (const Case c : {Case{0, eq::LowPass, 1}, Case{1, eq::LowPass, 2}, Case{2, eq::LowPass, 3},
                         Case{3, eq::HighPass, 1}, Case{4, eq::HighPass, 2}, Case{5, eq::HighPass, 3},
                         Case{6, eq::BandPass, 1}, Case{7, eq::Notch, 1}, Case{8, eq::Peak, 1},
                         Case{9, eq::LowShelf, 1}, Case{10, eq::HighShelf, 1}}) {
        SCOPED_TRACE(c.code);
        gui->deliver(pins::band(2, pins::gain), 5.0f);
        gui->deliver(pins::editLink, true);
        gui->clearRecords();
        gui->deliver(pins::selTypeCode, c.code);
        EXPECT_EQ(band(2).type, c.type);
        EXPECT_EQ(band(2).order, c.order);
        EXPECT_EQ(pinInt(pins::band(2, pins::type)), c.type);  // written to the band's own pins
        EXPECT_EQ(pinInt(pins::band(2, pins::order)), c.order);
        const bool gainless = !eq::typeUsesGain(c.type);
        EXPECT_EQ(band(2).gain, gainless ? 12.0 : 5.0);  // half-way up a range of 24
        EXPECT_EQ(pinBool(pins::noGain), gainless);
        EXPECT_EQ(pinBool(pins::fixedBandwidth), eq::isShelf(c.type));
        if (eq::isShelf(c.type)) {
            EXPECT_EQ(band(2).bandwidth, 1.5);
        }
        EXPECT_FALSE(sentInt(pins::selBand));  // the selection is not published again

        gui->clearRecords();
        gui->deliver(pins::selBand, int32_t(3));  // publishes the selection
        EXPECT_FALSE(sentInt(pins::selTypeCode));
        EXPECT_EQ(pinInt(pins::selTypeCode), c.code);
    }
    // Without the edit link the code is not applied.
    gui->deliver(pins::selTypeCode, int32_t(8));
    EXPECT_EQ(band(2).type, eq::HighShelf);
    for (const int32_t code : {-1, 11, std::numeric_limits<int32_t>::min()}) {
        gui->deliver(pins::editLink, true);
        gui->deliver(pins::selTypeCode, code);
        EXPECT_EQ(band(2).type, eq::HighShelf) << code;
    }
}

TEST_F(Editor, SelectedBandParametersWithAndWithoutTheEditLink) {
    struct Case {
        int32_t pin;
        pins::BandPin bandPin;
        float value, outside;
        double eq::EqBand::*field;
    };
    setBand(4, {});
    gui->deliver(pins::selBand, int32_t(5));
    for (const Case c : {Case{pins::selFrequency, pins::frequency, 3000.0f, 19.0f, &eq::EqBand::frequency},
                         Case{pins::selBandwidth, pins::bandwidth, 2.0f, 5.5f, &eq::EqBand::bandwidth},
                         Case{pins::selGain, pins::gain, -12.0f, 30.5f, &eq::EqBand::gain}}) {
        SCOPED_TRACE(c.pin);
        for (const bool linked : {false, true}) {
            SCOPED_TRACE(linked);
            const double before = band(4).*c.field;
            if (linked) gui->deliver(pins::editLink, true);
            gui->clearRecords();
            for (const float bad : {c.outside, nan}) gui->deliver(c.pin, bad);
            EXPECT_EQ(band(4).*c.field, before);
            EXPECT_EQ(sends(), 0u);  // and no timer: there is no window

            const float value = linked ? c.value * 0.5f : c.value;
            gui->deliver(c.pin, value);
            EXPECT_EQ(band(4).*c.field, double(value));
            EXPECT_EQ(sentFloat(pins::band(4, c.bandPin)), value);
            EXPECT_FALSE(sentInt(pins::selBand));
            if (linked) gui->deliver(pins::editLink, false);
        }
    }
    // A shelf's bandwidth is fixed.
    gui->deliver(pins::band(4, pins::type), int32_t(eq::LowShelf));
    gui->deliver(pins::selBandwidth, 0.7f);
    EXPECT_EQ(band(4).bandwidth, 1.5);

    // Routing only with the edit link; the active flag always.
    gui->deliver(pins::selRouting, int32_t(eq::SecondChannel));
    EXPECT_EQ(band(4).routing, eq::BothChannels);
    gui->deliver(pins::selActive, int32_t(0));
    EXPECT_EQ(band(4).active, 0);
    gui->deliver(pins::editLink, true);
    gui->clearRecords();
    gui->deliver(pins::selRouting, int32_t(eq::SecondChannel));
    EXPECT_EQ(band(4).routing, eq::SecondChannel);
    EXPECT_EQ(sentInt(pins::band(4, pins::routing)), eq::SecondChannel);
    gui->deliver(pins::selActive, int32_t(1));
    EXPECT_EQ(sentInt(pins::band(4, pins::active)), 1);
}

TEST_F(Editor, OutOfRangeSelectedValuesAreRepairedOnTheTimer) {
    setBand(0, {});
    host::View view(*gui, 900, 400);
    gui->deliver(pins::selBand, int32_t(1));
    struct Case {
        int32_t pin;
        float value, repaired;
    };
    for (const Case c : {Case{pins::selGain, 31.0f, 30.0f}, Case{pins::selGain, -45.0f, -30.0f},
                         Case{pins::selBandwidth, 7.0f, 5.0f}, Case{pins::selBandwidth, 0.0f, 0.1f},
                         Case{pins::selFrequency, 5.0f, 20.0f}, Case{pins::selFrequency, nan, 20000.0f}}) {
        SCOPED_TRACE(testing::Message() << c.pin << " " << c.value);
        const eq::EqBand before = band(0);
        gui->clearRecords();
        gui->deliver(c.pin, c.value);
        EXPECT_EQ(band(0).gain, before.gain);
        EXPECT_EQ(band(0).bandwidth, before.bandwidth);
        view.advance(19);
        EXPECT_EQ(sends(), 0u);
        view.advance(1);
        EXPECT_EQ(sentFloat(c.pin), c.repaired);
        gui->clearRecords();
        view.advance(100);  // one repair, then the timer stops
        EXPECT_EQ(sends(), 0u);
    }
}

TEST_F(Editor, SelBandOutsideOneToTenSelectsNothing) {
    setBand(0, {});
    for (const int32_t value : {0, -1, 11, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        SCOPED_TRACE(value);
        gui->deliver(pins::editLink, true);
        gui->clearRecords();
        gui->deliver(pins::selBand, value);
        EXPECT_EQ(sends(), 0u);
        EXPECT_EQ(editor().editLinkCount(), 0);
        gui->deliver(pins::editLink, true);
        gui->deliver(pins::selActive, int32_t(0));
        gui->deliver(pins::selFrequency, 5000.0f);
        gui->deliver(pins::selTypeCode, int32_t(9));
        gui->deliver(pins::selRouting, int32_t(1));
        EXPECT_EQ(sends(), 0u);
        for (const eq::EqBand& b : editor().bands()) {
            EXPECT_NE(b.frequency, 5000.0);
            EXPECT_NE(b.type, eq::LowShelf);
        }
        EXPECT_EQ(band(0).active, 1);
        gui->deliver(pins::editLink, false);
        gui->deliver(pins::editLink, false);
    }
}

TEST_F(Editor, EditLinkCountsAndASelectionMirrorsOnce) {
    gui->deliver(pins::editLink, true);
    gui->deliver(pins::editLink, false);
    EXPECT_EQ(editor().editLinkCount(), 0);
    gui->deliver(pins::editLink, true);
    gui->deliver(pins::editLink, true);
    EXPECT_EQ(editor().editLinkCount(), 2);

    setBand(7, {8000.0f, 0.5f, -3.0f, eq::Peak, eq::FirstChannel, 1, 1});
    gui->clearRecords();
    gui->deliver(pins::selBand, int32_t(8));
    EXPECT_EQ(editor().editLinkCount(), 0);
    EXPECT_EQ(editor().selectedBand(), 7);
    EXPECT_EQ(editor().drawOrder(1)[9], 7);  // drawn on top
    EXPECT_EQ(editor().drawOrder(0)[9], 0);
    EXPECT_EQ(sentFloat(pins::selFrequency), 8000.0f);
    EXPECT_EQ(sentFloat(pins::selGain), -3.0f);
    EXPECT_EQ(sentInt(pins::selTypeCode), 8);
    EXPECT_EQ(sentInt(pins::selRouting), eq::FirstChannel);
    EXPECT_FALSE(sentInt(pins::selBand));  // the host's own value
}

TEST_F(Editor, GlobalPinsReachTheirState) {
    for (const auto& [value, factor] : {std::pair{1, 4.0}, std::pair{0, 1.0}, std::pair{2, 1.0}, std::pair{1, 4.0},
                                       std::pair{-1, 1.0}}) {
        gui->deliver(pins::sampling, int32_t(value));
        for (const eq::EqBand& b : editor().bands()) ASSERT_EQ(b.oversampling, factor) << value;
    }
    gui->deliver(pins::dbRange, 18.0f);
    EXPECT_EQ(editor().currentRange(), 18.0f);

    host::View view(*gui, 900, 400);
    for (int k = 0; k < eq::bandCount; ++k)
        setBand(k, {100.0f * float(k + 1), 1.0f, 2.0f, eq::Peak, eq::BothChannels, 1, 1});
    gui->deliver(pins::stereoMode, int32_t(eq::SplitStereo));
    EXPECT_EQ(editor().totals().combineMode, 1);
    gui->deliver(pins::band(2, pins::routing), int32_t(eq::FirstChannel));
    EXPECT_EQ(editor().totals().combineMode, 2);
    gui->deliver(pins::stereoMode, int32_t(eq::TrueStereo));
    EXPECT_EQ(editor().totals().combineMode, 1);
    float sum = 0.0f;
    for (const eq::EqBand& b : editor().bands()) sum += b.curve[300].y;
    EXPECT_NEAR(editor().totals().magnitudeA[300].y, sum, 1e-4f);

    EXPECT_EQ(band(4).phase[300], 0.0);
    gui->deliver(pins::showPhase, int32_t(1));
    EXPECT_NE(band(4).phase[300], 0.0);
}

host::Bytes spectrumBlob(int32_t channel, int32_t words, size_t levelBytes, uint8_t level) {
    host::Bytes bytes(12 + levelBytes, level);
    const int32_t header[3] = {329544, channel, words};
    std::memcpy(bytes.data(), header, 12);
    return bytes;
}

TEST_F(Editor, SpectrumBlobsReachTheCurvesWhileTheAnalyserIsOn) {
    gui->deliver(pins::spectrum, spectrumBlob(0, 512, 2048, 40));
    EXPECT_EQ(editor().spectra().input[10].y, -200.0f);  // analyser off
    gui->deliver(pins::analyser, int32_t(1));
    gui->deliver(pins::spectrum, spectrumBlob(0, 512, 2048, 40));
    EXPECT_EQ(editor().spectra().input[10].y, -10.0f);
    EXPECT_EQ(editor().spectra().drawCount, 7792);
    // Short and lying blobs through the host, each in storage of its own size.
    for (const size_t size : {0u, 3u, 11u, 12u}) gui->deliver(pins::spectrum, host::Bytes(size, 0x48));
    gui->deliver(pins::spectrum, spectrumBlob(0, 512, 88, 4));
    EXPECT_EQ(editor().spectra().input[88].y, -1.0f);
    EXPECT_EQ(editor().spectra().input[89].y, -10.0f);
}

TEST_F(Editor, BrokenHostValuesGiveSafeAnswers) {
    host::View view(*gui, 900, 400);
    const float inf = std::numeric_limits<float>::infinity();
    for (const float bad : {nan, inf, -inf, 0.0f, -1.0f, 3e38f}) {
        SCOPED_TRACE(bad);
        gui->deliver(pins::sampleRate, bad);
        for (const int32_t type : {int32_t(eq::Notch), int32_t(eq::Peak), 99, -5}) {
            gui->deliver(pins::band(1, pins::type), type);
            gui->deliver(pins::band(1, pins::order), std::numeric_limits<int32_t>::min());
            gui->deliver(pins::band(1, pins::active), int32_t(1));
            for (const int32_t pin : {pins::frequency, pins::bandwidth, pins::gain})
                gui->deliver(pins::band(1, pins::BandPin(pin)), bad);
        }
        gui->deliver(pins::showPhase, int32_t(1));
        gui->deliver(pins::stereoMode, std::numeric_limits<int32_t>::max());
        view.paint();
    }
    EXPECT_EQ(band(1).pointCount, 900);
}

TEST_F(Editor, AViewWiderThanTheCurvesGetsCurvesForItsFirstColumns) {
    setBand(0, {19000.0f, 1.0f, 0.0f, eq::Notch, eq::BothChannels, 1, 1});
    host::View view(*gui, 2400, 200);
    EXPECT_EQ(sentInt(pins::viewWidthOut), 2400);
    EXPECT_EQ(band(0).pointCount, eq::maxPlotColumns);
    EXPECT_EQ(band(0).fillCount, 12 * (eq::maxPlotColumns - 1));
    EXPECT_EQ(editor().totals().magnitudeCountA, 2 * eq::maxPlotColumns);
    EXPECT_EQ(editor().totals().magnitudeA[2000].y, 0.0f);
    view.paint();
}

// A host that delivers every value the editor writes straight back to it,
// inside the write, exercises the re-entrancy guards: the result is that of a
// quiet host.
TEST_F(Editor, AnEchoingHostChangesNothingTheGuardsProtect) {
    const auto run = [](bool echo) {
        auto g = host::GuiInstance::create(testing_support::openDeliverable("eqscape"), "MY_eqscape");
        int depth = 0;
        if (echo) {
            g->setListener([&g, &depth](const host::SentGuiValue& sent) {
                const host::SentGuiValue copy = sent;
                if (++depth < 64) g->deliver(copy.pinIndex, copy.bytes);
                --depth;
            });
        }
        g->deliver(pins::sampleRate, 44100.0f);
        g->deliver(pins::dbRange, 20.0f);
        g->deliver(pins::selBand, int32_t(2));
        g->deliver(pins::editLink, true);
        g->deliver(pins::selTypeCode, int32_t(7));
        g->deliver(pins::editLink, true);
        g->deliver(pins::selFrequency, 1234.0f);
        g->deliver(pins::selBandwidth, 2.5f);
        const eq::EqBand& b = static_cast<const eqscape*>(g->userInterface())->bands()[1];
        return std::tuple{b.type, b.order, b.frequency, b.bandwidth, b.gain};
    };
    EXPECT_EQ(run(true), run(false));
    const auto [type, order, frequency, bandwidth, gain] = run(false);
    EXPECT_EQ(type, eq::Notch);
    EXPECT_EQ(frequency, 1234.0);
    EXPECT_EQ(bandwidth, 2.5);
    EXPECT_EQ(gain, 10.0);
}

}  // namespace
