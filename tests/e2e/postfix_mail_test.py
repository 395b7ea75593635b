"""The installed alertmail and Postiva against a real Postfix of Debian's
package: an instance of the test's own (its own configuration, queue and
virtual mailboxes in a temporary folder, its stock STARTTLS, unknown
recipients refused, HELO order enforced by smtpd_forbid_unauth_pipelining)
on one loopback address, stopped at the end. Skipped, saying why, where
Postfix is not installed or cannot be started."""

import email
import email.header
import glob
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from orvis_e2e import DataFolder

STAGE = sys.argv.pop(1) if len(sys.argv) > 1 else "build/stage"
ADDRESS = "127.0.2.25"  # port 25: Postiva knows no other
POSTFIX = "/usr/sbin/postfix"
MASTER_CF = "/usr/share/postfix/master.cf.dist"
SNAKEOIL = ("/etc/ssl/certs/ssl-cert-snakeoil.pem", "/etc/ssl/private/ssl-cert-snakeoil.key")
# The clients count as remote (local_header_rewrite_clients): Postfix adds no
# Date or Message-ID, the senders must.
MAIN_CF = """compatibility_level = 3.6
queue_directory = {root}/queue
data_directory = {root}/data
mail_owner = postfix
setgid_group = postdrop
myhostname = mail.orvis.test
mydestination =
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
mynetworks = 127.0.0.0/8
alias_maps =
alias_database =
local_recipient_maps =
virtual_mailbox_domains = example.jp
virtual_mailbox_base = {root}/mailboxes
virtual_mailbox_maps = texthash:{root}/etc/vmailbox
virtual_uid_maps = static:{uid}
virtual_gid_maps = static:{gid}
smtpd_tls_cert_file = {cert}
smtpd_tls_key_file = {key}
smtpd_tls_security_level = may
smtpd_forbid_unauth_pipelining = yes
smtpd_peername_lookup = no
local_header_rewrite_clients =
maillog_file = {root}/maillog
maillog_file_prefixes = {root}
smtputf8_enable = no
"""


def wait_until(test, timeout):
    end = time.time() + timeout
    while not test() and time.time() < end:
        time.sleep(0.1)
    return test()


class Postfix:
    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="orvis-postfix-")
        self.etc = os.path.join(self.root, "etc")
        self.master_pid = None

    def start(self):
        """None once it listens, else why it cannot."""
        if os.geteuid() != 0:
            return "Postfix runs only as root"
        if not os.path.exists(POSTFIX) or not os.path.exists(MASTER_CF):
            return "Postfix is not installed (scripts/deps.sh installs it)"
        nobody, owner = pwd.getpwnam("nobody"), pwd.getpwnam("postfix")
        os.chmod(self.root, 0o755)  # the delivery agent runs as nobody
        for d in ("etc", "queue", "data", "mailboxes"):
            os.makedirs(os.path.join(self.root, d))
        os.chown(os.path.join(self.root, "mailboxes"), nobody.pw_uid, nobody.pw_gid)
        os.chown(os.path.join(self.root, "data"), owner.pw_uid, owner.pw_gid)
        cert, key = SNAKEOIL
        if not all(map(os.path.exists, SNAKEOIL)):
            print("no snakeoil certificate: STARTTLS with one made for the test", flush=True)
            cert, key = os.path.join(self.etc, "cert.pem"), os.path.join(self.etc, "key.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                            "2", "-subj", "/CN=mail.orvis.test", "-keyout", key, "-out", cert],
                           check=True, capture_output=True)
        with open(os.path.join(self.etc, "vmailbox"), "w") as f:
            f.writelines("%s@example.jp example.jp/%s/\n" % (b, b) for b in ("a", "d", "p1", "p2"))
        with open(os.path.join(self.etc, "main.cf"), "w") as f:
            f.write(MAIN_CF.format(root=self.root, uid=nobody.pw_uid, gid=nobody.pw_gid,
                                   cert=cert, key=key))
        shutil.copy(MASTER_CF, os.path.join(self.etc, "master.cf"))
        postconf = ["/usr/sbin/postconf", "-c", self.etc]
        subprocess.run(postconf + ["-F", "*/*/chroot = n"], check=True)
        subprocess.run(postconf + ["-M", "smtp/inet=%s:25 inet n - n - - smtpd" % ADDRESS],
                       check=True)
        run = subprocess.run([POSTFIX, "-c", self.etc, "start"], capture_output=True, text=True)
        if run.returncode != 0:
            return "Postfix does not start: " + run.stdout + run.stderr + self.log()
        pid_file = os.path.join(self.root, "queue", "pid", "master.pid")
        if wait_until(lambda: os.path.exists(pid_file), 10):
            with open(pid_file) as f:
                self.master_pid = int(f.read().split()[0])
        if not wait_until(self.listening, 20):
            return "Postfix does not listen on %s:25%s" % (ADDRESS, self.log())
        return None

    def listening(self):
        try:
            socket.create_connection((ADDRESS, 25), timeout=1).close()
            return True
        except OSError:
            return False

    def stop(self):
        if os.path.exists(os.path.join(self.etc, "main.cf")):
            subprocess.run([POSTFIX, "-c", self.etc, "stop"], capture_output=True, timeout=30)
        if self.master_pid and not wait_until(
                lambda: not os.path.exists("/proc/%d" % self.master_pid), 10):
            os.kill(self.master_pid, signal.SIGKILL)
        shutil.rmtree(self.root, ignore_errors=True)

    def queue_empty(self):
        return not any(os.listdir(os.path.join(self.root, "queue", d))
                       for d in ("maildrop", "incoming", "active", "deferred"))

    def mails(self, box):
        """The messages delivered to box@example.jp."""
        mails = []
        for name in sorted(glob.glob(os.path.join(self.root, "mailboxes/example.jp", box,
                                                  "new/*"))):
            with open(name, "rb") as f:
                mails.append(email.message_from_bytes(f.read()))
        return mails

    def log(self):
        try:
            with open(os.path.join(self.root, "maillog"), errors="replace") as f:
                return "\nmaillog:\n" + f.read()
        except OSError:
            return ""


