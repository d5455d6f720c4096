// The ten-band EQ editor: the GUI half of a parametric stereo equaliser. It
// owns no audio; the host wires its 159 pins to the equaliser's processing
// blocks, to panel controls and to a spectrum source. The editor keeps the
// ten band records with their curves, the total curves and the analyser's
// spectrum curves, mirrors the selected band on pins 135..141 for a host
// panel, and draws all of it in an OpenGL view of its own.
//
// Everything runs on the host's user-interface thread. publishLock,
// rangeEchoSkip and rangeDragActive keep the editor's own pin writes from
// being applied a second time when the host echoes them.
//
// The object holds everything by value (several megabytes), so the factory
// makes it on the heap.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "analyser.h"
#include "eq_band.h"
#include "eqscape_pins.h"
#include "mp/gui_windows_gfx_base.h"
#include "totals.h"

class eqscape final : public mp::SeGuiWindowsGfxBase {
public:
    explicit eqscape(mp::IMpUnknown* host);

    int32_t MP_STDCALL createChildWindow(void* parentWindow, void** window) override;
    int32_t MP_STDCALL destroyChildWindow() override;

    // The model as the view reads it.
    const eq::Bands& bands() const { return bands_; }
    const eq::TotalCurves& totals() const { return totals_; }
    const eq::SpectrumCurves& spectra() const { return spectra_; }
    int32_t selectedBand() const { return selectedBand_; }
    int32_t editLinkCount() const { return editLinkCount_; }
    float currentRange() const { return currentRange_; }
    const std::array<int32_t, eq::bandCount>& drawOrder(int32_t list) const { return drawOrder_[list == 0 ? 0 : 1]; }

    static constexpr float editorVersion = 0.86f;
    // The size the view is laid out for.
    static constexpr int32_t naturalWidth = 900;
    static constexpr int32_t naturalHeight = 400;

protected:
    int32_t onPaint(HDC deviceContext) override;
    int32_t onTimer() override;
    // Reserved; not otherwise used.
    virtual int32_t spareOperation() { return 0; }

private:
    struct BandPins {
        mp::MpGuiPin<float> frequency, bandwidth, gain;
        mp::MpGuiPin<int32_t> type;
        std::array<mp::MpGuiPin<float>, 5> spare;
        mp::MpGuiPin<int32_t> routing, order, active;
    };

    // Pin registration and the per-band handler family.
    void registerPins();
    template <size_t... K>
    void registerBandPins(std::index_sequence<K...>);
    template <int32_t K>
    void registerBand();
    template <int32_t K, eq::pins::BandPin P>
    void bandHandler() { onBandPin(K, P); }
    void onBandPin(int32_t k, eq::pins::BandPin pin);

    // Global pin handlers.
    void onSampleRate();
    void onStereoMode();
    void onDbRange();
    void onZoom();
    void onShowPhase();
    void onSelFrequency();
    void onSelBandwidth();
    void onSelGain();
    void onSelTypeCode();
    void onSelRouting();
    void onSelActive();
    void onSelBand();
    void onSpectrum();
    void onEditLink();
    void onSampling();
    void onNothing() {}
    void onRepaintOnly() { repaint(); }

    // Band operations.
    void computeBand(int32_t k);  // coefficients from the band's single-precision values
    void computeBandCurves(int32_t k);  // magnitude, and phase while it is shown
    void refreshBand(int32_t k);
    void publishBand(int32_t k);
    void publishSelection(int32_t k);
    void recomputeTotals();
    void rebuildAnalyserAxis();
    // The band the selected-band pins name (selBand 1..10), or -1.
    int32_t selBandIndex() const;
    // The selected-band handlers for frequency, bandwidth and gain.
    enum class SelParameter { Frequency, Bandwidth, Gain };
    void onSelParameter(SelParameter parameter);

    void repaint();
    void startRepairTimer();
    void viewSetUp(int32_t width, int32_t height);
    void drawFrame();

    // Pins.
    mp::MpGuiPin<float> sampleRate_;
    mp::MpGuiPin<int32_t> stereoMode_;
    std::array<BandPins, eq::bandCount> bandPins_;
    mp::MpGuiPin<float> dbRange_, zoom_, pan_;
    std::array<mp::MpGuiPin<float>, 5> unused125_;
    mp::MpGuiPin<float> hue_, saturation_, lightness_;
    mp::MpGuiPin<int32_t> nodeInfo_, showPhase_;
    mp::MpGuiPin<float> selFrequency_, selBandwidth_, selGain_;
    mp::MpGuiPin<int32_t> selTypeCode_, selRouting_, selActive_, selBand_;
    mp::MpGuiPin<int32_t> viewOpen_, viewWidthOut_;
    mp::MpGuiPin<mp::MpBlob> spectrum_;
    mp::MpGuiPin<bool> editLink_;
    mp::MpGuiPin<int32_t> analyser_;
    mp::MpGuiPin<float> titleFade_, unused148_;
    mp::MpGuiPin<int32_t> sampling_, readout_;
    mp::MpGuiPin<bool> noGain_, fixedBandwidth_, trueStereo_;
    mp::MpGuiPin<float> gainLimit_, fillAlpha_;
    mp::MpGuiPin<int32_t> multi_, blend_, analyserHold_;

    // The model.
    eq::Bands bands_;
    eq::TotalCurves totals_;
    eq::SpectrumCurves spectra_;

    // Editor state.
    float viewWidth_ = 0.0f;
    float viewHeight_ = 0.0f;
    uint8_t viewIsOpen_ = 0;
    int32_t bandCount_ = eq::bandCount;
    int32_t selectedBand_ = 0;
    int32_t draggedBand_ = -1;
    int32_t dragMode_ = -1;  // -1 none, 1 node, 2 bandwidth, 10 range and zoom, 11 pan
    uint8_t publishLock_ = 0;
    int32_t editLinkCount_ = 0;
    uint8_t rangeEchoSkip_ = 0;
    uint8_t rangeDragActive_ = 0;
    float currentRange_ = 0.0f;
    std::array<float, 28> gridLineFrequencies_{};
    // Band indices in drawing order: [0] by gain magnitude, [1] the selected band last.
    std::array<std::array<int32_t, eq::bandCount>, 2> drawOrder_{};

    // The view.
    int viewSlot_ = -1;
    HWND viewParent_ = nullptr;
};
