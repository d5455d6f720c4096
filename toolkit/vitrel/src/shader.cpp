#include "vitrel/shader.h"

#include <cstdio>
#include <new>
#include <vector>

#include "mp/module_instance.h"
#include "platform/gl.h"
#include "slots.h"

namespace vitrel {
namespace {

// Message texts are formatted into a buffer of this many wide characters.
constexpr std::size_t messageCapacity = 1024;

void showFileError(const wchar_t* before, const wchar_t* path, const wchar_t* after) {
    std::wstring text = before;
    text += path;
    text += after;
    if (text.size() > messageCapacity - 1) text.resize(messageCapacity - 1);
    MessageBoxW(nullptr, text.c_str(), L"ERROR", MB_OK | MB_ICONWARNING);
}

GLuint compileShader(GLenum kind, SlotTable<GLuint>& table, const wchar_t* path, int slot) {
    const GLuint shader = glCreateShader(kind);
    if (validSlot(slot)) table[static_cast<std::size_t>(slot)] = shader;
    std::unique_ptr<char[]> source = vitrelReadTextFile(path);
    if (!source) return shader;  // no source: the program will fail to link
    const GLchar* text = source.get();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

}  // namespace
}  // namespace vitrel

using namespace vitrel;

std::wstring vitrelModuleFilePath(const char* fileName) {
    // The module's own path, narrowed character by character.
    WCHAR wide[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(mp::moduleInstance(), wide, MAX_PATH);
    std::string narrow;
    for (DWORD i = 0; i < length && i < MAX_PATH - 1 && wide[i] != 0; ++i) narrow += static_cast<char>(wide[i]);

    // Its directories, then the file name in place of the module's own.
    std::vector<std::string> parts;
    std::string part;
    for (char c : narrow) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    std::string joined;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) joined += parts[i] + '\\';
    joined += fileName != nullptr ? fileName : "";

    if (joined.empty()) return {};
    const int count = MultiByteToWideChar(CP_UTF8, 0, joined.data(), static_cast<int>(joined.size()), nullptr, 0);
    std::wstring path(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, joined.data(), static_cast<int>(joined.size()), path.data(), count);
    return path;
}

std::unique_ptr<char[]> vitrelReadTextFile(const wchar_t* path) {
    if (path == nullptr) return nullptr;
    FILE* file = _wfopen(path, L"r");
    if (file == nullptr) {
        showFileError(L"Can't open file '", path, L"' for reading\n");
        return nullptr;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<char[]> text(size >= 0 ? new (std::nothrow) char[static_cast<std::size_t>(size) + 1] : nullptr);
    if (!text) {
        showFileError(L"Can't malloc space for '", path, L"'\n");
        std::fclose(file);
        return nullptr;
    }
    // In text mode fewer bytes than the file's size may arrive.
    const std::size_t read = std::fread(text.get(), 1, static_cast<std::size_t>(size), file);
    text[read] = '\0';
    std::fclose(file);
    return text;
}

GLuint vitrelCompileVertexShader(const wchar_t* path, int slot) {
    return compileShader(GL_VERTEX_SHADER, tables().vertexShaders, path, slot);
}

GLuint vitrelCompileFragmentShader(const wchar_t* path, int slot) {
    return compileShader(GL_FRAGMENT_SHADER, tables().fragmentShaders, path, slot);
}

GLuint vitrelLinkProgram(int slot) {
    if (!validSlot(slot)) return 0;
    Tables& t = tables();
    const auto s = static_cast<std::size_t>(slot);
    const GLuint program = glCreateProgram();
    t.programs[s] = program;
    glAttachShader(program, t.vertexShaders[s]);
    glAttachShader(program, t.fragmentShaders[s]);
    glLinkProgram(program);
    glDeleteShader(t.vertexShaders[s]);
    glDeleteShader(t.fragmentShaders[s]);
    return program;
}

VitrelProgram vitrelLoadProgram(const wchar_t* vertexPath, const wchar_t* fragmentPath, int slot) {
    VitrelProgram loaded;
    loaded.vertexShader = vitrelCompileVertexShader(vertexPath, slot);
    loaded.fragmentShader = vitrelCompileFragmentShader(fragmentPath, slot);
    loaded.program = vitrelLinkProgram(slot);
    glUseProgram(loaded.program);
    return loaded;
}

VitrelProgram vitrelSlotProgram(int slot) {
    if (!validSlot(slot)) return {};
    const Tables& t = tables();
    const auto s = static_cast<std::size_t>(slot);
    return VitrelProgram{t.vertexShaders[s], t.fragmentShaders[s], t.programs[s]};
}
