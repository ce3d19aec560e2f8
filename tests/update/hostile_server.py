#!/usr/bin/env python3
"""A scripted HTTP server on the loopback interface for the Windows client tests.

It listens on 127.0.0.1 on a free port, writes the port to --port-file, and answers each
request by its path (see ROUTES). It stops by itself when the process given by --parent-pid
ends, or after --lifetime seconds, whichever comes first.

With --tls-file it also runs a TLS side (tests/update/tls_side.py): one more port for each way a
TLS server can behave, with certificates made at start-up under a private test CA. That file
gets one "name port" line for each of those ports and a "ca PATH" line naming the CA's
certificate (DER), which the tests trust inside their own Wine prefix only.
"""

import argparse
import os
import socket
import socketserver
import threading
import time
import urllib.parse

PORTS = {}  # "plain" and the TLS side's names: the ports they listen on, for redirections

RECORDED = {}  # the request heads of the update check, by their encoded product name
RECORDED_LOCK = threading.Lock()


def answer(status_line, headers, body=b""):
    head = status_line + "\r\n" + "".join(h + "\r\n" for h in headers) + "\r\n"
    return head.encode("latin-1") + body


def ok(body, extra=()):
    return answer("HTTP/1.1 200 OK", ["Content-Length: %d" % len(body), *extra], body)


def redirect(status, location):
    return answer("HTTP/1.1 %d Moved" % status, ["Location: " + location, "Content-Length: 0"])


LINK_LIST = b"[links]\r\nram=http://127.0.0.1/memory\r\n"
HTML_PAGE = b"<html><head><title>Sign in</title></head><body>Wi-Fi login\r\n</body></html>"


# An error page far above the 4 KiB of a version answer.
LARGE_ERROR_PAGE = b"<html><body>" + b"Not Found. " * 6000 + b"</body></html>"


def update_check(handler, query):
    product = query.split("&ProductName=", 1)[-1].split("&", 1)[0]
    with RECORDED_LOCK:
        RECORDED[product] = handler.head
    if product == "portal":
        handler.send(ok(HTML_PAGE, ["Content-Type: text/html"]))
    elif product == "large-error-page":
        handler.send(answer("HTTP/1.1 404 Not Found",
                            ["Content-Type: text/html", "Content-Length: %d" % len(LARGE_ERROR_PAGE)],
                            LARGE_ERROR_PAGE))
    else:
        handler.send(ok(b"1.2.3.5"))


def recorded(handler, query):
    with RECORDED_LOCK:
        head = RECORDED.get(query, b"")
    handler.send(ok(head))


def stall(handler, first=b""):
    handler.send(first)
    handler.wait_for_close()


def out_of_band(handler):
    """The head, one urgent (out-of-band) byte, a pause, then the body."""
    handler.send(answer("HTTP/1.1 200 OK", ["Content-Length: 5"]))
    try:
        handler.request.send(b"!", socket.MSG_OOB)
    except OSError:
        return
    time.sleep(1.0)
    handler.send(b"hello")


# "/rel/N/a/b/page?x=1" answers with the relative location RELATIVE_LOCATIONS[N]; every other
# address under "/rel/" answers with its own request target.
RELATIVE_LOCATIONS = ["?y=2", "../c/./d?z=3#frag", "../../../../../rel/top", "#frag"]


def relative(handler, path, query):
    parts = path.split("/")
    if len(parts) == 6 and parts[5] == "page" and query == "x=1":
        handler.send(redirect(302, RELATIVE_LOCATIONS[int(parts[2])]))
    else:
        handler.send(ok(handler.head.split(b" ", 2)[1]))


