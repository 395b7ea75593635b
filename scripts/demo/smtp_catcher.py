"""A local SMTP server for the demo: every message it accepts is written
whole into a folder, one file per message (0001.eml, 0002.eml, ...).

    /usr/bin/python3 smtp_catcher.py ADDRESS PORT FOLDER

Runs until SIGTERM or SIGINT. Uses Debian's python3-aiosmtpd."""

import os
import signal
import sys
import threading

from aiosmtpd.controller import Controller


class SaveToFolder:
    def __init__(self, folder):
        self.folder = folder
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            n = 1 + sum(1 for f in os.listdir(self.folder) if f.endswith(".eml"))
            name = os.path.join(self.folder, "%04d.eml" % n)
            # Written beside and renamed, so a reader never sees half a mail.
            with open(name + ".part", "wb") as f:
                f.write(envelope.original_content or envelope.content)
            os.replace(name + ".part", name)
        return "250 OK"


def main():
    address, port, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    os.makedirs(folder, exist_ok=True)
    controller = Controller(SaveToFolder(folder), hostname=address, port=port)
    controller.start()
    done = threading.Event()
    for s in (signal.SIGTERM, signal.SIGINT):
        signal.signal(s, lambda *_: done.set())
    while not done.wait(0.5):
        pass
    controller.stop()


if __name__ == "__main__":
    main()
