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
SNAKEOIL = ("/etc/ssl/certs/ssl-cert-snakeoil.pem", "/etc/ssl/private/ssl-cert-snakeoil.key")
MAILBOXES = ["a", "d", "p1", "p2"]  # @example.jp; every other address there is unknown


def wait_until(test, timeout):
    end = time.time() + timeout
    while not test() and time.time() < end:
        time.sleep(0.1)
    return test()


class Postfix:
    """One instance under `root`; start() returns a reason when it cannot."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="orvis-postfix-")
        os.chmod(self.root, 0o755)  # the delivery agent runs as nobody
        self.etc = os.path.join(self.root, "etc")
        self.queue = os.path.join(self.root, "queue")
        self.mail = os.path.join(self.root, "mailboxes")
        self.maillog = os.path.join(self.root, "maillog")
        self.master_pid = None

    def configure(self):
        nobody = pwd.getpwnam("nobody")
        postfix = pwd.getpwnam("postfix")
        for d in (self.etc, self.queue, self.mail, os.path.join(self.root, "data")):
            os.makedirs(d)
        os.chown(self.mail, nobody.pw_uid, nobody.pw_gid)
        os.chown(os.path.join(self.root, "data"), postfix.pw_uid, postfix.pw_gid)
        cert, key = SNAKEOIL
        if not all(os.path.exists(f) for f in SNAKEOIL):
            # Debian makes it when ssl-cert is set up; a machine without it
            # still gets STARTTLS.
            print("no snakeoil certificate: using one made for the test", flush=True)
            cert, key = os.path.join(self.etc, "cert.pem"), os.path.join(self.etc, "key.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                            "2", "-subj", "/CN=mail.orvis.test", "-keyout", key, "-out", cert],
                           check=True, capture_output=True)
        with open(os.path.join(self.etc, "vmailbox"), "w") as f:
            for box in MAILBOXES:
                f.write("%s@example.jp example.jp/%s/\n" % (box, box))
        main = {
            "compatibility_level": "3.6",
            "queue_directory": self.queue,
            "data_directory": os.path.join(self.root, "data"),
            "mail_owner": "postfix",
            "setgid_group": "postdrop",
            "myhostname": "mail.orvis.test",
            "mydestination": "",
            # A local address; the service below listens on ADDRESS only.
            "inet_interfaces": "127.0.0.1",
            "inet_protocols": "ipv4",
            "mynetworks": "127.0.0.0/8",
            "alias_maps": "",
            "alias_database": "",
            "local_recipient_maps": "",
            "virtual_mailbox_domains": "example.jp",
            "virtual_mailbox_base": self.mail,
            "virtual_mailbox_maps": "texthash:" + os.path.join(self.etc, "vmailbox"),
            "virtual_uid_maps": "static:%d" % nobody.pw_uid,
            "virtual_gid_maps": "static:%d" % nobody.pw_gid,
            "smtpd_tls_cert_file": cert,
            "smtpd_tls_key_file": key,
            "smtpd_tls_security_level": "may",
            "smtpd_forbid_unauth_pipelining": "yes",
            "smtpd_peername_lookup": "no",
            # The clients count as remote: Postfix adds no Date or Message-ID.
            "local_header_rewrite_clients": "",
            "maillog_file": self.maillog,
            "maillog_file_prefixes": self.root,
            "smtputf8_enable": "no",
            "biff": "no",
        }
        with open(os.path.join(self.etc, "main.cf"), "w") as f:
            f.writelines("%s = %s\n" % item for item in main.items())
        shutil.copy("/usr/share/postfix/master.cf.dist", os.path.join(self.etc, "master.cf"))
        postconf = ["/usr/sbin/postconf", "-c", self.etc]
        subprocess.run(postconf + ["-F", "*/*/chroot = n"], check=True)
        subprocess.run(postconf + ["-M", "smtp/inet=%s:25 inet n - n - - smtpd" % ADDRESS],
                       check=True)

    def start(self):
        if os.geteuid() != 0:
            return "Postfix runs only as root"
        if not os.path.exists(POSTFIX) or not os.path.exists("/usr/share/postfix/master.cf.dist"):
            return "Postfix is not installed (scripts/deps.sh installs it)"
        try:
            self.configure()
        except (OSError, KeyError, subprocess.CalledProcessError) as e:
            return "Postfix cannot be configured: %s" % e
        run = subprocess.run([POSTFIX, "-c", self.etc, "start"], capture_output=True, text=True)
        if run.returncode != 0:
            return "Postfix does not start: %s%s%s" % (run.stdout, run.stderr, self.log())
        pid_file = os.path.join(self.queue, "pid", "master.pid")
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
        if os.path.isdir(self.etc):
            subprocess.run([POSTFIX, "-c", self.etc, "stop"], capture_output=True, timeout=30)
        if self.master_pid and not wait_until(lambda: not self.alive(), 10):
            os.kill(self.master_pid, signal.SIGKILL)
        shutil.rmtree(self.root, ignore_errors=True)

    def alive(self):
        try:
            os.kill(self.master_pid, 0)
            return True
        except OSError:
            return False

    def queue_empty(self):
        return not any(os.listdir(d) for d in glob.glob(os.path.join(self.queue, "*"))
                       if os.path.basename(d) in ("maildrop", "incoming", "active", "deferred"))

    def mails(self, box):
        """The messages delivered to box@example.jp, as email objects."""
        files = sorted(glob.glob(os.path.join(self.mail, "example.jp", box, "new", "*")))
        mails = []
        for name in files:
            with open(name, "rb") as f:
                mails.append(email.message_from_bytes(f.read()))
        return mails

    def log(self):
        try:
            with open(self.maillog, errors="replace") as f:
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


def decoded(value):
    return str(email.header.make_header(email.header.decode_header(value)))


class PostfixDelivery(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.postfix = Postfix()
        reason = cls.postfix.start()
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

    def settings(self, folder):
        self.data.write(folder + "/Postiva.ini",
                        "[メール同報システム]\r\nSMTPServer=%s\r\nクライアント名称=orvis-test\r\n"
                        "送信元名称=監視システム\r\n送信元メールアドレス=orvis@example.jp\r\n"
                        "SMTP=SMTP\r\nSMTPPORT=25\r\n" % ADDRESS)

    def delivered(self, boxes):
        self.assertTrue(wait_until(self.postfix.queue_empty, 30), "queue" + self.postfix.log())
        return {box: self.postfix.mails(box) for box in boxes}

    def assert_one_proper_message(self, mails, subject, tls):
        self.assertEqual(len(mails), 1, self.postfix.log())
        m = mails[0]
        self.assertEqual(decoded(m["Subject"]), subject)
        # Written by the sender: this Postfix adds neither.
        self.assertEqual(len(m.get_all("Date", [])), 1)
        self.assertEqual(len(m.get_all("Message-ID", [])), 1)
        # alertmail takes the stock STARTTLS; Postiva speaks plain SMTP.
        self.assertIn("with ESMTPS" if tls else "with SMTP id", m["Received"])

    def test_alertmail_serves_every_valid_address_past_refused_ones(self):
        d = self.data
        self.settings("mail")
        d.write("mail/list.txt", "a@example.jp,0\r\nx1@example.jp,0\r\nx2@example.jp,0\r\n"
                                 " d@example.jp ,0\r\n")
        d.write("mail/Subject-0.txt", "【ORVIS】警報\r\n")
        d.write("mail/Body-0.txt", "ORVISよりメッセージがあります。\r\n")
        before = self.postfix.log()
        run = subprocess.run([d.file("alertmail"), d.path + "/", "0", "0"], cwd=d.path,
                             env=d.env(), capture_output=True, timeout=120)
        self.assertEqual(run.returncode, 1, d.messages("syslog/alertmail"))
        boxes = self.delivered(["a", "d"])
        self.assert_one_proper_message(boxes["a"], "【ORVIS】警報", True)
        self.assert_one_proper_message(boxes["d"], "【ORVIS】警報", True)
        sent = send_log(d, "sendlog/alertmail")
        self.assertEqual(sent[0], "SEND OK   :a@example.jp")
        for line, address in zip(sent[1:3], ("x1", "x2")):
            self.assertTrue(line.startswith("SEND ERROR:%s@example.jp,CAUSE:550 5.1.1" % address),
                            line)
        self.assertEqual(sent[3:], ["SEND OK   :d@example.jp"])
        # The refusals cost the session nothing: one session served all four.
        def sessions():
            return [line for line in self.postfix.log()[len(before):].splitlines()
                    if "disconnect from" in line and " mail=" in line]
        self.assertTrue(wait_until(lambda: sessions(), 10), self.postfix.log())
        self.assertEqual(len(sessions()), 1, sessions())
        self.assertIn(" mail=4 rcpt=2/4 ", sessions()[0])

    def test_postiva_is_delivered_by_a_server_that_enforces_the_order(self):
        d = self.data
        self.settings("postiva")
        d.write("postiva/list.txt", "p1@example.jp,0\r\n p2@example.jp\t,0\r\n")
        d.write("postiva/Subject-0.txt", "監視通知\r\n")
        d.write("postiva/Body-0.txt", "本文です\r\n")
        before = self.postfix.log()
        run = d.run("Postiva", "postiva", timeout=120)
        self.assertEqual(run.returncode, 0, d.messages("syslog/postiva"))
        boxes = self.delivered(["p1", "p2"])
        self.assert_one_proper_message(boxes["p1"], "監視通知", False)
        self.assert_one_proper_message(boxes["p2"], "監視通知", False)
        self.assertEqual(send_log(d, "sendlog/postiva")[1:],
                         ["SEND OK   :p1@example.jp", "SEND OK   :p2@example.jp", "EXIT."])
        log = self.postfix.log()[len(before):]
        self.assertNotIn("pipelining", log)
        self.assertNotIn("synchronization", log)


if __name__ == "__main__":
    unittest.main(verbosity=2)
