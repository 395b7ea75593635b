"""How much memory a FILE job's check holds at its peak, and how long it
takes, on a folder tree of 200,000 files with about 1 % of them changed
(touched, added, deleted), beside `find` printing the same lines (goal: a
peak of at most three times the bytes of the two listings; the listing
itself as fast as find). The installed program is run as an operator runs
it: its baseline captured by --capture, then `--check 1`, each check given
the same baseline again. The figures are printed, not judged; each is the
best of three runs.

Arguments: the stage folder, then other tree sizes to run instead (a
million files takes some minutes here, most of them growing and removing
the tree, so it is not run under ctest)."""

import os
import shutil
import sys
import tempfile
import time

from gnu_time import measure

STAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/stage")
FILES_PER_FOLDER = 1000
FIND_FORMAT = "%TY/%Tm/%Td %TH:%TM:%TS@%p\\n"


def empty_file(path):
    os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))


def grow_tree(tree, files):
    """`files` empty files, a thousand to a folder."""
    for n in range(files):
        folder = os.path.join(tree, "d%04d" % (n // FILES_PER_FOLDER))
        if n % FILES_PER_FOLDER == 0:
            os.makedirs(folder)
        empty_file(os.path.join(folder, "f%07d.txt" % n))


def change_tree(tree, files):
    """About 1 % of the files: a third touched, a third deleted, as many
    added beside them. The counts of each."""
    touched = deleted = added = 0
    for n in range(0, files, 100):
        folder = os.path.join(tree, "d%04d" % (n // FILES_PER_FOLDER))
        name = os.path.join(folder, "f%07d.txt" % n)
        kind = (n // 100) % 3
        if kind == 0:
            os.utime(name, (946684800, 946684800))  # 2000/01/01
            touched += 1
        elif kind == 1:
            os.remove(name)
            deleted += 1
        else:
            empty_file(os.path.join(folder, "new%07d.txt" % n))
            added += 1
    return touched, deleted, added


def job_files(data, tree):
    os.makedirs(os.path.join(data, "info"))
    with open(os.path.join(data, "ORVIS.ini"), "wb") as f:
        f.write(b"[COMMON]\r\n")
    job = "[COMMON]\r\nNO=1\r\nURI=%s\r\nNAME=フォルダ\r\nTYPE=FILE\r\nCHKSUBFOLDER=1\r\n" % tree
    with open(os.path.join(data, "info", "1.ini"), "wb") as f:
        f.write(job.encode("cp932"))


def environment(root):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ORVIS_DATA"):
        env.pop(name, None)
    env["XDG_RUNTIME_DIR"] = os.path.join(root, "run")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    return env


def row(label, figures):
    print("  %-40s %8.0f ms %8.0f ms %8.1f MB" % (label, *figures))


def one_tree(files):
    root = tempfile.mkdtemp(prefix="orvis-bench-")
    try:
        data, tree = os.path.join(root, "data"), os.path.join(root, "tree")
        os.makedirs(data)
        shutil.copy2(os.path.join(STAGE, "OrvisWatch"), data)
        program = os.path.join(data, "OrvisWatch")
        job_files(data, tree)
        env = environment(root)
        start = time.monotonic()
        grow_tree(tree, files)
        grown = time.monotonic() - start

        baseline = os.path.join(data, "src", "1.ini")
        kept = os.path.join(root, "baseline")
        capture = measure([program, "--capture", "1"], data, env)
        shutil.copyfile(baseline, kept)
        counts = change_tree(tree, files)

        def same_baseline():
            shutil.copyfile(kept, baseline)

        check = measure([program, "--check", "1"], data, env, same_baseline)
        # A check that found a change keeps the snapshot as the baseline.
        sizes = (os.path.getsize(kept), os.path.getsize(baseline))
        anchor = measure(["find", tree, "-printf", FIND_FORMAT], data)

        print("%d files (tree grown in %.0f s), %d touched, %d deleted, %d added:"
              % (files, grown, *counts))
        print("  listings: baseline %d bytes, snapshot %d bytes, both %.1f MB"
              % (sizes[0], sizes[1], sum(sizes) / 2 ** 20))
        print("  %-40s %11s %11s %11s" % ("", "processor", "wall", "peak memory"))
        row("OrvisWatch --capture 1 (listing)", capture)
        row("OrvisWatch --check 1 (listing, compare)", check)
        row("find -printf (the same lines)", anchor)
        print("  %-40s %8.2f x (goal: at most 3 x)"
              % ("check peak / bytes of both listings", check[2] * 2 ** 20 / sum(sizes)))
        print("  %-40s %8.2f x  %8.2f x"
              % ("capture / find (processor, wall)", capture[0] / max(anchor[0], 1e-3),
                 capture[1] / max(anchor[1], 1e-3)))
        print("  %-40s %8.2f x  %8.2f x"
              % ("check / find (processor, wall)", check[0] / max(anchor[0], 1e-3),
                 check[1] / max(anchor[1], 1e-3)))
        sys.stdout.flush()
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    print("Best of three runs each.")
    for files in [int(n) for n in sys.argv[2:]] or [200_000]:
        one_tree(files)


if __name__ == "__main__":
    main()
