// OpenGL for the toolkit and the display modules: GLEW's entry points, the
// system's OpenGL and WGL, and GLU.
#pragma once

#include <GL/glew.h>

#include "platform/windows.h"

#include <GL/glu.h>

// Whether glewInit's result means the OpenGL entry points are loaded.
//
// On Windows only GLEW_OK does. Our stand-in renders through EGL, while the
// GLEW that the system packages is built for GLX: with an EGL context current,
// glewInit loads every OpenGL entry point and then fails its GLX step alone
// with GLEW_ERROR_NO_GLX_DISPLAY. That result still means success here.
constexpr bool glewEntryPointsLoaded(GLenum result) {
#if defined(_WIN32)
    return result == GLEW_OK;
#else
    return result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY;
#endif
}
