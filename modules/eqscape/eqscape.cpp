#include "eqscape.h"

#include <algorithm>

#include "mp/factory.h"
#include "platform/gl.h"
#include "response.h"
#include "vitrel/window.h"

namespace pins = eq::pins;

namespace {

constexpr UINT_PTR repairTimer = 0;
constexpr UINT repairPeriodMs = 20;

bool leftAltHeld() { return GetAsyncKeyState(VK_LMENU) < 0; }

bool within(float value, float low, float high) { return value >= low && value <= high; }  // NaN is outside

// The selected-band type code: LOW PASS 0..2 and HIGH PASS 3..5 by order,
// then BAND PASS 6, NOTCH 7, PEAK 8, LOW SHELF 9, HIGH SHELF 10; -1 for a
// type outside the range. An order outside 1..3 counts as the nearest, so
// the code always names a type.
int32_t typeCodeOf(const eq::EqBand& band) {
    const int32_t order = std::clamp(band.order, 1, 3);
    switch (band.type) {
    case eq::LowPass: return order - 1;
    case eq::HighPass: return order + 2;
    case eq::BandPass: return 6;
    case eq::Notch: return 7;
    case eq::Peak: return 8;
    case eq::LowShelf: return 9;
    case eq::HighShelf: return 10;
    default: return -1;
    }
}

// Sets a byte flag for the lifetime of the guard, then clears it.
class FlagHold {
public:
    explicit FlagHold(uint8_t& flag) : flag_(flag) { flag_ = 1; }
    ~FlagHold() { flag_ = 0; }
    FlagHold(const FlagHold&) = delete;
    FlagHold& operator=(const FlagHold&) = delete;

private:
    uint8_t& flag_;
};

}  // namespace

eqscape::eqscape(mp::IMpUnknown* host) : SeGuiWindowsGfxBase(host) {
    // The band records start as declared: pi and ln 2 in single precision,
    // oversampling 1, no points, all coefficients 0.
    publishLock_ = 0;
    draggedBand_ = -1;
    dragMode_ = -1;
    bandCount_ = eq::bandCount;
    for (auto& list : drawOrder_)
        for (int32_t k = 0; k < eq::bandCount; ++k) list[size_t(k)] = eq::bandCount - 1 - k;
    registerPins();
    rebuildAnalyserAxis();
    recomputeTotals();
    onDbRange();
    // Every band takes over its pins' current values (all 0 until the host
    // delivers): LOW PASS, order 0, muted, routing 0, 0 Hz.
    for (int32_t k = 0; k < eq::bandCount; ++k)
        for (const pins::BandPin pin :
             {pins::order, pins::routing, pins::active, pins::type, pins::frequency, pins::bandwidth, pins::gain})
            onBandPin(k, pin);
    gridLineFrequencies_ = {20,   30,   40,   50,   60,   70,   80,   90,   100,  200,   300,  400,  500,   600,
                            700,  800,  900,  1000, 2000, 3000, 4000, 5000, 6000, 7000,  8000, 9000, 10000, 14000};
    editLinkCount_ = 0;
}

// Pins --------------------------------------------------------------------

template <int32_t K>
void eqscape::registerBand() {
    BandPins& p = bandPins_[size_t(K)];
    p.frequency.registerPin(this, pins::band(K, pins::frequency), &eqscape::bandHandler<K, pins::frequency>);
    p.bandwidth.registerPin(this, pins::band(K, pins::bandwidth), &eqscape::bandHandler<K, pins::bandwidth>);
    p.gain.registerPin(this, pins::band(K, pins::gain), &eqscape::bandHandler<K, pins::gain>);
    p.type.registerPin(this, pins::band(K, pins::type), &eqscape::bandHandler<K, pins::type>);
    for (int32_t i = 0; i < 5; ++i)
        p.spare[size_t(i)].registerPin(this, pins::band(K, pins::spareFirst) + i,
                                       &eqscape::bandHandler<K, pins::spareFirst>);
    p.routing.registerPin(this, pins::band(K, pins::routing), &eqscape::bandHandler<K, pins::routing>);
    p.order.registerPin(this, pins::band(K, pins::order), &eqscape::bandHandler<K, pins::order>);
    p.active.registerPin(this, pins::band(K, pins::active), &eqscape::bandHandler<K, pins::active>);
}

template <size_t... K>
void eqscape::registerBandPins(std::index_sequence<K...>) {
    (registerBand<int32_t(K)>(), ...);
}

