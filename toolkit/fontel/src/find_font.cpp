#include "fontel/find_font.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/windows.h"

namespace fontel {
namespace {

constexpr const WCHAR* fontsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

bool beginsWithFolded(const WCHAR* name, const std::wstring& prefix) {
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (name[i] == 0) return false;
        if (std::towlower(static_cast<wint_t>(name[i])) != std::towlower(static_cast<wint_t>(prefix[i]))) return false;
    }
    return true;
}

// "X:\..." or "X:/..." (a drive) and "\\server\..." (a share) are absolute.
bool isAbsolutePath(const std::wstring& path) {
    const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 3 && std::iswalpha(static_cast<wint_t>(path[0])) && path[1] == L':' && isSeparator(path[2]))
        return true;
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

// The data of the first REG_SZ value whose name begins with the face name.
bool findValue(HKEY key, const std::wstring& face, std::wstring& file) {
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<WCHAR> name(static_cast<std::size_t>(longestName) + 1);
    // Room for the data and one more terminator, whatever the value holds.
    std::vector<WCHAR> data(static_cast<std::size_t>(longestData) / sizeof(WCHAR) + 2);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>((data.size() - 1) * sizeof(WCHAR));
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                             reinterpret_cast<LPBYTE>(data.data()), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) return false;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        name[nameLength < name.size() ? nameLength : name.size() - 1] = 0;
        if (!beginsWithFolded(name.data(), face)) continue;
        // The data up to its terminator; one is supplied if it holds none.
        data[std::min<std::size_t>(dataBytes / sizeof(WCHAR), data.size() - 1)] = 0;
        file = data.data();
        return true;
    }
}

}  // namespace
}  // namespace fontel

std::string fontelFindFontFile(const char* faceName) {
    std::wstring face;
    for (const char* c = faceName != nullptr ? faceName : ""; *c != 0; ++c)
        face += static_cast<WCHAR>(static_cast<unsigned char>(*c));

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, fontel::fontsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::wstring file;
    const bool found = fontel::findValue(key, face, file);
    RegCloseKey(key);
    if (!found) return {};

    std::wstring path;
    if (fontel::isAbsolutePath(file)) {
        path = file;
    } else {
        WCHAR directory[MAX_PATH] = {};
        const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
        path.assign(directory, length < MAX_PATH ? length : 0);
        path += L"\\Fonts\\";
        path += file;
    }
    std::string narrow;
    for (WCHAR c : path) narrow += static_cast<char>(c);
    return narrow;
}
