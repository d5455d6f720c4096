// The operating-system services of the toolkit and the display modules.
//
// Include this header instead of <windows.h>. On Windows it yields the real
// system headers (wide-character API); everywhere else it yields the
// declarations of our stand-in library, which offers the same names with the
// same meanings for the services this suite calls.
#pragma once

#if defined(_WIN32)
#ifndef UNICODE
#define UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/win32_standin.h"
#endif
