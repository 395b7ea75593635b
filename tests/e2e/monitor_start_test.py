"""The installed monitor started as an operator starts it, without a display."""

import os
import sys
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"

START_LINES = [
    "************************* OrvisWatch起動 *************************",
    "起動パラメータ:OrvisWatchService",
    "Form1起動",
    "2.6.0",
    "Global,情報収集",
    "ListDisp():開始",
    "NEW ORVIS Monitor,SetIcon():N/A",
    "自動チェックモードに移行しました。",
    "NEW ORVIS Monitor,MODIFYIcon():N/A",
    "バックグラウンドへ移行しました。",
    "NEW ORVIS Monitor,MODIFYIcon():N/A",
]
STOP_LINES = [
    "Shutdown要求取得",
    "NEW ORVIS Monitor,DelIcon():N/A",
    "オーディオ停止処理",
    "Global,syslog整理",
    "Global,3<-有効ファイル数",
]


class ServiceStart(unittest.TestCase):
    def setUp(self):
        self.data = DataFolder(STAGE)

    def tearDown(self):
        self.data.cleanup()

    def test_service_start_second_start_and_termination(self):
        d = self.data
        first = d.start("OrvisWatch", "OrvisWatchService")
        try:
            self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
            time.sleep(0.3)
            self.assertEqual([tag for tag, _ in d.log()], ["OrvisWatch"] * len(START_LINES))
            self.assertEqual(d.messages(), START_LINES)
            self.assertEqual(d.read_bytes("ORVIS.ini"), b"[COMMON]\r\nMAILGROUPCOUNT=1\r\n")
            self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=2\r\n")

            # A second start ends at once and writes nothing.
            before = {f: d.read_bytes(os.path.join("syslog", f)) for f in d.log_files()}
            files_before = sorted(os.listdir(d.path))
            second = d.start("OrvisWatch", "OrvisWatchService")
            self.assertEqual(second.wait(timeout=5), 0)
            self.assertEqual(sorted(os.listdir(d.path)), files_before)
            self.assertEqual({f: d.read_bytes(os.path.join("syslog", f)) for f in d.log_files()},
                             before)
            self.assertIsNone(first.poll())

            # Old day files for the clean-up at the end, which keeps VALIDDAY of them.
            d.write("ORVIS.ini", "[COMMON]\r\nMAILGROUPCOUNT=1\r\nVALIDDAY=3\r\n")
            for day in ("20200101", "20200102", "20200103", "20200104"):
                d.write("syslog/%s.txt" % day, "")
        finally:
            if first.poll() is None:
                code = stop(first)
        self.assertEqual(code, 0)
        messages = d.messages()
        # VALIDDAY is read at start-up, when the file held none: the default 10 applies.
        tail = messages[-6:]
        self.assertEqual(tail[:4], STOP_LINES[:4])
        self.assertEqual(tail[-1], "終了")

    def test_termination_keeps_validday_files(self):
        today = time.strftime("%Y%m%d.txt")
        # A negative count keeps nothing, as 0 does; the clean-up still ends.
        for validday, kept in (("3", ["20200103.txt", "20200104.txt", today]), ("-1", [today])):
            with self.subTest(validday=validday):
                d = DataFolder(STAGE)
                self.addCleanup(d.cleanup)
                d.write("ORVIS.ini", "[COMMON]\r\nVALIDDAY=%s\r\n" % validday)
                for day in ("20200101", "20200102", "20200103", "20200104"):
                    d.write("syslog/%s.txt" % day, "")
                proc = d.start("OrvisWatch", "OrvisWatchService")
                self.addCleanup(kill_if_running, proc)
                self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
                self.assertEqual(stop(proc), 0)
                self.assertEqual(d.log_files(), kept)
                messages = d.messages()
                self.assertEqual(messages[-1], "終了")
                if kept == [today]:
                    # Today's file went too; the lines after its deletion made it again.
                    self.assertEqual(messages, ["Global,DeleteLog->" + d.file("syslog/" + today),
                                                "終了"])
                    continue
                end = messages.index("Shutdown要求取得")
                self.assertEqual(messages[end:end + 5], STOP_LINES)
                deleted = [m for m in messages if m.startswith("Global,DeleteLog->")]
                self.assertEqual(deleted, ["Global,DeleteLog->" + d.file("syslog/20200101.txt"),
                                           "Global,DeleteLog->" + d.file("syslog/20200102.txt")])


class NormalStart(unittest.TestCase):
    def run_until_started(self, args, mode):
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        if mode is not None:
            d.write("Mode.tmp", "[COMMON]\r\nMODE=%s\r\n" % mode)
        proc = d.start("OrvisWatch", *args)
        self.addCleanup(kill_if_running, proc)
        self.assertTrue(d.wait_for("NEW ORVIS Monitor,SetIcon()Icon=0"))
        time.sleep(0.8)  # past the 300 ms start timer
        self.assertEqual(stop(proc), 0)
        return d

    def test_mode_two_restores_automatic_mode_in_the_background(self):
        d = self.run_until_started(["OrvisWatch"], 2)
        m = d.messages()
        self.assertIn("自動チェックモードに移行しました。", m)
        self.assertIn("バックグラウンドへ移行しました。", m)
        self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=2\r\n")

    def test_mode_one_restores_automatic_mode_with_the_window(self):
        d = self.run_until_started(["OrvisWatch"], 1)
        m = d.messages()
        self.assertIn("自動チェックモードに移行しました。", m)
        self.assertNotIn("バックグラウンドへ移行しました。", m)
        self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=1\r\n")

    def test_no_parameter_stays_in_edit_mode(self):
        d = self.run_until_started([], 1)
        self.assertNotIn("自動チェックモードに移行しました。", d.messages())
        self.assertEqual(d.read_bytes("Mode.tmp"), b"[COMMON]\r\nMODE=1\r\n")

    def test_a_japanese_parameter_is_logged_in_the_logs_encoding(self):
        d = self.run_until_started(["監視 テスト"], None)
        self.assertIn("起動パラメータ:監視 テスト", d.messages())


class StartEnvironment(unittest.TestCase):
    """What a service or cron hands the monitor: stale or missing places."""

    def test_the_lock_is_the_data_folders_not_the_runtime_folders(self):
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        env = {"XDG_RUNTIME_DIR": os.path.join(d.root, "no-such-folder")}  # no lock there
        first = d.start("OrvisWatch", "OrvisWatchService", env=env)
        self.addCleanup(lambda: first.poll() is None and first.kill())
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
        before = d.messages()
        self.assertEqual(d.start("OrvisWatch", "OrvisWatchService", env=env).wait(5), 0)
        self.assertEqual(d.messages(), before)
        self.assertEqual(stop(first), 0)

    def test_unreachable_display_and_toolkit_like_parameters(self):
        # Nothing listens on :87; "-platform xcb" is a start parameter here.
        self.assertFalse(os.path.exists("/tmp/.X11-unix/X87"))
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        proc = d.start("OrvisWatch", "-platform", "xcb", env={"DISPLAY": ":87"})
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        self.assertTrue(d.wait_for("NEW ORVIS Monitor,SetIcon()Icon=0"))
        self.assertEqual(stop(proc), 0)
        self.assertIn("起動パラメータ:-platform", d.messages())
        self.assertIn("画面に接続できません(DISPLAY=:87)。画面なしで実行します。", d.messages())


if __name__ == "__main__":
    unittest.main(verbosity=2)
