#!/usr/bin/env python3
"""A loopback proxy between PostgreSQL clients and a server that delays each exchange and
counts what crosses it, to measure what an action costs over a network.

    tools/pg-delay-proxy.py --target 127.0.0.1:5432 [--port 0] [--delay 30] [--log FILE]

It listens on 127.0.0.1 only and forwards to a loopback server only. On start it prints one
line, "PORT=<n> CONTROL=<m>", and serves:
- on PORT, the clients: each chunk a client sends is forwarded after --delay milliseconds
  (in order), so that every answer the client waits for costs the delay once, as on a link
  whose round trip takes that long; what the server sends goes back at once;
- on CONTROL, one command a line, answered by one line: "counts" (the counts as JSON),
  "reset" (counts to zero, answering "ok"), "delay <ms>" (a new delay, "ok"), "mark <text>"
  (a line "## <text>" in the log, "ok": where an action starts).

Counted since the last reset: "connections" (clients accepted), "round_trips" (a client's
burst answered by the server: the server speaking after the client spoke since the server
last spoke, per connection), "queries" (simple-protocol Query messages), "parses" and
"executes" (extended-protocol Parse and Execute messages), "syncs". With --log every Query
and Parse text is written with its connection number, "+" before one that opened a round
trip. The protocol is read only until a connection turns to TLS.
"""
import argparse
import asyncio
import ipaddress
import json
import socket
import struct
import sys
import time

SSL_REQUEST = 80877103
GSS_REQUEST = 80877104
CANCEL_REQUEST = 80877102

COUNTERS = ("connections", "round_trips", "queries", "parses", "executes", "syncs")


class Counts:
    def __init__(self):
        self.reset()

    def reset(self):
        self.values = dict.fromkeys(COUNTERS, 0)

    def add(self, name, n=1):
        self.values[name] += n


class ClientStream:
    """The messages of one client's side of the protocol, read as they come."""

    def __init__(self, counts, log, number):
        self.counts = counts
        self.log = log
        self.number = number
        self.buffer = b""
        self.started = False    # past the start-up packet(s)
        self.opaque = False     # TLS or GSS encryption: nothing more can be read
        self.opened_round_trip = False
        self.awaiting_encryption = False

    def feed(self, data):
        if self.opaque:
            return
        self.buffer += data
        while True:
            if not self.started:
                if len(self.buffer) < 8:
                    return
                length, code = struct.unpack("!ii", self.buffer[:8])
                if len(self.buffer) < length:
                    return
                self.buffer = self.buffer[length:]
                if code in (SSL_REQUEST, GSS_REQUEST):
                    # Answered by one byte; 'S' or 'G' turns the stream opaque (see server_said).
                    self.awaiting_encryption = True
                    continue
                self.started = code != CANCEL_REQUEST
                continue
            if len(self.buffer) < 5:
                return
            kind = self.buffer[:1]
            (length,) = struct.unpack("!i", self.buffer[1:5])
            if len(self.buffer) < 1 + length:
                return
            body = self.buffer[5:1 + length]
            self.buffer = self.buffer[1 + length:]
            self.message(kind, body)

    def message(self, kind, body):
        if kind == b"Q":
            self.counts.add("queries")
            self.write_log(body.split(b"\0", 1)[0])
        elif kind == b"P":
            self.counts.add("parses")
            name, rest = body.split(b"\0", 1)
            self.write_log(rest.split(b"\0", 1)[0], name)
        elif kind == b"E":
            self.counts.add("executes")
        elif kind == b"S":
            self.counts.add("syncs")

    def write_log(self, text, name=b""):
        if not self.log:
            return
        mark = "+" if self.opened_round_trip else " "
        self.opened_round_trip = False
        label = " [%s]" % name.decode("utf-8", "replace") if name else ""
        self.log.write("%s%d%s %s\n" % (mark, self.number, label, text.decode("utf-8", "replace")))
        self.log.flush()


