#!/usr/bin/env bash
# Checks the layers (scripts/check-layers.py), sets up what is missing, then builds and runs
# every test: a normal build, an AddressSanitizer + UndefinedBehaviorSanitizer build, a
# ThreadSanitizer build of the test programs whose code runs on several threads (scans, batch
# tools, the viewer's decoding), and a short run of each fuzz target from its seeds
# (fuzz/corpus/NAME) with its dictionary (fuzz/dict/NAME.dict); scripts/fuzz.sh runs longer.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# An include across the layers fails here in a second, before any build.
scripts/install-missing.sh python3
python3 scripts/check-layers.py

scripts/setup.sh build normal
ctest --test-dir build --output-on-failure -j "$(nproc)"
# The whole program against a small generated site past the lists' memory bound: every
# photo must arrive (bench/big_site.sh runs the large sizes).
bench/big_site.sh --pages 25000

scripts/setup.sh build-asan sanitize
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# Only the threaded programs are built with ThreadSanitizer, to keep within CI's time.
scripts/setup.sh build-tsan tsan scan_tests imaging_tests ui_tests
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp:halt_on_error=1"
build-tsan/tests/scan/scan_tests
build-tsan/tests/imaging/imaging_tests
build-tsan/tests/ui/ui_tests --gtest_filter='PhotoViewer*:ThumbnailCache*:PhotoTool*'

fuzz_seconds=${FUZZ_SECONDS:-20}
for fuzzer in build-asan/fuzz/*_fuzzer; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=fuzz/corpus/${name%_fuzzer}
  dict=fuzz/dict/${name%_fuzzer}.dict
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  options=(-max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0)
  [ -f "$dict" ] && options+=(-dict="$dict")
  echo "fuzzing $name for ${fuzz_seconds}s from its seeds"
  "$fuzzer" "${options[@]}" "$work" 2>"$work.log" || { tail -50 "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done
echo "all tests passed"
