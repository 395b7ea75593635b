"""A loopback SMTP server for the alertmail end-to-end tests.

Every accepted message is written to the output folder as msg-NNN.eml (the
bytes as received) and msg-NNN.txt (envelope, TLS, login and the decoded
subject, sender name, content type and body, UTF-8). Every AUTH attempt adds
a line to auth.txt, so a test can prove that no password went out. The
file "ready" appears once the server listens. The server stops on SIGTERM,
or by itself after --lifetime seconds so that it never outlives a test.
"""

import argparse
import asyncio
import email
import email.header
import email.utils
import os
import signal
import ssl
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


def decode_header_text(value):
    if value is None:
        return ""
    return str(email.header.make_header(email.header.decode_header(value)))


def encrypted(server, session):
    # STARTTLS records itself in the session; implicit TLS only in the transport.
    return session.ssl is not None or server.transport.get_extra_info("ssl_object") is not None


class Recorder:
    def __init__(self, out_dir, reject, cut_at, busy_at):
        self.out_dir = out_dir
        self.reject = dict(reject)
        self.cut_at = cut_at
        self.busy_at = busy_at
        self.count = 0
        self.sessions = 0
        self.lock = threading.Lock()

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        # The connection's own count of messages decides when it misbehaves.
        if not hasattr(session, "serial"):
            with self.lock:
                self.sessions += 1
                session.serial, session.messages = self.sessions, 0
        if session.messages == self.cut_at:
            server.transport.close()  # gone without a word
            return "250 OK"
        if session.messages == self.busy_at:
            asyncio.get_running_loop().call_later(0.05, server.transport.close)
            return "421 4.7.0 mail.test Too many messages, closing connection"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.reject:
            return self.reject[address] or "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content or envelope.content
        with self.lock:
            self.count += 1
            base = os.path.join(self.out_dir, "msg-%03d" % self.count)
        msg = email.message_from_bytes(raw)
        payload = msg.get_payload(decode=True) or b""
        name, _ = email.utils.parseaddr(decode_header_text(msg.get("from")))
        login = "-"
        if session.authenticated and session.auth_data is not None:
            login = session.auth_data.login.decode("utf-8", "replace")
        lines = [
            "MAIL FROM=" + str(envelope.mail_from),
            "SESSION=%d" % session.serial,
            "RCPT TO=" + ",".join(envelope.rcpt_tos),
            "TLS=" + ("yes" if encrypted(server, session) else "no"),
            "LOGIN=" + login,
            "SUBJECT=" + decode_header_text(msg.get("subject")),
            "FROM NAME=" + name,
            "CONTENT-TYPE=" + str(msg.get("content-type")),
            "BODY=",
        ]
        session.messages += 1
        text = "\n".join(lines) + "\n" + payload.decode("iso-2022-jp", "replace")
        with open(base + ".eml", "wb") as f:
            f.write(raw)
        with open(base + ".txt", "w", encoding="utf-8") as f:
            f.write(text)
        return "250 OK queued"


def make_context(cert, key):
    ctx = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    ctx.load_cert_chain(cert, key)
    return ctx


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--host", required=True)
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--cert")
    p.add_argument("--key")
    p.add_argument("--tls", choices=["none", "starttls", "implicit"], default="none")
    p.add_argument("--auth", help="USER:PASSWORD that the server accepts")
    p.add_argument("--reject", action="append", default=[],
                   help="recipient to refuse, optionally ADDRESS=REPLY")
    p.add_argument("--cut-at", type=int, help="close a connection at its N+1st MAIL, unanswered")
    p.add_argument("--busy-at", type=int, help="answer a connection's N+1st MAIL with 421 and close")
    p.add_argument("--lifetime", type=float, default=120)
    a = p.parse_args()

    auth_log = os.path.join(a.out, "auth.txt")

    def authenticator(server, session, envelope, mechanism, auth_data):
        login = auth_data.login.decode("utf-8", "replace")
        password = auth_data.password.decode("utf-8", "replace")
        ok = a.auth is not None and a.auth == login + ":" + password
        with open(auth_log, "a", encoding="utf-8") as f:
            f.write("%s %s %s tls=%s\n" % (mechanism, login, "ok" if ok else "fail",
                                            "yes" if encrypted(server, session) else "no"))
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    kwargs = dict(hostname=a.host, port=a.port, server_hostname="mail.test",
                  authenticator=authenticator, auth_require_tls=False,
                  auth_required=a.auth is not None)
    if a.tls == "starttls":
        kwargs["tls_context"] = make_context(a.cert, a.key)
    elif a.tls == "implicit":
        kwargs["ssl_context"] = make_context(a.cert, a.key)

    reject = [r.partition("=")[::2] for r in a.reject]
    kwargs["enable_SMTPUTF8"] = True  # replies may carry UTF-8
    controller = Controller(Recorder(a.out, reject, a.cut_at, a.busy_at), **kwargs)
    controller.start()
    with open(os.path.join(a.out, "ready"), "w") as f:
        f.write("ready\n")

    done = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: done.set())
    signal.signal(signal.SIGINT, lambda *_: done.set())
    done.wait(a.lifetime)
    controller.stop()


if __name__ == "__main__":
    main()
