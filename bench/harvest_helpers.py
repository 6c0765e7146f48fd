#!/usr/bin/python3
"""Small helpers for site_harvest.sh.

  harvest_helpers.py free-port
  harvest_helpers.py wait-url URL SECONDS
  harvest_helpers.py settings-set DATA_DIR setPhotoDpi=0 [NAME=VALUE ...]
  harvest_helpers.py count-flat MANIFEST DIR          -> one JSON line
  harvest_helpers.py record TOOL LATENCY TIME_V_FILE COUNT_JSON RC -> one JSON line
  harvest_helpers.py site-summary MANIFEST
  harvest_helpers.py table RESULTS.jsonl              -> markdown table on stdout
"""
import hashlib
import json, os, socket, statistics, struct, sys, time, urllib.request

PHOTO_EXTS = (".jpg", ".jpeg", ".png", ".gif", ".bmp", ".tif", ".tiff")
ALIAS = {".jpg": (".jpeg",), ".jpeg": (".jpg",), ".tif": (".tiff",), ".tiff": (".tif",)}


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        print(s.getsockname()[1])


def wait_url(url, seconds):
    deadline = time.monotonic() + float(seconds)
    while time.monotonic() < deadline:
        try:
            with urllib.request.urlopen(url, timeout=2) as r:
                if r.status == 200:
                    return
        except OSError:
            time.sleep(0.1)
    sys.exit(f"no answer from {url} within {seconds} s")


# The settings file: little-endian ints, length-prefixed strings, in this order up to the
# values the benchmark changes (I int32, L int64, S string).
SETTINGS_FILE = "Settings_v2.0.txdat"
SETTINGS_KINDS = "ISIIISIIIIIISSLIIISIIISS" + "I" * 33 + "SSIISSSIIISISII"
SETTINGS_INDEX = {"setPhotoDpi": 71, "historyOnlySuccessfulScans": 56}


def read_string_length(data, pos):
    n = data[pos]
    if n < 0xFF:
        return pos + 1 + n
    n = struct.unpack_from("<H", data, pos + 1)[0]
    if n < 0xFFFF:
        return pos + 3 + n
    return pos + 7 + struct.unpack_from("<I", data, pos + 3)[0]


def settings_offsets(data):
    offsets, pos = [], 0
    for kind in SETTINGS_KINDS:
        offsets.append(pos)
        pos = pos + 4 if kind == "I" else pos + 8 if kind == "L" else read_string_length(data, pos)
    return offsets


def settings_set(data_dir, *assignments):
    path = os.path.join(data_dir, SETTINGS_FILE)
    data = bytearray(open(path, "rb").read())
    offsets = settings_offsets(data)
    if struct.unpack_from("<i", data, 0)[0] != 18 or data[5:5 + len(SETTINGS_FILE)] != SETTINGS_FILE.encode():
        sys.exit(f"{path}: not a settings file of the expected version")
    for item in assignments:
        name, value = item.split("=")
        row = SETTINGS_INDEX.get(name)
        if row is None:
            sys.exit(f"unknown setting {name}")
        struct.pack_into("<i", data, offsets[row], int(value))
    open(path, "wb").write(data)


def count_flat(manifest, folder):
    """Photos saved side by side in one folder under their download names."""
    man = json.load(open(manifest))
    by_name = {}
    for url, info in man["photos"].items():
        by_name.setdefault(os.path.basename(url).lower(), []).append(info["bytes"])
    files = ok = bad_size = oos = 0
    seen, missing_ext = set(), {}
    for n in os.listdir(folder):
        if not os.path.isfile(os.path.join(folder, n)) or not n.lower().endswith(PHOTO_EXTS):
            continue
        files += 1
        key = n.lower()
        if key not in by_name:   # a re-encoded photo takes its format's own extension
            stem, ext = os.path.splitext(key)
            key = next((stem + e for e in ALIAS.get(ext, ()) if stem + e in by_name), key)
        if key not in by_name:
            oos += 1
            continue
        seen.add(key)
        if os.path.getsize(os.path.join(folder, n)) in by_name[key]:
            ok += 1
        else:
            bad_size += 1
    missing = sorted(set(by_name) - seen)
    # A photo whose bytes equal one that was saved is not saved again (content duplicates):
    # it counts as got.
    site = os.path.dirname(os.path.abspath(manifest))
    digest = {}
    for url in man["photos"]:
        with open(os.path.join(site, url.lstrip("/")), "rb") as f:
            digest.setdefault(os.path.basename(url).lower(), hashlib.sha256(f.read()).hexdigest())
    saved_digests = {digest[k] for k in seen if k in digest}
    same_content = [m for m in missing if digest.get(m) in saved_digests]
    missing = [m for m in missing if m not in same_content]
    for m in missing:
        ext = os.path.splitext(m)[1]
        missing_ext[ext] = missing_ext.get(ext, 0) + 1
    print(json.dumps({"expected": len(man["photos"]), "ok": ok, "bad_size": bad_size,
                      "photo_files": files, "dups": 0, "out_of_scope": oos,
                      "same_content": len(same_content),
                      "missing": len(missing), "missing_by_ext": missing_ext,
                      "missing_sample": missing[:5]}))


