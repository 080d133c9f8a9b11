"""A programmable stand-in for a peer's HTTP server, for the rows of the fault
matrix that need a server misbehaving in a way nginx or PHP will not.

    server = FaultServer("127.0.0.1", {
        "/update.ini": document(b"<html>not found</html>", status=404),
        "/qorindu.exe": cut_off(installer_bytes, after=4096, reset=True),
    })
    server.start() ... server.stop()

Each route is a function (connection, request) -> None that writes whatever
it likes to the socket; the server closes the connection afterwards. A path
without a route is answered 404. Every request is recorded (method, path,
headers) in server.requests. Standard library only.
"""
import socket
import struct
import threading
import time

STATUS_WORDS = {200: "OK", 401: "Unauthorized", 404: "Not Found", 500: "Internal Server Error"}


class Request:
    def __init__(self, method, path, headers):
        self.method, self.path, self.headers = method, path, headers

    def __repr__(self):
        return f"{self.method} {self.path[:80]}"


def _head(status, length, content_type="text/plain", extra=()):
    lines = [f"HTTP/1.0 {status} {STATUS_WORDS.get(status, 'Status')}", f"Content-Type: {content_type}",
             "Connection: close", *extra]
    if length is not None:
        lines.append(f"Content-Length: {length}")
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def document(body, status=200, length="exact", content_type="text/plain"):
    """A whole answer. length: "exact" states the body's length, None leaves the header out,
    a number states that number whatever the body is."""
    body = body.encode("cp1252") if isinstance(body, str) else body

    def route(connection, request):
        stated = len(body) if length == "exact" else length
        connection.sendall(_head(status, stated, content_type))
        connection.sendall(body)
    return route


def unauthorized(realm="update"):
    """401 with a Basic challenge: a client that holds credentials for the server sends them now."""
    body = b"<html><body>401</body></html>"

    def route(connection, request):
        connection.sendall(_head(401, len(body), "text/html", [f'WWW-Authenticate: Basic realm="{realm}"']))
        connection.sendall(body)
    return route


def cut_off(body, after, reset):
    """States the whole length, sends the first `after` bytes, then ends the connection:
    by a reset (RST) or by an orderly close that leaves the body short."""
    def route(connection, request):
        connection.sendall(_head(200, len(body), "application/octet-stream"))
        connection.sendall(body[:after])
        time.sleep(0.2)  # lets the client read what came before the end
        if reset:
            connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    return route


def stall(body, after, stop_event):
    """Sends the head and the first `after` bytes, then nothing until the server stops."""
    def route(connection, request):
        connection.sendall(_head(200, len(body), "application/octet-stream"))
        connection.sendall(body[:after])
        stop_event.wait()
    return route


def late(seconds, body=b"<html><body>OK</body></html>", stop_event=None):
    """Answers only after `seconds` (or when the server stops)."""
    def route(connection, request):
        if stop_event is not None:
            stop_event.wait(seconds)
        else:
            time.sleep(seconds)
        document(body, content_type="text/html")(connection, request)
    return route


class FaultServer:
    def __init__(self, host, routes, port=80, prefix_routes=None):
        self.host, self.port = host, port
        self.routes = dict(routes)
        self.prefix_routes = dict(prefix_routes or {})  # path prefix -> route (query strings)
        self.requests = []
        self.stopping = threading.Event()
        self._listener = None
        self._threads = []
        self._lock = threading.Lock()

    def start(self):
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        listener.bind((self.host, self.port))
        listener.listen(16)
        listener.settimeout(0.2)
        self._listener = listener
        accept = threading.Thread(target=self._accept_loop, daemon=True)
        accept.start()
        self._threads.append(accept)
        return self

    def stop(self):
        self.stopping.set()
        for thread in self._threads:
            thread.join(10)
        if self._listener is not None:
            self._listener.close()

    def paths(self):
        with self._lock:
            return [r.path for r in self.requests]

    def _accept_loop(self):
        while not self.stopping.is_set():
            try:
                connection, _ = self._listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            worker = threading.Thread(target=self._serve, args=(connection,), daemon=True)
            worker.start()
            self._threads.append(worker)

    def _serve(self, connection):
        try:
            connection.settimeout(10)
            request = self._read_request(connection)
            if request is None:
                return
            # A slow reader (the wizard hands every 1 KB to its window) may take long
            # over a big answer; the time-out applies to the whole of a sendall.
            connection.settimeout(None)
            with self._lock:
                self.requests.append(request)
            route = self.routes.get(request.path.split("?")[0])
            if route is None:
                route = next((r for p, r in self.prefix_routes.items() if request.path.startswith(p)), None)
            (route or document(b"<html><body>404</body></html>", status=404, content_type="text/html"))(
                connection, request)
        except OSError:
            pass
        finally:
            connection.close()

    @staticmethod
    def _read_request(connection):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = connection.recv(65536)
            if not chunk:
                return None
            data += chunk
            if len(data) > 1 << 20:
                return None
        head = data.split(b"\r\n\r\n", 1)[0].decode("latin-1").split("\r\n")
        method, path = (head[0].split(" ") + ["", ""])[:2]
        headers = dict(line.split(": ", 1) for line in head[1:] if ": " in line)
        return Request(method, path, headers)
