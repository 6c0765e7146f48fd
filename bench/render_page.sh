#!/usr/bin/env bash
# The cost of rendered pages: scans a local gallery whose pages a script builds (photos
# loaded on scrolling) with trawlix-cli, once with --render never (the markup alone: no
# photo) and once with --render always, for one page and for PAGES pages, and prints the
# wall time and peak memory of each and the cost of one rendered page.
#
#   bench/render_page.sh [--pages 5] [--runs 3] [--work DIR]
#
# Environment: TRAWLIX_CLI (default build/src/cli/trawlix-cli).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${TRAWLIX_CLI:-$root/build/src/cli/trawlix-cli}
pages=5 runs=3 work=""
while (($#)); do
  case $1 in
    --pages) pages=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -h | --help) sed -n "2,9p" "$0"; exit 0 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
[[ -x $cli ]] || { echo "no $cli: build trawlix-cli or set TRAWLIX_CLI" >&2; exit 1; }
[[ -x /usr/bin/time ]] || apt-get install -y time >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

own_work=0
if [[ -z $work ]]; then work=$(mktemp -d); own_work=1; fi
server_pid=""
cleanup() {
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
  ((own_work)) && rm -rf "$work"
}
trap cleanup EXIT

# The site: page N builds 3 batches of 4 photos, the next batch fetched on scrolling; each
# photo is a small BMP of a colour of its own.
site=$work/site
mkdir -p "$site/photos"
/usr/bin/python3 - "$site" "$pages" <<'PY'
import json, struct, sys
site, pages = sys.argv[1], int(sys.argv[2])

def bmp(seed):  # a 64x48 24-bit BMP of one colour of its own
    width, height = 64, 48
    row = bytes([seed % 256, seed // 256 % 256, 128] * width)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels

seed = 0
for page in range(1, pages + 1):
    for batch in range(1, 4):
        names = [f"p{page}-b{batch}-{i}.bmp" for i in range(4)]
        for name in names:
            seed += 1
            open(f"{site}/photos/{name}", "wb").write(bmp(seed))
        json.dump(names, open(f"{site}/p{page}-batch{batch}.json", "w"))
    links = "".join(f'<a href="page{n}.html">{n}</a> ' for n in range(1, pages + 1))
    open(f"{site}/page{page}.html", "w").write(f"""<html><head><style>.tile{{height:700px}}
</style></head><body>{links}<div id="grid"></div><script>
let next = 1, loading = false;
function more() {{
  if (loading || next > 3) return;
  loading = true;
  fetch('p{page}-batch' + next + '.json').then(r => r.json()).then(names => {{
    for (const name of names) {{
      const tile = document.createElement('div');
      tile.className = 'tile';
      tile.innerHTML = '<img src="photos/' + name + '">';
      grid.appendChild(tile);
    }}
    ++next; loading = false;
  }});
}}
addEventListener('scroll', () => {{
  if (innerHeight + scrollY >= document.body.scrollHeight - 50) more();
}});
more();
</script></body></html>""")
open(f"{site}/single.html", "w").write(
    open(f"{site}/page1.html").read().replace('<a href="page', '<a href="none'))
PY

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server_pid=$!
sleep 1

# scan START MODE: prints "seconds peak-MB photos".
scan() {
  local data=$work/data-$2 save=$work/photos-$2
  rm -rf "$data" "$save" && mkdir -p "$data" "$save"
  "$cli" --data-dir "$data" project add --title bench --url "http://127.0.0.1:$port/$1" \
    --save-to "$save" BMP=1 FilterMinimumSize=0 SearchSubFolders=1 >/dev/null
  /usr/bin/time -f "%e %M" -o "$work/time" "$cli" --data-dir "$data" scan bench --all \
    --render "$2" >/dev/null 2>&1 || true
  read -r seconds kb <"$work/time"
  echo "$seconds $((kb / 1024)) $(find "$save" -type f | wc -l)"
}

printf '| pages | render | seconds (median of %d) | peak MB | photos |\n|---|---|---|---|---|\n' "$runs"
declare -A median
for start in single.html page1.html; do
  count=1
  [[ $start == page1.html ]] && count=$pages
  for mode in never always; do
    results=()
    for ((run = 1; run <= runs; run++)); do results+=("$(scan "$start" "$mode")"); done
    line=$(printf '%s\n' "${results[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    read -r seconds mb photos <<<"$line"
    median[$count-$mode]=$seconds
    echo "| $count | $mode | $seconds | $mb | $photos |"
  done
done
/usr/bin/python3 - "${median[1-never]}" "${median[1-always]}" "${median[$pages-always]}" "$pages" <<'PY'
import sys
never, one, many, pages = map(float, sys.argv[1:])
print(f"\nFirst rendered page (browser engine start included): {one - never:.2f} s")
if pages > 1:
    print(f"Each further rendered page: {(many - one) / (pages - 1):.2f} s")
PY
