#!/usr/bin/env bash
# Builds the screenshot program and renders the main window (with the sample projects and a few
# generated photos in the viewer, also in its 12-photo view with a selection and hover
# information), the main dialogs, the photo tools and the export and import dialogs (with the
# file information and the results of an import), offscreen, to docs/screenshots/*.png.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRAWLIX_BENCH=OFF
fi
cmake --build "$build" --target trawlix_screenshots
QT_QPA_PLATFORM=offscreen "$build/tests/ui/trawlix_screenshots" "$root/docs/screenshots"
