// Vitrel's shader layer: turns a pair of GLSL files lying beside the module
// file into a linked OpenGL 2.0 program for a window slot and makes it current.
//
// Per slot the toolkit remembers the vertex shader, fragment shader and
// program most recently made for it; a module that loads two programs keeps
// the names it needs itself.
//
// User-interface thread only, with the slot's context current.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>

// The directory of the module file joined with `fileName`, so that files are
// found beside the module whatever the current directory is.
std::wstring vitrelModuleFilePath(const char* fileName);

// The whole file read in text mode (a CR LF pair reads as LF), terminated by a
// zero; null, after an "ERROR" message box, when it cannot be opened or the
// memory for it cannot be had.
std::unique_ptr<char[]> vitrelReadTextFile(const wchar_t* path);

// Creates a shader of the kind, records it for the slot, reads the file and
// compiles it. A file that cannot be read leaves the shader without source.
GLuint vitrelCompileVertexShader(const wchar_t* path, int slot);
GLuint vitrelCompileFragmentShader(const wchar_t* path, int slot);

// Links a program from the slot's two shaders, records it for the slot, and
// deletes the shaders (they stay attached to the program).
GLuint vitrelLinkProgram(int slot);

struct VitrelProgram {
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
    GLuint program = 0;
};

// Compiles both files, links them and makes the program current.
VitrelProgram vitrelLoadProgram(const wchar_t* vertexPath, const wchar_t* fragmentPath, int slot);

// What the toolkit remembers for a slot (all zero for a slot outside 0..999).
VitrelProgram vitrelSlotProgram(int slot);
