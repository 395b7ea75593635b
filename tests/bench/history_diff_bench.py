"""How long `OrvisWatch --diff` takes, and how much memory it holds at its
peak, beside `diff -u` on the same two stored pages: of 1 MB and of 20 MB,
with about 1 % of the lines changed and the job's check passing over
scripts and comments (goal: within twice diff -u's figures). The installed
program is run as an operator runs it; the figures are printed, not judged.
Each run is the best of three; the start of OrvisWatch alone (--version) is
shown too, since the program carries its window toolkit's libraries."""

import os
import random
import shutil
import sys
import tempfile

from gnu_time import measure

STAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/stage")


def pages(size):
    """An older and a newer page of `size` bytes; one line in a hundred
    differs, and every script and comment differs too."""
    rng = random.Random(size)
    older, newer, n, written = [], [], 0, 0
    while written < size:
        line = ('<div class="item" id="n%d"><p>項目 %d の本文はいつも同じです。</p>'
                '<img src="/i/%d.gif"></div>' % (n, n, n))
        if n % 10 == 0:
            older.append("<script>var t=%d;</script><!-- %d -->" % (n, n))
            newer.append("<script>var t=%d;</script><!-- %d -->" % (n + 1, n + 1))
        older.append(line)
        newer.append(line if rng.random() >= 0.01 else "<p>変更 %d</p>" % rng.randrange(10 ** 9))
        written += len(line.encode("cp932")) + 2
        n += 1
    return ["\r\n".join(p).encode("cp932") + b"\r\n" for p in (older, newer)]


def main():
    root = tempfile.mkdtemp(prefix="orvis-bench-")
    try:
        data = os.path.join(root, "data")
        os.makedirs(os.path.join(data, "info"))
        os.makedirs(os.path.join(data, "src"))
        shutil.copy2(os.path.join(STAGE, "OrvisWatch"), data)
        with open(os.path.join(data, "ORVIS.ini"), "wb") as f:
            f.write(b"[COMMON]\r\nSOURCE_CHECK=YES\r\nSCRIPT_IGNORE=YES\r\nCOMMENT_IGNORE=YES\r\n")
        with open(os.path.join(data, "info", "1.ini"), "wb") as f:
            f.write(b"[COMMON]\r\nNO=1\r\nURI=http://x/\r\nNAME=bench\r\nTYPE=URL\r\n")
        program = os.path.join(data, "OrvisWatch")
        print("%-36s %10s %10s %10s; best of three runs" % ("", "processor", "wall", "peak memory"))
        start = measure([program, "--version"], data)
        print("  %-34s %7.1f ms %7.1f ms %7.1f MB" % ("OrvisWatch --version (start only)", *start))
        for megabytes in (1, 20):
            older, newer = pages(megabytes << 20)
            for name, bytes_ in (("src/1.ini.1", older), ("src/1.ini", newer)):
                with open(os.path.join(data, name), "wb") as f:
                    f.write(bytes_)
            ours = measure([program, "--diff", "1"], data)
            gnu = measure(["diff", "-u", "src/1.ini.1", "src/1.ini"], data)
            print("%d MB pages, %d and %d lines:" % (megabytes, older.count(b"\n"),
                                                     newer.count(b"\n")))
            for label, figures in (("OrvisWatch --diff 1", ours), ("diff -u", gnu)):
                print("  %-34s %7.1f ms %7.1f ms %7.1f MB" % (label, *figures))
            print("  %-34s %7.2f x  %7.2f x  %7.2f x (goal: at most 2 x)"
                  % ("--diff against diff -u", *(o / max(g, 1e-3) for o, g in zip(ours, gnu))))
            beyond = [o - s for o, s in zip(ours, start)]
            print("  %-34s %7.1f ms %7.1f ms %7.1f MB = %.2f x, %.2f x, %.2f x diff -u"
                  % ("--diff beyond its own start", *beyond,
                     *(b / max(g, 1e-3) for b, g in zip(beyond, gnu))))
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
