// Records the GL calls that a display module makes while a GlRecorder is
// alive, as a GL debugger would: uniform look-ups and writes, program
// changes, clears and draws, each draw with the vertices it was given. The
// calls still reach GL, so frames are drawn as usual.
//
// The OpenGL 2.0 entry points are caught by swapping GLEW's function
// pointers, which the process shares with every module; the OpenGL 1.1 ones
// (glClear, glVertexPointer, glDrawArrays) by functions of the same names in
// the executable, which the modules' references reach first. An executable
// that uses the recorder exports its symbols (ENABLE_EXPORTS). Make one only
// after the first view of the process is open: opening it initialises GLEW,
// which sets the pointers afresh.
//
// Recording allocates nothing while the call list stays within its reserve,
// so it can watch a frame that must not allocate either.
#pragma once

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class AllocationCounter;

struct GlCall {
    enum class Kind { Clear, UseProgram, GetUniformLocation, Uniform1f, Uniform1i, VertexPointer, DrawArrays };
    explicit GlCall(Kind what) : kind(what) {}

    Kind kind;
    GLuint program = 0;   // UseProgram, GetUniformLocation
    GLint location = -1;  // Uniform1f, Uniform1i; the answer of GetUniformLocation
    float floatValue = 0;
    GLint intValue = 0;   // Uniform1i; the mode of DrawArrays
    GLint first = 0;      // DrawArrays
    GLsizei count = 0;    // DrawArrays: vertices
    std::array<char, 32> name{};  // GetUniformLocation
    // DrawArrays: the (x, y) pairs it drew, when the vertex array held two
    // floats per vertex and at most 40 vertices were drawn.
    std::array<float, 80> vertices{};
    int vertexFloats = 0;
    // After the call returned: heap allocations counted so far (0 without a
    // counter) and the time.
    int64_t allocations = 0;
    std::chrono::steady_clock::time_point returned;
};

class GlRecorder {
public:
    // Starts recording; `counter`, if given, is read after every call.
    explicit GlRecorder(const AllocationCounter* counter = nullptr);
    // Stops recording and gives GLEW its pointers back.
    ~GlRecorder();
    GlRecorder(const GlRecorder&) = delete;
    GlRecorder& operator=(const GlRecorder&) = delete;

    const std::vector<GlCall>& calls() const;
    void clear();

    // The name a uniform location was looked up by in `program` (empty when
    // no recorded look-up answered it).
    std::string uniformName(GLuint program, GLint location) const;
};

}  // namespace testing_support
