"""The demo: an installed data folder with jobs of all four types that point
at things on this machine, each with a real baseline, and the monitor
watching them while the demo changes them.

    /usr/bin/python3 demo.py DATA_FOLDER [--seed | --one-change]

DATA_FOLDER holds the installed programs. The demo writes its jobs and
settings there, serves a small web site from DATA_FOLDER/site on a loopback
port, catches the alert mails in DATA_FOLDER/received/ with a local SMTP
server, captures every baseline with `OrvisWatch --capture`, and starts the
monitor: with its window in the automatic mode when there is a display, else
the service start. After every automatic pass it prints one line per job and
the mails received, then changes the changing page, the demo folder and the
running program again. SIGTERM or Ctrl+C ends everything it started.
With --seed it only writes the jobs, settings and targets, and ends. With
--one-change it also captures the baselines, changes the targets once, runs
one check pass (`OrvisWatch --check`), so that every job has a change in its
history, and ends.

Environment: ORVIS_DEMO_WEB_PORT (default 8931), ORVIS_DEMO_SMTP_PORT (default
8925), ORVIS_DEMO_SERVICE=1 (the service start even with a display)."""

import ctypes
import email
import email.header
import email.policy
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"
WORKER = "orvis-demo-worker"
WORD = "障害"
PASS_END = "周期タイマー再設定しました。"
RESULTS = {"1": "OK", "0": "changed", "R": "no response"}


def cp932_lines(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))


def mount_point(path):
    path = os.path.realpath(path)
    while not os.path.ismount(path):
        path = os.path.dirname(path)
    return path


