"""urlcheck's time and peak memory to fetch a large page and leave it in
Shift-JIS, beside curl piped into iconv on the same page from the same
loopback server: a manual of 63 MB (UTF-8 named in a <meta>) and a Japanese
page of 27 MB (UTF-8 named in the header). Goals: a peak of at most 1.5 x
the page, a time of at most 1.2 x the anchor's; printed, never judged."""

import http.server
import os
import sys
import threading

from gnu_time import measure

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from orvis_e2e import DataFolder  # noqa: E402

STAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/stage")


def page(head, block, size):
    """`head`, then `block` % n for n = 0, 1, ... up to `size` bytes, in UTF-8."""
    parts, written, n = [head], len(head.encode("utf-8")), 0
    while written < size:
        parts.append(block % ((n,) * block.count("%d")))
        written += len(parts[-1].encode("utf-8"))
        n += 1
    return "".join(parts).encode("utf-8")


# Mostly ASCII markup and code with a Japanese paragraph, and Japanese throughout.
MANUAL = ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>Manual</title></head><body>\n',
          '<h2 id="s%d">%d. Keys</h2>\n<p>The key <code>option_%d</code> sets how often the check '
          'runs.</p>\n<pre>[COMMON]\nINTERVAL=%d\n</pre>\n<p>設定項目 %d は監視の間隔を決めます。</p>\n')
NEWS = ("<html><head><title>お知らせ</title></head><body>\n",
        "<p>第%d項　本日の更新情報をお知らせします。東京都内の天気は晴れのち曇りです。</p>\n")


class Pages(http.server.BaseHTTPRequestHandler):
    pages = {}  # path: (bytes, Content-Type)

    def do_GET(self):
        body, kind = self.pages.get(self.path, (b"not found", "text/plain"))
        self.send_response(200 if self.path in self.pages else 404)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    d = DataFolder(STAGE, programs=("urlcheck",))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        Pages.pages = {"/manual.html": (page(*MANUAL, 63 * 1000 * 1000), "text/html"),
                       "/news.html": (page(*NEWS, 27 * 1000 * 1000), "text/html; charset=utf-8")}
        os.makedirs(d.file("temp"))
        out, anchor_out = d.file("temp/out.txt"), d.file("anchor.txt")
        print("urlcheck of %s; best of three runs; %11s %11s %11s"
              % (STAGE, "processor", "wall", "peak memory"))
        for path, (body, kind) in Pages.pages.items():
            url = "http://127.0.0.1:%d%s" % (server.server_address[1], path)
            ours = measure([d.program("urlcheck"), url, out, "0"], d.path, d.env())
            # The pipeline's peak is that of its larger part.
            anchor = measure(["sh", "-c", 'curl -s "$1" | iconv -f UTF-8 -t CP932//TRANSLIT > "$2"',
                              "sh", url, anchor_out], d.path)
            print("%s: %d bytes (%s), %d bytes written, %d by iconv" % (
                path, len(body), kind, os.path.getsize(out) if os.path.exists(out) else 0,
                os.path.getsize(anchor_out)))
            for label, figures in (("urlcheck", ours), ("curl -s | iconv", anchor)):
                print("  %-24s %8.0f ms %8.0f ms %8.1f MB = %.2f x the page"
                      % (label, *figures, figures[2] * 2 ** 20 / len(body)))
            print("  %-24s %8.2f x (goal: at most 1.2 x); peak goal: at most 1.5 x the page"
                  % ("wall time / anchor's", ours[1] / max(anchor[1], 1e-3)))
    finally:
        server.shutdown()
        d.cleanup()


if __name__ == "__main__":
    main()