class Proxy:
    def __init__(self, target_host, target_port, delay_ms, log):
        self.target = (target_host, target_port)
        self.delay = delay_ms / 1000.0
        self.counts = Counts()
        self.log = log
        self.serial = 0

    async def client(self, reader, writer):
        self.serial += 1
        number = self.serial
        self.counts.add("connections")
        try:
            server_reader, server_writer = await asyncio.open_connection(*self.target)
        except OSError:
            writer.close()
            return
        stream = ClientStream(self.counts, self.log, number)
        state = {"client_spoke": False}
        pending = asyncio.Queue()

        async def from_client():
            try:
                while True:
                    data = await reader.read(65536)
                    if not data:
                        break
                    if not state["client_spoke"]:
                        state["client_spoke"] = True
                        stream.opened_round_trip = True
                    stream.feed(data)
                    await pending.put((time.monotonic() + self.delay, data))
            finally:
                await pending.put((time.monotonic() + self.delay, None))

        async def to_server():
            while True:
                due, data = await pending.get()
                wait = due - time.monotonic()
                if wait > 0:
                    await asyncio.sleep(wait)
                if data is None:
                    break
                server_writer.write(data)
                await server_writer.drain()
            try:
                server_writer.write_eof()
            except OSError:
                pass

        async def from_server():
            try:
                while True:
                    data = await server_reader.read(65536)
                    if not data:
                        break
                    if state["client_spoke"]:
                        state["client_spoke"] = False
                        self.counts.add("round_trips")
                    if stream.awaiting_encryption and not stream.started:
                        stream.awaiting_encryption = False
                        if data[:1] in (b"S", b"G"):
                            stream.opaque = True
                    writer.write(data)
                    await writer.drain()
            except OSError:
                pass
            finally:
                writer.close()

        tasks = [asyncio.ensure_future(t) for t in (from_client(), to_server(), from_server())]
        try:
            await asyncio.wait(tasks, return_when=asyncio.ALL_COMPLETED)
        finally:
            for t in tasks:
                t.cancel()
            server_writer.close()

    async def control(self, reader, writer):
        try:
            while True:
                line = await reader.readline()
                if not line:
                    break
                words = line.decode().split()
                if not words:
                    continue
                if words[0] == "counts":
                    answer = json.dumps(self.counts.values)
                elif words[0] == "reset":
                    self.counts.reset()
                    answer = "ok"
                elif words[0] == "mark":
                    if self.log:
                        self.log.write("## %s\n" % " ".join(words[1:]))
                        self.log.flush()
                    answer = "ok"
                elif words[0] == "delay" and len(words) == 2:
                    self.delay = float(words[1]) / 1000.0
                    answer = "ok"
                else:
                    answer = "unknown command"
                writer.write((answer + "\n").encode())
                await writer.drain()
        finally:
            writer.close()


def loopback(host):
    try:
        return ipaddress.ip_address(socket.gethostbyname(host)).is_loopback
    except (OSError, ValueError):
        return False


async def main():
    parser = argparse.ArgumentParser(description="Delays and counts the exchanges of PostgreSQL clients.")
    parser.add_argument("--target", required=True, help="the server, HOST:PORT on loopback")
    parser.add_argument("--port", type=int, default=0, help="where clients connect (0: a free port)")
    parser.add_argument("--control-port", type=int, default=0, help="where counts are asked for (0: a free port)")
    parser.add_argument("--delay", type=float, default=0.0, help="milliseconds added to each exchange")
    parser.add_argument("--log", help="file the statements' texts are written to")
    args = parser.parse_args()
    host, _, port = args.target.rpartition(":")
    if not loopback(host):
        sys.exit("the target must be on loopback")
    log = open(args.log, "a", encoding="utf-8") if args.log else None
    proxy = Proxy(host, int(port), args.delay, log)
    clients = await asyncio.start_server(proxy.client, "127.0.0.1", args.port)
    control = await asyncio.start_server(proxy.control, "127.0.0.1", args.control_port)
    for server in (clients, control):
        for s in server.sockets:
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    print("PORT=%d CONTROL=%d" % (clients.sockets[0].getsockname()[1], control.sockets[0].getsockname()[1]),
          flush=True)
    async with clients, control:
        await asyncio.gather(clients.serve_forever(), control.serve_forever())


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        pass
