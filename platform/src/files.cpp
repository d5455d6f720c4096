// Text conversion, module paths, the Windows directory and the C runtime's
// wide file opening, with Windows-style paths on a file system rooted at Z:.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "state.h"
#include "text.h"

namespace platform::detail {

std::string utf8Of(std::wstring_view wide) {
    std::string out;
    for (wchar_t w : wide) {
        auto c = static_cast<char32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring wideOfUtf8(std::string_view utf8) {
    std::wstring out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

namespace {

// Copies `text` and its terminator into a caller's buffer of `size` characters
// the way GetModuleFileNameW does: truncated (still terminated) when it does
// not fit, answering `size` then, else the length without the terminator.
DWORD copyTruncated(const std::wstring& text, LPWSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(buffer, text.data(), count);
    buffer[count] = 0;
    return count < text.size() ? size : static_cast<DWORD>(count);
}

// A text-mode stream over a file opened in binary: each CR LF pair reads as LF.
struct TextModeFile {
    FILE* raw;
};

ssize_t readTextMode(void* cookie, char* buffer, size_t size) {
    FILE* raw = static_cast<TextModeFile*>(cookie)->raw;
    size_t count = 0;
    while (count < size) {
        int c = std::getc(raw);
        if (c == EOF) break;
        if (c == '\r') {
            const int next = std::getc(raw);
            if (next == '\n') c = '\n';
            else if (next != EOF) std::ungetc(next, raw);
        }
        buffer[count++] = static_cast<char>(c);
    }
    return static_cast<ssize_t>(count);
}

int seekTextMode(void* cookie, off64_t* position, int whence) {
    FILE* raw = static_cast<TextModeFile*>(cookie)->raw;
    if (fseeko(raw, *position, whence) != 0) return -1;
    *position = ftello(raw);
    return 0;
}

int closeTextMode(void* cookie) {
    auto* file = static_cast<TextModeFile*>(cookie);
    const int result = std::fclose(file->raw);
    delete file;
    return result;
}

// The absolute path of the file mapped at `base`, as the kernel lists it: right
// whatever the current directory is now or was when the library was loaded.
std::string mappedFilePath(const void* base) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const auto dash = line.find('-');
        if (dash == std::string::npos) continue;
        if (std::stoull(line.substr(0, dash), nullptr, 16) != reinterpret_cast<std::uintptr_t>(base)) continue;
        const auto slash = line.find('/');
        return slash == std::string::npos ? std::string() : line.substr(slash);
    }
    return {};
}

}  // namespace
}  // namespace platform::detail

using namespace platform::detail;

namespace platform {

std::wstring windowsPath(const std::string& native) {
    std::wstring path = wideOfUtf8(native);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (!native.empty() && native.front() == '/') path.insert(0, L"Z:");
    return path;
}

std::string nativePath(const std::wstring& windows) {
    std::wstring path = windows;
    if (path.size() >= 2 && path[1] == L':') {
        if (path[0] != L'Z' && path[0] != L'z') return {};
        path.erase(0, 2);
        if (path.empty()) path = L"\\";
    }
    for (wchar_t& c : path)
        if (c == L'\\') c = L'/';
    return utf8Of(path);
}

}  // namespace platform

extern "C" {

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    std::string native;
    if (module == nullptr) {
        char path[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length <= 0) return 0;
        native.assign(path, static_cast<std::size_t>(length));
    } else {
        // A module handle is the address the library is loaded at, as on Windows.
        Dl_info info{};
        if (dladdr(module, &info) == 0 || info.dli_fbase != static_cast<void*>(module) || info.dli_fname == nullptr)
            return 0;
        native = mappedFilePath(module);
        if (native.empty()) {
            char resolved[PATH_MAX];
            native = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
        }
    }
    return copyTruncated(platform::windowsPath(native), buffer, size);
}

UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
    static const std::wstring directory = L"C:\\Windows";
    if (buffer == nullptr || size <= directory.size()) return static_cast<UINT>(directory.size() + 1);
    return copyTruncated(directory, buffer, size);
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR wide, int wideLength) {
    if (text == nullptr || length == 0 || wideLength < 0) return 0;
    const std::size_t byteCount = length < 0 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    const std::string_view bytes(text, byteCount);
    std::wstring converted;
    if (codePage == CP_UTF8) {
        converted = wideOfUtf8(bytes);
    } else if (codePage == CP_ACP) {
        for (char c : bytes) converted += static_cast<wchar_t>(static_cast<unsigned char>(c));
    } else {
        return 0;
    }
    if (wideLength == 0) return static_cast<int>(converted.size());
    if (converted.size() > static_cast<std::size_t>(wideLength)) return 0;  // Windows: ERROR_INSUFFICIENT_BUFFER
    std::wmemcpy(wide, converted.data(), converted.size());
    return static_cast<int>(converted.size());
}

FILE* _wfopen(const wchar_t* path, const wchar_t* mode) {
    if (path == nullptr || mode == nullptr) return nullptr;
    const std::string native = platform::nativePath(path);
    const std::string narrowMode = utf8Of(mode);
    if (native.empty()) return nullptr;
    const bool binary = narrowMode.find('b') != std::string::npos;
    const bool reading = narrowMode == "r" || narrowMode == "rt";
    if (binary || !reading) {
        // Writing in text mode would turn LF into CR LF on Windows; nothing here
        // writes text files, so they are written as they are.
        std::string plain;
        for (char c : narrowMode)
            if (c != 't') plain += c;
        return std::fopen(native.c_str(), plain.c_str());
    }
    FILE* raw = std::fopen(native.c_str(), "rb");
    if (raw == nullptr) return nullptr;
    auto* cookie = new TextModeFile{raw};
    FILE* stream = fopencookie(cookie, "r", cookie_io_functions_t{readTextMode, nullptr, seekTextMode, closeTextMode});
    if (stream == nullptr) {
        std::fclose(raw);
        delete cookie;
    }
    return stream;
}

}  // extern "C"
