#include "se/check.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace se {

namespace {

// "framework_v2/src/SEPin.cpp" -> "SEPin"
std::string_view stem(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const auto dot = path.find('.');
    return dot == std::string_view::npos ? path : path.substr(0, dot);
}

}  // namespace

void failCheck(const char* condition, const std::source_location& where) {
    const std::string_view file = stem(where.file_name());
    std::fprintf(stderr, "%.*s: assertion failed: %s\n", int(file.size()), file.data(), condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace se
