#!/usr/bin/env bash
# Whole-program harvest: trawlix-cli scan (photos only, then with 256-pixel thumbnails) against
# wget and httrack on the same generated site, served on 127.0.0.1 with 0 and 20 ms latency per
# response. Prints one JSON line per run (wall time, photos per second, peak memory, and how
# many of the site's photos each tool got) and a table of medians at the end.
#   bench/harvest.sh                 SITE=dir (default: generated under $WORK), RUNS=1,
#                                    LATENCIES="0 20", BUILD=build tree, WORK=scratch folder
# Needs python3-pil for the generator, wget and httrack.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
site_tools=${SITE_TOOLS:-/work/shared/bench-site}
work=${WORK:-/tmp/trawlix-harvest}
site=${SITE:-$work/site}
build=${BUILD:-$root/build-bench}
runs=${RUNS:-1}
latencies=${LATENCIES:-"0 20"}
python=/usr/bin/python3
mkdir -p "$work"

if [[ ! -f $site/manifest.json ]]; then
  echo "Generating the site in $site..." >&2
  "$python" "$site_tools/gen_site.py" "$site" >&2
fi
if [[ ! -x $build/src/cli/trawlix-cli ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRAWLIX_TESTS=OFF \
    -DTRAWLIX_BENCH=OFF >/dev/null
  cmake --build "$build" -j2 --target trawlix-cli >/dev/null
fi
cli=$build/src/cli/trawlix-cli
results=$work/results.jsonl
: >"$results"

free_port() { "$python" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# Peak resident memory (MB) and wall seconds from GNU time's report.
time_field() { awk -F': ' -v key="$2" '$0 ~ key {print $2}' "$1"; }
wall_seconds() {
  time_field "$1" "Elapsed" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }'
}

# A data folder with one project that keeps every photo as downloaded, flat in its folder.
prepare_trawlix() {
  local data=$1 save=$2 url=$3 thumbs=$4
  rm -rf "$data" "$save"
  "$cli" --data-dir "$data" project add --title Bench --url "$url" --save-to "$save" \
    JPEG=1 PNG=1 GIF=1 BMP=1 TIF=1 FilterMinimumSize=0 AutoRename=0 CreateFolders=0 \
    SearchSubFolders=1 AutoResize=0 AutoConvert=0 AutoCreateMobile=0 \
    AutoCreateThumbnails="$thumbs" ThumbnailBoundingBox=256 ThumbnailFormat=0 >/dev/null
  # Photos are stored as downloaded: switch off the resolution stamp, which re-encodes.
  "$python" "$root/bench/harvest_settings.py" "$data/Settings_v2.0.txdat" \
    "$root/src/settings/SettingsValues.h" setPhotoDpi=0
}

count_flat() {  # photos saved flat under a folder, matched to the manifest by file name
  "$python" - "$site/manifest.json" "$1" <<'PY'
import json, os, sys
man = json.load(open(sys.argv[1]))["photos"]
want = {os.path.basename(k).lower(): v["bytes"] for k, v in man.items()}
ok = bad = other = 0
names = set()
for n in os.listdir(sys.argv[2]):
    p = os.path.join(sys.argv[2], n)
    if not os.path.isfile(p):
        continue
    k = n.lower()
    if k not in want:
        other += 1
    elif os.path.getsize(p) == want[k]:
        ok += 1
        names.add(k)
    else:
        bad += 1
jpeg = sum(1 for k in want if k.endswith(".jpeg"))
print(json.dumps({"expected": len(want), "ok": ok, "bad_size": bad, "other_files": other,
                  "missing": len(want) - ok, "missing_jpeg_links": jpeg - sum(1 for k in names if k.endswith(".jpeg"))}))
PY
}

run() {  # run TOOL LATENCY N URL PORT
  local tool=$1 latency=$2 n=$3 url=$4 port=$5 out=$work/out-$1-$2-$3 data=$work/data-$1
  local timing=$work/$tool-$latency-$n.time
  rm -rf "$out"
  case $tool in
    trawlix | trawlix-thumbs)
      prepare_trawlix "$data" "$out" "$url" $([[ $tool == trawlix-thumbs ]] && echo 1 || echo 0)
      /usr/bin/time -v -o "$timing" "$cli" --data-dir "$data" scan Bench \
        >"$work/$tool-$latency-$n.out" 2>"$work/$tool-$latency-$n.err" || true
      count=$(count_flat "$out") ;;
    wget)
      /usr/bin/time -v -o "$timing" wget -r -np -l inf -nv -e robots=off \
        -A jpg,jpeg,png,gif,bmp,tif,tiff -P "$out" "$url" >/dev/null 2>&1 || true
      count=$("$python" "$site_tools/count_photos.py" "$site/manifest.json" "$out") ;;
    httrack)
      local base=127.0.0.1:$port/gallery
      /usr/bin/time -v -o "$timing" httrack "$url" -O "$out" -q -%! -A0 -%c0 -c4 -s0 -I0 -%i0 \
        -%v0 -N0 "-*" "+$base/*.html" "+$base/*.jpg" "+$base/*.jpeg" "+$base/*.png" \
        "+$base/*.gif" "+$base/*.bmp" "+$base/*.tif" "+$base/*.tiff" >/dev/null 2>&1 || true
      count=$("$python" "$site_tools/count_photos.py" "$site/manifest.json" "$out") ;;
  esac
  local wall rss ok
  wall=$(wall_seconds "$timing")
  rss=$(time_field "$timing" "Maximum resident")
  ok=$(echo "$count" | "$python" -c 'import json,sys; print(json.load(sys.stdin)["ok"])')
  echo "{\"tool\": \"$tool\", \"latency_ms\": $latency, \"wall_s\": $wall," \
    "\"photos_per_s\": $(awk -v o="$ok" -v w="$wall" 'BEGIN{printf "%.0f", (w > 0 ? o / w : 0)}')," \
    "\"rss_mb\": $(awk -v k="$rss" 'BEGIN{printf "%.1f", k / 1024}'), \"count\": $count}" |
    tee -a "$results"
  rm -rf "$out"
}

for latency in $latencies; do
  port=$(free_port)
  "$python" "$site_tools/serve.py" "$site" --port "$port" --latency-ms "$latency" \
    >"$work/server-$latency.log" 2>&1 &
  server=$!
  trap 'kill $server 2>/dev/null || true' EXIT
  sleep 1
  url=http://127.0.0.1:$port/gallery/index.html
  for n in $(seq "$runs"); do
    for tool in trawlix trawlix-thumbs wget httrack; do
      cat "$site"/gallery/index.html >/dev/null
      run "$tool" "$latency" "$n" "$url" "$port"
    done
  done
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
done

"$python" - "$results" <<'PY'
import json, statistics, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
keys = sorted({(r["tool"], r["latency_ms"]) for r in rows}, key=lambda k: (k[1], k[0]))
print("| tool | latency | wall s | photos/s | peak RSS MB | photos got |")
print("|---|---|---|---|---|---|")
for tool, lat in keys:
    rs = [r for r in rows if r["tool"] == tool and r["latency_ms"] == lat]
    med = lambda f: statistics.median(r[f] for r in rs)
    print(f"| {tool} | {lat} ms | {med('wall_s'):.1f} | {med('photos_per_s'):.0f} | "
          f"{med('rss_mb'):.1f} | {rs[0]['count']['ok']}/{rs[0]['count']['expected']} |")
PY
