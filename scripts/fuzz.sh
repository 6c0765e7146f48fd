#!/usr/bin/env bash
# Longer fuzzing runs that keep what they find: each target starts from its seeds in
# fuzz/corpus/NAME with fuzz/dict/NAME.dict, and the inputs that reached new code are
# merged back into fuzz/corpus/NAME (commit them). A crash leaves its input in fuzz/crashes/.
# Usage: scripts/fuzz.sh [NAME|all] [MINUTES]   (default: all targets, 10 minutes each)
# FUZZ_BUILD names the sanitizer build folder (default build-asan); FUZZ_JOBS runs that
# many fuzzing processes per target (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:-all}
minutes=${2:-10}
build_dir=${FUZZ_BUILD:-build-asan}
jobs=${FUZZ_JOBS:-1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

[ -f "$build_dir/CMakeCache.txt" ] || scripts/setup.sh "$build_dir" sanitize
if [ "$name" = all ]; then
  targets=$(cd fuzz && ls ./*_fuzzer.cpp | sed 's|^\./||; s|_fuzzer\.cpp$||')
else
  targets=$name
fi

mkdir -p fuzz/crashes
for target in $targets; do
  cmake --build "$build_dir" --target "${target}_fuzzer"
  fuzzer=$build_dir/fuzz/${target}_fuzzer
  corpus=fuzz/corpus/$target
  mkdir -p "$corpus"
  work=$(mktemp -d)
  options=(-max_total_time=$((minutes * 60)) -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix=fuzz/crashes/"$target"-)
  [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
  [ "$jobs" -gt 1 ] && options+=(-jobs="$jobs" -workers="$jobs")
  echo "fuzzing $target for $minutes minute(s)"
  # New finds go to the work folder; the seeds are read from the corpus as they are.
  status=0
  "$fuzzer" "${options[@]}" "$work" "$corpus" 2>"$work.log" || status=$?
  grep -h -E "DONE|cov:" "$work.log" fuzz-*.log 2>/dev/null | tail -1 || true
  rm -f fuzz-*.log
  if [ "$status" -ne 0 ]; then
    tail -60 "$work.log"
    echo "$target: the fuzzer stopped with a finding (status $status); see fuzz/crashes/" >&2
    rm -rf "$work"
    exit 1
  fi
  # Keep only the inputs that add coverage to the corpus.
  "$fuzzer" -merge=1 "$corpus" "$work" 2>"$work.merge.log"
  grep -h "MERGE-OUTER: .* new files" "$work.merge.log" || true
  rm -rf "$work" "$work.log" "$work.merge.log"
done
