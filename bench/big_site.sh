#!/usr/bin/env bash
# Big-site benchmark: trawlix-cli scans a site of N pages made on the fly on 127.0.0.1
# (bench/big_site_server.py: 0-1 tiny photo a page, half the pages with one), for each N,
# and prints pages, photos, wall time and peak RSS in a markdown table. Fails when a photo
# is missing. Peak RSS should stay flat as N grows: the scan's lists spill to disk.
#
#   bench/big_site.sh [--pages "10000 100000"] [--work DIR] [--timeout 7200]
#
# Environment: TRAWLIX_CLI (default build/src/cli/trawlix-cli).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${TRAWLIX_CLI:-$root/build/src/cli/trawlix-cli}
helpers=$root/bench/harvest_helpers.py
server=$root/bench/big_site_server.py
py=/usr/bin/python3   # the server makes its photo with PIL

sizes="10000 100000" timeout_s=7200 work=""
while (($#)); do
  case $1 in
    --pages) sizes=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -h | --help) sed -n "2,9p" "$0"; exit 0 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

need=()
[[ -x /usr/bin/time ]] || need+=(time)
$py -c 'import PIL' 2>/dev/null || need+=(python3-pil)
if ((${#need[@]})); then
  echo "Installing ${need[*]} for the benchmark..." >&2
  apt-get install -y "${need[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null && apt-get install -y "${need[@]}" >/dev/null; }
fi
[[ -x $cli ]] || { echo "no $cli: build it (cmake --build build --target trawlix-cli)" >&2; exit 1; }

work=${work:-$(mktemp -d /tmp/big_site.XXXXXX)}
mkdir -p "$work"
server_pid="" tool_pid=""
cleanup() {
  if [[ -n $tool_pid ]]; then kill -- "-$tool_pid" 2>/dev/null || true; fi
  if [[ -n $server_pid ]]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rows=() failed=0
for pages in $sizes; do
  port=$($py "$helpers" free-port)
  $py "$server" serve --pages "$pages" --port "$port" >"$work/server-$pages.log" 2>&1 &
  server_pid=$!
  url=http://127.0.0.1:$port/site/0.html
  $py "$helpers" wait-url "$url" 20

  out=$work/run-$pages
  rm -rf "$out" && mkdir -p "$out/data" "$out/photos"
  "$cli" --data-dir "$out/data" project add --title big --url "$url" --save-to "$out/photos" \
    JPEG=1 PNG=0 GIF=0 BMP=0 TIF=0 FilterMinimumSize=0 Orientation=0 CreateFolders=0 \
    SearchSubFolders=1 Keywords= KeywordMustExist=0 AutoRename=0 AutoResize=0 AutoConvert=0 \
    AutoCreateMobile=0 AutoCreateThumbnails=0 >/dev/null
  echo "Scanning $pages pages at $url" >&2
  sync
  # timeout(1) runs in a process group of its own, which cleanup ends.
  rc=0
  timeout --kill-after=10 "$timeout_s" /usr/bin/time -v -o "$out/time" \
    "$cli" --data-dir "$out/data" scan big --render never --json >"$out/report.json" 2>"$out/err" &
  tool_pid=$!
  wait "$tool_pid" || rc=$?
  tool_pid=""
  kill "$server_pid"; wait "$server_pid" 2>/dev/null || true; server_pid=""

  check=$($py "$server" check --pages "$pages" "$out/photos") || failed=1
  echo "$check" >&2
  ((rc == 0)) || { echo "trawlix-cli ended with $rc (see $out/err)" >&2; failed=1; }
  rows+=("$($py - "$out/report.json" "$out/time" "$pages" "$check" <<'PY'
import json, sys
report, time_file, pages, check = sys.argv[1], sys.argv[2], sys.argv[3], json.loads(sys.argv[4])
try:
    counters = json.load(open(report))["counters"]
except (OSError, ValueError, KeyError):
    counters = {}
wall = rss = None
for line in open(time_file, errors="replace"):
    line = line.strip()
    if line.startswith("Elapsed (wall clock) time"):
        parts = [float(p) for p in line.rsplit(" ", 1)[1].split(":")]
        wall = sum(p * 60 ** i for i, p in enumerate(reversed(parts)))
    elif line.startswith("Maximum resident set size"):
        rss = int(line.rsplit(" ", 1)[1]) / 1024.0
fmt = lambda v, f: "?" if v is None else f.format(v)
print(f"| {int(pages):,} | {fmt(counters.get('pagesScanned'), '{:,}')} "
      f"| {fmt(counters.get('photosSaved'), '{:,}')} / {check['expected']:,} "
      f"| {fmt(wall, '{:.1f}')} | {fmt(rss, '{:.1f}')} |")
PY
)")
done

echo
echo "| site pages | pages scanned | photos saved / expected | wall s | peak RSS MB |"
echo "|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
echo "(logs in $work)"
exit "$failed"
