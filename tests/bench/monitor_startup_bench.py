"""Start-up time of the installed monitor to its first shown window, and its
idle resident memory. Goal: under 300 ms and under 60 MB. Then the load of
10,000 jobs, beside none: "Global,情報収集" (the first show) starts it and
the tray's "SetIcon()Icon=0" follows the list shown. Goal: under 250 ms.

The log's own clock stamps each line, the same wall clock that the start is
measured with here."""

import datetime
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from orvis_e2e import DataFolder, stop  # noqa: E402

STAGE = sys.argv[1] if len(sys.argv) > 1 else "build/stage"
RUNS = 5
MARKERS = ("Global,情報収集", "SetIcon()Icon=0")


def job_text(n):
    """A URL job with every key a job file holds."""
    flags = "".join("%s=0\r\n" % k for k in ("USEPROXY USERMAILHTML MAILGROUP CHKSCRIPT CHKCOMMENT "
                                            "CHKREF CHKSRC CHKALT CHKHEAD CHKWORD CHKSUBFOLDER").split())
    return ("[COMMON]\r\nNO=%d\r\nURI=http://example.com/%d\r\nNAME=監視%d\r\n%sUSEUSERMAIL=1\r\n"
            "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\nWORD=\r\nTYPE=URL\r\nSOURCE=1\r\nCHECK=%d\r\n"
            % (n, n, n, flags, n % 2))


def stamps(d, started):
    """ms after the start of the first line ending with each marker."""
    found = {}
    for line in d.read_bytes("syslog/" + d.log_files()[0]).decode("cp932").split("\r\n"):
        for marker in MARKERS:
            if marker not in found and line.endswith("," + marker):
                stamp = datetime.datetime.strptime(line[:23], "%Y/%m/%d,%H:%M:%S.%f")
                found[marker] = (stamp.timestamp() - started) * 1000.0
    return found


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return None


def one_start(jobs):
    """The stamps of one start with `jobs` jobs and its idle memory."""
    d = DataFolder(STAGE)
    try:
        for n in range(jobs):
            d.write("info/%d.ini" % n, job_text(n))
        started = time.time()
        proc = d.start("OrvisWatch", env={"QT_QPA_PLATFORM": "offscreen"})
        end, found = time.time() + 60, {}
        while len(found) < len(MARKERS) and time.time() < end:
            time.sleep(0.05)
            try:
                found = stamps(d, started)
            except (UnicodeDecodeError, ValueError, IndexError):
                pass  # a line being written
        time.sleep(2.0)  # idle
        memory = rss_mb(proc.pid)
        stop(proc)
        return (found, memory) if len(found) == len(MARKERS) else (None, None)
    finally:
        d.cleanup()


def summary(values):
    return "median %.0f ms (min %.0f, max %.0f)" % (statistics.median(values), min(values),
                                                      max(values))


def main():
    runs = {jobs: [one_start(jobs) for _ in range(RUNS)] for jobs in (0, 20, 10000)}
    if any(found is None for starts in runs.values() for found, _ in starts):
        print("the monitor did not show its window and list")
        return 1

    def load(jobs):
        return [found[MARKERS[1]] - found[MARKERS[0]] for found, _ in runs[jobs]]

    first = [found[MARKERS[0]] for found, _ in runs[20]]
    memory = [m for _, m in runs[20]]
    print("monitor start-up to first shown window, 20 jobs: %s over %d runs; goal < 300 ms"
          % (summary(first), RUNS))
    print("monitor idle resident memory, 20 jobs: median %.1f MB (min %.1f, max %.1f); goal < 60 MB"
          % (statistics.median(memory), min(memory), max(memory)))
    print("list load (job files read, grid filled), 10000 jobs: %s; with no job: %s; goal < 250 ms"
          % (summary(load(10000)), summary(load(0))))
    return 0


if __name__ == "__main__":
    sys.exit(main())
