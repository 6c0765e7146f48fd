#!/usr/bin/env bash
# Thumbnails (256 box) and mobile copies (480 box) of generated 12-megapixel JPEGs:
# SaveResizedCopy against vipsthumbnail and ImageMagick's convert -thumbnail, on the
# same files in the same run. All write JPEG at quality 75.
#   bench/thumbnails.sh [COUNT]        (default 100; BUILD=folder picks the build tree)
# OURS=tool measures the desktop thumbnails tool (work list, steps) instead of bare copies.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-100}
build=${BUILD:-$root/build-bench}
runs=${RUNS:-3}

if [[ ! -x $build/bench/thumbnail_tool ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRAWLIX_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target thumbnail_tool >/dev/null
fi
tool=$build/bench/thumbnail_tool

# The real ImageMagick binary, not a wrapper script in front of it.
magick=$(command -v convert-im6.q16 || command -v magick || command -v convert)
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail is missing (libvips-tools)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos"
echo "Generating $count photos of 4000x3000..."
"$tool" generate "$count" 4000 3000 "$work/photos"
photos=("$work"/photos/*.jpg)
cat "${photos[@]}" >/dev/null  # warm the page cache for every contender alike

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

run_ours() {
  if [[ ${OURS:-copies} == tool ]]; then
    "$tool" tool "$1" 75 "$2" "$work/photos"
  else
    "$tool" copies "$1" 75 "$2" "${photos[@]}"
  fi
}
run_vips() { vipsthumbnail -s "$1" -o "$2/%s.jpg[Q=75]" "${photos[@]}"; }
run_magick() {
  for photo in "${photos[@]}"; do
    "$magick" "$photo" -thumbnail "$1x$1" -quality 75 "$2/$(basename "$photo")"
  done
}

# Best of $runs for the two fast contenders, interleaved so that load from elsewhere
# on the machine hits both alike; one run for ImageMagick.
best() {
  local contender=$1 box=$2 best=""
  for ((i = 0; i < runs; i++)); do
    local out="$work/out-$contender-$box-$i"
    mkdir -p "$out"
    local start end
    start=$(now)
    "run_$contender" "$box" "$out"
    end=$(now)
    local t
    t=$(elapsed "$start" "$end")
    if [[ -z $best ]] || (($(echo "$t < $best" | bc))); then best=$t; fi
    rm -rf "$out"
  done
  echo "$best"
}

printf "%-8s %12s %15s %12s %10s %11s\n" box "ours (s)" "vipsthumbnail" "ImageMagick" "ours/vips" "magick/ours"
for box in 256 480; do
  ours=$(best ours "$box")
  vips=$(best vips "$box")
  magick_time=$(runs=1 best magick "$box")
  printf "%-8s %12.2f %15.2f %12.2f %10.2f %11.1f\n" "$box" "$ours" "$vips" "$magick_time" \
    "$(echo "$ours / $vips" | bc -l)" "$(echo "$magick_time / $ours" | bc -l)"
done
