"""The installed monitor's notices to systemd, under a notify socket of the
test's own: READY once its start-up is done, watchdog pings from its event
loop at half the interval asked for, none while the loop is stopped
(SIGSTOP), pings again once it goes on, and STOPPING at the stop."""

import os
import signal
import socket
import sys
import time
import unittest

from orvis_e2e import DataFolder, kill_if_running

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"


class Watchdog(unittest.TestCase):
    def notices(self, seconds):
        """Every notice that comes within `seconds`, with its arrival time."""
        got, end = [], time.monotonic() + seconds
        while (left := end - time.monotonic()) > 0:
            self.sock.settimeout(left)
            try:
                got.append((time.monotonic(), self.sock.recv(4096).decode()))
            except socket.timeout:
                break
        return got

    def test_ready_pings_and_a_stopped_loop(self):
        data = DataFolder(STAGE)
        self.addCleanup(data.cleanup)
        path = os.path.join(data.root, "notify")
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        self.sock.bind(path)
        self.addCleanup(self.sock.close)
        proc = data.start("OrvisWatch", "OrvisWatchService",
                          env={"NOTIFY_SOCKET": path, "WATCHDOG_USEC": "1000000"})
        self.addCleanup(kill_if_running, proc)
        first = self.notices(5)
        self.assertEqual([n for _, n in first if n.startswith("READY")],
                         ["READY=1\nSTATUS=automatic check mode"], first)
        pings = [t for t, n in first if n == "WATCHDOG=1"]
        self.assertGreaterEqual(len(pings), 6, first)
        # Every half second, not the whole interval.
        self.assertLess(max(b - a for a, b in zip(pings, pings[1:])), 0.9)

        proc.send_signal(signal.SIGSTOP)
        self.notices(0.3)  # one on its way as the loop stopped
        self.assertEqual(self.notices(2.5), [])
        proc.send_signal(signal.SIGCONT)
        self.assertIn("WATCHDOG=1", [n for _, n in self.notices(1.5)])
        proc.send_signal(signal.SIGTERM)
        self.assertIn("STOPPING=1", [n for _, n in self.notices(3)])
        self.assertEqual(proc.wait(timeout=10), 0)
        self.assertEqual(data.messages()[-1], "終了")


if __name__ == "__main__":
    unittest.main(verbosity=2)
