#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (Debian 12).
set -euo pipefail

packages=(
  cmake ninja-build g++ g++-multilib binutils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  pkgconf libfftw3-dev libsndfile1-dev
)

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

export DEBIAN_FRONTEND=noninteractive
run_as_root apt-get update
run_as_root apt-get install -y --no-install-recommends "${packages[@]}"