void eqscape::registerPins() {
    sampleRate_.registerPin(this, pins::sampleRate, &eqscape::onSampleRate);
    stereoMode_.registerPin(this, pins::stereoMode, &eqscape::onStereoMode);
    registerBandPins(std::make_index_sequence<eq::bandCount>{});
    dbRange_.registerPin(this, pins::dbRange, &eqscape::onDbRange);
    zoom_.registerPin(this, pins::zoom, &eqscape::onZoom);
    pan_.registerPin(this, pins::pan, &eqscape::onRepaintOnly);
    for (int32_t i = 0; i < 5; ++i) unused125_[size_t(i)].registerPin(this, pins::unusedFirst + i, &eqscape::onRepaintOnly);
    hue_.registerPin(this, pins::hue, &eqscape::onRepaintOnly);
    saturation_.registerPin(this, pins::saturation, &eqscape::onRepaintOnly);
    lightness_.registerPin(this, pins::lightness, &eqscape::onRepaintOnly);
    nodeInfo_.registerPin(this, pins::nodeInfo, &eqscape::onRepaintOnly);
    showPhase_.registerPin(this, pins::showPhase, &eqscape::onShowPhase);
    selFrequency_.registerPin(this, pins::selFrequency, &eqscape::onSelFrequency);
    selBandwidth_.registerPin(this, pins::selBandwidth, &eqscape::onSelBandwidth);
    selGain_.registerPin(this, pins::selGain, &eqscape::onSelGain);
    selTypeCode_.registerPin(this, pins::selTypeCode, &eqscape::onSelTypeCode);
    selRouting_.registerPin(this, pins::selRouting, &eqscape::onSelRouting);
    selActive_.registerPin(this, pins::selActive, &eqscape::onSelActive);
    selBand_.registerPin(this, pins::selBand, &eqscape::onSelBand);
    viewOpen_.registerPin(this, pins::viewOpen, &eqscape::onNothing);
    viewWidthOut_.registerPin(this, pins::viewWidthOut, &eqscape::onNothing);
    spectrum_.registerPin(this, pins::spectrum, &eqscape::onSpectrum);
    editLink_.registerPin(this, pins::editLink, &eqscape::onEditLink);
    analyser_.registerPin(this, pins::analyser, &eqscape::onRepaintOnly);
    titleFade_.registerPin(this, pins::titleFade, &eqscape::onRepaintOnly);
    unused148_.registerPin(this, pins::unused148, &eqscape::onRepaintOnly);
    sampling_.registerPin(this, pins::sampling, &eqscape::onSampling);
    readout_.registerPin(this, pins::readout, &eqscape::onRepaintOnly);
    noGain_.registerPin(this, pins::noGain, &eqscape::onNothing);
    fixedBandwidth_.registerPin(this, pins::fixedBandwidth, &eqscape::onNothing);
    trueStereo_.registerPin(this, pins::trueStereo, &eqscape::onNothing);
    gainLimit_.registerPin(this, pins::gainLimit, &eqscape::onNothing);
    fillAlpha_.registerPin(this, pins::fillAlpha, &eqscape::onRepaintOnly);
    multi_.registerPin(this, pins::multi, &eqscape::onRepaintOnly);
    blend_.registerPin(this, pins::blend, &eqscape::onRepaintOnly);
    analyserHold_.registerPin(this, pins::analyserHold, &eqscape::onNothing);
}

// Band pins ---------------------------------------------------------------

void eqscape::onBandPin(int32_t k, pins::BandPin pin) {
    eq::EqBand& band = bands_[size_t(k)];
    const BandPins& p = bandPins_[size_t(k)];
    if (pin == pins::spareFirst) {  // any of the five spare pins
        band.type = p.type.value();
        band.routing = p.routing.value();
        band.order = p.order.value();
        band.active = p.active.value();
        repaint();
        return;
    }
    if (dragMode_ == 10 || draggedBand_ == k || publishLock_) return;
    switch (pin) {
    case pins::frequency: band.frequency = p.frequency.value(); computeBand(k); break;
    case pins::bandwidth: band.bandwidth = p.bandwidth.value(); computeBand(k); break;
    case pins::gain: band.gain = p.gain.value(); computeBand(k); break;
    case pins::type:
        band.type = p.type.value();
        eq::setTypeLabels(band);
        eq::applyTypeLimits(band);
        computeBand(k);
        break;
    case pins::routing: band.routing = p.routing.value(); break;
    case pins::order: band.order = p.order.value(); break;
    case pins::active: band.active = p.active.value(); break;
    default: return;
    }
    refreshBand(k);
}

