// The instance handle of the library this framework is compiled into, kept by
// the library's entry routine (DllMain) for registering the window class and
// creating windows.
#pragma once

#include "platform/windows.h"

namespace mp {

// Null until the system has called the library's entry routine.
HINSTANCE moduleInstance();

}  // namespace mp