class Demo:
    def __init__(self, data, web_port, smtp_port):
        self.data = os.path.realpath(data)
        self.web_port = web_port
        self.smtp_port = smtp_port
        self.site = os.path.join(self.data, "site")
        self.folder = os.path.join(self.data, "files")
        self.received = os.path.join(self.data, "received")
        self.children = {}
        self.round = 0
        self.mails_seen = 0
        self.log_read = {}
        url = "http://127.0.0.1:%d/" % web_port
        # number, type, target, name, extra keys
        self.jobs = [
            ("1", "URL", url + "changing.html", "変化するページ", []),
            ("2", "URL", url + "steady.html", "変わらないページ", []),
            ("3", "URL", url + "notice.html", "お知らせ(障害の文字を監視)",
             ["CHKKOBETSU=1", "CHKHIKAKU=0", "CHKWORD=1", "WORD=" + WORD]),
            ("4", "FILE", self.folder, "デモフォルダ", []),
            ("5", "PROC", WORKER, "デモプログラム", []),
            ("6", "DRIVE", mount_point(self.data) + ":1", "データフォルダのディスク", []),
        ]

    # -- the data folder ---------------------------------------------------

    def seed(self):
        d = self.data
        cp932_lines(os.path.join(d, "ORVIS.ini"), [
            "[COMMON]", "CHECKINTERVAL=1", "VALIDDAY=10", "PLAYCOUNTDISCON=1",
            "MAILGROUPCOUNT=1", "SOURCE_CHECK=YES", "SCRIPT_IGNORE=YES", "COMMENT_IGNORE=YES"])
        cp932_lines(os.path.join(d, "mail", "Postiva.ini"), [
            "[メール同報システム]", "SMTPServer=127.0.0.1", "SMTPPORT=%d" % self.smtp_port,
            "SMTP=SMTP", "クライアント名称=orvis-demo", "送信元メールアドレス=orvis@localhost",
            "送信元名称=OrvisWatchデモ"])
        cp932_lines(os.path.join(d, "mail", "list.txt"), ["operator@localhost,0"])
        cp932_lines(os.path.join(d, "mail", "Group-0.txt"), ["デモ"])
        # The window opens in the automatic mode ("OrvisWatch" restores it).
        cp932_lines(os.path.join(d, "Mode.tmp"), ["[COMMON]", "MODE=1"])
        shutil.rmtree(os.path.join(d, "info"), ignore_errors=True)
        for no, type_, uri, name, extra in self.jobs:
            cp932_lines(os.path.join(d, "info", no + ".ini"), [
                "[COMMON]", "NO=" + no, "URI=" + uri, "NAME=" + name, "MAILGROUP=0",
                "TYPE=" + type_] + extra)
        for folder in (self.site, self.folder, self.received):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        self.page("steady.html", "変わらないページ", "このページはデモの間ずっと同じです。")
        self.page("changing.html", "変化するページ", "まだ変わっていません。")
        self.page("notice.html", "お知らせ", "現在、お知らせはありません。")
        for n in range(1, 4):
            self.write_file("file%d.txt" % n, "デモファイル %d\n" % n)
        os.makedirs(os.path.join(d, "bin"), exist_ok=True)
        shutil.copy2("/bin/sleep", os.path.join(d, "bin", WORKER))

    def page(self, name, title, text):
        # The script and the comment change on every write; the checks pass
        # over them (SCRIPT_IGNORE, COMMENT_IGNORE), so only the text counts.
        now = time.strftime("%H:%M:%S")
        html = ('<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title>\n'
                '<script>var written = "%s";</script></head>\n'
                "<body><h1>%s</h1>\n<!-- %s に書き出し -->\n<p>%s</p>\n"
                "<p>このページは OrvisWatch のデモが書きます。</p>\n</body></html>\n"
                % (title, now, title, now, text))
        path = os.path.join(self.site, name)
        with open(path + ".part", "w", encoding="utf-8") as f:
            f.write(html)
        os.replace(path + ".part", path)

    def write_file(self, name, text):
        with open(os.path.join(self.folder, name), "w", encoding="utf-8") as f:
            f.write(text)

    # -- what the demo starts ------------------------------------------------

    def start(self, key, argv, **kw):
        def die_with_demo():
            # A demo killed outright still takes its children along.
            ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
        self.children[key] = subprocess.Popen(argv, preexec_fn=die_with_demo, **kw)
        return self.children[key]

    def stop(self, key, timeout=30):
        proc = self.children.pop(key, None)
        if not proc or proc.poll() is not None:
            return
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()

    def stop_all(self):
        # The monitor first: it may be sending a mail to the catcher.
        for key in ("monitor", "worker", "web", "smtp"):
            self.stop(key)

    def wait_for_port(self, port, timeout=15):
        end = time.time() + timeout
        while time.time() < end:
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                return True
            except OSError:
                time.sleep(0.1)
        return False

    def start_servers(self):
        quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.start("web", [PYTHON, "-m", "http.server", str(self.web_port), "--bind", "127.0.0.1",
                           "--directory", self.site], **quiet)
        self.start("smtp", [PYTHON, os.path.join(HERE, "smtp_catcher.py"), "127.0.0.1",
                            str(self.smtp_port), self.received], **quiet)
        for port, what in ((self.web_port, "web site"), (self.smtp_port, "mail catcher")):
            if not self.wait_for_port(port):
                raise SystemExit("demo: the %s did not start on 127.0.0.1:%d" % (what, port))
        print("Web site:     http://127.0.0.1:%d/ (from %s)" % (self.web_port, self.site))
        print("Mail catcher: 127.0.0.1:%d, mails in %s" % (self.smtp_port, self.received))

    def one_change(self):
        """Baselines, one change of every target, one check pass."""
        try:
            self.seed()
            self.start_servers()
            self.capture()
            time.sleep(1)  # the change gets a time of its own
            self.change()
            r = subprocess.run([os.path.join(self.data, "OrvisWatch"), "--check"],
                               capture_output=True, text=True)
            print(r.stdout, end="")
            return 0 if r.returncode in (0, 1) else r.returncode
        finally:
            self.stop_all()

    def capture(self):
        print("Capturing every baseline: %s/OrvisWatch --capture" % self.data)
        r = subprocess.run([os.path.join(self.data, "OrvisWatch"), "--capture"],
                           capture_output=True, text=True)
        for line in r.stdout.splitlines():
            print("  " + line.replace("\t", "  "))
        if r.returncode != 0:
            sys.stderr.write(r.stderr)
            raise SystemExit("demo: the capture failed (exit %d); see %s/syslog/"
                             % (r.returncode, self.data))

    def start_monitor(self, window):
        program = os.path.join(self.data, "OrvisWatch")
        if window:
            print("Starting %s OrvisWatch: the window, in the automatic mode" % program)
            return self.start("monitor", [program, "OrvisWatch"], cwd=self.data)
        print("No display: service start of %s (log: %s/syslog/)" % (program, self.data))
        return self.start("monitor", [program, "OrvisWatchService"], cwd=self.data,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- the changes -------------------------------------------------------

    def change(self):
        """One round: the changing page, the folder, the program, the word."""
        self.round += 1
        n = self.round
        self.page("changing.html", "変化するページ",
                  "%d 回目の更新 (%s)" % (n, time.strftime("%H:%M:%S")))
        if n % 2:
            self.page("notice.html", "お知らせ", "%sが発生しました (%d 回目)。" % (WORD, n))
        else:
            self.page("notice.html", "お知らせ", "現在、お知らせはありません。")
        # Delete the first file, change the last, add one.
        names = sorted(os.listdir(self.folder))
        os.remove(os.path.join(self.folder, names[0]))
        changed = os.path.join(self.folder, names[-1])
        stamp = max(time.time(), os.stat(changed).st_mtime + 1)
        with open(changed, "a", encoding="utf-8") as f:
            f.write("変更 %d\n" % n)
        os.utime(changed, (stamp, stamp))  # a listing tells seconds apart
        self.write_file("new%03d.txt" % n, "追加されたファイル %d\n" % n)
        # The program runs every other round.
        if "worker" in self.children:
            self.stop("worker")
        else:
            self.start("worker", [os.path.join(self.data, "bin", WORKER), "86400"])

    # -- what the user sees --------------------------------------------------

    def new_log_lines(self):
        folder = os.path.join(self.data, "syslog")
        lines = []
        if not os.path.isdir(folder):
            return lines
        for name in sorted(f for f in os.listdir(folder) if re.match(r"^\d{8}\.txt$", f)):
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                f.seek(self.log_read.get(name, 0))
                chunk = f.read()
            end = chunk.rfind(b"\r\n") + 2  # only whole lines
            if end < 2:
                continue
            self.log_read[name] = self.log_read.get(name, 0) + end
            lines += chunk[:end].decode("cp932", "replace").split("\r\n")[:-1]
        return lines

    def job_result(self, no):
        try:
            with open(os.path.join(self.data, "info", no + ".ini"), "rb") as f:
                text = f.read().decode("cp932", "replace")
        except OSError:
            return "?"
        m = re.search(r"^CHECK=(.*?)\r?$", text, re.M)
        return RESULTS.get(m.group(1) if m else "", "not checked")

    def new_mails(self):
        names = sorted(f for f in os.listdir(self.received) if f.endswith(".eml"))
        fresh = names[self.mails_seen:]
        self.mails_seen = len(names)
        mails = []
        for name in fresh:
            with open(os.path.join(self.received, name), "rb") as f:
                msg = email.message_from_binary_file(f, policy=email.policy.default)
            body = msg.get_body(("plain", "html"))
            text = body.get_content() if body else ""
            found = re.search(r"【内　容】(.*)", text)
            mails.append((name, str(msg["Subject"]), found.group(1).strip() if found else ""))
        return mails

    def print_pass(self):
        print("[%s] pass ended:" % time.strftime("%H:%M:%S"))
        for no, type_, uri, name, _ in self.jobs:
            print("  %s %-5s %-12s %s" % (no, type_, self.job_result(no), name))
        mails = self.new_mails()
        print("  mails received: %d (in %s)" % (len(mails), self.received))
        for name, subject, content in mails:
            print("    %s  %s  %s" % (name, subject, content))
        sys.stdout.flush()

    # -- the whole run -------------------------------------------------------

    def run(self, window):
        stopping = []
        for s in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(s, lambda signo, _: stopping.append(signo))
        try:
            self.seed()
            self.start_servers()
            self.capture()
            self.change()
            self.new_log_lines()  # the capture's lines are not news
            self.start_monitor(window)
            print("Every minute the monitor checks the jobs; the demo then changes the page, "
                  "the folder and the program again. Ctrl+C or SIGTERM ends the demo.")
            sys.stdout.flush()
            while not stopping:
                time.sleep(0.5)
                if any(l.endswith("," + PASS_END) for l in self.new_log_lines()):
                    self.print_pass()
                    self.change()
                monitor = self.children.get("monitor")
                if monitor and monitor.poll() is not None and not stopping:
                    if window or monitor.returncode != 0:
                        print("The monitor ended (exit %d)." % monitor.returncode)
                        return monitor.returncode
                    # The service start's daily reactivation: as systemd
                    # would, start it again.
                    self.start_monitor(window)
            print("Stopping the demo.")
            return 0
        finally:
            self.stop_all()


def display_usable():
    if os.environ.get("ORVIS_DEMO_SERVICE") == "1":
        return False
    if os.environ.get("WAYLAND_DISPLAY"):
        return True
    if not os.environ.get("DISPLAY"):
        return False
    return subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[2:] not in ([], ["--seed"], ["--one-change"]):
        raise SystemExit("usage: demo.py DATA_FOLDER [--seed | --one-change]")
    demo = Demo(sys.argv[1], int(os.environ.get("ORVIS_DEMO_WEB_PORT", "8931")),
                int(os.environ.get("ORVIS_DEMO_SMTP_PORT", "8925")))
    if sys.argv[2:] == ["--seed"]:
        demo.seed()
        return
    if sys.argv[2:] == ["--one-change"]:
        sys.exit(demo.one_change())
    sys.exit(demo.run(display_usable()))


if __name__ == "__main__":
    main()
