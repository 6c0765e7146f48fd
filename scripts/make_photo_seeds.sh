#!/usr/bin/env bash
# Regenerates the photo and bitmap fuzz seeds from the program's own writers and vips'.
# Usage: scripts/make_photo_seeds.sh [BUILD_DIR]   (a configured build folder; default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target make_photo_seeds >/dev/null
mkdir -p fuzz/corpus/photo fuzz/corpus/bmp
# Only the generated seeds are replaced; inputs kept for found faults stay.
rm -f fuzz/corpus/photo/*.{jpg,png,gif,tif,bmp} fuzz/corpus/bmp/*.bmp
"$build_dir/tests/imaging/make_photo_seeds" fuzz/corpus/photo fuzz/corpus/bmp
echo "photo seeds: $(ls fuzz/corpus/photo | wc -l) files, $(du -sk fuzz/corpus/photo | cut -f1) KB"
echo "bitmap seeds: $(ls fuzz/corpus/bmp | wc -l) files, $(du -sk fuzz/corpus/bmp | cut -f1) KB"
