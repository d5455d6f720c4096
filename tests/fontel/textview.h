// The text toolkit's test view ("textview"): a font loaded when the view
// opens, FreeType text and stroke text drawn from its pins, real frames read
// back.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/gui_instance.h"
#include "host/view.h"
#include "platform/control.h"
#include "plugins.h"

namespace fontel_test {

constexpr int32_t facePin = 0, fontFilePin = 1, pixelSizePin = 2, lineSpacingPin = 3, textPin = 4, xPin = 5, yPin = 6,
                  alignPin = 7, anchorPin = 8, colourPin = 9, strokeTextPin = 10, strokeXPin = 11, strokeYPin = 12,
                  strokeScalePin = 13, metricsPin = 14, strokeMatricesPin = 15;

enum Align : int32_t { left = 0, centred = 1, right = 2 };
enum Anchor : int32_t { top = 0, centre = 1 };

struct FontSetting {
    std::string face = "Arial";
    float size = 40.0f;
    float spacing = 48.0f;
    std::string file;  // used as it stands instead of the face when not empty
};

inline host::Bytes bytesOf(const std::string& text) { return host::Bytes(text.begin(), text.end()); }

inline std::vector<float> floatsOf(const host::Bytes& bytes) {
    std::vector<float> floats(bytes.size() / sizeof(float));
    if (!floats.empty()) std::memcpy(floats.data(), bytes.data(), floats.size() * sizeof(float));
    return floats;
}

class TextView : public ::testing::Test {
protected:
    void SetUp() override { platform::clearMessageBoxes(); }

    // A new view of the given size with the font loaded.
    void open(const FontSetting& font, int32_t width = 256, int32_t height = 128) {
        view_.reset();
        gui_ = host::GuiInstance::create(library_, "textview");
        gui_->deliver(facePin, bytesOf(font.face));
        gui_->deliver(fontFilePin, bytesOf(font.file));
        gui_->deliver(pixelSizePin, font.size);
        gui_->deliver(lineSpacingPin, font.spacing);
        view_ = std::make_unique<host::View>(*gui_, width, height);
        ASSERT_NE(view_->child(), nullptr);
    }

    platform::Frame paint() {
        view_->paint();
        std::optional<platform::Frame> frame = view_->frame();
        EXPECT_TRUE(frame.has_value());
        return frame.value_or(platform::Frame{});
    }

    platform::Frame drawText(const std::string& text, float x, float y, Align align = left, Anchor anchor = top,
                             std::vector<float> colour = {}) {
        gui_->deliver(strokeTextPin, host::Bytes{});
        gui_->deliver(textPin, bytesOf(text));
        gui_->deliver(xPin, x);
        gui_->deliver(yPin, y);
        gui_->deliver(alignPin, static_cast<int32_t>(align));
        gui_->deliver(anchorPin, static_cast<int32_t>(anchor));
        host::Bytes colourBytes(colour.size() * sizeof(float));
        if (!colour.empty()) std::memcpy(colourBytes.data(), colour.data(), colourBytes.size());
        gui_->deliver(colourPin, colourBytes);
        return paint();
    }

    // Stroke text at (x, y) glyph units, `scale` pixels per unit, in green.
    platform::Frame drawStroke(const std::string& text, float x, float y, float scale, Align align = left) {
        gui_->deliver(textPin, host::Bytes{});
        gui_->deliver(strokeTextPin, bytesOf(text));
        gui_->deliver(strokeXPin, x);
        gui_->deliver(strokeYPin, y);
        gui_->deliver(strokeScalePin, scale);
        gui_->deliver(alignPin, static_cast<int32_t>(align));
        return paint();
    }

    std::vector<float> pinFloats(int32_t pin) const { return floatsOf(gui_->pinValue(pin)); }

    std::shared_ptr<host::Library> library_ = testing_support::openTestPlugin("textview");
    std::unique_ptr<host::GuiInstance> gui_;
    std::unique_ptr<host::View> view_;
};

}  // namespace fontel_test
