#include "host/audio_source.h"

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "host/error.h"

namespace host {

namespace {

double number(const std::string& text, const std::string& source) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value))
        throw HostError("audio source \"" + source + "\": \"" + text + "\" is not a number");
    return value;
}

}  // namespace

AudioSource AudioSource::open(std::string_view description, float sampleRate) {
    const std::string text(description);
    AudioSource source;
    source.sampleRate_ = sampleRate;
    if (text == "silence") return source;
    if (text.starts_with("sine:")) {
        const std::string rest = text.substr(5);
        const auto colon = rest.find(':');
        source.hertz_ = number(rest.substr(0, colon), text);
        source.amplitude_ = colon == std::string::npos ? 1.0 : number(rest.substr(colon + 1), text);
        return source;
    }

    SF_INFO info{};
    SNDFILE* file = sf_open(text.c_str(), SFM_READ, &info);
    if (file == nullptr)
        throw HostError("audio source \"" + text + "\" is neither silence, sine:HZ[:AMPLITUDE] nor a sound file (" +
                        sf_strerror(nullptr) + ")");
    if (info.channels < 1 || info.frames < 0) {
        sf_close(file);
        throw HostError("sound file \"" + text + "\" has no channels");
    }
    std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
    const sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    source.channels_.assign(size_t(info.channels), std::vector<float>(size_t(frames > 0 ? frames : 0)));
    for (sf_count_t f = 0; f < frames; ++f)
        for (int c = 0; c < info.channels; ++c)
            source.channels_[size_t(c)][size_t(f)] = interleaved[size_t(f) * size_t(info.channels) + size_t(c)];
    source.fileRate_ = float(info.samplerate);
    return source;
}

void AudioSource::read(int32_t channel, int64_t position, std::span<float> samples) const {
    if (!channels_.empty()) {
        const auto& file = channels_[size_t(channel < 0 ? 0 : channel) % channels_.size()];
        for (size_t i = 0; i < samples.size(); ++i) {
            const int64_t at = position + int64_t(i);
            samples[i] = at >= 0 && at < int64_t(file.size()) ? file[size_t(at)] : 0.0f;
        }
        return;
    }
    constexpr double twoPi = 6.283185307179586476925286766559;
    for (size_t i = 0; i < samples.size(); ++i) {
        // The phase in whole turns, kept small so long runs stay exact.
        const double turns = std::fmod(hertz_ * double(position + int64_t(i)) / sampleRate_, 1.0);
        samples[i] = amplitude_ == 0.0 || !(sampleRate_ > 0.0) ? 0.0f : float(amplitude_ * std::sin(twoPi * turns));
    }
}

}  // namespace host
