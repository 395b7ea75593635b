"""The measure of the benchmarks: a program run under GNU time."""

import os
import subprocess
import time


def measure(argv, cwd, env=None, before=None):
    """Best processor time (ms), wall time (ms) and peak memory (MB) of
    three runs, `before` (when given) called ahead of each. The program is
    started by GNU time, which reports its peak: a child of this process
    would count this one's memory as its own."""
    best = (1e9, 1e9, 1e9)
    report = os.path.join(cwd, "time.out")
    for _ in range(3):
        if before:
            before()
        start = time.monotonic()
        child = subprocess.Popen(["/usr/bin/time", "-o", report, "-f", "%M", *argv], cwd=cwd,
                                 env=env, stdout=subprocess.DEVNULL)
        _, _, usage = os.wait4(child.pid, 0)
        wall = (time.monotonic() - start) * 1e3
        with open(report) as f:
            peak = float(f.read().split()[-1]) / 1024
        cpu = (usage.ru_utime + usage.ru_stime) * 1e3
        best = (min(best[0], cpu), min(best[1], wall), min(best[2], peak))
    return best
