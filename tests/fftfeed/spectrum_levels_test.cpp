// Level bytes: always exactly the single-precision formula, whatever the
// magnitude, and magnitudes exactly sqrt(re^2 + im^2).
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "spectrum_levels.h"

namespace {

const float offsets[] = {4.0f, 3.0f, -2.0f, -3.5f, 0.0f};

// The formula itself, for magnitudes that are finite numbers.
uint8_t formula(float magnitude, float offset) {
    const float m = std::max(magnitude, 0.00631f);
    const float level = 10.0f * std::log10(m * (10.0f / 4096.0f));
    return uint8_t(int32_t(-4.0f * (level + offset)) & 0xFF);
}

// levelBytes over `magnitudes`, each checked against the formula.
void expectFormula(const std::vector<float>& magnitudes, float offset) {
    std::vector<uint8_t> bytes(magnitudes.size(), 0xEE);
    spectrum::levelBytes(magnitudes.data(), int32_t(magnitudes.size()), offset, bytes.data());
    int64_t wrong = 0;
    for (size_t i = 0; i < magnitudes.size(); ++i) {
        const uint8_t expected = formula(magnitudes[i], offset);
        if (bytes[i] != expected || spectrum::levelByte(magnitudes[i], offset) != expected) {
            if (++wrong <= 5)
                ADD_FAILURE() << "magnitude " << magnitudes[i] << " (bits 0x" << std::hex
                              << std::bit_cast<uint32_t>(magnitudes[i]) << std::dec << "), offset " << offset
                              << ": byte " << int(bytes[i]) << ", formula " << int(expected);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(LevelBytes, MatchTheFormulaAcrossEveryBinade) {
    // Every 211th float from below the floor up to the largest float.
    std::vector<float> magnitudes;
    for (uint32_t bits = std::bit_cast<uint32_t>(0.001f); bits <= std::bit_cast<uint32_t>(FLT_MAX); bits += 211 * 1024)
        magnitudes.push_back(std::bit_cast<float>(bits));
    for (uint32_t bits = std::bit_cast<uint32_t>(0.006f); bits <= std::bit_cast<uint32_t>(2000.0f); bits += 211)
        magnitudes.push_back(std::bit_cast<float>(bits));
    for (const float offset : offsets) {
        SCOPED_TRACE(offset);
        expectFormula(magnitudes, offset);
    }
}

TEST(LevelBytes, MatchTheFormulaWhereTheTruncationTurns) {
    // Around each magnitude at which -4 (level + offset) crosses a whole number,
    // the 200 floats on either side.
    for (const float offset : offsets) {
        SCOPED_TRACE(offset);
        std::vector<float> magnitudes;
        for (int32_t y = -1440; y <= 200; ++y) {
            const double level = -y / 4.0 - offset;
            const auto crossing = float(std::pow(10.0, level / 10) * 4096.0 / 10.0);
            if (!(crossing > 0.0f) || crossing > FLT_MAX) continue;
            float m = crossing;
            for (int i = 0; i < 200; ++i) m = std::nextafter(m, 0.0f);
            for (int i = 0; i < 400; ++i, m = std::nextafter(m, FLT_MAX)) magnitudes.push_back(m);
        }
        expectFormula(magnitudes, offset);
    }
}

TEST(LevelBytes, GiveEveryMagnitudeAByte) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float magnitude;
        float countsAs;
    };
    const Case cases[] = {
        {0.0f, 0.00631f},  {-1.0f, 0.00631f},          {-inf, 0.00631f}, {nan, 0.00631f},
        {1e-40f, 0.00631f}, {0.00631f, 0.00631f},      {inf, FLT_MAX},   {FLT_MAX, FLT_MAX},
        {549.5f, 549.5f},  {std::nextafter(0.00631f, 1.0f), std::nextafter(0.00631f, 1.0f)},
    };
    for (const float offset : offsets) {
        std::vector<float> magnitudes;
        for (const Case& c : cases) magnitudes.push_back(c.magnitude);
        std::vector<uint8_t> bytes(magnitudes.size());
        spectrum::levelBytes(magnitudes.data(), int32_t(magnitudes.size()), offset, bytes.data());
        for (size_t i = 0; i < magnitudes.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "magnitude " << cases[i].magnitude << ", offset " << offset);
            EXPECT_EQ(bytes[i], formula(cases[i].countsAs, offset));
            EXPECT_EQ(spectrum::levelByte(cases[i].magnitude, offset), formula(cases[i].countsAs, offset));
        }
    }
}

TEST(LevelBytes, SilenceAndAFullScaleSineGiveTheKnownBytes) {
    struct Case {
        float offset;
        uint8_t floorByte;
    };
    for (const Case c : {Case{4.0f, 176}, Case{3.0f, 180}, Case{-2.0f, 200}, Case{-3.5f, 206}}) {
        EXPECT_EQ(spectrum::levelByte(0.0f, c.offset), c.floorByte) << c.offset;
    }
    // About +5.28 after the offset: -21 wraps to 235.
    EXPECT_EQ(spectrum::levelByte(549.5f, 4.0f), 235);
}

TEST(LevelBytes, HandleAnyCountAndWriteNoFurther) {
    const std::vector<float> magnitudes = {0.0f, 1.0f, 10.0f, 100.0f, 1000.0f, 0.5f, 2.0f, 3.0f, 4.0f};
    for (int32_t count = 0; count <= int32_t(magnitudes.size()); ++count) {
        SCOPED_TRACE(count);
        std::vector<uint8_t> bytes(magnitudes.size() + 1, 0xEE);
        spectrum::levelBytes(magnitudes.data(), count, 4.0f, bytes.data());
        for (int32_t i = 0; i < count; ++i) EXPECT_EQ(bytes[size_t(i)], formula(magnitudes[size_t(i)], 4.0f));
        for (size_t i = size_t(count); i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0xEE);
    }
}

TEST(BinMagnitudes, AreTheSingleRoundingsOfTheFormula) {
    std::vector<float> spectrum(4096);
    for (size_t i = 0; i < spectrum.size(); ++i) spectrum[i] = float(std::sin(double(i) * 0.37)) * float(i % 97);
    spectrum[0] = -3.0f;     // X[0]
    spectrum[2048] = 99.0f;  // X[2048], not part of |X[0]|
    std::vector<float> magnitudes(2048);
    spectrum::binMagnitudes(spectrum.data(), magnitudes.data());
    EXPECT_EQ(magnitudes[0], 3.0f);
    for (size_t k = 1; k < 2048; ++k) {
        const float re = spectrum[k], im = spectrum[2048 + k];
        ASSERT_EQ(magnitudes[k], std::sqrt(re * re + im * im)) << k;
    }
}

}  // namespace
