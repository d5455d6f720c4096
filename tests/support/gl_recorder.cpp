#include "gl_recorder.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "allocation_counter.h"

namespace testing_support {
namespace {

// The reserve of the call list: far more than one frame makes.
constexpr std::size_t reservedCalls = 4096;

struct Recording {
    bool active = false;
    const AllocationCounter* counter = nullptr;
    std::vector<GlCall> calls;
    GLsizei vertexSize = 0;
    GLenum vertexType = 0;
    GLsizei vertexStride = 0;
    const void* vertexPointer = nullptr;

    PFNGLUSEPROGRAMPROC useProgram = nullptr;
    PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
    PFNGLUNIFORM1FPROC uniform1f = nullptr;
    PFNGLUNIFORM1IPROC uniform1i = nullptr;
};

Recording& recording() {
    static Recording r;
    return r;
}

void record(GlCall call) {
    Recording& r = recording();
    if (!r.active || r.calls.size() >= r.calls.capacity()) return;
    if (r.counter != nullptr) call.allocations = r.counter->allocations();
    call.returned = std::chrono::steady_clock::now();
    r.calls.push_back(call);
}

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void GLAPIENTRY recordUseProgram(GLuint program) {
    recording().useProgram(program);
    GlCall call{GlCall::Kind::UseProgram};
    call.program = program;
    record(call);
}

GLint GLAPIENTRY recordGetUniformLocation(GLuint program, const GLchar* name) {
    const GLint location = recording().getUniformLocation(program, name);
    GlCall call{GlCall::Kind::GetUniformLocation};
    call.program = program;
    call.location = location;
    if (name != nullptr) std::strncpy(call.name.data(), name, call.name.size() - 1);
    record(call);
    return location;
}

void GLAPIENTRY recordUniform1f(GLint location, GLfloat value) {
    recording().uniform1f(location, value);
    GlCall call{GlCall::Kind::Uniform1f};
    call.location = location;
    call.floatValue = value;
    record(call);
}

void GLAPIENTRY recordUniform1i(GLint location, GLint value) {
    recording().uniform1i(location, value);
    GlCall call{GlCall::Kind::Uniform1i};
    call.location = location;
    call.intValue = value;
    record(call);
}

}  // namespace

GlRecorder::GlRecorder(const AllocationCounter* counter) {
    Recording& r = recording();
    r.calls.clear();
    r.calls.reserve(reservedCalls);
    r.counter = counter;
    r.useProgram = __glewUseProgram;
    r.getUniformLocation = __glewGetUniformLocation;
    r.uniform1f = __glewUniform1f;
    r.uniform1i = __glewUniform1i;
    __glewUseProgram = &recordUseProgram;
    __glewGetUniformLocation = &recordGetUniformLocation;
    __glewUniform1f = &recordUniform1f;
    __glewUniform1i = &recordUniform1i;
    r.active = true;
}

GlRecorder::~GlRecorder() {
    Recording& r = recording();
    r.active = false;
    r.counter = nullptr;
    __glewUseProgram = r.useProgram;
    __glewGetUniformLocation = r.getUniformLocation;
    __glewUniform1f = r.uniform1f;
    __glewUniform1i = r.uniform1i;
}

const std::vector<GlCall>& GlRecorder::calls() const { return recording().calls; }

void GlRecorder::clear() { recording().calls.clear(); }

std::string GlRecorder::uniformName(GLuint program, GLint location) const {
    const auto& calls = recording().calls;
    const auto found = std::find_if(calls.rbegin(), calls.rend(), [&](const GlCall& c) {
        return c.kind == GlCall::Kind::GetUniformLocation && c.program == program && c.location == location;
    });
    return found == calls.rend() ? std::string() : std::string(found->name.data());
}

}  // namespace testing_support

// The OpenGL 1.1 entry points, reached by the modules before the system's.
extern "C" {

void GLAPIENTRY glClear(GLbitfield mask) {
    static const auto real = testing_support::next<void(GLAPIENTRY*)(GLbitfield)>("glClear");
    real(mask);
    testing_support::record(testing_support::GlCall{testing_support::GlCall::Kind::Clear});
}

void GLAPIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    static const auto real =
        testing_support::next<void(GLAPIENTRY*)(GLint, GLenum, GLsizei, const void*)>("glVertexPointer");
    real(size, type, stride, pointer);
    auto& r = testing_support::recording();
    r.vertexSize = size;
    r.vertexType = type;
    r.vertexStride = stride;
    r.vertexPointer = pointer;
    testing_support::record(testing_support::GlCall{testing_support::GlCall::Kind::VertexPointer});
}

void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    static const auto real = testing_support::next<void(GLAPIENTRY*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    real(mode, first, count);
    using testing_support::GlCall;
    GlCall call{GlCall::Kind::DrawArrays};
    call.intValue = static_cast<GLint>(mode);
    call.first = first;
    call.count = count;
    const auto& r = testing_support::recording();
    const bool packedPairs = r.vertexSize == 2 && r.vertexType == GL_FLOAT && (r.vertexStride == 0 || r.vertexStride == 8);
    if (r.active && packedPairs && r.vertexPointer != nullptr && first >= 0 && count >= 0 &&
        2 * (first + count) <= static_cast<GLsizei>(call.vertices.size())) {
        call.vertexFloats = 2 * count;
        std::memcpy(call.vertices.data(), static_cast<const float*>(r.vertexPointer) + 2 * first,
                    sizeof(float) * std::size_t(call.vertexFloats));
    }
    testing_support::record(call);
}
}
