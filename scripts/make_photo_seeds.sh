#!/usr/bin/env bash
# Regenerates the photo and bitmap fuzz seeds from the program's own writers and vips',
# and the header reader's seeds from those and a few hand-made headers.
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

# The header reader's seeds: the photos and bitmaps above, and headers no writer makes.
header=fuzz/corpus/photo_header
mkdir -p "$header"
rm -f "$header"/*.{jpg,png,gif,tif,bmp}
cp fuzz/corpus/bmp/*.bmp "$header"/
cp fuzz/corpus/photo/*.{jpg,png,gif,tif,bmp} "$header"/  # some bitmaps again, the same
u16le() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8)); }
u16be() { printf '\\x%02x\\x%02x' $(($1 >> 8)) $(($1 & 255)); }
# Screen, two-colour table, optional extensions, one frame (left top width height), trailer.
gif() {
  printf "$1$(u16le "$2")$(u16le "$3")\x80\0\0\0\0\0\xff\xff\xff$8\x2c"
  printf "$(u16le "$4")$(u16le "$5")$(u16le "$6")$(u16le "$7")\0\x02\x02\x44\x01\0\x3b"
}
gif GIF89a 640 480 0 0 25 15 '' >"$header/desktop-screen.gif"
gif GIF89a 20 10 15 5 10 10 '' >"$header/spilling-frame.gif"
gif GIF87a 30 20 0 0 30 20 '\x21\xfe\x03abc\0\x21\xf9\x04\0\0\0\0\0' >"$header/extensions.gif"
# Fill bytes, TEM and RST before the tables; an Exif block with a long description.
{ printf '\xff\xd8\xff\xff\xff\x01\xff\xd3'; tail -c +3 fuzz/corpus/photo/baseline.jpg; } \
  >"$header/fill-and-standalone.jpg"
text=1500
{
  printf "\xff\xd8\xff\xe1$(u16be $((2 + 6 + 26 + text)))Exif\0\0II*\0\x08\0\0\0\x01\0\x0e\x01\x02\0"
  printf "$(u16le $text)\0\0\x1a\0\0\0\0\0\0\0"
  head -c $((text - 1)) /dev/zero | tr '\0' d
  printf '\0'
  tail -c +3 fuzz/corpus/photo/baseline.jpg
} >"$header/exif.jpg"
# Directories with the sides as LONG values (and SHORT), in both byte orders.
printf 'MM\0*\0\0\0\x08\0\x02\x01\0\0\x04\0\0\0\x01\0\0\x01\x2c\x01\x01\0\x03\0\0\0\x01\0\xc8\0\0\0\0\0\0' \
  >"$header/motorola-long.tif"
printf 'II*\0\x08\0\0\0\x02\0\0\x01\x04\0\x01\0\0\0\x2c\x01\0\0\x01\x01\x03\0\x01\0\0\0\xc8\0\0\0\0\0\0\0' \
  >"$header/intel-long.tif"
echo "header seeds: $(ls "$header" | wc -l) files, $(du -sk "$header" | cut -f1) KB"
