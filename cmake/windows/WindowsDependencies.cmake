# The libraries that Debian does not package for Windows, built from Debian's
# source packages with this build's cross compiler while CMake configures, and
# installed into SUITE_WINDOWS_DEPS_PREFIX (under the build folder, which the
# toolchain adds to the find root). Each is fetched and built once; a later
# configure of the same build folder finds it done.
set(SUITE_WINDOWS_DEPS_DIR "${CMAKE_BINARY_DIR}/deps")
set(suite_deps_sources "${SUITE_WINDOWS_DEPS_DIR}/src")

set(suite_deps_packages glew freetype)
if(SUITE_BUILD_TESTS)
  list(APPEND suite_deps_packages zlib libpng1.6 libsndfile fftw3)
endif()
execute_process(
  COMMAND "${CMAKE_SOURCE_DIR}/tools/fetch-windows-sources.sh" "${suite_deps_sources}" ${suite_deps_packages}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot fetch the sources of ${suite_deps_packages}")
endif()

# suite_build_dependency(<name> <source dir> [cache arguments...])
function(suite_build_dependency name source)
  set(stamp "${SUITE_WINDOWS_DEPS_DIR}/${name}.installed")
  if(EXISTS "${stamp}")
    return()
  endif()
  message(STATUS "Building ${name} for Windows")
  set(build "${SUITE_WINDOWS_DEPS_DIR}/build/${name}")
  file(REMOVE_RECURSE "${build}")
  file(MAKE_DIRECTORY "${build}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${source}" -B "${build}" -G Ninja
            "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}"
            "-DSUITE_WINDOWS_DEPS_PREFIX=${SUITE_WINDOWS_DEPS_PREFIX}"
            "-DCMAKE_INSTALL_PREFIX=${SUITE_WINDOWS_DEPS_PREFIX}"
            -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF ${ARGN}
    OUTPUT_FILE "${build}.log" ERROR_FILE "${build}.log" RESULT_VARIABLE status)
  if(status EQUAL 0)
    execute_process(COMMAND "${CMAKE_COMMAND}" --build "${build}" --target install
      OUTPUT_FILE "${build}.build.log" ERROR_FILE "${build}.build.log" RESULT_VARIABLE status)
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "building ${name} for Windows failed; see ${build}.log and ${build}.build.log")
  endif()
  file(TOUCH "${stamp}")
endfunction()

suite_build_dependency(glew "${CMAKE_SOURCE_DIR}/cmake/windows/glew" "-DGLEW_SOURCE=${suite_deps_sources}/glew")
suite_build_dependency(freetype "${suite_deps_sources}/freetype"
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)

if(SUITE_BUILD_TESTS)
  # What the host and the tests need beyond the deliverables' libraries.
  suite_build_dependency(zlib "${CMAKE_SOURCE_DIR}/cmake/windows/zlib" "-DZLIB_SOURCE=${suite_deps_sources}/zlib")
  suite_build_dependency(libpng "${suite_deps_sources}/libpng1.6"
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON)
  suite_build_dependency(libsndfile "${suite_deps_sources}/libsndfile"
    -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_REGTEST=OFF -DENABLE_EXTERNAL_LIBS=OFF
    -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF)
  # Single precision: the reference the spectrum module's FFT is tested
  # against. FFTW knows no aligned allocation of MinGW's, so it uses its own.
  suite_build_dependency(fftw3f "${suite_deps_sources}/fftw3"
    -DENABLE_FLOAT=ON -DENABLE_SSE=ON -DENABLE_SSE2=ON -DBUILD_TESTS=OFF -DENABLE_THREADS=OFF
    "-DCMAKE_C_FLAGS=-DWITH_OUR_MALLOC")
  suite_build_dependency(googletest /usr/src/googletest -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON)
  # nlohmann/json is headers only: Debian's copy serves every target.
  if(NOT EXISTS "${SUITE_WINDOWS_DEPS_PREFIX}/include/nlohmann")
    file(COPY /usr/include/nlohmann DESTINATION "${SUITE_WINDOWS_DEPS_PREFIX}/include")
    file(COPY /usr/share/cmake/nlohmann_json DESTINATION "${SUITE_WINDOWS_DEPS_PREFIX}/share/cmake")
  endif()
endif()

# pkg-config answers from the libraries built here only.
set(ENV{PKG_CONFIG_LIBDIR} "${SUITE_WINDOWS_DEPS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
