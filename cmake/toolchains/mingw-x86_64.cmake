# 64-bit x86 Windows: the same sources, for the tests that run under Wine on
# a machine that cannot execute 32-bit x86 code.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(SUITE_MINGW_TRIPLE x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
