// Lines of a zero-terminated text, split at line feeds, empty ones dropped.
#pragma once

#include <string_view>

namespace fontel {

// The next non-empty line from `cursor` on, which it then passes; false at
// the end of the text.
inline bool nextLine(const char*& cursor, std::string_view& line) {
    while (*cursor == '\n') ++cursor;
    if (*cursor == 0) return false;
    const char* start = cursor;
    while (*cursor != 0 && *cursor != '\n') ++cursor;
    line = std::string_view(start, static_cast<std::size_t>(cursor - start));
    return true;
}

inline int lineCount(const char* text) {
    int count = 0;
    std::string_view line;
    while (nextLine(text, line)) ++count;
    return count;
}

// The glyph table index of a byte, or -1 for bytes above 127.
constexpr int characterCode(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 128 ? code : -1;
}

}  // namespace fontel