void eqscape::computeBand(int32_t k) {
    eq::EqBand& band = bands_[size_t(k)];
    eq::computeCoefficients(band, sampleRate_.value(), float(band.frequency), float(band.bandwidth), float(band.gain));
}

void eqscape::computeBandCurves(int32_t k) {
    eq::computeMagnitudeCurve(bands_[size_t(k)]);
    if (showPhase_.value() == 1) eq::computePhaseCurve(bands_[size_t(k)]);
}

void eqscape::refreshBand(int32_t k) {
    computeBandCurves(k);
    if (viewIsOpen_) publishSelection(k);  // a band changed from the host becomes the selected band
    recomputeTotals();
    repaint();
}

void eqscape::publishBand(int32_t k) {
    if (!publishLock_) publishSelection(selectedBand_);
    const eq::EqBand& band = bands_[size_t(k)];
    BandPins& p = bandPins_[size_t(k)];
    p.frequency.setValue(float(band.frequency));
    p.gain.setValue(float(band.gain));
    p.bandwidth.setValue(float(band.bandwidth));
    p.type.setValue(band.type);
    p.active.setValue(band.active);
    p.routing.setValue(band.routing);
    p.order.setValue(band.order);
}

void eqscape::publishSelection(int32_t k) {
    if (leftAltHeld() || rangeDragActive_) return;
    if (k < 0 || k >= eq::bandCount) return;
    const eq::EqBand& band = bands_[size_t(k)];
    trueStereo_.setValue(stereoMode_.value() == eq::TrueStereo);
    selBand_.setValue(k + 1);
    publishLock_ = 1;
    selFrequency_.setValue(float(band.frequency));
    selBandwidth_.setValue(float(band.bandwidth));
    selGain_.setValue(float(band.gain));
    selActive_.setValue(band.active);
    selRouting_.setValue(band.routing);
    selectedBand_ = k;
    noGain_.setValue(false);
    fixedBandwidth_.setValue(false);
    const int32_t code = typeCodeOf(band);
    if (code >= 0) selTypeCode_.setValue(code);
    if (eq::isFilterType(band.type) && !eq::typeUsesGain(band.type)) {
        noGain_.setValue(true);
        selGain_.setValue(0.0f);
    } else if (eq::isShelf(band.type)) {
        fixedBandwidth_.setValue(true);
        selBandwidth_.setValue(1.5f);
    }
    publishLock_ = 0;
}

void eqscape::recomputeTotals() {
    eq::recomputeTotals(bands_, stereoMode_.value(), showPhase_.value(), viewWidth_, totals_);
}

// Global pins -------------------------------------------------------------

void eqscape::onSampleRate() {
    rebuildAnalyserAxis();
    repaint();
}

void eqscape::onStereoMode() {
    recomputeTotals();
    repaint();
}

void eqscape::onDbRange() {
    if (!rangeEchoSkip_) {
        currentRange_ = dbRange_.value();
        repaint();
    }
    rangeEchoSkip_ = 0;
}

void eqscape::onZoom() {
    if (!publishLock_) repaint();
}

void eqscape::onShowPhase() {
    if (showPhase_.value() == 1)
        for (eq::EqBand& band : bands_) eq::computePhaseCurve(band);
    repaint();
}

void eqscape::onSampling() {
    const double factor = sampling_.value() == 1 ? 4.0 : 1.0;
    for (eq::EqBand& band : bands_) band.oversampling = factor;
    repaint();
}

void eqscape::onEditLink() { editLinkCount_ += editLink_.value() ? 1 : -1; }

// Selected-band pins ------------------------------------------------------

int32_t eqscape::selBandIndex() const {
    const int32_t value = selBand_.value();
    return value >= 1 && value <= eq::bandCount ? value - 1 : -1;
}

void eqscape::onSelBand() {
    if (publishLock_) return;
    publishLock_ = 1;
    const int32_t s = selBandIndex();  // 0 or below, or above 10: selects nothing
    if (s >= 0) {
        selectedBand_ = s;
        auto& order = drawOrder_[1];
        std::rotate(std::find(order.begin(), order.end(), s), std::find(order.begin(), order.end(), s) + 1, order.end());
        publishSelection(s);
    }
    if (editLinkCount_ >= 1) {
        if (s >= 0) {
            const eq::EqBand& band = bands_[size_t(s)];
            selFrequency_.setValue(float(band.frequency));
            selBandwidth_.setValue(float(band.bandwidth));
            selGain_.setValue(float(band.gain));
            if (const int32_t code = typeCodeOf(band); code >= 0) selTypeCode_.setValue(code);
            selRouting_.setValue(band.routing);
            selActive_.setValue(band.active);
        }
        editLinkCount_ = 0;
    }
    publishLock_ = 0;
}

