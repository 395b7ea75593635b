"""The data folder as a hostile machine hands it over: pipes in place of files, a monitor killed
during a fetch, another user holding a lock file where the monitor once kept its own."""

import http.server
import os
import pwd
import subprocess
import sys
import threading
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
OTHER_USER = "orvis-e2e-other"


def live_pids(program):  # a zombie has no executable any more
    def runs(pid):
        try:
            return os.readlink("/proc/%s/exe" % pid) == program
        except OSError:
            return False
    return [pid for pid in os.listdir("/proc") if pid.isdigit() and runs(pid)]


def wait_until(test, timeout):
    end = time.time() + timeout
    while not test() and time.time() < end:
        time.sleep(0.05)
    return test()


class Pages(http.server.BaseHTTPRequestHandler):
    """/slow.html answers once /fail.html is asked for, which answers 500 a second later."""
    release = threading.Event()
    requests = []

    def log_message(self, *args):
        pass

    def do_GET(self):
        Pages.requests.append(self.path)
        status, body = 200, b"<p>page</p>\r\n"
        if self.path == "/slow.html":
            Pages.release.wait(120)
            body = b"<p>the slow page of job 1</p>\r\n"
        elif self.path == "/fail.html":
            Pages.release.set()
            time.sleep(1.0)
            status, body = 500, b"broken"
        try:
            self.send_response(status)
            self.end_headers()
            self.wfile.write(body)
        except OSError:
            pass  # a fetcher killed meanwhile


class DataFolderFaults(unittest.TestCase):
    def setUp(self):
        Pages.release.clear()
        Pages.requests = []
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        for end in (self.server.server_close, self.server.shutdown, Pages.release.set):
            self.addCleanup(end)
        self.data = DataFolder(STAGE, programs=("OrvisWatch", "urlcheck"))
        self.addCleanup(self.data.cleanup)

    def url_job(self, no, page, baseline):
        self.data.write("info/%d.ini" % no, "[COMMON]\r\nNO=%d\r\nURI=http://127.0.0.1:%d/%s\r\n"
                        "NAME=job %d\r\nMAILGROUP=0\r\nTYPE=URL\r\nSOURCE=1\r\nCHECK=1\r\n"
                        % (no, self.server.server_address[1], page, no))
        if baseline:
            self.data.write("src/%d.ini" % no, baseline)

    def test_pipes_in_place_of_files_neither_hang_nor_silence(self):
        d = self.data
        today = time.strftime("%Y%m%d")
        for folder in ("syslog/urlcheck", "src"):
            os.makedirs(d.file(folder))
        os.mkfifo(d.file("syslog/urlcheck/%s.txt" % today))
        self.url_job(1, "page.html", None)
        os.mkfifo(d.file("src/1.ini"))
        # The baseline a pipe: the check goes on, the fetcher (its day log a pipe too) fetches,
        # and the log names the file.
        r = d.run("OrvisWatch", "--check", "1", timeout=60)
        self.assertEqual(Pages.requests, ["/page.html"])
        self.assertIn("通常のファイルではないため使いません:%s" % d.file("src/1.ini"), d.messages())
        self.assertIn("source file invalid.", d.messages())
        self.assertIn("(urlcheck),http://127.0.0.1", r.stderr)  # its lines, in UTF-8

        # Today's day file a pipe: the monitor runs, its lines reach the standard error in
        # UTF-8, and it ends on SIGTERM.
        os.remove(d.file("syslog/%s.txt" % today))
        os.mkfifo(d.file("syslog/%s.txt" % today))
        with open(d.file("stderr.txt"), "wb") as err:
            proc = subprocess.Popen([d.file("OrvisWatch"), "OrvisWatchService"], cwd=d.root,
                                    env=d.env(), stdout=subprocess.DEVNULL, stderr=err)
        self.addCleanup(kill_if_running, proc)
        read = lambda: d.read_bytes("stderr.txt").decode("utf-8")
        self.assertTrue(wait_until(lambda: "バックグラウンドへ移行しました。" in read(), 20), read())
        self.assertEqual(stop(proc), 0)
        self.assertIn("(OrvisWatch),終了", read())

    def test_a_killed_monitors_fetcher_goes_with_it(self):
        d = self.data
        d.write("ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=1\r\n")
        self.url_job(1, "slow.html", "<p>the slow page of job 1</p>\r\n")
        self.url_job(2, "fail.html", "<p>job 2</p>\r\n")
        monitor = d.start("OrvisWatch", "OrvisWatchService")
        self.addCleanup(kill_if_running, monitor)
        # The first automatic pass, a minute after the start, stalls on job 1.
        self.assertTrue(wait_until(lambda: "/slow.html" in Pages.requests, 100))
        self.assertEqual(len(live_pids(d.file("urlcheck"))), 1)
        monitor.kill()
        self.assertTrue(wait_until(lambda: not live_pids(d.file("urlcheck")), 1.0), "it outlived")

        # The next check of job 2, whose server answers 500 only after job 1's page has been
        # sent: no answer, and its baseline stays its own.
        r = d.run("OrvisWatch", "--check", "2", timeout=60)
        self.assertEqual(r.returncode, 2, r.stdout + r.stderr)
        self.assertIn("\r\nCHECK=R\r\n", d.read_bytes("info/2.ini").decode("cp932"))
        self.assertEqual(d.read_bytes("src/2.ini"), b"<p>job 2</p>\r\n")

    @unittest.skipUnless(os.geteuid() == 0, "needs root to act as another user")
    def test_another_users_lock_elsewhere_stops_nothing(self):
        d = self.data
        if subprocess.run(["id", OTHER_USER], capture_output=True).returncode:
            subprocess.run(["useradd", "-r", "-M", "-s", "/usr/sbin/nologin", OTHER_USER], check=True)
        other = pwd.getpwnam(OTHER_USER)
        for folder in (d.root, d.path):
            os.chmod(folder, 0o755)
        # Where the monitor kept its lock before: the session's runtime folder.
        runtime = os.path.join(d.root, "other-run")
        os.makedirs(runtime)
        os.chown(runtime, other.pw_uid, other.pw_gid)
        holder = subprocess.Popen(["flock", "-F", os.path.join(runtime, "OrvisWatch.lock"), "-c",
                                   "echo held; exec sleep 60"], user=other.pw_uid,
                                  stdout=subprocess.PIPE, text=True)
        self.addCleanup(holder.stdout.close)
        self.addCleanup(kill_if_running, holder)
        self.assertEqual(holder.stdout.readline(), "held\n")

        env = {"XDG_RUNTIME_DIR": runtime}
        monitor = d.start("OrvisWatch", "OrvisWatchService", env=env)
        self.addCleanup(kill_if_running, monitor)
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"), d.messages())
        lock = d.file("OrvisWatch.lock")
        self.assertEqual(os.stat(lock).st_mode & 0o777, 0o600)
        cat = subprocess.run(["cat", lock], user=other.pw_uid, stderr=subprocess.DEVNULL)
        self.assertNotEqual(cat.returncode, 0)  # not even to be opened by the other user
        with open(lock) as f:
            self.assertIn("pid=%d\nrole=monitor\n" % monitor.pid, f.read())
        self.assertEqual(stop(monitor), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
