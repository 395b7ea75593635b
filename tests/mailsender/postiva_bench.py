#!/usr/bin/python3
"""Sends 1,000 messages on one connection with Postiva, then the same 1,000
messages with Python's smtplib, to the same local aiosmtpd server in the same
run, and prints messages per second for both (three rounds, alternating, and
the medians). The server runs in a process of its own, so that both clients
talk to it across processes alike, and it takes the rate itself, from the
first accepted message to the last, so Postiva's start-up does not count.
Figures only, no verdict.

Usage: postiva_bench.py PATH_TO_POSTIVA
       postiva_bench.py --serve DUMP_FILE   (the server process)
"""
import base64
import os
import shutil
import signal
import smtplib
import socket
import subprocess
import sys
import tempfile
import threading
import time

ADDRESS = "127.0.0.60"
COUNT = 1000
ROUNDS = 3
SENDER = "orvis@bench.test"


def serve(dump_file):
    """aiosmtpd that keeps every accepted message with its time, and writes
    them to DUMP_FILE (then forgets them) on SIGUSR1."""
    from aiosmtpd.controller import Controller

    lock = threading.Lock()
    accepted = []

    class Handler:
        async def handle_DATA(self, server, session, envelope):
            with lock:
                accepted.append((time.perf_counter(), envelope.rcpt_tos[0],
                                 envelope.original_content))
            return "250 OK"

    def dump(signum, frame):
        with lock:
            taken = list(accepted)
            accepted.clear()
        with open(dump_file + ".part", "w") as f:
            for t, rcpt, content in taken:
                f.write("%.6f %s %s\n" % (t, rcpt, base64.b64encode(content).decode()))
        os.rename(dump_file + ".part", dump_file)

    signal.signal(signal.SIGUSR1, dump)
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(0))
    controller = Controller(Handler(), hostname=ADDRESS, port=25)
    controller.start()
    try:
        while True:
            signal.pause()
    finally:
        controller.stop()


class Server:
    """The server process, and what it accepted since it was last asked."""

    def __init__(self, folder):
        self.dump_file = os.path.join(folder, "accepted.txt")
        self.process = subprocess.Popen([sys.executable, __file__, "--serve", self.dump_file])
        deadline = time.monotonic() + 10
        while True:
            try:
                socket.create_connection((ADDRESS, 25), timeout=1).close()
                return
            except OSError:
                if time.monotonic() > deadline or self.process.poll() is not None:
                    raise RuntimeError("the bench server did not start")
                time.sleep(0.05)

    def take(self):
        self.process.send_signal(signal.SIGUSR1)
        deadline = time.monotonic() + 10
        while not os.path.exists(self.dump_file):
            if time.monotonic() > deadline:
                raise RuntimeError("the bench server did not answer")
            time.sleep(0.01)
        with open(self.dump_file) as f:
            lines = f.read().split()
        os.remove(self.dump_file)
        return [(float(lines[i]), lines[i + 1], base64.b64decode(lines[i + 2]))
                for i in range(0, len(lines), 3)]

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


def rate(messages):
    """Messages per second between the first and the last accepted one."""
    if len(messages) < 2:
        return 0.0
    span = messages[-1][0] - messages[0][0]
    return (len(messages) - 1) / span if span > 0 else float("inf")


def write_cp932(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("cp932"))


def prepare(folder, postiva):
    shutil.copy(postiva, os.path.join(folder, "Postiva"))
    work = os.path.join(folder, "bench")
    os.makedirs(work)
    write_cp932(os.path.join(work, "Postiva.ini"),
                "[メール同報システム]\nSMTPServer=%s\nクライアント名称=bench.client\n"
                "送信元名称=監視システム\n送信元メールアドレス=%s\n" % (ADDRESS, SENDER))
    write_cp932(os.path.join(work, "list.txt"),
                "".join("user%04d@bench.test,0\n" % i for i in range(COUNT)))
    write_cp932(os.path.join(work, "Subject-0.txt"), "【ORVIS】監視対象の変更を検出しました\n")
    write_cp932(os.path.join(work, "Body-0.txt"),
                "監視対象: https://www.example.com/\n検出日時: 2026/12/07 09:05:03\n\n"
                "このメールはシステムから自動で送信されています。\n.\n")


def run_postiva(postiva, server):
    """One Postiva run over the whole list, as cron runs it (no display)."""
    with tempfile.TemporaryDirectory() as folder:
        prepare(folder, postiva)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        started = time.perf_counter()
        result = subprocess.run([os.path.join(folder, "Postiva"), "bench"], env=env, timeout=90)
        wall = time.perf_counter() - started
    return result.returncode, wall, server.take()


def run_smtplib(messages, server):
    """The same messages, one connection, one sendmail each."""
    started = time.perf_counter()
    with smtplib.SMTP(ADDRESS, 25) as client:
        client.helo("bench.client")
        for _, recipient, content in messages:
            client.sendmail(SENDER, [recipient], content)
    return time.perf_counter() - started, server.take()


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    postiva = sys.argv[1]
    rates = {"Postiva": [], "smtplib": []}
    ok = True
    with tempfile.TemporaryDirectory() as folder:
        server = Server(folder)
        try:
            print("%d messages per run, one connection each, aiosmtpd on %s:25 in its own process"
                  % (COUNT, ADDRESS))
            print("%-6s %-8s %9s %8s %8s" % ("round", "client", "accepted", "msg/s", "wall s"))
            for n in range(1, ROUNDS + 1):
                code, wall, by_postiva = run_postiva(postiva, server)
                ok = ok and code == 0 and len(by_postiva) == COUNT
                rates["Postiva"].append(rate(by_postiva))
                print("%-6d %-8s %9d %8.0f %8.2f  (exit %d; wall includes start-up and the"
                      " 500 ms first-pass timer)"
                      % (n, "Postiva", len(by_postiva), rate(by_postiva), wall, code))
                wall, by_smtplib = run_smtplib(by_postiva, server)
                rates["smtplib"].append(rate(by_smtplib))
                print("%-6d %-8s %9d %8.0f %8.2f"
                      % (n, "smtplib", len(by_smtplib), rate(by_smtplib), wall))
        finally:
            server.stop()
    p, s = median(rates["Postiva"]), median(rates["smtplib"])
    print("median msg/s: Postiva %.0f, smtplib %.0f, Postiva / smtplib %.2f"
          % (p, s, p / s if s else 0.0))
    return 0 if ok else 1


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--serve":
        serve(sys.argv[2])
    else:
        sys.exit(main())
