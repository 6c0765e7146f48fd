#!/usr/bin/env bash
# Regenerates the fuzz seeds that the program's own writers make (exchange files and their
# project members, settings files, stored project texts) into fuzz/corpus/. Run it after a
# change to one of those formats. Pages (markup) and addresses (url) are kept by hand.
# Usage: scripts/make_fuzz_seeds.sh [BUILD_DIR]   (a sanitizer build, default build-asan)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-asan}
[ -f "$build_dir/CMakeCache.txt" ] || scripts/setup.sh "$build_dir" sanitize
cmake --build "$build_dir" --target make_fuzz_seeds
for name in exchange settings records; do
  # Only the writer-made seeds are replaced; merged finds and regression inputs stay.
  find "fuzz/corpus/$name" -maxdepth 1 -type f -name 'seed-*' -delete 2>/dev/null || true
done
ASAN_OPTIONS=detect_leaks=0 "$build_dir/fuzz/make_fuzz_seeds" fuzz/corpus
du -sh fuzz/corpus/*
