#!/usr/bin/env bash
# Rescan benchmark: harvest a generated gallery site once with trawlix-cli and once with
# wget -N (timestamping), then harvest the unchanged site again with each, and compare the
# requests the server answered (200 and 304), the bytes downloaded and the wall time.
#
#   bench/site_rescan.sh [--pages 500] [--photos 1500] [--latency 20] [--site DIR] [--work DIR]
#
# Environment: BENCH_SITE_TOOLS (generator and server, default ../shared/bench-site from
# the repository root), TRAWLIX_CLI (default build/src/cli/trawlix-cli).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
site_tools=${BENCH_SITE_TOOLS:-$root/../shared/bench-site}
cli=${TRAWLIX_CLI:-$root/build/src/cli/trawlix-cli}
helpers=$root/bench/harvest_helpers.py
py=/usr/bin/python3

pages=500 photos=1500 latency=20 site="" work=""
while (($#)); do
  case $1 in
    --pages) pages=$2; shift 2 ;;
    --photos) photos=$2; shift 2 ;;
    --latency) latency=$2; shift 2 ;;
    --site) site=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -h | --help) sed -n "2,9p" "$0"; exit 0 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
command -v wget >/dev/null || apt-get install -y wget >/dev/null
[[ -x $cli ]] || { echo "no $cli: build trawlix-cli or set TRAWLIX_CLI" >&2; exit 1; }

work=${work:-$(mktemp -d /tmp/site_rescan.XXXXXX)}
mkdir -p "$work"
server_pid=""
trap '[[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null; true' EXIT
site=${site:-$work/site}
if [[ ! -f $site/manifest.json ]]; then
  echo "Generating $pages pages, $photos photos in $site..." >&2
  $py "$site_tools/gen_site.py" "$site" --pages "$pages" --photos "$photos" >&2
fi
start_path=$($py -c 'import json,sys; print(json.load(open(sys.argv[1]))["start"])' "$site/manifest.json")

# Addresses are remembered with their port: every run uses the same one.
port=$($py "$helpers" free-port)
url=http://127.0.0.1:$port$start_path

# Runs "$@" against a fresh server; sets wall (seconds) and statuses (the server's counts).
measure() {
  local log=$work/server.log
  $py "$site_tools/serve.py" "$site" --port "$port" --latency-ms "$latency" >"$log" 2>&1 &
  server_pid=$!
  $py "$helpers" wait-url "$url" 20
  local started ended
  started=$(date +%s.%N)
  "$@" >"$work/tool.out" 2>"$work/tool.err" || true
  ended=$(date +%s.%N)
  kill "$server_pid" && wait "$server_pid" 2>/dev/null || true
  server_pid=""
  statuses=$(sed -n 's/^responses by status: //p' "$log")
  wall=$(echo "$ended - $started" | bc)
}

trawlix_scan() {
  "$cli" --data-dir "$work/data" scan bench
}
trawlix_bytes() {
  "$cli" --data-dir "$work/data" history bench --json |
    $py -c 'import json,sys; print(json.load(sys.stdin)[-1]["TotalBytes"])'
}
wget_scan() {
  # wget 1.21 does not follow the links of a page answered 304 to its If-Modified-Since
  # (the rescan would stop at the start page): timestamp with HEAD requests instead.
  wget -r -N --no-if-modified-since -np -l inf -nv -e robots=off -A jpg,jpeg,png,gif,bmp,tif,tiff,html \
    -P "$work/wget" "$url"
}
wget_bytes() {
  sed -n 's/.*Downloaded: [0-9]* files, \([0-9.]*[KMG]\?\).*/\1/p' "$work/tool.err" | tail -1
}

rm -rf "$work/data" "$work/photos" "$work/wget"
mkdir -p "$work/photos"
"$cli" --data-dir "$work/data" project add --title bench --url "$url" \
  --save-to "$work/photos" JPEG=1 PNG=1 GIF=1 BMP=1 TIF=1 FilterMinimumSize=0 CreateFolders=0 \
  AutoRename=0 AutoCreateThumbnails=0 AutoCreateMobile=0 >/dev/null

echo "| run | wall s | server answers | downloaded |"
echo "|---|---|---|---|"
for run in first rescan; do
  measure trawlix_scan
  echo "| trawlix $run | $wall | $statuses | $(trawlix_bytes) bytes |"
done
for run in first rescan; do
  measure wget_scan
  echo "| wget -N $run | $wall | $statuses | $(wget_bytes) |"
done
$py "$helpers" site-summary "$site/manifest.json"
echo "latency $latency ms; logs in $work"
