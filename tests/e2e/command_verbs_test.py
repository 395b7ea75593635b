"""The installed monitor's command-line verbs --capture and --check on a
data folder without a display: baselines, results, generations, alerts,
stdout and exit statuses against a local page server and real folders; the
refusal while a monitor runs; a termination signal in the middle."""

import http.server
import os
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest

from orvis_e2e import DataFolder, install_recording_mailer, kill_if_running, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"

STEADY = "<html><body>いつも同じ</body></html>\r\n"


class Site(http.server.BaseHTTPRequestHandler):
    pages = {}
    requests = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        Site.requests.append(self.path)
        if self.path == "/slow.html":
            time.sleep(20)
        body = Site.pages.get(self.path)
        self.send_response(200 if body is not None else 404)
        body = (body if body is not None else "not here").encode("cp932")
        self.send_header("Content-Type", "text/html; charset=Shift_JIS")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def lines(stdout):
    return [l.split("\t") for l in stdout.splitlines()]


class CommandVerbs(unittest.TestCase):
    def setUp(self):
        Site.pages = {"/steady.html": STEADY, "/page.html": "<p>版 1</p>\r\n"}
        Site.requests = []
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Site)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.addCleanup(self.server.server_close)
        self.addCleanup(self.server.shutdown)
        self.data = d = DataFolder(STAGE, programs=("OrvisWatch", "urlcheck"))
        self.addCleanup(d.cleanup)
        install_recording_mailer(d)
        d.write("mail/list.txt", "watch@example.com,0\r\n")
        d.write("mail/Group-0.txt", "監視\r\n")
        self.folder = os.path.join(d.root, "watched")
        os.makedirs(self.folder)
        self.touch("a.txt", "a")
        # A program of our own name, not running at the capture.
        self.program = os.path.join(d.root, "orvis-e2e-sleeper")
        shutil.copy2("/bin/sleep", self.program)
        port = self.server.server_address[1]
        self.url = "http://127.0.0.1:%d" % port
        self.job(1, "URL", self.url + "/steady.html", "steady page")
        self.job(2, "URL", self.url + "/page.html", "changing page")
        self.job(3, "FILE", self.folder, "folder")
        self.job(4, "PROC", "orvis-e2e-sleeper", "program")
        self.job(5, "DRIVE", "/:1", "disk")

    def job(self, no, type_, uri, name):
        text = ("[COMMON]\r\nNO=%s\r\nURI=%s\r\nNAME=%s\r\nMAILGROUP=0\r\nTYPE=%s\r\n"
                % (no, uri, name, type_))
        self.data.write("info/%s.ini" % no, text)

    def touch(self, name, text):
        with open(os.path.join(self.folder, name), "w") as f:
            f.write(text)

    def key(self, no, key):
        for line in self.data.read_bytes("info/%s.ini" % no).decode("cp932").split("\r\n"):
            if line.startswith(key + "="):
                return line[len(key) + 1:]
        return None

    def verb(self, *args, code):
        r = self.data.run("OrvisWatch", *args)
        self.assertEqual(r.returncode, code, "%s: %s %s" % (args, r.stdout, r.stderr))
        return r

    def test_capture_then_checks_report_each_job_by_exit_status(self):
        d = self.data
        r = self.verb("--capture", code=0)
        self.assertEqual(lines(r.stdout), [
            ["1", "captured", "steady page"], ["2", "captured", "changing page"],
            ["3", "captured", "folder"], ["4", "captured", "program"], ["5", "captured", "disk"]])
        self.assertEqual(d.read_bytes("src/1.ini"), STEADY.encode("cp932"))
        self.assertIn(self.folder.encode() + b"/a.txt", d.read_bytes("src/3.ini"))
        self.assertNotIn(b"orvis-e2e-sleeper", d.read_bytes("src/4.ini"))
        for no in range(1, 6):
            self.assertEqual(self.key(no, "SOURCE"), "1")
            self.assertFalse(os.path.exists(d.file("src/%d.ini.1" % no)))
        self.assertFalse(os.path.exists(d.file("temp/srctemp.txt")))
        messages = d.messages()
        self.assertEqual(messages[0], "コマンド実行:--capture")
        self.assertEqual(messages[-1], "コマンド終了:終了コード=0")
        self.assertIn("起動成功", messages)

        r = self.verb("--check", code=0)
        self.assertEqual([l[1] for l in lines(r.stdout)], ["OK"] * 5)
        self.assertFalse(os.path.exists(d.file("mailer-record")))

        # Every kind of change at once: a new page, a new file, the program
        # started.
        Site.pages["/page.html"] = "<p>版 2</p>\r\n"
        self.touch("b.txt", "b")
        sleeper = subprocess.Popen([self.program, "60"])
        self.addCleanup(kill_if_running, sleeper)
        r = self.verb("--check", code=1)
        self.assertEqual(lines(r.stdout), [
            ["1", "OK", "steady page"], ["2", "changed", "changing page"],
            ["3", "changed", "folder"], ["4", "changed", "program"], ["5", "OK", "disk"]])
        self.assertEqual([self.key(no, "CHECK") for no in range(1, 6)], ["1", "0", "0", "0", "1"])
        self.assertEqual(d.read_bytes("src/2.ini.1"), "<p>版 1</p>\r\n".encode("cp932"))
        self.assertEqual(d.read_bytes("src/2.ini"), "<p>版 2</p>\r\n".encode("cp932"))
        self.assertEqual(len(os.listdir(d.file("mailer-record"))), 3)
        messages = d.messages()
        self.assertIn("orvis-e2e-sleeperが起動しました。", messages)
        self.assertNotIn("エラー検出", messages)  # a manual pass raises no alarm

        # Given jobs only, in blocks of rows: 1 and 3 are captured, 2 is not.
        before = d.read_bytes("src/2.ini")
        self.touch("c.txt", "c")
        r = self.verb("--capture", "3", "1", "3", code=0)
        self.assertEqual([l[0] for l in lines(r.stdout)], ["1", "3"])
        self.assertEqual(d.read_bytes("src/2.ini"), before)
        self.assertIn(b"/c.txt", d.read_bytes("src/3.ini"))

        # A page that is gone: four fetches, then the response error.
        del Site.pages["/page.html"]
        Site.requests.clear()
        r = self.verb("--check", "2", code=2)
        self.assertEqual(lines(r.stdout), [["2", "no response", "changing page"]])
        self.assertEqual(Site.requests.count("/page.html"), 4)
        r = self.verb("--capture", "2", code=1)
        self.assertEqual(lines(r.stdout), [["2", "no snapshot", "changing page"]])
        self.assertEqual(self.key(2, "SOURCE"), "0")
        # Without a baseline the pass refuses, as the button does.
        r = self.verb("--check", "1", "2", code=4)
        self.assertIn("job 2 has no baseline", r.stderr)
        self.assertIn("№2の比較元ソース取得を行ってください。->1", d.messages())

        r = self.verb("--check", "9", "x", code=4)
        self.assertIn("no such job: 9 x", r.stderr)
        self.assertEqual(r.stdout, "")
        r = self.verb("--check", "--all", code=4)
        self.assertIn("unexpected argument", r.stderr)

    def test_verbs_report_what_they_did_and_keep_the_log(self):
        d = self.data
        d.write("ORVIS.ini", "[COMMON]\r\nVALIDDAY=2\r\n")
        for day in ("20000101", "20000102", "20000103"):
            d.write("syslog/%s.txt" % day, "")
        self.verb("--capture", code=0)
        self.assertEqual(d.log_files()[:-1], ["20000103.txt"])
        # A selection holding a job without a baseline is refused whole.
        self.job(7, "DRIVE", "/:1", "new disk")
        r = self.verb("--check", "1", "7", code=4)
        self.assertEqual((r.stdout, self.key(1, "CHECK")), ("", None))
        # A reader gone before the first line ends the output, not the work.
        proc = subprocess.Popen([d.file("OrvisWatch"), "--check", "1"], cwd=d.root,
                                env=d.env(), stdout=subprocess.PIPE)
        proc.stdout.close()
        self.assertEqual((proc.wait(timeout=60), self.key(1, "CHECK")), (0, "1"))
        # A folder even root may not write (where chattr can): no capture.
        if subprocess.run(["chattr", "+i", d.file("info")]).returncode == 0:
            self.addCleanup(subprocess.run, ["chattr", "-i", d.file("info")])
            r = self.verb("--capture", "1", code=1)
            self.assertEqual(lines(r.stdout), [["1", "not taken", "steady page"]])
            self.assertIn("Access fail to inifile.->1", d.messages())
        # Reactivation takes no arguments: "--help" leaves the monitor be.
        shutil.copy2(os.path.join(STAGE, "Reactivation"), d.file("Reactivation"))
        monitor = d.start("OrvisWatch", "OrvisWatchService")
        self.addCleanup(kill_if_running, monitor)
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
        self.assertEqual(d.run("Reactivation", "--help").returncode, 2)
        self.assertIsNone(monitor.poll())

    def test_refused_while_a_monitor_runs_and_ended_by_a_signal(self):
        d = self.data
        self.verb("--capture", code=0)
        monitor = d.start("OrvisWatch", "OrvisWatchService")
        try:
            self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
            count = len(d.messages())
            r = self.verb("--check", code=3)
            self.assertIn("is running on this data folder", r.stderr)
            self.assertEqual(r.stdout, "")
            self.assertEqual(len(d.messages()), count)
            # Also when the caller's session keeps its locks elsewhere (the
            # service's lock is not where a login's is).
            elsewhere = os.path.join(d.root, "other-run")
            os.makedirs(elsewhere, mode=0o700)
            r = d.run("OrvisWatch", "--capture", env={"XDG_RUNTIME_DIR": elsewhere})
            self.assertEqual(r.returncode, 3, r.stderr)
            self.assertEqual(len(d.messages()), count)
        finally:
            self.assertEqual(stop(monitor), 0)

        # A termination signal while the fetcher waits on a slow page: the
        # pass ends at once, the job file is not written.
        self.job(6, "URL", self.url + "/slow.html", "slow page")
        self.data.write("src/6.ini", "old")
        with open(d.file("info/6.ini"), "ab") as f:
            f.write(b"SOURCE=1\r\nCHECK=1\r\n")
        proc = subprocess.Popen([d.file("OrvisWatch"), "--check", "6"], cwd=d.root, env=d.env(),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.addCleanup(kill_if_running, proc)
        self.assertTrue(d.wait_for("6->WORD:"))
        time.sleep(0.5)
        started = time.time()
        proc.send_signal(signal.SIGTERM)
        out, err = proc.communicate(timeout=10)
        self.assertLess(time.time() - started, 5)
        self.assertEqual(proc.returncode, 128 + signal.SIGTERM, err)
        self.assertEqual(out, "")
        self.assertEqual(d.messages()[-1], "コマンド中断:シグナル15")
        self.assertEqual(self.key(6, "CHECK"), "1")


if __name__ == "__main__":
    unittest.main(verbosity=2)
