// fftfeed: analyses its two audio inputs in turn, one 4096-point spectrum
// every 25 ms of audio, and sends each as a spectrum blob on its blob output.
//
// Spectrum blob (2060 bytes, little-endian):
//   offset 0   int32   magic 329544 (0x00050748)
//   offset 4   int32   channel: 0 = first audio input, 1 = second
//   offset 8   int32   number of 32-bit words of level data that follow: 512
//   offset 12  uint8[2048] level bytes: byte k (0..2045) is the level of bin
//              k + 2, covering (k + 2) * sampleRate / 4096 Hz; a receiver reads
//              byte b as -b / 4 dB. Bytes 2046 and 2047 carry no bin and are 0.
//
// Timing: samples are captured only while the next analysis is of the first
// input (phase 0); the analysis runs at the end of the processing call after
// which a hop (25 ms) of samples has been counted, samples counted beyond the
// hop are dropped, and the phase alternates. The module never sleeps.
//
// Sample rates: the hop is the rate times 0.025, truncated, and the analysis
// length (the ring length and the Hann window's length) twice that. Only the
// first 4096 windowed samples enter the FFT, so only those window entries are
// ever needed; the table is filled up to its end and no further. A rate whose
// analysis length would exceed the ring storage (1920040 Hz and above,
// infinity too) is analysed with the longest hop the rings hold (48000
// samples). A rate with no whole sample in a hop (below 40 Hz, 0, negative,
// NaN) leaves the module idle: nothing is captured and no blob is sent until
// it is activated at a usable rate.
//
// Everything the audio path uses lives in the object; only the blob pin
// allocates, once, on the first send.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "mp/dsp_base.h"
#include "mp/factory.h"
#include "real_fft.h"
#include "simd4.h"
#include "spectrum_levels.h"

