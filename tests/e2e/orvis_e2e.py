"""Helpers for end-to-end tests: an installed data folder, the programs
started in it, and its CP932 logs read back."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

LINE = re.compile(r"^\d{4}/\d\d/\d\d,\d\d:\d\d:\d\d\.\d{3},\(([^)]*)\),(.*)$")


class DataFolder:
    """A fresh folder with the installed programs copied in; `apart`: the
    programs in a folder of their own, the data folder given in ORVIS_DATA
    relative to the folder the programs are started in."""

    def __init__(self, stage, programs=("OrvisWatch",), apart=False):
        self.root = tempfile.mkdtemp(prefix="orvis-e2e-")
        self.path = os.path.join(self.root, "data")
        os.makedirs(self.path)
        self.apart = apart
        self.programs = os.path.join(self.root, "programs") if apart else self.path
        os.makedirs(self.programs, exist_ok=True)
        for p in programs:
            shutil.copy2(os.path.join(stage, p), self.program(p))
        self.runtime = os.path.join(self.root, "run")
        os.makedirs(self.runtime, mode=0o700)

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def file(self, rel):
        return os.path.join(self.path, rel)

    def program(self, name):
        return os.path.join(self.programs, name)

    def write(self, rel, text):
        path = self.file(rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(text.encode("cp932"))

    def read_bytes(self, rel):
        with open(self.file(rel), "rb") as f:
            return f.read()

    def env(self, **extra):
        env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        env["XDG_RUNTIME_DIR"] = self.runtime
        env.pop("ORVIS_DATA", None)
        if self.apart:
            env["ORVIS_DATA"] = os.path.relpath(self.path, self.root)
        env.update(extra)
        return env

    def start(self, program, *args, env=None):
        """`env`: variables to set beside the defaults."""
        return subprocess.Popen([self.program(program), *args], cwd=self.root,
                                env=self.env(**(env or {})),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, program, *args, env=None, timeout=120):
        """Runs a program of the folder to its end: CompletedProcess, text."""
        return subprocess.run([self.program(program), *args], cwd=self.root,
                              env=self.env(**(env or {})), capture_output=True,
                              text=True, timeout=timeout)

    def log_files(self, folder="syslog"):
        d = self.file(folder)
        if not os.path.isdir(d):
            return []
        return sorted(f for f in os.listdir(d) if re.match(r"^\d{8}\.txt$", f))

    def log(self, folder="syslog", errors="strict"):
        """(tag, message) of every line of the day files, in order. `errors`:
        "replace" for logs that quote bytes cut in a character."""
        lines = []
        for name in self.log_files(folder):
            raw = self.read_bytes(os.path.join(folder, name))
            if not raw:
                continue
            assert raw.endswith(b"\r\n"), "log lines end with CR LF"
            for line in raw[:-2].split(b"\r\n"):
                text = line.decode("cp932", errors)
                m = LINE.match(text)
                if not m and lines:
                    # A message of several lines (a box's text).
                    tag, message = lines[-1]
                    lines[-1] = (tag, message + "\r\n" + text)
                    continue
                assert m, "line form: %r" % line
                lines.append((m.group(1), m.group(2)))
        return lines

    def messages(self, folder="syslog", errors="strict"):
        return [m for _, m in self.log(folder, errors)]

    def wait_for(self, message, timeout=15.0, folder="syslog"):
        end = time.time() + timeout
        while time.time() < end:
            try:
                if message in self.messages(folder):
                    return True
            except (UnicodeDecodeError, AssertionError):
                pass  # a line being written
            time.sleep(0.05)
        return False


# Stands in for the group mailer: keeps its arguments and the mail files it
# was given, one folder per alert, under "mailer-record/".
MAILER = """#!/bin/sh
record="${1}mailer-record"
mkdir -p "$record"
n=$(ls "$record" | wc -l)
mkdir "$record/$n"
printf '%s\\n' "$@" > "$record/$n/args"
printf '%s\\n' "$ORVIS_DATA" > "$record/$n/data"
cp "${1}mail/Subject-0.txt" "${1}mail/Body-0.txt" "$record/$n/"
"""


def install_recording_mailer(data):
    with open(data.program("alertmail"), "w") as f:
        f.write(MAILER)
    os.chmod(data.program("alertmail"), 0o755)


def kill_if_running(proc):
    """For a test's clean-up: a failed test leaves no program behind."""
    if proc.poll() is None:
        proc.kill()
        proc.wait()


def stop(proc, sig=signal.SIGTERM, timeout=10.0):
    proc.send_signal(sig)
    return proc.wait(timeout=timeout)
