"""A FILE job's check on a tree of 200,000 files, about 1 % of them touched,
added or deleted: its peak memory (goal: at most 3 x the bytes of the two
listings) and time, beside `find` printing the same lines, each the best of
three runs of the installed program (--capture, then --check on the same
baseline each time); printed, never judged. Other sizes may follow the stage."""

import os
import shutil
import sys
import time

from gnu_time import measure

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from orvis_e2e import DataFolder  # noqa: E402

STAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/stage")
FILES_PER_FOLDER = 1000
FIND_FORMAT = "%TY/%Tm/%Td %TH:%TM:%TS@%p\\n"


def path_of(tree, n, prefix="f"):
    return os.path.join(tree, "d%04d" % (n // FILES_PER_FOLDER), "%s%07d.txt" % (prefix, n))


def grow_tree(tree, files):
    """`files` empty files, a thousand to a folder."""
    for n in range(files):
        if n % FILES_PER_FOLDER == 0:
            os.makedirs(os.path.dirname(path_of(tree, n)))
        open(path_of(tree, n), "x").close()


def change_tree(tree, files):
    """Every hundredth file in turn touched, deleted, or given a new file
    beside it; the counts of each."""
    changes = (lambda n: os.utime(path_of(tree, n), (946684800, 946684800)),  # 2000/01/01
               lambda n: os.remove(path_of(tree, n)),
               lambda n: open(path_of(tree, n, "new"), "x").close())
    counts = [0, 0, 0]
    for n in range(0, files, 100):
        changes[n // 100 % 3](n)
        counts[n // 100 % 3] += 1
    return counts


def row(label, figures):
    print("  %-40s %8.0f ms %8.0f ms %8.1f MB" % (label, *figures))


def one_tree(files):
    d = DataFolder(STAGE)
    try:
        tree, kept = os.path.join(d.root, "tree"), os.path.join(d.root, "baseline")
        baseline = d.file("src/1.ini")
        d.write("ORVIS.ini", "[COMMON]\r\n")
        d.write("info/1.ini", "[COMMON]\r\nNO=1\r\nURI=%s\r\nNAME=フォルダ\r\nTYPE=FILE\r\n"
                "CHKSUBFOLDER=1\r\n" % tree)
        start = time.monotonic()
        grow_tree(tree, files)
        grown = time.monotonic() - start
        program = [d.program("OrvisWatch")]
        capture = measure(program + ["--capture", "1"], d.path, d.env())
        shutil.copyfile(baseline, kept)
        counts = change_tree(tree, files)
        # Each check is given the same baseline: one that finds a change keeps its snapshot.
        check = measure(program + ["--check", "1"], d.path, d.env(),
                        lambda: shutil.copyfile(kept, baseline))
        sizes = (os.path.getsize(kept), os.path.getsize(baseline))
        anchor = measure(["find", tree, "-printf", FIND_FORMAT], d.path)
        print("%d files (tree grown in %.0f s), %d touched, %d deleted, %d added; listings of %d"
              " and %d bytes, %.1f MB in all:" % (files, grown, *counts, *sizes, sum(sizes) / 2 ** 20))
        print("  %-40s %11s %11s %11s; best of three" % ("", "processor", "wall", "peak memory"))
        row("OrvisWatch --capture 1 (listing)", capture)
        row("OrvisWatch --check 1 (listing, compare)", check)
        row("find -printf (the same lines)", anchor)
        print("  %-40s %8.2f x (goal: at most 3 x)"
              % ("check peak / bytes of both listings", check[2] * 2 ** 20 / sum(sizes)))
        for label, figures in (("capture", capture), ("check", check)):
            print("  %-40s %8.2f x  %8.2f x" % (label + " / find (processor, wall)",
                                               figures[0] / max(anchor[0], 1e-3),
                                               figures[1] / max(anchor[1], 1e-3)))
        sys.stdout.flush()
    finally:
        d.cleanup()


if __name__ == "__main__":
    for count in [int(n) for n in sys.argv[2:]] or [200_000]:
        one_tree(count)
