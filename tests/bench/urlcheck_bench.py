"""How long urlcheck takes to fetch a large page and leave it in Shift-JIS,
and how much memory it holds at its peak, beside curl piped into iconv on
the same page from the same server: a documentation page of about 63 MB
(UTF-8, ASCII markup with Japanese text, the charset in a <meta>) and a
Japanese page of about 27 MB (the charset in the Content-Type header), both
served from memory on loopback. Goals: a peak of at most 1.5 times the page,
a time of at most 1.2 times curl and iconv. The installed program is run as
the monitor runs it; the figures are printed, not judged. Each run is the
best of three."""

import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

STAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/stage")


def documentation_page(size):
    """Mostly ASCII markup and code, a Japanese paragraph now and then."""
    parts = ['<!DOCTYPE html>\n<html><head><meta charset="utf-8">'
             '<title>Reference manual</title></head><body>\n']
    written, n = len(parts[0]), 0
    while written < size:
        block = ('<h2 id="s%d">%d. Configuration keys</h2>\n'
                 '<p>The key <code>option_%d</code> sets how often the check runs; '
                 'see <a href="#s%d">section %d</a> for the defaults.</p>\n'
                 '<pre>[COMMON]\nINTERVAL=%d\nUSEPROXY=0\n</pre>\n'
                 '<p>設定項目 %d は監視の間隔を決めます。既定値は六十秒です。</p>\n'
                 % (n, n, n, n + 1, n + 1, n % 600, n))
        parts.append(block)
        written += len(block.encode("utf-8"))
        n += 1
    parts.append("</body></html>\n")
    return "".join(parts).encode("utf-8")


def japanese_page(size):
    """Japanese text throughout, in short paragraphs."""
    sentences = ["本日の更新情報をお知らせします。", "東京都内の天気は晴れのち曇りです。",
                 "新しい製品の発表会は来週の月曜日に開かれます。", "詳しくは担当者までお問い合わせください。",
                 "検索結果の一覧を表示しています。"]
    parts = ["<html><head><title>お知らせ</title></head><body>\n"]
    written, n = len(parts[0].encode("utf-8")), 0
    while written < size:
        line = "<p>第%d項　%s%s</p>\n" % (n, sentences[n % 5], sentences[(n * 7) % 5])
        parts.append(line)
        written += len(line.encode("utf-8"))
        n += 1
    parts.append("</body></html>\n")
    return "".join(parts).encode("utf-8")


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


def best_of_three(run):
    best = None
    for _ in range(3):
        figures = run()
        best = figures if best is None else tuple(min(a, b) for a, b in zip(best, figures))
    return best


def peak_mb(report):
    with open(report) as f:
        return float(f.read().split()[-1]) / 1024


def urlcheck_run(program, url, data):
    """Wall time (s) and peak memory (MB) of one fetch."""
    report = os.path.join(data, "time.out")
    env = dict(os.environ, ORVIS_DATA=data)
    start = time.monotonic()
    subprocess.run(["/usr/bin/time", "-o", report, "-f", "%M", program, url,
                    os.path.join(data, "temp", "out.txt"), "0"], env=env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start, peak_mb(report)


def anchor_run(url, folder):
    """Wall time (s) of curl piped into iconv, and the peak (MB) of each."""
    reports = [os.path.join(folder, name) for name in ("curl.out", "iconv.out")]
    script = ('/usr/bin/time -o "$1" -f %M curl -s "$3" | '
              '/usr/bin/time -o "$2" -f %M iconv -f UTF-8 -t CP932//TRANSLIT > "$4"')
    start = time.monotonic()
    subprocess.run(["sh", "-c", script, "sh", *reports, url, os.path.join(folder, "anchor.txt")],
                   check=False)
    return (time.monotonic() - start, *(peak_mb(r) for r in reports))


def main():
    root = tempfile.mkdtemp(prefix="orvis-bench-")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        data = os.path.join(root, "data")
        os.makedirs(os.path.join(data, "temp"))
        program = os.path.join(root, "urlcheck")
        shutil.copy2(os.path.join(STAGE, "urlcheck"), program)
        base = "http://127.0.0.1:%d" % server.server_address[1]
        Pages.pages = {
            "/manual.html": (documentation_page(63 * 1000 * 1000), "text/html"),
            "/news.html": (japanese_page(27 * 1000 * 1000), "text/html; charset=utf-8"),
        }
        print("urlcheck of %s; best of three runs" % STAGE)
        for path, (body, kind) in Pages.pages.items():
            url = base + path
            ours = best_of_three(lambda: urlcheck_run(program, url, data))
            anchor = best_of_three(lambda: anchor_run(url, root))
            page_mb = len(body) / 1e6
            out = os.path.join(data, "temp", "out.txt")
            written = os.path.getsize(out) if os.path.exists(out) else 0
            print("%s: %d bytes (%s), %d bytes written, %d by iconv" % (
                path, len(body), kind, written, os.path.getsize(os.path.join(root, "anchor.txt"))))
            print("  %-26s %7.3f s %8.1f MB peak = %.2f x the page (goal: at most 1.5 x)"
                  % ("urlcheck", ours[0], ours[1], ours[1] * 1.048576 / page_mb))
            print("  %-26s %7.3f s %8.1f MB peak of curl, %.1f MB of iconv"
                  % ("curl -s | iconv", *anchor))
            print("  %-26s %7.2f x  (goal: at most 1.2 x)" % ("time against the anchor",
                                                             ours[0] / max(anchor[0], 1e-3)))
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