def big(handler):
    size = 8 * 1024 * 1024
    handler.send(answer("HTTP/1.1 200 OK", ["Content-Length: %d" % size]))
    block = b"x" * 65536
    for _ in range(size // len(block)):
        handler.send(block)


ROUTES = {
    "/hello": lambda h, q: h.send(ok(b"hello")),
    "/echo": lambda h, q: h.send(ok(h.head)),
    "/never": lambda h, q: stall(h),
    "/stall-body": lambda h, q: stall(
        h, answer("HTTP/1.1 200 OK", ["Content-Length: 100"], b"0123456789")),
    "/short": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Content-Length: 100"], b"0123456789")),
    "/extra": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Content-Length: 5"], b"helloEXTRA")),
    "/chunked": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Transfer-Encoding: chunked"],
                                           b"5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n")),
    "/chunked-cut": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Transfer-Encoding: chunked"],
                                               b"5\r\nhello\r\na\r\n wor")),
    "/chunk-zz5": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Transfer-Encoding: chunked"],
                                             b"zz5\r\nhello\r\n0\r\n\r\n")),
    "/big": lambda h, q: big(h),
    "/long-header": lambda h, q: h.send(answer("HTTP/1.1 200 OK",
                                               ["X-Long: " + "a" * 200 * 1024, "Content-Length: 2"],
                                               b"ok")),
    "/many-headers": lambda h, q: h.send(answer(
        "HTTP/1.1 200 OK", ["X-Header-%d: v" % i for i in range(20000)] + ["Content-Length: 2"],
        b"ok")),
    "/loop": lambda h, q: h.send(redirect(302, "/loop")),
    "/to-file": lambda h, q: h.send(redirect(302, "file:///C:/windows/win.ini")),
    "/to-ftp": lambda h, q: h.send(redirect(302, "ftp://127.0.0.1/x")),
    "/to-unc": lambda h, q: h.send(redirect(302, "\\\\127.0.0.1\\share\\x")),
    "/see-other": lambda h, q: h.send(redirect(303, "/hello")),
    "/permanent": lambda h, q: h.send(redirect(308, "/hello")),
    "/no-reason": lambda h, q: h.send(b"HTTP/1.1 200\r\nContent-Length: 5\r\n\r\nhello"),
    "/status/204": lambda h, q: h.send(answer("HTTP/1.1 204 No Content", [])),
    "/status/404": lambda h, q: h.send(answer("HTTP/1.1 404 Not Found", ["Content-Length: 9"],
                                              b"not found")),
    "/status/500": lambda h, q: h.send(answer("HTTP/1.1 500 Server Error", ["Content-Length: 6"],
                                              b"broken")),
    "/status/999": lambda h, q: h.send(answer("HTTP/1.1 999 Odd", ["Content-Length: 3"], b"odd")),
    "/negative-length": lambda h, q: h.send(answer("HTTP/1.1 200 OK", ["Content-Length: -5"],
                                                   b"hello")),
    "/duplicate-length": lambda h, q: h.send(answer(
        "HTTP/1.1 200 OK", ["Content-Length: 5", "Content-Length: 7"], b"hello!!")),
    "/out-of-band": lambda h, q: out_of_band(h),
    "/coded-with-length": lambda h, q: h.send(answer(
        "HTTP/1.1 200 OK", ["Transfer-Encoding: gzip", "Content-Length: 3"], b"abcdef")),
    "/chunked-bad-length": lambda h, q: h.send(answer(
        "HTTP/1.1 200 OK", ["Content-Length: -5", "Transfer-Encoding: chunked"],
        b"5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n")),
    "/veyra/check.php": update_check,
    "/slotvane/slotvane.ini": lambda h, q: h.send(ok(LINK_LIST)),
    "/recorded": recorded,
    "/until-close": lambda h, q: h.send(answer("HTTP/1.1 200 OK", [], b"hello")),
    "/to-https": lambda h, q: h.send(redirect(302, "https://localhost:%d/hello" % PORTS["valid"])),
    "/to-http": lambda h, q: h.send(redirect(302, "http://127.0.0.1:%d/hello" % PORTS["plain"])),
}


def route(handler, path, query):
    # "/redirect/N" leads through N changes of location to "/hello".
    if path.startswith("/redirect/"):
        left = int(path.rsplit("/", 1)[1])
        handler.send(redirect(302, "/redirect/%d" % (left - 1) if left > 1 else "/hello"))
        return
    if path.startswith("/rel/"):
        relative(handler, path, query)
        return
    action = ROUTES.get(path)
    if action is None:
        handler.send(answer("HTTP/1.1 404 Not Found", ["Content-Length: 0"]))
    else:
        action(handler, query)


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.request.settimeout(60)
        self.head = b""

    def send(self, data):
        try:
            self.request.sendall(data)
        except OSError:
            pass  # the client gave up: nothing more to say

    def wait_for_close(self):
        try:
            while self.request.recv(4096):
                pass
        except OSError:
            pass

    def handle(self):
        try:
            while b"\r\n\r\n" not in self.head:
                data = self.request.recv(4096)
                if not data:
                    return
                self.head += data
        except OSError:
            return
        target = self.head.split(b" ", 2)[1].decode("latin-1")
        path, _, query = target.partition("?")
        route(self, urllib.parse.unquote(path), query)
        self.end()

    def end(self):
        try:
            self.request.shutdown(socket.SHUT_WR)
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--parent-pid", type=int, default=0)
    parser.add_argument("--lifetime", type=float, default=1800)
    parser.add_argument("--tls-file", help="where the TLS side's ports and CA are written")
    args = parser.parse_args()

    server = Server(("127.0.0.1", 0), Handler)
    PORTS["plain"] = server.server_address[1]
    servers = [server]
    if args.tls_file:
        import tls_side
        folder = os.path.join(os.path.dirname(os.path.abspath(args.tls_file)), "test-tls")
        ca_path, tls_servers = tls_side.start(folder, Handler, Server)
        servers += tls_servers.values()
        PORTS.update({name: s.server_address[1] for name, s in tls_servers.items()})
        write_atomically(args.tls_file, "".join(
            "%s %d\n" % (name, s.server_address[1]) for name, s in tls_servers.items())
            + "ca %s\n" % ca_path)
    for each in servers:
        threading.Thread(target=each.serve_forever, daemon=True).start()
    write_atomically(args.port_file, str(server.server_address[1]))

    end = time.monotonic() + args.lifetime
    while time.monotonic() < end:
        if args.parent_pid:
            try:
                os.kill(args.parent_pid, 0)
            except OSError:
                break
        time.sleep(0.5)
    for each in servers:
        each.shutdown()


def write_atomically(path, text):
    temporary = path + ".tmp"
    with open(temporary, "w") as f:
        f.write(text)
    os.replace(temporary, path)


if __name__ == "__main__":
    main()