namespace {

constexpr int32_t fftSize = spectrum::RealFft4096::size;
constexpr int32_t ringCapacity = 96000;
constexpr int32_t longestHop = ringCapacity / 2;
constexpr int32_t windowCapacity = 16384;
constexpr int32_t levelBytesSent = 2046;  // bins 2..2047
constexpr int32_t levelWords = fftSize / 8;
constexpr int32_t blobHeaderSize = 12;
constexpr int32_t blobSize = blobHeaderSize + 4 * levelWords;
constexpr int32_t blobMagic = 329544;
constexpr float pi = 3.14159265358979f;

// A hop of 25 ms, formed in double precision and truncated; 0 where no whole
// sample fits (the module is idle then).
int32_t hopFor(float sampleRate) {
    const double product = double(sampleRate) * 0.025;
    if (!(product >= 1.0)) return 0;
    if (product >= double(longestHop)) return longestHop;
    return static_cast<int32_t>(product);
}

void storeLittleEndian(uint8_t* at, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// Samples written in storage order at a write index that wraps at `length`.
struct Ring {
    std::array<float, ringCapacity> samples{};
    int32_t writeIndex = 0;
    int32_t length = 0;

    void push(float sample) {
        samples[size_t(writeIndex)] = sample;
        if (++writeIndex >= length) writeIndex = 0;
    }
};

class fftfeed final : public mp::MpBase {
public:
    explicit fftfeed(mp::IMpUnknown* host) : MpBase(host) {
        firstIn_.registerPin(this, 3);
        secondIn_.registerPin(this, 4);
        for (int32_t i = 0; i < 3; ++i) spareIn_[size_t(i)].registerPin(this, 5 + i);
        spectrumOut_.registerPin(this, 8);
    }

    int32_t MP_STDCALL activate() override {
        setProcessRoutine(&fftfeed::analyse);
        preventSleep();
        float sampleRate = 0.0f;
        host()->querySampleRate(&sampleRate);
        sampleCounter_ = 0;
        hop_ = hopFor(sampleRate);
        const int32_t length = 2 * hop_;
        for (Ring* ring : {&rings_[0], &rings_[1]}) {
            ring->writeIndex = 0;
            ring->length = length;
            ring->samples.fill(0.0f);
        }
        float rate = 0.0f;
        host()->querySampleRate(&rate);
        chooseLevelOffset(rate);
        fillWindow(length);
        frame_.fill(0.0f);
        return mp::MP_OK;
    }

    void onPinsChanged() override {
        for (const mp::AudioInPin* input : {&firstIn_, &secondIn_}) {
            if (input->isStreaming()) {
                setProcessRoutine(&fftfeed::analyse);
                preventSleep();
            }
        }
    }

private:
    void chooseLevelOffset(float rate) {
        if (rate == 44100.0f) levelOffset_ = 4.0f;
        else if (rate == 48000.0f) levelOffset_ = 3.0f;
        else if (rate == 88200.0f) levelOffset_ = -2.0f;
        else if (rate == 96000.0f) levelOffset_ = -3.5f;
        // any other rate keeps the offset it had
    }

    // A periodic Hann window of `length`: sin^2(pi i / length).
    void fillWindow(int32_t length) {
        for (int32_t i = 0; i < fftSize; ++i) window_[size_t(i)] = sineSquared(i, fftSize);
        const int32_t filled = std::min(2 * length, windowCapacity);
        for (int32_t i = 0; i < filled; ++i) window_[size_t(i)] = sineSquared(i, length);
    }
    static float sineSquared(int32_t i, int32_t length) {
        const float s = std::sin(float(i) * pi / float(length));
        return s * s;
    }

    // The processing routine: capture, count, and analyse when a hop is due.
    void analyse(int32_t offset, int32_t count) {
        if (hop_ == 0) return;
        if (phase_ == 0) {
            capture(rings_[0], firstIn_, offset, count);
            capture(rings_[1], secondIn_, offset, count);
        }
        // The count beyond the hop is dropped anyway: stop there (no overflow).
        sampleCounter_ = count >= hop_ - sampleCounter_ ? hop_ : sampleCounter_ + count;
        if (sampleCounter_ < hop_) return;

        std::fill(frame_.begin(), frame_.begin() + fftSize, 0.0f);
        const Ring& ring = rings_[size_t(phase_)];
        const int32_t analysed = std::min(ring.length, fftSize);  // the rest never enters the FFT
        int32_t k = 0;
        for (; k + 4 <= analysed; k += 4)
            spectrum::simd::store(frame_.data() + k, spectrum::simd::load(ring.samples.data() + k) *
                                                         spectrum::simd::load(window_.data() + k));
        for (; k < analysed; ++k) frame_[size_t(k)] = ring.samples[size_t(k)] * window_[size_t(k)];
        fft_.transform(frame_.data());
        spectrum::binMagnitudes(frame_.data(), magnitudes_.data());

        uint8_t* levels = record_.data() + blobHeaderSize;
        spectrum::levelBytes(magnitudes_.data() + 2, levelBytesSent, levelOffset_, levels);
        levels[levelBytesSent] = 0;
        levels[levelBytesSent + 1] = 0;
        storeLittleEndian(record_.data(), blobMagic);
        storeLittleEndian(record_.data() + 4, phase_);
        storeLittleEndian(record_.data() + 8, levelWords);

        sampleCounter_ = 0;
        spectrumOut_.storeBytes(blobSize, record_.data());
        spectrumOut_.transmitValue(0);
        phase_ = 1 - phase_;
    }

    static void capture(Ring& ring, const mp::AudioInPin& input, int32_t offset, int32_t count) {
        const float* samples = input.buffer();
        if (samples == nullptr) {  // no buffer from the host: silence
            for (int32_t i = 0; i < count; ++i) ring.push(0.0f);
            return;
        }
        for (int32_t i = 0; i < count; ++i) ring.push(samples[offset + i]);
    }

    mp::AudioInPin firstIn_;
    mp::AudioInPin secondIn_;
    std::array<mp::MpIntIn, 3> spareIn_;  // declared for the host; not read
    mp::MpBlobOut spectrumOut_;

    std::array<Ring, 2> rings_{};
    std::array<float, windowCapacity> window_{};
    std::array<float, fftSize> frame_{};
    std::array<float, spectrum::RealFft4096::bins> magnitudes_{};
    std::array<uint8_t, blobSize> record_{};
    spectrum::RealFft4096 fft_;
    int32_t hop_ = 0;
    int32_t sampleCounter_ = 0;
    int32_t phase_ = 0;  // 0: the next analysis is of the first input
    float levelOffset_ = 0.0f;
};

const int32_t registered = mp::registerPlugin<fftfeed>(u"fftfeed", mp::MP_KIND_DSP);

}  // namespace
