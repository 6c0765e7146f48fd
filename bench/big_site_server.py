#!/usr/bin/python3
"""A big site made on the fly, for big_site.sh: no files on disk, any number of pages.

  big_site_server.py serve --pages N --port P     serve it on 127.0.0.1 until killed
  big_site_server.py check --pages N DIR          -> one JSON line: photos expected, saved,
                                                     missing (exit 1 when any is missing)

Page N (/site/N.html, from 0) links to pages 2N+1, 2N+2 and N+1 that exist, so every page
is reachable from page 0 however the scanner orders them; every even page shows one photo
(/site/N.jpg): a tiny JPEG whose comment holds N, so every photo has bytes of its own.
"""
import argparse, io, json, os, re, sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def make_jpeg():
    from PIL import Image
    out = io.BytesIO()
    Image.new("RGB", (8, 8), (200, 120, 40)).save(out, "JPEG", quality=80)
    return out.getvalue()


def has_photo(n):
    return n % 2 == 0


def page_html(n, pages):
    links = "".join(f'<a href="{m}.html">page {m}</a>\n'
                    for m in (2 * n + 1, 2 * n + 2, n + 1) if m < pages)
    photo = f'<img src="{n}.jpg" alt="photo {n}">\n' if has_photo(n) else ""
    return f"<html><head><title>Page {n}</title></head><body>\n{links}{photo}</body></html>\n".encode()


def photo_bytes(jpeg, n):
    comment = f"photo {n}".encode()
    segment = b"\xff\xfe" + (len(comment) + 2).to_bytes(2, "big") + comment
    return jpeg[:2] + segment + jpeg[2:]


PATH = re.compile(r"^/site/(\d{1,12})\.(html|jpg)$")


def serve(pages, port):
    jpeg = make_jpeg()

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"  # kept-alive connections, as a real server keeps them
        disable_nagle_algorithm = True  # headers and body leave as two writes

        def do_GET(self):
            match = PATH.match(self.path)
            n = int(match.group(1)) if match else -1
            if n < 0 or n >= pages or (match.group(2) == "jpg" and not has_photo(n)):
                self.answer(404, "text/plain", b"not found\n")
            elif match.group(2) == "html":
                self.answer(200, "text/html", page_html(n, pages))
            else:
                self.answer(200, "image/jpeg", photo_bytes(jpeg, n))

        def answer(self, status, kind, body):
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    ThreadingHTTPServer.daemon_threads = True
    ThreadingHTTPServer.request_queue_size = 64
    ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()


def check(pages, folder):
    """Photos are saved under their download names: N.jpg, small numbers padded to two digits."""
    saved = set()
    for name in os.listdir(folder):
        stem, ext = os.path.splitext(name)
        if ext.lower() == ".jpg" and stem.isdigit():
            saved.add(int(stem))
    expected = {n for n in range(pages) if has_photo(n)}
    missing = sorted(expected - saved)
    print(json.dumps({"expected": len(expected), "saved": len(saved & expected),
                      "missing": len(missing), "missing_sample": missing[:5]}))
    return 1 if missing else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["serve", "check"])
    parser.add_argument("--pages", type=int, required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("folder", nargs="?")
    args = parser.parse_intermixed_args()
    if args.command == "serve":
        serve(args.pages, args.port)
    else:
        sys.exit(check(args.pages, args.folder))


if __name__ == "__main__":
    main()
