// Checked builds (assertions on, no NDEBUG) stop at a broken programming rule
// with the rule's condition text and the stem of the source file it sits in;
// release builds do not test the rules at all (the condition is not even
// evaluated, so it may ask the host).
#pragma once

#include <source_location>

namespace se {

#ifdef NDEBUG
inline constexpr bool checkedBuild = false;
#else
inline constexpr bool checkedBuild = true;
#endif

// Prints "<stem>: assertion failed: <condition>" to standard error and aborts.
[[noreturn]] void failCheck(const char* condition, const std::source_location& where);

// `holds` is called only in checked builds.
template <class Condition>
inline void check(Condition holds, const char* condition,
                  const std::source_location& where = std::source_location::current()) {
    if constexpr (checkedBuild) {
        if (!holds()) failCheck(condition, where);
    }
}

}  // namespace se