def send_log(data, folder):
    """The send log's messages: its lines carry no tag."""
    lines = []
    for name in data.log_files(folder):
        text = data.read_bytes(os.path.join(folder, name)).decode("cp932")
        lines += [line.split(",", 2)[2] for line in text.split("\r\n") if line]
    return lines


class PostfixDelivery(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.postfix = Postfix()
        try:
            reason = cls.postfix.start()
        except (OSError, KeyError, subprocess.CalledProcessError) as e:
            reason = "Postfix cannot be set up: %s" % e
        if reason:
            cls.postfix.stop()
            print("SKIPPED: " + reason, flush=True)
            raise unittest.SkipTest(reason)

    @classmethod
    def tearDownClass(cls):
        cls.postfix.stop()

    def setUp(self):
        self.data = DataFolder(STAGE, programs=("alertmail", "Postiva"))
        self.addCleanup(self.data.cleanup)
        self.before = self.postfix.log()

    def write_work_folder(self, folder, recipients, subject):
        self.data.write(folder + "/Postiva.ini",
                        "[メール同報システム]\r\nSMTPServer=%s\r\nクライアント名称=orvis-test\r\n"
                        "送信元名称=監視システム\r\n送信元メールアドレス=orvis@example.jp\r\n"
                        "SMTP=SMTP\r\nSMTPPORT=25\r\n" % ADDRESS)
        self.data.write(folder + "/list.txt", "".join(r + "\r\n" for r in recipients))
        self.data.write(folder + "/Subject-0.txt", subject + "\r\n")
        self.data.write(folder + "/Body-0.txt", "ORVISよりメッセージがあります。\r\n")

    def assert_each_got_one_proper_message(self, boxes, subject, tls):
        self.assertTrue(wait_until(self.postfix.queue_empty, 30), self.postfix.log())
        for box in boxes:
            mails = self.postfix.mails(box)
            self.assertEqual(len(mails), 1, box + self.postfix.log())
            m = mails[0]
            self.assertEqual(str(email.header.make_header(email.header.decode_header(
                m["Subject"]))), subject)
            # Written by the sender: this Postfix adds neither.
            self.assertEqual(len(m.get_all("Date", [])), 1)
            self.assertEqual(len(m.get_all("Message-ID", [])), 1)
            # alertmail takes the stock STARTTLS; Postiva speaks plain SMTP.
            self.assertIn("with ESMTPS" if tls else "with SMTP id", m["Received"])

    def sessions(self):
        """The SMTP sessions of this test that sent commands, by Postfix's log."""
        return [line for line in self.postfix.log()[len(self.before):].splitlines()
                if "disconnect from" in line and " mail=" in line]

    def test_alertmail_serves_every_valid_address_past_refused_ones(self):
        d = self.data
        self.write_work_folder("mail", ["a@example.jp,0", "x1@example.jp,0", "x2@example.jp,0",
                                        " d@example.jp ,0"], "【ORVIS】警報")
        run = subprocess.run([d.file("alertmail"), d.path + "/", "0", "0"], cwd=d.path,
                             env=d.env(), capture_output=True, timeout=120)
        self.assertEqual(run.returncode, 1, d.messages("syslog/alertmail"))
        self.assert_each_got_one_proper_message(["a", "d"], "【ORVIS】警報", True)
        sent = send_log(d, "sendlog/alertmail")
        self.assertEqual(sent[0::3], ["SEND OK   :a@example.jp", "SEND OK   :d@example.jp"])
        for line, address in zip(sent[1:3], ("x1", "x2")):
            self.assertTrue(line.startswith("SEND ERROR:%s@example.jp,CAUSE:550 5.1.1" % address),
                            line)
        # The refusals cost the session nothing: one session served all four.
        self.assertTrue(wait_until(self.sessions, 10), self.postfix.log())
        self.assertEqual(len(self.sessions()), 1, self.sessions())
        self.assertIn(" mail=4 rcpt=2/4 ", self.sessions()[0])

    def test_postiva_is_delivered_by_a_server_that_enforces_the_order(self):
        d = self.data
        self.write_work_folder("postiva", ["p1@example.jp,0", " p2@example.jp\t,0"], "監視通知")
        run = d.run("Postiva", "postiva", timeout=120)
        self.assertEqual(run.returncode, 0, d.messages("syslog/postiva"))
        self.assert_each_got_one_proper_message(["p1", "p2"], "監視通知", False)
        self.assertEqual(send_log(d, "sendlog/postiva")[1:],
                         ["SEND OK   :p1@example.jp", "SEND OK   :p2@example.jp", "EXIT."])
        self.assertTrue(wait_until(self.sessions, 10), self.postfix.log())
        self.assertNotIn("pipelining", self.postfix.log()[len(self.before):])


if __name__ == "__main__":
    unittest.main(verbosity=2)
