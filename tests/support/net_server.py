#!/usr/bin/python3
"""Local servers of the net tests: `http ROOT`, `https ROOT` or `ftp ROOT`, on an ephemeral port
of 127.0.0.1.

Prints "PORT <n>" once listening. The HTTP server serves ROOT with Content-Length and byte
ranges; below /fault/<kind>/ it serves the same files badly: 500 (an error page), drop (half
the file, then the connection closes), droponce (drops the first request of a file, then
serves ranges), slow (8 KB blocks, 20 ms apart), nolength (no Content-Length). Every new
connection is counted in ROOT/../connections.txt. A request for an absolute URL (as a proxy
gets it) is served from its path. The HTTPS server has a self-signed certificate, which no
client trusts. The FTP server knows "anonymous" and the user "qnl" with the password "secret".
"""
import http.server
import os
import sys
import threading
import time


def http_server(root, tls=False):
    counter = os.path.join(os.path.dirname(os.path.abspath(root)), "connections.txt")
    lock = threading.Lock()
    dropped = set()

    def count_connection():
        with lock:
            n = int(open(counter).read()) if os.path.exists(counter) else 0
            with open(counter, "w") as f:
                f.write(str(n + 1))

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def setup(self):
            super().setup()
            count_connection()

        def log_message(self, *args):
            pass

        def do_GET(self):
            path = self.path
            if path.startswith("http://"):
                path = "/" + path[7:].partition("/")[2]
            parts = path.lstrip("/").split("/")
            kind = ""
            if len(parts) >= 2 and parts[0] == "fault":
                kind, parts = parts[1], parts[2:]
            path = os.path.join(root, *parts)
            if kind == "500":
                return self.page(500, b"<html><body>Internal error</body></html>")
            if not os.path.isfile(path):
                return self.page(404, b"<html><body>404 Not Found</body></html>")
            data = open(path, "rb").read()
            start = 0
            rng = self.headers.get("Range")
            if rng and rng.startswith("bytes=") and kind != "drop":
                start = int(rng[6:].split("-")[0])
                self.send_response(206)
                self.send_header("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data)))
            else:
                self.send_response(200)
            body = data[start:]
            if kind != "nolength":
                self.send_header("Content-Length", str(len(body)))
            else:
                self.send_header("Connection", "close")
            self.end_headers()
            if kind == "drop" or (kind == "droponce" and path not in dropped):
                dropped.add(path)
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.close_connection = True
                return
            if kind == "slow":
                for i in range(0, len(body), 8192):
                    self.wfile.write(body[i : i + 8192])
                    self.wfile.flush()
                    time.sleep(0.02)
                return
            self.wfile.write(body)
            if kind == "nolength":
                self.close_connection = True

        def page(self, status, body):
            self.send_response(status)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    if tls:
        import ssl
        import subprocess
        import tempfile

        folder = tempfile.mkdtemp()
        key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                        "/CN=127.0.0.1", "-keyout", key, "-out", cert], check=True, capture_output=True)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


def ftp_server(root):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root)
    authorizer.add_user("qnl", "secret", root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    import logging

    logging.disable(logging.CRITICAL)
    if sys.argv[1] == "https":
        http_server(sys.argv[2], tls=True)
    else:
        {"http": http_server, "ftp": ftp_server}[sys.argv[1]](sys.argv[2])
