#include "host/values.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/error.h"

namespace host {

namespace {

template <typename T>
Bytes rawBytes(T value) {
    Bytes bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

template <typename T>
T fromBytes(std::span<const uint8_t> bytes, const char* type) {
    if (bytes.size() != sizeof(T))
        throw HostError("a " + std::string(type) + " value has " + std::to_string(sizeof(T)) + " bytes, not " +
                        std::to_string(bytes.size()));
    T value;
    std::memcpy(&value, bytes.data(), sizeof(T));
    return value;
}

[[noreturn]] void notA(PinType type, std::string_view text) {
    throw HostError("\"" + std::string(text) + "\" is not a " + std::string(toString(type)) + " value");
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Bytes bytesOf(float value) { return rawBytes(value); }
Bytes bytesOf(int32_t value) { return rawBytes(value); }
Bytes bytesOf(bool value) { return Bytes{uint8_t(value ? 1 : 0)}; }

float floatOf(std::span<const uint8_t> bytes) { return fromBytes<float>(bytes, "float"); }
int32_t intOf(std::span<const uint8_t> bytes) { return fromBytes<int32_t>(bytes, "int"); }
bool boolOf(std::span<const uint8_t> bytes) { return fromBytes<uint8_t>(bytes, "bool") != 0; }

Bytes parseValue(PinType type, std::string_view text) {
    const std::string s(text);
    switch (type) {
        case PinType::Float:
        case PinType::Audio: {
            char* end = nullptr;
            const float value = std::strtof(s.c_str(), &end);
            if (s.empty() || *end != '\0') notA(type, text);
            return bytesOf(value);
        }
        case PinType::Int:
        case PinType::Choice: {
            char* end = nullptr;
            const long long value = std::strtoll(s.c_str(), &end, 0);
            if (s.empty() || *end != '\0' || value < INT32_MIN || value > INT32_MAX) notA(type, text);
            return bytesOf(int32_t(value));
        }
        case PinType::Bool:
            if (s == "true" || s == "1") return bytesOf(true);
            if (s == "false" || s == "0") return bytesOf(false);
            notA(type, text);
        case PinType::Blob: {
            if (s.size() % 2 != 0) notA(type, text);
            Bytes bytes;
            for (size_t i = 0; i < s.size(); i += 2) {
                const int high = hexValue(s[i]), low = hexValue(s[i + 1]);
                if (high < 0 || low < 0) notA(type, text);
                bytes.push_back(uint8_t(high * 16 + low));
            }
            return bytes;
        }
    }
    notA(type, text);
}

std::string formatValue(PinType type, std::span<const uint8_t> bytes) {
    char buffer[64];
    switch (type) {
        case PinType::Float:
        case PinType::Audio:
            if (bytes.size() != 4) break;
            std::snprintf(buffer, sizeof buffer, "%.9g", double(floatOf(bytes)));
            return buffer;
        case PinType::Int:
        case PinType::Choice:
            if (bytes.size() != 4) break;
            return std::to_string(intOf(bytes));
        case PinType::Bool:
            if (bytes.size() != 1) break;
            return bytes[0] != 0 ? "true" : "false";
        case PinType::Blob:
            break;
    }
    // Blobs, and values of an unexpected size: their bytes in hexadecimal.
    std::string hex = type == PinType::Blob ? "" : "bytes:";
    for (uint8_t b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02x", b);
        hex += buffer;
    }
    return hex;
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string result;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = uint8_t(utf8[i]);
        uint32_t code = 0;
        int extra = 0;
        if (c < 0x80) code = c;
        else if ((c >> 5) == 0x6) code = c & 0x1f, extra = 1;
        else if ((c >> 4) == 0xe) code = c & 0x0f, extra = 2;
        else if ((c >> 3) == 0x1e) code = c & 0x07, extra = 3;
        else throw HostError("text is not UTF-8");
        if (i + size_t(extra) >= utf8.size()) throw HostError("text is not UTF-8");
        for (int k = 1; k <= extra; ++k) {
            const auto next = uint8_t(utf8[i + size_t(k)]);
            if ((next >> 6) != 0x2) throw HostError("text is not UTF-8");
            code = (code << 6) | (next & 0x3f);
        }
        i += size_t(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(char16_t(0xd800 + (code >> 10)));
            result.push_back(char16_t(0xdc00 + (code & 0x3ff)));
        } else {
            result.push_back(char16_t(code));
        }
    }
    return result;
}

}  // namespace host
