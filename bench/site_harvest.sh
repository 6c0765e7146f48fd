#!/usr/bin/env bash
# Whole-program benchmark: harvest a generated gallery site served on 127.0.0.1 with
# trawlix-cli, wget2, wget and httrack, at each latency, and check that every tool got the
# manifest's photos. Prints a markdown table and keeps results.jsonl.
#
#   bench/site_harvest.sh [--pages 2000] [--photos 6000] [--latencies "0 20"] [--runs 1]
#                         [--tools "trawlix trawlix-thumbs wget2 wget httrack"] [--site DIR]
#                         [--work DIR] [--timeout 1800] [--connections N]
#
# --site DIR reuses (or first generates into) a site folder; by default the site is made
# in the work folder and removed at the end. trawlix runs with the default settings (the
# photo resolution is set); trawlix-thumbs adds thumbnails; trawlix-nodpi turns the
# resolution setting off; trawlix-norender scans with --render never (the default renders
# pages automatically, which a static site never asks for). wget2 runs with its default five threads.
# Environment: BENCH_SITE_TOOLS (generator and server, default ../shared/bench-site from
# the repository root), TRAWLIX_CLI (default build/src/cli/trawlix-cli).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
site_tools=${BENCH_SITE_TOOLS:-$root/../shared/bench-site}
cli=${TRAWLIX_CLI:-$root/build/src/cli/trawlix-cli}
helpers=$root/bench/harvest_helpers.py
py=/usr/bin/python3   # the generator needs the system python with PIL

pages=2000 photos=6000 latencies="0 20" runs=1 timeout_s=1800 connections=""
tools="trawlix trawlix-thumbs wget2 wget httrack"
site="" work=""
while (($#)); do
  case $1 in
    --pages) pages=$2; shift 2 ;;
    --photos) photos=$2; shift 2 ;;
    --latencies) latencies=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --tools) tools=$2; shift 2 ;;
    --site) site=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --connections) connections=$2; shift 2 ;;
    -h | --help) sed -n "2,15p" "$0"; exit 0 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

