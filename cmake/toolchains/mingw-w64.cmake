# Cross compilation for Windows with Debian's MinGW-w64 compilers; included by
# the per-target toolchain files, which set SUITE_MINGW_TRIPLE first.
#
# The -posix compilers: the default ones use the win32 thread model, where
# std::thread and std::mutex do not compile.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER "${SUITE_MINGW_TRIPLE}-gcc-posix")
set(CMAKE_CXX_COMPILER "${SUITE_MINGW_TRIPLE}-g++-posix")
set(CMAKE_RC_COMPILER "${SUITE_MINGW_TRIPLE}-windres")

# Libraries we build ourselves for Windows (GLEW, FreeType, zlib, libpng,
# GoogleTest) are installed here, under the build folder.
if(NOT SUITE_WINDOWS_DEPS_PREFIX)
  set(SUITE_WINDOWS_DEPS_PREFIX "${CMAKE_BINARY_DIR}/deps/prefix")
endif()
set(CMAKE_FIND_ROOT_PATH "/usr/${SUITE_MINGW_TRIPLE}" "${SUITE_WINDOWS_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
