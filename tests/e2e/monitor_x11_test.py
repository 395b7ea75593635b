"""The installed monitor on a real X display (Xvfb): what the window system
is told about its windows."""

import os
import re
import shutil
import subprocess
import sys
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
TOOLS = ("Xvfb", "xwininfo", "xprop")


def utf8_property(window, name, display):
    out = subprocess.run(["xprop", "-id", window, name], capture_output=True, text=True,
                         env={**os.environ, "DISPLAY": display, "LC_ALL": "C.UTF-8"}).stdout
    if "=" not in out:
        return None  # not set
    value = out.split("=", 1)[1].strip()
    return value[1:-1] if value.startswith('"') else value


def program_windows(display):
    """_NET_WM_NAME and _NET_WM_ICON_NAME of the program's top-level windows."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True,
                          env={**os.environ, "DISPLAY": display}).stdout
    found = []
    for line in tree.splitlines():
        m = re.match(r'\s*(0x[0-9a-f]+) .*\("OrvisWatch" "OrvisWatch"\)', line)
        if m:
            found.append((utf8_property(m.group(1), "_NET_WM_NAME", display),
                          utf8_property(m.group(1), "_NET_WM_ICON_NAME", display)))
    return sorted(found, key=str)


@unittest.skipUnless(all(shutil.which(t) for t in TOOLS), "needs Xvfb and x11-utils")
class MessageBoxOnX11(unittest.TestCase):
    def setUp(self):
        read, write = os.pipe()
        # -noreset: the monitor's probe of the display is its only client for
        # a moment, and a server that resets as its last client leaves would
        # refuse the toolkit's connection that follows.
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1100x760x24", "-nolisten", "tcp", "-noreset"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()
        self.addCleanup(self.xvfb.wait, 10)
        self.addCleanup(self.xvfb.terminate)

    def test_a_box_bears_its_caption_alone_and_the_task_bar_the_application_title(self):
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        d.write("Mode.tmp", "[COMMON]\r\nMODE=1\r\n")
        d.write("info/1.ini", "[COMMON]\r\nNO=1\r\nURI=http://127.0.0.1/\r\n")
        proc = d.start("OrvisWatch", "OrvisWatch", env={"DISPLAY": self.display})
        self.addCleanup(kill_if_running, proc)
        # The refusal to start the automatic mode stands over the window.
        expected = [("NEW ORVIS Monitor", "ORVIS Monitor"), ("OrvisWatch", "")]
        end = time.time() + 15
        windows = []
        while time.time() < end and windows != expected:
            time.sleep(0.2)
            windows = program_windows(self.display)
        self.assertEqual(stop(proc), 0)
        self.assertEqual(windows, expected)

    def test_termination_during_a_question_closes_it_and_nothing_follows_the_end(self):
        """SIGTERM while a message box waits for an answer (only a display
        shows one): the box closes unanswered, the interrupted start goes no
        further, and the end line is the last thing written."""
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        d.write("Mode.tmp", "[COMMON]\r\nMODE=2\r\n")
        d.write("info/1.ini", "[COMMON]\r\nNO=1\r\nURI=http://127.0.0.1/\r\n")
        mode_written = os.stat(d.file("Mode.tmp")).st_mtime_ns
        proc = d.start("OrvisWatch", "OrvisWatch", env={"DISPLAY": self.display})
        self.addCleanup(kill_if_running, proc)
        self.assertTrue(d.wait_for("NEW ORVIS Monitor,SetIcon()Icon=0"), d.messages())
        time.sleep(1.0)  # past the start timer: the refusal to start is on screen
        self.assertEqual(stop(proc), 0)
        time.sleep(0.5)
        messages = d.messages()
        question = "№1の比較元ソースが取得できていません。ソース取得を行ってください。"
        end = messages.index("Shutdown要求取得")
        self.assertEqual(messages[end:], ["Shutdown要求取得", question + "->0", "オーディオ停止処理",
                                          "Global,syslog整理", "Global,<-有効ファイル数", "終了"])
        self.assertNotIn("バックグラウンドへ移行しました。", messages)
        self.assertEqual(os.stat(d.file("Mode.tmp")).st_mtime_ns, mode_written)

    @unittest.skipUnless(shutil.which("dbus-daemon"), "needs a session bus")
    def test_a_termination_with_the_settings_dialog_open_ends_the_process(self):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(bus.wait, 10)
        self.addCleanup(bus.terminate)
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        session = {"DISPLAY": self.display, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                   "DBUS_SESSION_BUS_ADDRESS": bus.stdout.readline().strip()}
        proc = d.start("OrvisWatch", env=session)
        self.addCleanup(kill_if_running, proc)
        tool = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tools/press_button.py")
        press = subprocess.run(["/usr/bin/python3", tool, "OrvisWatch", "設定", "設定"],
                               env=d.env(**session), capture_output=True, text=True, timeout=60)
        self.assertEqual(press.returncode, 0, press.stderr)
        self.assertEqual(stop(proc, timeout=15), 0)
        self.assertEqual(d.messages()[-2:], ["Global,<-有効ファイル数", "終了"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
