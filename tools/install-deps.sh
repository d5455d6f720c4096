#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (Debian 12).
set -euo pipefail

packages=(
  cmake ninja-build g++ g++-multilib binutils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libpng-dev
  libegl-dev libgl-dev libopengl-dev libglu1-mesa-dev libglew-dev libegl-mesa0 libgl1-mesa-dri
  pkgconf libfftw3-dev libsndfile1-dev
  libfreetype-dev libfontconfig-dev fonts-liberation2
  # Windows: the cross compilers (posix thread model), and Wine with a virtual
  # display for the tests; GLEW, FreeType and the tests' libraries are built
  # from Debian source packages (fetched by tools/fetch-windows-sources.sh).
  # Not wine32: it makes Wine pick a 32-bit loader that cannot start here.
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 xvfb dpkg-dev xz-utils
)

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

export DEBIAN_FRONTEND=noninteractive
run_as_root apt-get update
run_as_root apt-get install -y --no-install-recommends "${packages[@]}"