# Benchmark-only packages: the peers, GNU time and PIL for the generator.
need=()
command -v wget >/dev/null || need+=(wget)
command -v wget2 >/dev/null || need+=(wget2)
command -v httrack >/dev/null || need+=(httrack)
[[ -x /usr/bin/time ]] || need+=(time)
$py -c 'import PIL' 2>/dev/null || need+=(python3-pil)
if ((${#need[@]})); then
  echo "Installing ${need[*]} for the benchmark..." >&2
  apt-get install -y "${need[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null && apt-get install -y "${need[@]}" >/dev/null; }
fi
[[ -f $site_tools/gen_site.py ]] || { echo "no gen_site.py in $site_tools (set BENCH_SITE_TOOLS)" >&2; exit 1; }
if [[ " $tools " == *" trawlix"* && ! -x $cli ]]; then
  echo "no $cli: build it (cmake --build build --target trawlix-cli) or set TRAWLIX_CLI" >&2
  exit 1
fi

work=${work:-$(mktemp -d /tmp/site_harvest.XXXXXX)}
mkdir -p "$work"
server_pid="" tool_pid=""
cleanup() {
  # timeout(1) runs in a process group of its own: end that group, then the server.
  if [[ -n $tool_pid ]]; then kill -- "-$tool_pid" 2>/dev/null || true; fi
  if [[ -n $server_pid ]]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"/out-*
  if [[ -n ${made_site:-} ]]; then rm -rf "$site"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ -z $site ]]; then site=$work/site; made_site=1; fi
if [[ ! -f $site/manifest.json ]]; then
  echo "Generating $pages pages, $photos photos in $site..." >&2
  $py "$site_tools/gen_site.py" "$site" --pages "$pages" --photos "$photos" >&2
fi
start_path=$($py -c 'import json,sys; print(json.load(open(sys.argv[1]))["start"])' "$site/manifest.json")
results=$work/results.jsonl
: >"$results"
cat "$site"/gallery/*.html >/dev/null  # same warm page cache for every contender

start_server() {
  port=$($py "$helpers" free-port)
  $py "$site_tools/serve.py" "$site" --port "$port" --latency-ms "$1" >"$work/server-$1.log" 2>&1 &
  server_pid=$!
  $py "$helpers" wait-url "http://127.0.0.1:$port$start_path" 20
  url=http://127.0.0.1:$port$start_path
}

stop_server() {
  kill "$server_pid"
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
}

# Runs one contender under GNU time with a time limit; output folder $out.
timed() {
  local tag=$1; shift
  timeout --kill-after=10 "$timeout_s" /usr/bin/time -v -o "$work/$tag.time" "$@" \
    >"$work/$tag.out" 2>"$work/$tag.err" &
  tool_pid=$!
  rc=0
  wait "$tool_pid" || rc=$?
  tool_pid=""
}

run_trawlix() {  # $1 thumbnails 0/1, $2 photo resolution setting 0/1, $3 render mode
  local data=$out/data save=$out/photos
  mkdir -p "$data" "$save"
  "$cli" --data-dir "$data" project add --title bench --url "$url" --save-to "$save" \
    JPEG=1 PNG=1 GIF=1 BMP=1 TIF=1 FilterMinimumSize=0 Orientation=0 CreateFolders=0 \
    SearchSubFolders=1 Keywords= KeywordMustExist=0 AutoRename=0 AutoResize=0 AutoConvert=0 \
    AutoCreateMobile=0 AutoCreateThumbnails="$1" >/dev/null
  $py "$helpers" settings-set "$data" setPhotoDpi="$2"
  timed "$tag" "$cli" --data-dir "$data" scan bench --render "${3:-auto}" \
    ${connections:+--connections "$connections"}
  $py "$helpers" count-flat "$site/manifest.json" "$save" >"$work/$tag.count"
}

run_wget() {
  timed "$tag" wget -r -np -l inf -nv -e robots=off -A jpg,jpeg,png,gif,bmp,tif,tiff -P "$out" "$url"
  $py "$site_tools/count_photos.py" "$site/manifest.json" "$out" >"$work/$tag.count"
}

run_wget2() {
  timed "$tag" wget2 -r -np -l inf -nv -e robots=off --max-threads=5 \
    -A jpg,jpeg,png,gif,bmp,tif,tiff -P "$out" "$url"
  $py "$site_tools/count_photos.py" "$site/manifest.json" "$out" >"$work/$tag.count"
}

run_httrack() {
  local hostdir=127.0.0.1:${url#http://127.0.0.1:}
  hostdir=${hostdir%%/*}
  # Without -A0 -%c0 httrack waits for the next wall-clock second before each request.
  timed "$tag" httrack "$url" -O "$out" -q -%! -A0 -%c0 -c4 -s0 -I0 -%i0 -%v0 -N0 \
    "-*" "+$hostdir/gallery/*.html" "+$hostdir/gallery/*.jpg" "+$hostdir/gallery/*.jpeg" \
    "+$hostdir/gallery/*.png" "+$hostdir/gallery/*.gif" "+$hostdir/gallery/*.bmp" \
    "+$hostdir/gallery/*.tif" "+$hostdir/gallery/*.tiff"
  # count_photos expects <out>/<host folder>/<path>; httrack's own files live beside it.
  $py "$site_tools/count_photos.py" "$site/manifest.json" "$out" >"$work/$tag.count"
}

for latency in $latencies; do
  start_server "$latency"
  echo "Serving $site at $url with $latency ms latency" >&2
  for ((run = 1; run <= runs; run++)); do
    for tool in $tools; do
      tag=$tool-$latency-$run
      out=$work/out-$tag
      rm -rf "$out" && mkdir -p "$out"
      # Outputs are removed only at the end: ext4 without a journal skips the inodes freed
      # in the last minute on every file creation, which would slow whoever comes next.
      sync
      case $tool in
        trawlix) run_trawlix 0 1 ;;
        trawlix-thumbs) run_trawlix 1 1 ;;
        trawlix-nodpi) run_trawlix 0 0 ;;
        trawlix-norender) run_trawlix 0 1 never ;;
        wget2) run_wget2 ;;
        wget) run_wget ;;
        httrack) run_httrack ;;
        *) echo "unknown tool $tool" >&2; exit 2 ;;
      esac
      $py "$helpers" record "$tool" "$latency" "$work/$tag.time" "$work/$tag.count" "$rc" | tee -a "$results" >&2
    done
  done
  stop_server
done

echo
$py "$helpers" site-summary "$site/manifest.json"
$py "$helpers" table "$results" "$site/manifest.json"
echo "(logs and results.jsonl in $work)"
