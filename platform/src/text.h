// Text conversions inside the stand-in.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

// Wide text (one code point per wchar_t) to UTF-8 and back; malformed UTF-8
// bytes become U+FFFD.
std::string utf8Of(std::wstring_view wide);
std::wstring wideOfUtf8(std::string_view utf8);

}  // namespace platform::detail
