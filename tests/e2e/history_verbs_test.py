"""--history and --diff of the installed monitor on the demo's data: the
demo's jobs of all four types, their baselines captured by --capture, twenty
generations each, and the verbs run while a monitor runs on the folder
(they only read: no lock, no log line)."""

import os
import socket
import subprocess
import sys
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running, stop

STAGE = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage")
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DEMO = os.path.join(ROOT, "scripts", "demo", "demo.py")
PYTHON = "/usr/bin/python3"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def older_version(job, base, k):
    """Generation k of a job, made from its captured baseline."""
    if job == "1":  # the changing page, k changes ago
        text = base.decode("cp932").replace("まだ変わっていません。", "%d 回目の更新" % (20 - k))
        return text.encode("cp932")
    if job == "4":  # the folder: the first file written earlier
        lines = base.split(b"\r\n")
        lines[0] = b"2020/01/%02d 10:00:00" % k + lines[0][19:]
        return b"\r\n".join(lines)
    if job == "5":  # the program ran in the odd generations
        return base + (b"%06d 000001 orvis-demo-worker\r\n" % (900000 + k) if k % 2 else b"")
    return b"%d\r\n" % (int(base) + 1024 * k)  # the disk had more room


class HistoryVerbs(unittest.TestCase):
    def test_every_type_with_twenty_generations_beside_a_monitor(self):
        d = DataFolder(STAGE, programs=("OrvisWatch", "urlcheck"))
        self.addCleanup(d.cleanup)
        port = free_port()
        subprocess.run([PYTHON, DEMO, d.path, "--seed"], check=True,
                       env=dict(os.environ, ORVIS_DEMO_WEB_PORT=str(port)))
        web = subprocess.Popen([PYTHON, "-m", "http.server", str(port), "--bind", "127.0.0.1",
                                "--directory", d.file("site")],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(kill_if_running, web)
        time.sleep(1)
        self.assertEqual(d.run("OrvisWatch", "--capture").returncode, 0)
        now = time.time()
        for job in "1456":
            base = d.read_bytes("src/%s.ini" % job)
            if job == "5":  # the program not running now, whatever other tests run
                base = b"".join(l for l in base.splitlines(True) if b"orvis-demo-worker" not in l)
                with open(d.file("src/5.ini"), "wb") as f:
                    f.write(base)
            for k in range(1, 21):
                path = d.file("src/%s.ini.%d" % (job, k))
                with open(path, "wb") as f:
                    f.write(older_version(job, base, k))
                os.utime(path, (now - 3600 * k, now - 3600 * k))

        monitor = d.start("OrvisWatch", "OrvisWatchService")
        self.addCleanup(kill_if_running, monitor)
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
        self.assertEqual(d.run("OrvisWatch", "--check").returncode, 3)
        count = len(d.messages())

        def verb(code, *args):
            r = d.run("OrvisWatch", *args)
            self.assertEqual(r.returncode, code, (args, r.stdout, r.stderr))
            return r.stdout

        for job in "1456":
            entries = [l.split("\t") for l in verb(0, "--history", job).splitlines()]
            self.assertEqual([e[0] for e in entries], ["baseline"] + [str(k) for k in range(1, 21)])
            self.assertEqual([e[1] for e in entries], sorted((e[1] for e in entries), reverse=True))
            self.assertEqual(int(entries[20][2]), os.path.getsize(d.file("src/%s.ini.20" % job)))

        page = verb(1, "--diff", "1")
        self.assertIn("\n-<p>19 回目の更新</p>\n+<p>まだ変わっていません。</p>\n", page)
        self.assertIn("first difference at line 6", page)
        self.assertIn("\n ⟦<!-- ", page)  # the comment is passed over
        self.assertIn("--- 1\t", page)
        old = verb(1, "--diff", "1", "20", "19", "--changes-only")
        self.assertIn("\n-<p>0 回目の更新</p>\n+<p>1 回目の更新</p>\n", old)
        self.assertEqual(verb(0, "--diff", "1", "7", "7"),
                         "comparison (the standard rules of ORVIS.ini): no difference as far as "
                         "7 goes\npassed over: script, comment\n")
        self.assertRegex(verb(1, "--diff", "4"), r"\n\[更新\]\[2020/01/01 10:00:00\]->\[[0-9/: ]{19}\] ")
        self.assertIn("\n[終了] 900001 000001 orvis-demo-worker\norvis-demo-workerが終了しました。\n",
                      verb(1, "--diff", "5"))
        free = int(d.read_bytes("src/6.ini"))
        self.assertIn("free space: %d MB -> %d MB (threshold 1024 MB)" % (free + 20480, free),
                      verb(1, "--diff", "6", "20"))
        verb(3, "--diff", "6", "21")
        verb(2, "--diff", "2")  # the steady page has its baseline alone
        verb(2, "--diff", "7")

        # Nothing the verbs did reached the log.
        self.assertEqual(len(d.messages()), count)
        self.assertEqual(stop(monitor), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
