// The registry, for reading: keys under HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER with REG_SZ values. Key and value names compare without
// regard to case, as on Windows; values enumerate in the order they were set.
// The system's own keys: the Fonts key lists the installed fonts.
#include <algorithm>
#include <cstring>
#include <cwctype>

#include "installed_fonts.h"
#include "state.h"

namespace platform::detail {
namespace {

std::wstring folded(std::wstring_view name) {
    std::wstring out;
    for (wchar_t c : name) out += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

std::vector<std::wstring> keyParts(std::wstring_view path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'\\') {
            if (!part.empty()) parts.push_back(folded(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(folded(part));
    return parts;
}

bool isRoot(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }

RegistryKey& createdKey(RegistryKey& from, std::wstring_view path) {
    RegistryKey* current = &from;
    for (const std::wstring& part : keyParts(path)) {
        auto& sub = current->subKeys[part];
        if (!sub) sub = std::make_unique<RegistryKey>();
        current = sub.get();
    }
    return *current;
}

void setValue(RegistryKey& key, const std::wstring& name, const std::wstring& data) {
    for (auto& [existing, value] : key.values) {
        if (folded(existing) == folded(name)) {
            value = data;
            return;
        }
    }
    key.values.emplace_back(name, data);
}

// The keys the system keeps itself, made with their root.
void addSystemKeys(HKEY root, RegistryKey& key) {
    if (root != HKEY_LOCAL_MACHINE) return;
    RegistryKey& fonts = createdKey(key, fontsKeyPath);
    for (const auto& [name, file] : installedFonts()) setValue(fonts, name, file);
}

RegistryKey& rootKey(HKEY root) {
    auto& slot = state().registryRoots[reinterpret_cast<UINT_PTR>(root)];
    if (!slot) {
        slot = std::make_unique<RegistryKey>();
        addSystemKeys(root, *slot);
    }
    return *slot;
}

RegistryKey* existingKey(HKEY root, std::wstring_view path) {
    RegistryKey* current = &rootKey(root);
    for (const std::wstring& part : keyParts(path)) {
        auto found = current->subKeys.find(part);
        if (found == current->subKeys.end()) return nullptr;
        current = found->second.get();
    }
    return current;
}

RegistryKey* openedKey(HKEY key) {
    if (isRoot(key)) return &rootKey(key);
    auto& open = state().openKeys;
    auto found = open.find(reinterpret_cast<std::uintptr_t>(key));
    return found == open.end() ? nullptr : found->second;
}

DWORD stringBytes(const std::wstring& text) { return static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)); }

}  // namespace
}  // namespace platform::detail

using namespace platform::detail;

extern "C" {

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    RegistryKey* current = openedKey(key);
    if (current == nullptr) return ERROR_INVALID_HANDLE;
    for (const std::wstring& part : keyParts(subKey != nullptr ? subKey : L"")) {
        auto found = current->subKeys.find(part);
        if (found == current->subKeys.end()) return ERROR_FILE_NOT_FOUND;
        current = found->second.get();
    }
    auto& s = state();
    const std::uintptr_t id = s.nextKeyId++;
    s.openKeys[id] = current;
    *result = reinterpret_cast<HKEY>(id);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (isRoot(key)) return ERROR_SUCCESS;
    return state().openKeys.erase(reinterpret_cast<std::uintptr_t>(key)) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR className, LPDWORD classNameLength, LPDWORD, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                         LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptor,
                         void*) {
    const RegistryKey* current = openedKey(key);
    if (current == nullptr) return ERROR_INVALID_HANDLE;
    if (className != nullptr && classNameLength != nullptr && *classNameLength > 0) className[0] = 0;
    if (classNameLength != nullptr) *classNameLength = 0;
    if (subKeys != nullptr) *subKeys = static_cast<DWORD>(current->subKeys.size());
    if (maxSubKeyLength != nullptr) {
        std::size_t longest = 0;
        for (const auto& [name, sub] : current->subKeys) longest = std::max(longest, name.size());
        *maxSubKeyLength = static_cast<DWORD>(longest);
    }
    if (maxClassLength != nullptr) *maxClassLength = 0;
    if (values != nullptr) *values = static_cast<DWORD>(current->values.size());
    std::size_t longestName = 0;
    DWORD longestData = 0;
    for (const auto& [name, data] : current->values) {
        longestName = std::max(longestName, name.size());
        longestData = std::max(longestData, stringBytes(data));
    }
    if (maxValueNameLength != nullptr) *maxValueNameLength = static_cast<DWORD>(longestName);  // characters, no terminator
    if (maxValueLength != nullptr) *maxValueLength = longestData;  // bytes, terminator included
    if (securityDescriptor != nullptr) *securityDescriptor = 0;
    return ERROR_SUCCESS;
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD, LPDWORD type,
                      LPBYTE data, LPDWORD dataLength) {
    const RegistryKey* current = openedKey(key);
    if (current == nullptr) return ERROR_INVALID_HANDLE;
    if (valueName == nullptr || valueNameLength == nullptr) return ERROR_INVALID_PARAMETER;
    if (index >= current->values.size()) return ERROR_NO_MORE_ITEMS;
    const auto& [name, text] = current->values[index];
    if (*valueNameLength <= name.size()) return ERROR_MORE_DATA;
    std::wmemcpy(valueName, name.c_str(), name.size() + 1);
    *valueNameLength = static_cast<DWORD>(name.size());
    if (type != nullptr) *type = REG_SZ;
    const DWORD needed = stringBytes(text);
    if (dataLength != nullptr) {
        if (data != nullptr) {
            if (*dataLength < needed) {
                *dataLength = needed;
                return ERROR_MORE_DATA;
            }
            std::memcpy(data, text.c_str(), needed);
        }
        *dataLength = needed;
    }
    return ERROR_SUCCESS;
}

}  // extern "C"

namespace platform {

void setRegistryString(HKEY root, const std::wstring& keyPath, const std::wstring& name, const std::wstring& data) {
    if (!isRoot(root)) return;
    setValue(createdKey(rootKey(root), keyPath), name, data);
}

void deleteRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
    if (!isRoot(root)) return;
    RegistryKey* key = existingKey(root, keyPath);
    if (key == nullptr) return;
    std::erase_if(key->values, [&](const auto& value) { return folded(value.first) == folded(name); });
}

void deleteRegistryKey(HKEY root, const std::wstring& keyPath) {
    if (!isRoot(root)) return;
    const std::vector<std::wstring> parts = keyParts(keyPath);
    if (parts.empty()) return;
    RegistryKey* current = &rootKey(root);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto found = current->subKeys.find(parts[i]);
        if (found == current->subKeys.end()) return;
        current = found->second.get();
    }
    // Handles still open on the deleted keys are closed with them.
    state().openKeys.clear();
    current->subKeys.erase(parts.back());
}

}  // namespace platform
