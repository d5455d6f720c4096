// The host's side of the spectrum feed: reading spectrum blobs, and the
// signals suitehost feeds to audio inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "host/audio_source.h"
#include "host/error.h"
#include "host/spectrum_blob.h"

namespace {

std::vector<uint8_t> blob(int32_t magic, int32_t channel, int32_t words, size_t size = 2060) {
    std::vector<uint8_t> bytes(size, 200);
    const int32_t header[3] = {magic, channel, words};
    for (size_t i = 0; i < 12 && i < size; ++i) bytes[i] = uint8_t(uint32_t(header[i / 4]) >> (8 * (i % 4)));
    return bytes;
}

TEST(SpectrumBlob, DecodesOnlyTheFormat) {
    const auto good = host::decodeSpectrumBlob(blob(329544, 1, 512));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->channel, 1);
    EXPECT_EQ(good->levels, std::vector<uint8_t>(2046, 200));
    EXPECT_FALSE(host::decodeSpectrumBlob(blob(329545, 0, 512)));
    EXPECT_FALSE(host::decodeSpectrumBlob(blob(329544, 0, 511)));
    EXPECT_FALSE(host::decodeSpectrumBlob(blob(329544, 0, 512, 2059)));
    EXPECT_FALSE(host::decodeSpectrumBlob(blob(329544, 0, 512, 2061)));
    EXPECT_FALSE(host::decodeSpectrumBlob(blob(329544, 0, 512, 4)));
    EXPECT_FALSE(host::decodeSpectrumBlob({}));
}

TEST(SpectrumBlob, StrongestBinsAreTheLowestBytesWithTheirFrequencies) {
    auto bytes = blob(329544, 0, 512);
    bytes[12 + 83] = 13;  // bin 85
    bytes[12 + 84] = 13;  // bin 86, equal: after 85
    bytes[12 + 0] = 7;    // bin 2
    const auto spectrum = host::decodeSpectrumBlob(bytes);
    ASSERT_TRUE(spectrum);
    const auto bins = host::strongestBins(*spectrum, 48000, 4);
    ASSERT_EQ(bins.size(), 4u);
    EXPECT_EQ(bins[0].bin, 2);
    EXPECT_EQ(bins[0].decibels, -1.75);
    EXPECT_EQ(bins[1].bin, 85);
    EXPECT_EQ(bins[1].hertz, 85 * 48000.0 / 4096);
    EXPECT_EQ(bins[2].bin, 86);
    EXPECT_EQ(bins[3].bin, 3);
    EXPECT_EQ(bins[3].byte, 200);
    EXPECT_TRUE(host::strongestBins(*spectrum, 48000, 0).empty());
    EXPECT_EQ(host::strongestBins(*spectrum, 48000, 5000).size(), 2046u);
    EXPECT_EQ(host::describeSpectrum(*spectrum, 48000, 2), "channel 0: 23.4 Hz -1.75 dB, 996.1 Hz -3.25 dB");
}

TEST(AudioSource, MakesTonesAndSilence) {
    std::vector<float> samples(8);
    host::AudioSource::open("sine:1000", 8000).read(1, 2, samples);
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(samples[i], std::sin(6.283185307179586 * 1000 * double(i + 2) / 8000), 1e-6) << i;
    host::AudioSource::open("sine:1000:0.25", 8000).read(0, 0, samples);
    EXPECT_NEAR(samples[2], 0.25f, 1e-7);
    host::AudioSource::open("silence", 8000).read(0, 0, samples);
    EXPECT_EQ(samples, std::vector<float>(8, 0.0f));
    EXPECT_EQ(host::AudioSource::open("silence", 8000).fileRate(), 0.0f);
    for (const char* bad : {"sine:", "sine:x", "sine:100:", "sine:nan", "/no/such/file.wav"})
        EXPECT_THROW(host::AudioSource::open(bad, 8000), host::HostError) << bad;
}

// A 16-bit stereo WAV file written byte by byte.
void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& interleaved, int32_t rate) {
    std::vector<uint8_t> bytes;
    const auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    const auto text = [&](const char* four) { bytes.insert(bytes.end(), four, four + 4); };
    const auto data = uint32_t(interleaved.size() * 2);
    text("RIFF"), put(36 + data, 4), text("WAVE");
    text("fmt "), put(16, 4), put(1, 2), put(2, 2), put(uint32_t(rate), 4), put(uint32_t(rate) * 4, 4), put(4, 2), put(16, 2);
    text("data"), put(data, 4);
    for (const int16_t s : interleaved) put(uint16_t(s), 2);
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

TEST(AudioSource, ReadsSoundFilesChannelByChannel) {
    const auto path = std::filesystem::temp_directory_path() / "suite_audio_source_test.wav";
    writeWav(path, {16384, -8192, -16384, 4096, 0, 32767 / 2}, 22050);
    const auto source = host::AudioSource::open(path.string(), 48000);
    EXPECT_EQ(source.fileRate(), 22050.0f);
    std::vector<float> samples(5);
    source.read(0, 0, samples);
    EXPECT_EQ(samples, (std::vector<float>{0.5f, -0.5f, 0.0f, 0.0f, 0.0f}));
    source.read(1, 1, samples);
    EXPECT_EQ(samples[0], 0.125f);
    EXPECT_EQ(samples[2], 0.0f);
    source.read(2, -1, samples);  // a third input reads the first channel again; before the start, silence
    EXPECT_EQ(samples[0], 0.0f);
    EXPECT_EQ(samples[1], 0.5f);
    std::filesystem::remove(path);
}

}  // namespace
