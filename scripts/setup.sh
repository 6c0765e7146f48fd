#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and configures and
# builds one build folder, whole or only the TARGETs named.
# Usage: scripts/setup.sh BUILD_DIR [normal|sanitize|tsan] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config ccache git
  qt6-base-dev qt6-svg-dev libvips-dev libcurl4-openssl-dev libsqlite3-dev libzip-dev uuid-dev
  libxxhash-dev nlohmann-json3-dev zlib1g-dev qt6-webengine-dev
  libgtest-dev libgmock-dev libcpp-httplib-dev libbenchmark-dev
  clang libclang-rt-14-dev ca-certificates python3)

scripts/install-missing.sh "${packages[@]}"

build_dir=${1:-build}
kind=${2:-normal}
case "$kind" in
  # TRAWLIX_BENCH=OFF in the environment leaves the benchmarks out (CI does, for time).
  normal) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRAWLIX_BENCH="${TRAWLIX_BENCH:-ON}") ;;
  # The sanitizer builds leave rendered pages out: Chromium's processes, allocator and
  # sandbox are not built with the sanitizers, whose reports would be Chromium's, not ours
  # (the normal build runs the render tests).
  sanitize) flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DTRAWLIX_SANITIZE=ON
                   -DTRAWLIX_FUZZ=ON -DTRAWLIX_BENCH=OFF -DTRAWLIX_RENDER=OFF) ;;
  tsan) flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DTRAWLIX_TSAN=ON
               -DTRAWLIX_BENCH=OFF -DTRAWLIX_RENDER=OFF) ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
cmake -S . -B "$build_dir" -G Ninja -DTRAWLIX_WERROR=ON "${flags[@]}" >/dev/null
targets=("${@:3}")
cmake --build "$build_dir" -j "$(nproc)" ${targets[@]:+--target "${targets[@]}"}
