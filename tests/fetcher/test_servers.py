#!/usr/bin/python3
"""Loopback servers for the urlcheck tests.

  test_servers.py pages PORTFILE LOGFILE ROOT [CERT KEY]
      serves the files of ROOT (Content-Type from NAME.type when present),
      plus /status/N, /redirect?to=PATH, /loop and /agent
  test_servers.py proxy PORTFILE LOGFILE
      a forward proxy for plain HTTP; hosts under .test answer 502 without
      a name look-up

Each binds a free port of 127.0.0.1, writes it to PORTFILE once listening
and appends one line per request to LOGFILE.
"""
import http.client
import http.server
import os
import ssl
import sys
import time
import urllib.parse


class Recording(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    log_file = None

    def log_message(self, *args):
        pass

    def record(self, line):
        with open(self.log_file, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    def reply(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class Pages(Recording):
    root = None

    def stream(self, size, pause, chunked=False):
        block = b"<p>" + b"x" * ((1 << 20) - 3)
        sent = 0
        try:
            while size is None or sent < size:
                piece = block if pause == 0 else b"<p>more</p>"
                if chunked:
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                else:
                    self.wfile.write(piece)
                self.wfile.flush()
                sent += len(piece)
                if pause:
                    time.sleep(pause)
        except OSError:
            pass  # the client gave up: that is the test

    def chunked(self, size, pause):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        self.stream(size, pause, chunked=True)

    def do_GET(self):
        self.record(f"GET {self.path} UA={self.headers.get('User-Agent', '')}")
        path = self.path
        html = [("Content-Type", "text/html")]
        if path.startswith("/status/"):
            code = int(path[len("/status/"):])
            return self.reply(code, f"status {code}".encode(), html)
        if path.startswith("/redirect?to="):
            return self.reply(302, b"", [("Location", urllib.parse.unquote(path[len("/redirect?to="):]))])
        if path == "/loop":
            return self.reply(302, b"", [("Location", "/loop")])
        if path == "/huge":  # says it is a gigabyte, and sends it
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(1 << 30))
            self.end_headers()
            return self.stream(1 << 30, 0)
        if path == "/huge-chunked":  # a gigabyte without saying so
            return self.chunked(1 << 30, 0)
        if path == "/endless":  # a few bytes now and then, for ever
            return self.chunked(None, 0.1)
        if path == "/agent":
            return self.reply(200, self.headers.get("User-Agent", "").encode("latin-1"), html)
        name = urllib.parse.unquote(urllib.parse.urlsplit(path).path.lstrip("/"))
        file = os.path.join(self.root, name)
        if not name or "/" in name or name.startswith(".") or not os.path.isfile(file):
            return self.reply(404, b"not found", html)
        with open(file, "rb") as f:
            body = f.read()
        headers = html
        if os.path.isfile(file + ".type"):
            with open(file + ".type", encoding="ascii") as f:
                kind = f.read().strip()
            headers = [("Content-Type", kind)] if kind else []
        self.reply(200, body, headers)


class Proxy(Recording):
    def do_GET(self):
        self.record(f"GET {self.path}")
        target = urllib.parse.urlsplit(self.path)
        if target.scheme != "http":
            return self.reply(400, b"absolute http URI expected")
        if target.hostname.endswith(".test"):
            return self.reply(502, b"no such host")
        upstream = http.client.HTTPConnection(target.hostname, target.port or 80, timeout=10)
        skip = {"proxy-connection", "connection", "host", "keep-alive"}
        headers = {k: v for k, v in self.headers.items() if k.lower() not in skip}
        upstream.request("GET", (target.path or "/") + ("?" + target.query if target.query else ""),
                         headers=headers)
        answer = upstream.getresponse()
        body = answer.read()
        passed = [(k, v) for k, v in answer.getheaders() if k.lower() in ("content-type", "location")]
        self.reply(answer.status, body, passed + [("Via", "1.1 test-proxy")])


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that rejects our certificate is part of the test


def main():
    mode, port_file, log_file = sys.argv[1:4]
    if mode == "pages":
        handler, Pages.root, tls = Pages, sys.argv[4], sys.argv[5:7]
    else:
        handler, tls = Proxy, []
    handler.log_file = log_file
    server = Server(("127.0.0.1", 0), handler)
    if tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(tls[0], tls[1])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(port_file + ".part", "w", encoding="ascii") as f:
        f.write(str(server.server_address[1]))
    os.rename(port_file + ".part", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
