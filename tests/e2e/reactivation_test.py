"""The daily restart of the installed monitor, without a display: the restart
program replacing a running monitor, a service start ending at its set
minute, and the systemd unit that starts it again."""

import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

from orvis_e2e import DataFolder, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def running(program):
    """Pids of the live processes whose executable is `program`."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if os.readlink("/proc/%s/exe" % entry) != program:
                continue
            with open("/proc/%s/stat" % entry) as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
        except OSError:
            continue
        if state not in ("Z", "X"):
            pids.append(int(entry))
    return pids


def wait_until(test, timeout):
    end = time.time() + timeout
    while time.time() < end:
        if test():
            return True
        time.sleep(0.05)
    return False


class Reactivation(unittest.TestCase):
    def setUp(self):
        self.data = DataFolder(STAGE, programs=("OrvisWatch", "Reactivation"))
        self.addCleanup(self.data.cleanup)

    def test_restart_program_replaces_the_running_monitor(self):
        d = self.data
        program = d.file("OrvisWatch")
        old = d.start("OrvisWatch", "OrvisWatchService")
        self.addCleanup(lambda: old.poll() is None and old.kill())
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))

        restart = subprocess.run([d.file("Reactivation")], cwd=d.path, env=d.env(),
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=90)
        self.assertEqual(restart.returncode, 0, restart.stderr)
        self.assertEqual(old.wait(timeout=5), 0)  # ended in order
        new = running(program)
        self.assertEqual(len(new), 1)
        self.assertNotEqual(new[0], old.pid)

        def started_again():
            m = d.messages()
            return m.count("バックグラウンドへ移行しました。") == 2
        try:
            self.assertTrue(wait_until(started_again, 15), d.messages())
            time.sleep(0.3)
            m = d.messages()
            second = m.index("起動パラメータ:OrvisWatch")
            # The old monitor's stop sequence, then the new start-up.
            self.assertEqual(m[second - 2:second],
                             ["終了", "************************* OrvisWatch起動 *************************"])
            self.assertIn("Shutdown要求取得", m[:second])
            self.assertIn("自動チェックモードに移行しました。", m[second:])
            self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=2\r\n")
            lines = d.messages("syslog/reactivation")
            self.assertEqual(lines[0], "Reactivation開始:" + d.path + "/")
            self.assertEqual(lines[1:], [
                "OrvisWatch(pid=%d)に終了を要求しました。" % old.pid,
                "OrvisWatch(pid=%d)が終了しました。" % old.pid,
                "OrvisWatch(pid=%d)を起動しました。" % new[0],
                "Reactivation終了"])
            self.assertEqual({tag for tag, _ in d.log("syslog/reactivation")}, {"Reactivation"})
        finally:
            for pid in running(program):
                os.kill(pid, signal.SIGTERM)
        self.assertTrue(wait_until(lambda: not running(program), 10))
        self.assertEqual(d.messages()[-1], "終了")

    @unittest.skipUnless(os.path.exists(FAKETIME), "libfaketime is not installed")
    def test_service_start_ends_at_its_minute_with_status_zero(self):
        d = self.data
        d.write("ORVIS.ini", "[COMMON]\r\nREACTIVATION=00:00\r\n")
        # The monitor's clock a few seconds before midnight: its start day
        # ends, and the first tick of the set minute falls on the next day.
        now = time.time()
        target = (int(now) // 86400 + 1) * 86400 - 6
        env = {"TZ": "UTC", "LD_PRELOAD": FAKETIME, "FAKETIME": "%+d" % (target - int(now)),
               "FAKETIME_DONT_FAKE_MONOTONIC": "1"}
        proc = d.start("OrvisWatch", "OrvisWatchService", env=env)
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        self.assertEqual(proc.wait(timeout=40), 0)
        m = d.messages()
        self.assertEqual(m[-1], "* ReActivate wait for Service Reactivate*")
        self.assertNotIn("終了", m)
        self.assertEqual(len(d.log_files()), 2)  # the start day's file and the next


class ServiceUnit(unittest.TestCase):
    def test_installed_unit_starts_the_service_again(self):
        unit = os.path.join(STAGE, "orviswatch.service")
        with open(unit) as f:
            fields = dict(line.split("=", 1) for line in f.read().splitlines()
                          if "=" in line and not line.startswith("#"))
        folder = os.path.abspath(STAGE)
        self.assertEqual(fields["WorkingDirectory"], folder)
        self.assertEqual(fields["ExecStart"], '"%s/OrvisWatch" OrvisWatchService' % folder)
        self.assertEqual(fields["Restart"], "always")
        self.assertEqual(fields["WantedBy"], "multi-user.target")
        verify = shutil.which("systemd-analyze")
        if verify:
            out = subprocess.run([verify, "verify", unit], stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT, text=True, timeout=60)
            self.assertEqual(out.returncode, 0, out.stdout)
            self.assertNotIn("orviswatch.service:", out.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
