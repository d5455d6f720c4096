// Frames saved as PNG files, for people to look at.
#pragma once

#include <filesystem>

#include "platform/control.h"

namespace host {

// Writes the frame as an 8-bit RGBA PNG; throws HostError when the file
// cannot be written.
void savePng(const platform::Frame& frame, const std::filesystem::path& path);

}  // namespace host
