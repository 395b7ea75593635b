"""The installed monitor in a normal start when the display it is given
cannot be reached: its message boxes answer as in a service start (the
text and the default answer in the log) instead of waiting for a click that
cannot come."""

import os
import sys
import unittest

from orvis_e2e import DataFolder, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"


class NoDisplay(unittest.TestCase):
    def test_a_box_of_a_normal_start_answers_by_itself(self):
        self.assertFalse(os.path.exists("/tmp/.X11-unix/X99"))
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        # The restored automatic mode is refused with a box: job 1 has no baseline.
        d.write("info/1.ini", "[COMMON]\r\nNO=1\r\nURI=http://example.com/\r\nTYPE=URL\r\n")
        d.write("Mode.tmp", "[COMMON]\r\nMODE=2\r\n")
        proc = d.start("OrvisWatch", "OrvisWatch", env={"DISPLAY": ":99"})
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"), d.messages())
        self.assertEqual(stop(proc), 0)
        m = d.messages()
        self.assertIn("画面に接続できません(DISPLAY=:99)。画面なしで実行します。", m)
        self.assertIn("№1の比較元ソースが取得できていません。ソース取得を行ってください。->1", m)
        self.assertNotIn("自動チェックモードに移行しました。", m)
        self.assertEqual(m[-1], "終了")


if __name__ == "__main__":
    unittest.main(verbosity=2)
