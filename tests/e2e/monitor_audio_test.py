"""The installed monitor's audio at start and stop, without a display, on an
ALSA configuration of the test's own whose standard device records instead
of sounding."""

import os
import subprocess
import sys
import unittest

from orvis_e2e import DataFolder, stop

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"


class AudioAtStartAndStop(unittest.TestCase):
    def test_service_start_sets_up_and_releases_the_audio_quietly(self):
        d = DataFolder(STAGE)
        self.addCleanup(d.cleanup)
        recorded, conf = os.path.join(d.root, "sound.raw"), os.path.join(d.root, "asound.conf")
        with open(conf, "w") as f:
            f.write('pcm.!default { type file slave.pcm { type null } format raw file "|cat >>%s" }\n'
                    % recorded)
        env = dict(d.env(), ALSA_CONFIG_PATH=conf)
        proc = subprocess.Popen([d.file("OrvisWatch"), "OrvisWatchService"], cwd=d.root, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            self.assertTrue(d.wait_for("バックグラウンドへ移行しました。"))
        finally:
            code = stop(proc)
            errors = proc.stderr.read().decode(errors="replace")
            proc.stderr.close()
        self.assertEqual(code, 0)
        m = d.messages()
        # No word at the first show: the job list loads straight after start-up.
        self.assertEqual(m[m.index("2.6.0") + 1], "Global,情報収集")
        end = m.index("Shutdown要求取得")
        self.assertEqual(m[end + 1:end + 4], ["NEW ORVIS Monitor,DelIcon():N/A", "オーディオ停止処理",
                                              "Global,syslog整理"])
        self.assertEqual(m[-1], "終了")
        # Nothing sounded, and ALSA had nothing to complain of.
        self.assertFalse(os.path.exists(recorded))
        self.assertNotIn("ALSA", errors)


if __name__ == "__main__":
    unittest.main(verbosity=2)
