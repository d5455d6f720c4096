// The installed fonts, as the system's Fonts registry key lists them.
// Only the stand-in's own sources include this.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform::detail {

// The key under HKEY_LOCAL_MACHINE that holds them.
inline constexpr const wchar_t* fontsKeyPath = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// One REG_SZ value per installed TrueType or OpenType face: the name Windows
// gives it ("Liberation Sans Bold (TrueType)") and the absolute path of its
// file, shown Windows-style. Families come in alphabetical order, each with its
// regular face first, then bold, italic, bold italic and any other styles, so
// that a prefix search for a family name finds the regular face first.
std::vector<std::pair<std::wstring, std::wstring>> installedFonts();

}  // namespace platform::detail
