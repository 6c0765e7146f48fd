#!/usr/bin/env bash
# Builds the Debian package: a Release build without tests in build-release, then
# trawlix_VERSION_ARCH.deb in the repository's folder, checked by lintian.
# Usage: scripts/package.sh [BUILD_DIR]
# A BUILD_DIR that is already configured is packaged as it is (CI packages its test build):
# its build type and options stay, cpack builds what is not built yet, and the package's
# programs are stripped whatever the build type.
set -euo pipefail
cd "$(dirname "$0")/.."

# What a Release build of the programs needs, and the packaging tools.
packages=(build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-svg-dev libvips-dev libcurl4-openssl-dev libsqlite3-dev libzip-dev uuid-dev
  libxxhash-dev nlohmann-json3-dev dpkg-dev file lintian)
scripts/install-missing.sh "${packages[@]}"

build_dir=${1:-build-release}
if [ -z "${1:-}" ] || [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRAWLIX_TESTS=OFF \
    -DTRAWLIX_BENCH=OFF -DTRAWLIX_FUZZ=OFF >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)"
rm -f "$build_dir"/trawlix_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
built=("$build_dir"/trawlix_*.deb)
cp "${built[0]}" .
deb=$(basename "${built[0]}")
# Errors fail the script; warnings are shown.
lintian --fail-on error "$deb"
echo "built $deb: install it with: sudo apt install ./$deb"
