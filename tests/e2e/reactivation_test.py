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

from orvis_e2e import DataFolder

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def preload(program, library):
    """LD_PRELOAD for `library`; AddressSanitizer's runtime must come first
    when the program is a sanitizer build."""
    linked = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    asan = [l.split("=>")[1].split()[0] for l in linked.splitlines() if "libasan" in l and "=>" in l]
    return ":".join(asan + [library])


def running(program):
    """Pids of the live (not zombie) processes whose executable is `program`."""
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as f:
                live = f.read().rsplit(")", 1)[1].split()[0] not in "ZX"
            if live and os.readlink("/proc/%s/exe" % pid) == program:
                pids.append(int(pid))
        except OSError:
            pass
    return pids


def wait_until(test, timeout=15.0):
    end = time.time() + timeout
    while not test() and time.time() < end:
        time.sleep(0.05)
    return test()


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
                                 capture_output=True, timeout=90)
        self.addCleanup(lambda: [os.kill(pid, signal.SIGKILL) for pid in running(program)])
        self.assertEqual(restart.returncode, 0, restart.stderr)
        self.assertEqual(old.wait(timeout=5), 0)  # ended in order
        new = running(program)
        self.assertEqual(len(new), 1)
        self.assertNotEqual(new[0], old.pid)
        self.assertTrue(wait_until(
            lambda: d.messages().count("バックグラウンドへ移行しました。") == 2), d.messages())

        # The old monitor's stop sequence, then the new one's start-up in
        # automatic mode, in the background again.
        m = d.messages()
        second = m.index("起動パラメータ:OrvisWatch")
        self.assertIn("Shutdown要求取得", m[:second])
        self.assertEqual(m[second - 2], "終了")
        self.assertIn("自動チェックモードに移行しました。", m[second:])
        self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=2\r\n")
        self.assertEqual(d.log("syslog/reactivation"), [("Reactivation", line) for line in [
            "Reactivation開始:" + d.path + "/",
            "OrvisWatch(pid=%d)に終了を要求しました。" % old.pid,
            "OrvisWatch(pid=%d)が終了しました。" % old.pid,
            "OrvisWatch(pid=%d)を起動しました。" % new[0],
            "Reactivation終了"]])
        os.kill(new[0], signal.SIGTERM)
        self.assertTrue(wait_until(lambda: not running(program)))
        self.assertEqual(d.messages()[-1], "終了")

    @unittest.skipUnless(os.path.exists(FAKETIME), "libfaketime is not installed")
    def test_service_start_ends_at_its_minute_with_status_zero(self):
        d = self.data
        d.write("ORVIS.ini", "[COMMON]\r\nREACTIVATION=00:00\r\n")
        # The monitor's clock 6 s before midnight: its start day ends, and the
        # first tick (10 s) of the set minute falls on the next day.
        now = int(time.time())
        offset = (now // 86400 + 1) * 86400 - 6 - now
        proc = d.start("OrvisWatch", "OrvisWatchService", env={
            "TZ": "UTC", "LD_PRELOAD": preload(os.path.join(STAGE, "OrvisWatch"), FAKETIME),
            "FAKETIME": "%+d" % offset,
            "FAKETIME_DONT_FAKE_MONOTONIC": "1"})
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        self.assertEqual(proc.wait(timeout=40), 0)
        m = d.messages()
        self.assertEqual(m[-1], "* ReActivate wait for Service Reactivate*")
        self.assertNotIn("終了", m)  # no stop sequence
        self.assertEqual(len(d.log_files()), 2)  # the start day's file and the next

    def test_installed_unit_starts_the_service_again(self):
        unit = os.path.join(STAGE, "orviswatch.service")
        with open(unit) as f:
            fields = dict(line.split("=", 1) for line in f.read().splitlines()
                          if "=" in line and not line.startswith("#"))
        folder = os.path.abspath(STAGE)
        self.assertEqual(fields["WorkingDirectory"], folder)
        self.assertEqual(fields["ExecStart"], '"%s/OrvisWatch" OrvisWatchService' % folder)
        self.assertEqual(fields["Restart"], "always")
        self.assertEqual(fields["Type"], "notify")
        self.assertGreater(int(fields["WatchdogSec"]), 0)
        if shutil.which("systemd-analyze"):
            out = subprocess.run(["systemd-analyze", "verify", unit], capture_output=True,
                                 text=True, timeout=60)
            # Other units of the machine may have their own warnings.
            self.assertEqual(out.returncode, 0, out.stderr)
            self.assertNotIn("orviswatch.service", out.stdout + out.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