void eqscape::onSelFrequency() { onSelParameter(SelParameter::Frequency); }
void eqscape::onSelBandwidth() { onSelParameter(SelParameter::Bandwidth); }
void eqscape::onSelGain() { onSelParameter(SelParameter::Gain); }

void eqscape::onSelParameter(SelParameter parameter) {
    struct Rule {
        const mp::MpGuiPin<float>& pin;
        float low, high;
        pins::BandPin bandPin;
    };
    const Rule rule = parameter == SelParameter::Frequency   ? Rule{selFrequency_, 20.0f, 20000.0f, pins::frequency}
                      : parameter == SelParameter::Bandwidth ? Rule{selBandwidth_, 0.1f, 5.0f, pins::bandwidth}
                                                             : Rule{selGain_, -30.0f, 30.0f, pins::gain};
    const float value = rule.pin.value();
    if (!within(value, rule.low, rule.high)) {
        startRepairTimer();  // the timer writes the nearer limit back
        return;
    }
    const int32_t s = selBandIndex();
    if (s < 0) return;
    eq::EqBand& band = bands_[size_t(s)];
    if (parameter == SelParameter::Bandwidth && eq::isShelf(band.type)) return;
    const bool linked = editLinkCount_ > 0;
    if (linked && (draggedBand_ != -1 || publishLock_)) return;
    if (!linked && parameter != SelParameter::Frequency && publishLock_) return;

    switch (parameter) {
    case SelParameter::Frequency: band.frequency = value; break;
    case SelParameter::Bandwidth: band.bandwidth = value; break;
    case SelParameter::Gain: band.gain = value; break;
    }
    computeBand(s);
    computeBandCurves(s);
    eq::setTypeLabels(band);
    eq::applyTypeLimits(band);
    if (linked) {
        FlagHold hold(publishLock_);
        publishBand(s);
    }
    recomputeTotals();
    repaint();
    if (!linked) {
        BandPins& p = bandPins_[size_t(s)];
        mp::MpGuiPin<float>& target = rule.bandPin == pins::frequency   ? p.frequency
                                      : rule.bandPin == pins::bandwidth ? p.bandwidth
                                                                        : p.gain;
        target.setValue(value);
    }
}

void eqscape::onSelTypeCode() {
    const int32_t s = selBandIndex();
    const int32_t code = selTypeCode_.value();
    if (editLinkCount_ <= 0 || draggedBand_ != -1 || publishLock_ || s < 0) return;
    if (code < 0 || code > 10) return;  // names no type
    publishLock_ = 1;
    eq::EqBand& band = bands_[size_t(s)];
    band.order = 1;
    if (code <= 7) {
        if (code <= 2) band.type = eq::LowPass, band.order = code + 1;
        else if (code <= 5) band.type = eq::HighPass, band.order = code - 2;
        else band.type = code == 6 ? eq::BandPass : eq::Notch;
        noGain_.setValue(true);
        fixedBandwidth_.setValue(false);
        selGain_.setValue(0.0f);
    } else if (code == 8) {
        band.type = eq::Peak;
        noGain_.setValue(false);
        fixedBandwidth_.setValue(false);
    } else {
        band.type = code == 9 ? eq::LowShelf : eq::HighShelf;
        band.bandwidth = 1.5;
        fixedBandwidth_.setValue(true);
        selBandwidth_.setValue(1.5f);
        noGain_.setValue(false);
    }
    if (!eq::typeUsesGain(band.type)) band.gain = 0.5 * double(dbRange_.value());
    computeBand(s);
    computeBandCurves(s);
    eq::setTypeLabels(band);
    eq::applyTypeLimits(band);
    publishBand(s);  // under the lock: the selection is not published again
    publishLock_ = 0;
    recomputeTotals();
    repaint();
}

void eqscape::onSelRouting() {
    const int32_t s = selBandIndex();
    if (editLinkCount_ <= 0 || s < 0) return;
    bands_[size_t(s)].routing = selRouting_.value();
    publishBand(s);
    recomputeTotals();
    repaint();
}

void eqscape::onSelActive() {
    const int32_t s = selBandIndex();
    if (s < 0) return;
    bands_[size_t(s)].active = selActive_.value();
    if (editLinkCount_ > 0) {
        computeBandCurves(s);
        publishBand(s);
    }
    recomputeTotals();
    repaint();
}

