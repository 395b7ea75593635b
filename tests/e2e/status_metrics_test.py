"""The installed monitor on a server: programs and data folder apart
(ORVIS_DATA, relative to the working folder), a first automatic pass with jobs of all four results, the
metrics file it writes (checked by promtool), and --status --json read with
jq while the service start runs and after it ended."""

import os
import shutil
import subprocess
import sys
import time
import unittest

from orvis_e2e import DataFolder, install_recording_mailer, kill_if_running, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"


def jq(filter_, text):
    return subprocess.run(["jq", "-r", filter_], input=text, capture_output=True, text=True,
                          check=True).stdout.strip()


class ServerRun(unittest.TestCase):
    def setUp(self):
        for tool in ("jq", "promtool"):
            self.assertTrue(shutil.which(tool), tool + " is not installed (scripts/deps.sh)")
        self.data = DataFolder(STAGE, apart=True)
        self.addCleanup(self.data.cleanup)

    def job(self, no, type_, uri, baseline):
        self.data.write("info/%s.ini" % no, "\r\n".join([
            "[COMMON]", "NO=%s" % no, "URI=%s" % uri, "NAME=ジョブ %s" % no, "MAILGROUP=0",
            "TYPE=%s" % type_, "SOURCE=1", "CHECK="]) + "\r\n")
        self.data.write("src/%s.ini" % no, baseline)

    def status(self):
        r = self.data.run("OrvisWatch", "--status", "--json")
        return r.returncode, r.stdout

    def test_pass_metrics_and_status(self):
        d = self.data
        install_recording_mailer(d)
        d.write("ORVIS.ini", "[COMMON]\r\nCHECKINTERVAL=1\r\nMETRICSFILE=node/orviswatch.prom\r\n")
        d.write("mail/list.txt", "watch@example.com,0\r\n")
        self.job(1, "FILE", d.root + "/programs/OrvisWatch", "")           # OK, once captured
        self.job(2, "PROC", "OrvisWatch", "000001 000000 init\r\n")         # changed
        self.job(3, "DRIVE", "/no/such/mount:10", "10240\r\n")              # no response
        self.job(4, "FTP", "ftp://example.invalid/", "x")                   # not checked
        os.makedirs(d.file("node"))
        self.assertEqual(d.run("OrvisWatch", "--capture", "1").returncode, 0)

        proc = d.start("OrvisWatch", "OrvisWatchService")
        self.addCleanup(kill_if_running, proc)
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
        self.assertTrue(d.wait_for("周期タイマー再設定しました。", timeout=100))
        metrics = d.file("node/orviswatch.prom")  # written after the pass's last log line
        self.assertTrue(any(os.path.exists(metrics) or time.sleep(0.1) for _ in range(50)))
        code, text = self.status()
        self.assertEqual(code, 2, text)  # a job without answer, one not checked
        self.assertEqual(jq('.monitor.running, .monitor.pid, .monitor.mode, .last_pass.refused, '
                            '.exit_status, ([.jobs[].result] | join(",")), .jobs[1].name, '
                            '.next_pass_due > .last_pass.end', text).split("\n"),
                         ["true", str(proc.pid), "automatic", "false", "2",
                          "ok,changed,no_response,not_checked", "ジョブ 2", "true"])

        # The metrics, as node_exporter's textfile collector reads them.
        check = subprocess.run(["promtool", "check", "metrics"], stdin=open(metrics, "rb"),
                               capture_output=True, text=True, timeout=60)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        with open(metrics, encoding="utf-8") as f:
            lines = f.read().splitlines()
        for line in ['orviswatch_jobs{result="%s"} 1' % r for r in ("ok", "changed", "no_response")] + [
                'orviswatch_job_result{number="2",name="ジョブ 2",type="PROC",result="changed"} 1',
                "orviswatch_last_pass_refused 0", "orviswatch_alert_mails_started_total 2"]:
            self.assertIn(line, lines)

        # The mailer, from the program folder, worked on the data folder.
        with open(d.file("mailer-record/0/data")) as f:
            self.assertEqual(f.read(), d.path + "/\n")
        self.assertFalse([n for n in os.listdir(d.programs) if n not in ("OrvisWatch", "alertmail")])

        self.assertEqual(stop(proc), 0)
        code, text = self.status()
        self.assertEqual((code, jq(".monitor.running, .monitor.mode", text)), (3, "false\nnull"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
