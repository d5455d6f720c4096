// Pin values as the host carries them: byte strings, with helpers to make,
// read, parse and print them by pin type.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/description.h"

namespace host {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(float value);
Bytes bytesOf(int32_t value);
Bytes bytesOf(bool value);

// Reads the value's bytes as a type; throws HostError when the size is wrong.
float floatOf(std::span<const uint8_t> bytes);
int32_t intOf(std::span<const uint8_t> bytes);
bool boolOf(std::span<const uint8_t> bytes);

// Text forms used on the command line: floats and ints as numbers ("inf",
// "nan" too), bools as true/false/1/0, blobs as hexadecimal bytes ("0a1b...").
// Throws HostError on text that is not a value of the type.
Bytes parseValue(PinType type, std::string_view text);
std::string formatValue(PinType type, std::span<const uint8_t> bytes);

// Plug-in ids travel as UTF-16.
std::u16string toUtf16(std::string_view utf8);

}  // namespace host
