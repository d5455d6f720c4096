// Signals for a DSP module's audio inputs: a test tone, silence, or a sound
// file read through libsndfile.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace host {

class AudioSource {
public:
    // "sine:HZ" or "sine:HZ:AMPLITUDE" (amplitude 1 by default), "silence", or
    // the path of a sound file (WAV and whatever else libsndfile reads, loaded
    // whole). Throws HostError for a source that is none of these.
    static AudioSource open(std::string_view description, float sampleRate);

    // Writes the samples of input `channel` from the absolute sample
    // `position` on. A file's channels feed the inputs in turn (input c reads
    // file channel c modulo the file's channels, so a mono file feeds every
    // input); past its end it gives silence. A tone is the same on every input.
    void read(int32_t channel, int64_t position, std::span<float> samples) const;

    // The file's own sample rate; 0 for a generated signal.
    float fileRate() const { return fileRate_; }

private:
    AudioSource() = default;

    double hertz_ = 0.0, amplitude_ = 0.0, sampleRate_ = 0.0;
    std::vector<std::vector<float>> channels_;  // a file's samples, one vector per channel
    float fileRate_ = 0.0f;
};

}  // namespace host
