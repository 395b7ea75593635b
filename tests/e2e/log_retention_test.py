"""Every program's log folders keep the number of day files that VALIDDAY
of ORVIS.ini says, as the monitor keeps its own: the installed urlcheck,
alertmail, Postiva and Reactivation, each started once in a data folder
whose log folders already hold five old day files."""

import os
import subprocess
import sys
import unittest

from orvis_e2e import DataFolder

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
OLD = ["2020010%d.txt" % d for d in range(1, 6)]

# program, its arguments, the log folders it keeps
RUNS = [
    ("urlcheck", [], ["syslog/urlcheck"]),
    ("alertmail", [], ["syslog/alertmail", "sendlog/alertmail"]),
    ("Postiva", ["mail"], ["syslog/mail", "sendlog/mail"]),
    ("Reactivation", [], ["syslog/reactivation"]),
]


class LogRetention(unittest.TestCase):
    def test_each_program_keeps_the_newest_day_files_and_logs_what_went(self):
        data = DataFolder(STAGE, programs=[p for p, _, _ in RUNS])
        self.addCleanup(data.cleanup)
        data.write("ORVIS.ini", "[COMMON]\r\nVALIDDAY=2\r\n")
        for _, _, folders in RUNS:
            for folder in folders:
                for name in OLD:
                    data.write(os.path.join(folder, name), "2020/01/01,00:00:00.000,(x),old\r\n")
        for program, args, folders in RUNS:
            with self.subTest(program=program):
                proc = data.start(program, *args)
                try:
                    proc.wait(timeout=60)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
                    self.fail("%s did not end" % program)
                for folder in folders:
                    left = [f for f in data.log_files(folder) if f.startswith("2020")]
                    self.assertEqual(left, OLD[3:], folder)
                deleted = [m for m in data.messages(folders[0]) if m.startswith("DeleteLog->")]
                self.assertEqual(len(deleted), 3 * len(folders), deleted)
                self.assertTrue(all(m.endswith(".txt") for m in deleted))


if __name__ == "__main__":
    unittest.main()
