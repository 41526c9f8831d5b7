"""Test servers on the loopback address: HTTP, HTTPS and FTP over a folder that the test writes.

    loopback_server.py http|https|ftp ROOT

Binds 127.0.0.1 on a free port, prints "PORT <n>" on one line and serves until its standard input
closes (the test ended, or died) or ten minutes have passed. Run it with /usr/bin/python3: the FTP
server needs Debian's python3-pyftpdlib.

Besides the files below ROOT, the HTTP and HTTPS servers answer these addresses, so that tests can
meet every way a transfer can go:
    /_/redirect/N/PATH       N redirects in a row, then the file PATH
    /_/redirect-to?ADDRESS   one redirect to ADDRESS
    /_/stall                 accepts the request and never answers
    /_/slow?size=S&chunk=C&delay=D   S bytes announced, C of them every D milliseconds
    /_/die?size=S&sent=K     S bytes announced, K sent, then the connection is cut
    /_/stream?size=S         S bytes without announcing the size
    /_/agent                 the request's User-Agent header as the body
"""

import http.server
import os
import socket
import ssl
import sys
import threading
import time
import urllib.parse

LIFETIME_SECONDS = 600
STALL_SECONDS = 120
HERE = os.path.dirname(os.path.abspath(__file__))


def end_with_parent():
    """Exits when the test's end of the pipe closes, however the test ended."""
    try:
        sys.stdin.buffer.read()
    finally:
        os._exit(0)


def end_after_lifetime():
    time.sleep(LIFETIME_SECONDS)
    os._exit(0)


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass

    def do_GET(self):
        parsed = urllib.parse.urlsplit(self.path)
        if not parsed.path.startswith("/_/"):
            return super().do_GET()
        parts = parsed.path[3:].split("/")
        query = dict(urllib.parse.parse_qsl(parsed.query))
        kind = parts[0]
        if kind == "redirect":
            count = int(parts[1])
            rest = "/".join(parts[2:])
            target = "/_/redirect/%d/%s" % (count - 1, rest) if count > 0 else "/" + rest
            if count > 0:
                return self.redirect(target)
            self.path = target
            return super().do_GET()
        if kind == "redirect-to":
            return self.redirect(urllib.parse.unquote(parsed.query))
        if kind == "stall":
            time.sleep(STALL_SECONDS)
            return
        if kind == "slow":
            return self.send_slowly(int(query["size"]), int(query["chunk"]), int(query["delay"]) / 1000.0)
        if kind == "die":
            return self.die(int(query["size"]), int(query["sent"]))
        if kind == "stream":
            return self.stream(int(query["size"]))
        if kind == "agent":
            return self.send_body(self.headers.get("User-Agent", "").encode("utf-8"))
        self.send_error(404)

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def send_body(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_slowly(self, size, chunk, delay):
        self.send_response(200)
        self.send_header("Content-Length", str(size))
        self.end_headers()
        sent = 0
        try:
            while sent < size:
                piece = min(chunk, size - sent)
                self.wfile.write(b"s" * piece)
                self.wfile.flush()
                sent += piece
                time.sleep(delay)
        except OSError:
            pass  # the client went away, as a cancelled download does

    def die(self, size, sent):
        self.send_response(200)
        self.send_header("Content-Length", str(size))
        self.end_headers()
        self.wfile.write(b"d" * sent)
        self.wfile.flush()
        self.connection.shutdown(socket.SHUT_RDWR)
        self.close_connection = True

    def stream(self, size):
        self.send_response(200)
        self.send_header("Connection", "close")
        self.end_headers()
        left = size
        try:
            while left > 0:
                piece = min(65536, left)
                self.wfile.write(b"x" * piece)
                left -= piece
        except OSError:
            pass
        self.close_connection = True


def serve_http(root, secure):
    def make_handler(*args, **kwargs):
        return Handler(*args, directory=root, **kwargs)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler)
    server.daemon_threads = True
    if secure:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(HERE, "loopback-test-cert.pem"),
                                os.path.join(HERE, "loopback-test-key.pem"))
        server.socket = context.wrap_socket(server.socket, server_side=True)
    announce(server.server_address[1])
    server.serve_forever()


def serve_ftp(root):
    import logging
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root)
    handler = FTPHandler
    handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), handler)
    announce(server.socket.getsockname()[1])
    server.serve_forever()


def announce(port):
    sys.stdout.write("PORT %d\n" % port)
    sys.stdout.flush()


def main():
    kind, root = sys.argv[1], os.path.abspath(sys.argv[2])
    threading.Thread(target=end_with_parent, daemon=True).start()
    threading.Thread(target=end_after_lifetime, daemon=True).start()
    if kind == "ftp":
        serve_ftp(root)
    else:
        serve_http(root, kind == "https")


if __name__ == "__main__":
    main()
