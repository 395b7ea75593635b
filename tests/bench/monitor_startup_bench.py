"""Start-up time of the installed monitor to its first shown window, and its
idle resident memory. Goal: under 300 ms and under 60 MB.

The first show is the moment the window's first-show work writes its first
line ("Global,情報収集"); the log's own clock stamps it, the same wall clock
that the start is measured with here."""

import datetime
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from orvis_e2e import DataFolder, stop  # noqa: E402

STAGE = sys.argv[1] if len(sys.argv) > 1 else "build/stage"
RUNS = 5


def first_show_ms(d, started):
    for line in d.read_bytes("syslog/" + d.log_files()[0]).decode("cp932").split("\r\n"):
        if line.endswith(",Global,情報収集"):
            stamp = datetime.datetime.strptime(line[:23], "%Y/%m/%d,%H:%M:%S.%f")
            return (stamp.timestamp() - started) * 1000.0
    return None


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return None


def main():
    times, memory = [], []
    for run in range(RUNS):
        d = DataFolder(STAGE)
        try:
            for n in range(20):  # a small job list, as a real installation has
                d.write("info/%d.ini" % n, "[COMMON]\r\nNO=%d\r\nURI=/tmp\r\nNAME=job%d\r\nTYPE=FILE\r\n" % (n, n))
            started = time.time()
            proc = d.start("OrvisWatch")
            if not d.wait_for("Global,情報収集", timeout=20):
                print("the monitor did not show its window")
                stop(proc)
                return 1
            times.append(first_show_ms(d, started))
            time.sleep(2.0)  # idle
            memory.append(rss_mb(proc.pid))
            stop(proc)
        finally:
            d.cleanup()
    print("monitor start-up to first shown window: median %.0f ms (min %.0f, max %.0f) over %d runs; goal < 300 ms"
          % (statistics.median(times), min(times), max(times), RUNS))
    print("monitor idle resident memory: median %.1f MB (min %.1f, max %.1f); goal < 60 MB"
          % (statistics.median(memory), min(memory), max(memory)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
