// Checking frames the views drew, and keeping them when a check fails.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/png.h"
#include "platform/control.h"

namespace testing_support {

inline std::filesystem::path artifact(const std::string& name) {
    return std::filesystem::path(SUITE_ARTIFACT_DIR) / (name + ".png");
}

// Saves the frame under the test artifacts when the current test has failed.
inline void keepFrameOnFailure(const platform::Frame& frame, const std::string& name) {
    if (!::testing::Test::HasFailure()) return;
    host::savePng(frame, artifact(name));
    ADD_FAILURE() << "the frame is saved as " << artifact(name);
}

inline ::testing::AssertionResult pixelIs(const platform::Frame& frame, int x, int y, platform::Frame::Pixel expected) {
    const platform::Frame::Pixel actual = frame.at(x, y);
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int(actual.r) << ", "
                                         << int(actual.g) << ", " << int(actual.b) << ", " << int(actual.a)
                                         << "), expected (" << int(expected.r) << ", " << int(expected.g) << ", "
                                         << int(expected.b) << ", " << int(expected.a) << ")";
}

}  // namespace testing_support