def site_summary(manifest):
    m = json.load(open(manifest))
    print(f"Site: {m['pages_in_scope']} pages in scope, {len(m['photos'])} photos, "
          f"{m['photo_bytes'] / 1e6:.0f} MB")


def parse_time_v(path):
    wall = rss = None
    cpu = 0.0
    for line in open(path, errors="replace"):
        line = line.strip()
        if line.startswith(("User time (seconds)", "System time (seconds)")):
            cpu += float(line.rsplit(" ", 1)[1])
        elif line.startswith("Elapsed (wall clock) time"):
            parts = [float(p) for p in line.rsplit(" ", 1)[1].split(":")]
            wall = sum(p * 60 ** i for i, p in enumerate(reversed(parts)))
        elif line.startswith("Maximum resident set size"):
            rss = int(line.rsplit(" ", 1)[1]) / 1024.0
    return wall, rss, cpu


def record(tool, latency, time_file, count_file, rc):
    wall, rss, cpu = parse_time_v(time_file)
    count = json.loads(open(count_file).read() or "{}")
    print(json.dumps({"tool": tool, "latency_ms": float(latency), "wall_s": wall,
                      "cpu_s": cpu, "rss_mb": rss, "rc": int(rc), **count}))


def latency_floor(manifest, latency_ms, connections=6):
    """Every request once (the pages in scope, the photos and robots.txt), spread over the
    connections, each taking the latency and nothing else."""
    m = json.load(open(manifest))
    requests = m["pages_in_scope"] + len(m["photos"]) + 1
    return requests * float(latency_ms) / 1000.0 / connections


def table(results, manifest=None):
    rows = [json.loads(line) for line in open(results) if line.strip()]
    groups = {}
    for r in rows:
        groups.setdefault((r["tool"], r["latency_ms"]), []).append(r)
    print("| tool | latency ms | wall s | x floor | client CPU s | photos/s | peak RSS MB | "
          "photos got / expected | notes |")
    print("|---|---|---|---|---|---|---|---|---|")
    for (tool, lat), runs in groups.items():
        runs.sort(key=lambda r: r["wall_s"] or 0)
        mid = runs[(len(runs) - 1) // 2]   # median run (lower middle for an even count)
        got = mid.get("ok", 0) + mid.get("bad_size", 0) + mid.get("same_content", 0)
        wall = statistics.median(r["wall_s"] or 0 for r in runs)
        notes = []
        if mid["rc"] != 0:
            notes.append(f"exit {mid['rc']}")
        if mid.get("bad_size"):
            notes.append(f"{mid['bad_size']} differ in size")
        if mid.get("same_content"):
            notes.append(f"{mid['same_content']} the same bytes as a saved photo, not saved again")
        if mid.get("dups"):
            notes.append(f"{mid['dups']} duplicate copies")
        if mid.get("out_of_scope"):
            notes.append(f"{mid['out_of_scope']} not in manifest")
        if mid.get("missing_by_ext"):
            notes.append("missing " + ", ".join(f"{v} {k}" for k, v in sorted(mid["missing_by_ext"].items())))
        elif mid.get("missing"):
            notes.append(f"{mid['missing']} missing")
        if len(runs) > 1:
            notes.append(f"median of {len(runs)}")
        rate = got / wall if wall else 0
        floor = latency_floor(manifest, lat) if manifest and lat > 0 else 0
        times_floor = f"{wall / floor:.2f}" if floor else "-"
        cpu = statistics.median(r.get("cpu_s") or 0 for r in runs)
        print(f"| {tool} | {lat:g} | {wall:.1f} | {times_floor} | {cpu:.1f} | {rate:.0f} | "
              f"{mid['rss_mb'] or 0:.1f} | {got} / {mid.get('expected', '?')} | {'; '.join(notes)} |")
    if manifest:
        for lat in sorted({lat for _, lat in groups if lat > 0}):
            print(f"\nLatency floor at {lat:g} ms: {latency_floor(manifest, lat):.1f} s "
                  "(every request once over 6 connections).")


if __name__ == "__main__":
    commands = {"free-port": free_port, "wait-url": wait_url, "settings-set": settings_set,
                "count-flat": count_flat, "site-summary": site_summary, "record": record, "table": table}
    if len(sys.argv) < 2 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]](*sys.argv[2:])