// Analyser ----------------------------------------------------------------

void eqscape::rebuildAnalyserAxis() { eq::rebuildAnalyserAxis(spectra_, sampleRate_.value()); }

void eqscape::onSpectrum() {
    if (analyser_.value() <= 0) return;
    const auto* bytes = static_cast<const uint8_t*>(spectrum_.valueBytes());
    if (eq::applySpectrumBlob(spectra_, bytes, spectrum_.valueSize(), analyserHold_.value())) repaint();
}

// Window ------------------------------------------------------------------

void eqscape::repaint() {
    if (windowHandle() != nullptr) InvalidateRgn(windowHandle(), nullptr, TRUE);
}

void eqscape::startRepairTimer() {
    if (windowHandle() != nullptr) SetTimer(windowHandle(), repairTimer, repairPeriodMs, nullptr);
}

int32_t eqscape::onTimer() {
    // One out-of-range selected-band value is repaired per tick.
    const auto repair = [this](mp::MpGuiPin<float>& pin, float low, float high) {
        if (within(pin.value(), low, high)) return false;
        pin.setValue(pin.value() < low ? low : high);
        return true;
    };
    if (repair(selBandwidth_, 0.1f, 5.0f) || repair(selGain_, -30.0f, 30.0f) ||
        repair(selFrequency_, 20.0f, 20000.0f)) {
        KillTimer(windowHandle(), repairTimer);
        return 0;
    }
    // Nothing left to repair; the settings panel's animation is the timer's
    // other user.
    KillTimer(windowHandle(), repairTimer);
    repaint();
    return 0;
}

int32_t eqscape::createChildWindow(void* parentWindow, void** window) {
    registerWindowClassOnce();
    viewParent_ = static_cast<HWND>(parentWindow);
    if (window != nullptr) *window = nullptr;
    if (windowHandle() != nullptr) {  // one view per object: a second request gets the first
        if (window != nullptr) *window = windowHandle();
        return mp::MP_OK;
    }
    const mp::MpRect& r = windowRect();
    HWND made = vitrelCreateWindow(viewParent_, r.left, r.top, windowWidth(), windowHeight());
    if (made == nullptr) return mp::MP_OK;
    setWindowHandle(made);
    if (window != nullptr) *window = made;
    viewSlot_ = vitrelCurrentSlot();
    viewWidth_ = float(windowWidth());
    viewHeight_ = float(windowHeight());
    SetWindowLongPtrW(made, GWLP_USERDATA, userDataValue());
    viewSetUp(windowWidth(), windowHeight());
    ShowWindow(made, SW_SHOWNORMAL);
    UpdateWindow(made);
    viewIsOpen_ = 1;
    return mp::MP_OK;
}

int32_t eqscape::destroyChildWindow() {
    if (windowHandle() == nullptr) return mp::MP_OK;
    vitrelDestroyWindow(viewSlot_);
    setWindowHandle(nullptr);
    viewIsOpen_ = 0;
    return mp::MP_OK;
}

void eqscape::viewSetUp(int32_t width, int32_t height) {
    viewWidthOut_.setValue(width);
    viewOpen_.setValue(1);
    vitrelPerspective(width, height);
    vitrelDefaultState();
    bandCount_ = eq::bandCount;
    // The plot is the whole view; its curves have one point per column, up to
    // the bands' capacity (a wider view's curves cover its first columns).
    for (eq::EqBand& band : bands_) {
        band.originX = band.originY = 0.0;
        band.plotWidth = width;
        band.plotHeight = height;
        eq::buildFrequencyGrid(band, width);
    }
    rebuildAnalyserAxis();
    recomputeTotals();
    for (int32_t k = 0; k < eq::bandCount; ++k) refreshBand(k);
    viewWidth_ = float(width);
    viewHeight_ = float(height);
    recomputeTotals();
    draggedBand_ = -1;
    dragMode_ = -1;
}

int32_t eqscape::onPaint(HDC deviceContext) {
    viewWidth_ = float(windowWidth());
    viewHeight_ = float(windowHeight());
    vitrelBeginPaint(viewSlot_);
    drawFrame();
    SwapBuffers(deviceContext);
    vitrelEndPaint();
    return 0;
}

void eqscape::drawFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
}

namespace {
const int32_t registered = mp::registerPlugin<eqscape>(u"MY_eqscape", mp::MP_KIND_GUI);
}  // namespace
