"""The README's demo without a display and without a network beyond
loopback: scripts/demo.sh on a folder and ports of its own, from the
installed programs. Within three minutes an automatic pass reports the
changing page, the demo folder and the program as changed and the steady
page as OK, the alert mails land in received/, and SIGTERM ends everything
the demo started."""

import email
import email.policy
import os
import signal
import socket
import subprocess
import sys
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running

STAGE = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage")
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SUBJECT = "【ORVIS】システムからメールグループ[デモ]への連絡です。"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def passes(messages):
    """The lines of each finished automatic pass."""
    found, current = [], None
    for m in messages:
        if m == "自動チェック処理開始しました。":
            current = []
        elif m == "周期タイマー再設定しました。" and current is not None:
            found.append(current)
            current = None
        elif current is not None:
            current.append(m)
    return found


def processes_under(folder):
    """Pids whose command line names something in the folder."""
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if folder.encode() in f.read():
                    pids.append(int(pid))
        except OSError:
            pass
    return pids


class Demo(unittest.TestCase):
    def test_a_pass_reports_the_changes_and_the_mails_arrive(self):
        d = DataFolder(STAGE, programs=())
        self.addCleanup(d.cleanup)
        web, smtp = free_port(), free_port()
        env = d.env(ORVIS_DEMO_DIR=d.path, ORVIS_DEMO_STAGE=STAGE,
                    ORVIS_DEMO_WEB_PORT=str(web), ORVIS_DEMO_SMTP_PORT=str(smtp))
        out = open(os.path.join(d.root, "demo.out"), "w+")
        self.addCleanup(out.close)
        demo = subprocess.Popen([os.path.join(ROOT, "scripts", "demo.sh")], cwd=d.root, env=env,
                                stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        self.addCleanup(kill_if_running, demo)

        wanted = ["1->比較エラー", "2->OK", "4->ファイル更新を検出", "5->プロセス状態更新を検出"]
        end = time.time() + 180
        good = None
        while good is None and time.time() < end and demo.poll() is None:
            time.sleep(1)
            try:
                good = next((p for p in passes(d.messages(errors="replace")) if all(w in p for w in wanted)), None)
            except (UnicodeDecodeError, AssertionError):
                pass  # a line being written
        # The demo tells of the pass once it has seen it end in the log, a
        # moment after the log says so.
        printed, told = "", time.time() + 15
        while good is not None and "pass ended" not in printed and time.time() < told:
            out.seek(0)
            printed = out.read()
            time.sleep(0.2)
        out.seek(0)
        printed = out.read()
        self.assertIsNotNone(good, printed)
        self.assertTrue(any(l.startswith("orvis-demo-worker") for l in good), good)

        # The baselines were captured by the verb, not written by hand.
        self.assertIn("コマンド実行:--capture", d.messages(errors="replace"))
        self.assertIn("コマンド終了:終了コード=0", d.messages(errors="replace"))

        received = d.file("received")
        mails = []
        for name in sorted(os.listdir(received)):
            with open(os.path.join(received, name), "rb") as f:
                mails.append(email.message_from_binary_file(f, policy=email.policy.default))
        self.assertGreaterEqual(len(mails), 3)
        self.assertEqual({str(m["Subject"]) for m in mails}, {SUBJECT})
        contents = " ".join(m.get_body(("plain",)).get_content() for m in mails)
        for message in ("HTMLソース比較エラーを検出", "ファイル更新を検出", "プロセス状態更新を検出"):
            self.assertIn("【内　容】" + message, contents)

        # The demo's own account of the pass.
        self.assertIn("pass ended", printed)
        self.assertRegex(printed, r"\n  2 URL +OK +変わらないページ\n")
        self.assertRegex(printed, r"\n  1 URL +changed +変化するページ\n")

        started = processes_under(d.root)
        self.assertTrue(started)
        demo.send_signal(signal.SIGTERM)
        self.assertEqual(demo.wait(timeout=60), 0)
        deadline = time.time() + 10
        while processes_under(d.root) and time.time() < deadline:
            time.sleep(0.2)
        self.assertEqual(processes_under(d.root), [])
        for port in (web, smtp):
            with self.assertRaises(OSError):
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
        self.assertEqual(d.messages(errors="replace")[-1], "終了")


if __name__ == "__main__":
    unittest.main(verbosity=2)
