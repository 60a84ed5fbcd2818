#!/usr/bin/env python3
"""A local analytics endpoint for tests and demos.

Accepts the upload POST to /sa?project=pc, decodes "data_list" (percent
decoding, Base64, gunzip when "gzip=1"), checks that every record has the
shape the back-end expects, stores batches and records in SQLite and answers
200. It can be told to fail (500, 204, 302, or no answer for longer than the
uploader's 3-second limit), reports what it received, and stops by itself
after an idle period.

  collector.py serve [--port N] [--port-file F] [--db FILE] [--mode MODE]
                     [--stall-seconds S] [--idle-timeout S] [--tls CERT KEY] [--detach]
  collector.py stop --port-file F
  collector.py dump --db FILE [--records]

With --tls every request, control and inspection too, is served over TLS with
that certificate and key (PEM).

Control and inspection over HTTP (127.0.0.1 only):
  POST /control?mode=ok|500|204|302|stall   change how uploads are answered
  GET  /batches    every stored batch, decoded, one per line
  GET  /records    every stored record, one JSON object per line
  GET  /stats      "batches=B records=R rejected=X attempts=A"
  GET  /headers    the request headers of the last upload
  POST /shutdown   stop now
"""

import argparse
import base64
import binascii
import json
import os
import sqlite3
import ssl
import sys
import threading
import time
import urllib.parse
import urllib.request
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MODES = ("ok", "500", "204", "302", "stall")
RECORD_TYPES = {"track", "track_signup", "profile_set", "profile_set_once",
                "profile_increment", "profile_append"}
RECORD_KEYS = {"_track_id", "distinct_id", "event", "lib", "original_id", "project",
               "properties", "time", "type"}
LIB_KEYS = {"$lib", "$lib_method", "$lib_version"}


class BadUpload(Exception):
    pass


def is_int(value):
    return isinstance(value, int) and not isinstance(value, bool)


def check_record(index, record):
    where = "record %d" % index
    if not isinstance(record, dict):
        raise BadUpload(where + " is not an object")
    unknown = set(record) - RECORD_KEYS
    if unknown:
        raise BadUpload("%s has unknown members %s" % (where, sorted(unknown)))
    kind = record.get("type")
    if kind not in RECORD_TYPES:
        raise BadUpload("%s has type %r" % (where, kind))
    if not is_int(record.get("_track_id")) or not is_int(record.get("time")):
        raise BadUpload(where + " needs integer _track_id and time")
    if not isinstance(record.get("distinct_id"), str) or not record["distinct_id"]:
        raise BadUpload(where + " needs a distinct_id")
    lib = record.get("lib")
    if not isinstance(lib, dict) or set(lib) != LIB_KEYS or \
            not all(isinstance(v, str) for v in lib.values()):
        raise BadUpload(where + " has a malformed lib")
    properties = record.get("properties")
    if not isinstance(properties, dict):
        raise BadUpload(where + " needs properties")
    for name, value in properties.items():
        if isinstance(value, (dict, type(None))):
            raise BadUpload("%s property %r is not a scalar or list" % (where, name))
        if isinstance(value, list) and not all(isinstance(v, str) for v in value):
            raise BadUpload("%s property %r is not a list of strings" % (where, name))
    tracked = kind in ("track", "track_signup")
    if tracked != isinstance(record.get("event"), str):
        raise BadUpload(where + " has event where it does not belong, or lacks it")
    if (kind == "track_signup") != isinstance(record.get("original_id"), str):
        raise BadUpload(where + " has original_id where it does not belong, or lacks it")
    if "project" in record and not isinstance(record["project"], str):
        raise BadUpload(where + " has a project that is not a string")


def form_fields(body):
    fields = {}
    for part in body.split(b"&"):
        name, _, value = part.partition(b"=")
        # '+' stays '+': the uploader percent-encodes it, so this is exact.
        fields[urllib.parse.unquote_to_bytes(name).decode("ascii", "replace")] = \
            urllib.parse.unquote_to_bytes(value)
    return fields


def decode_upload(body):
    fields = form_fields(body)
    if "data_list" not in fields:
        raise BadUpload("no data_list field")
    try:
        raw = base64.b64decode(fields["data_list"], validate=True)
    except binascii.Error as error:
        raise BadUpload("data_list is not Base64: %s" % error)
    if fields.get("gzip") == b"1":
        try:
            raw = zlib.decompress(raw, 31)
        except zlib.error as error:
            raise BadUpload("data_list is not gzip: %s" % error)
    try:
        text = raw.decode("utf-8")
        records = json.loads(text)
    except (UnicodeDecodeError, ValueError) as error:
        raise BadUpload("data_list is not JSON: %s" % error)
    if not isinstance(records, list) or not records:
        raise BadUpload("data_list is not a non-empty array")
    for index, record in enumerate(records):
        check_record(index, record)
    return text, records


class Store:
    def __init__(self, path):
        self.lock = threading.Lock()
        self.db = sqlite3.connect(path, check_same_thread=False)
        self.db.executescript("""
            CREATE TABLE IF NOT EXISTS batches (id INTEGER PRIMARY KEY, received REAL,
                user_agent TEXT, body_bytes INTEGER, batch TEXT);
            CREATE TABLE IF NOT EXISTS records (id INTEGER PRIMARY KEY, batch_id INTEGER,
                type TEXT, event TEXT, distinct_id TEXT, record TEXT);
            CREATE TABLE IF NOT EXISTS rejected (id INTEGER PRIMARY KEY, received REAL,
                reason TEXT, body BLOB);
        """)
        self.attempts = 0
        self.last_headers = ""

    def add_batch(self, user_agent, body_bytes, text, records):
        with self.lock:
            cursor = self.db.execute(
                "INSERT INTO batches (received, user_agent, body_bytes, batch) VALUES (?,?,?,?)",
                (time.time(), user_agent, body_bytes, text))
            for record in records:
                self.db.execute(
                    "INSERT INTO records (batch_id, type, event, distinct_id, record) "
                    "VALUES (?,?,?,?,?)",
                    (cursor.lastrowid, record["type"], record.get("event", ""),
                     record["distinct_id"], json.dumps(record, ensure_ascii=False,
                                                       separators=(",", ":"))))
            self.db.commit()

    def add_rejected(self, reason, body):
        with self.lock:
            self.db.execute("INSERT INTO rejected (received, reason, body) VALUES (?,?,?)",
                            (time.time(), reason, body))
            self.db.commit()

    def column(self, sql):
        with self.lock:
            return [row[0] for row in self.db.execute(sql)]

    def stats(self):
        count = lambda table: self.column("SELECT COUNT(*) FROM " + table)[0]
        return "batches=%d records=%d rejected=%d attempts=%d" % (
            count("batches"), count("records"), count("rejected"), self.attempts)


class Collector(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, store, mode, stall_seconds):
        super().__init__(("127.0.0.1", port), Handler)
        self.store = store
        self.mode = mode
        self.stall_seconds = stall_seconds
        self.last_activity = time.monotonic()

    def handle_error(self, request, client_address):
        # A client that refused the certificate is what TLS tests expect.
        if not isinstance(sys.exc_info()[1], ssl.SSLError):
            super().handle_error(request, client_address)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, text="", extra=()):
        data = text.encode("utf-8")
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        if status != 204:
            self.send_header("Content-Type", "text/plain; charset=utf-8")
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if status != 204:
            self.wfile.write(data)

    def do_GET(self):
        server = self.server
        server.last_activity = time.monotonic()
        path = urllib.parse.urlsplit(self.path).path
        store = server.store
        if path == "/batches":
            self.answer(200, "".join(b + "\n" for b in store.column("SELECT batch FROM batches ORDER BY id")))
        elif path == "/records":
            self.answer(200, "".join(r + "\n" for r in store.column("SELECT record FROM records ORDER BY id")))
        elif path == "/stats":
            self.answer(200, store.stats())
        elif path == "/headers":
            self.answer(200, store.last_headers)
        else:
            self.answer(404, "unknown path")

    def do_POST(self):
        server = self.server
        server.last_activity = time.monotonic()
        split = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(split.query)
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        if split.path == "/control":
            mode = query.get("mode", [""])[0]
            if mode not in MODES:
                self.answer(400, "mode is one of " + ", ".join(MODES))
                return
            server.mode = mode
            self.answer(200, "mode=" + mode)
        elif split.path == "/shutdown":
            self.answer(200, "bye")
            threading.Thread(target=server.shutdown, daemon=True).start()
        elif split.path == "/sa" and query.get("project") == ["pc"]:
            self.upload(body)
        else:
            self.answer(404, "unknown path")

    def upload(self, body):
        server = self.server
        store = server.store
        store.attempts += 1
        store.last_headers = "".join("%s: %s\n" % item for item in self.headers.items())
        mode = server.mode
        if mode == "stall":
            time.sleep(server.stall_seconds)
            self.close_connection = True
            return
        if mode == "500":
            self.answer(500, "collector told to fail")
            return
        if mode == "204":
            self.answer(204)
            return
        if mode == "302":
            self.answer(302, "moved", [("Location", "/sa?project=pc&moved=1")])
            return
        try:
            text, records = decode_upload(body)
        except BadUpload as error:
            store.add_rejected(str(error), body)
            self.answer(400, str(error))
            return
        store.add_batch(self.headers.get("User-Agent", ""), len(body), text, records)
        self.answer(200, "ok")


def watch_idle(server, idle_timeout):
    while True:
        time.sleep(0.2)
        if time.monotonic() - server.last_activity > idle_timeout:
            server.shutdown()
            return


def write_port_file(path, port):
    temporary = path + ".tmp"
    with open(temporary, "w") as out:
        out.write("%d\n" % port)
    os.replace(temporary, path)


def serve(args):
    if args.detach:
        if args.port_file is None:
            sys.exit("--detach needs --port-file")
        if os.path.exists(args.port_file):
            os.remove(args.port_file)
        if os.fork() != 0:
            deadline = time.monotonic() + 10
            while not os.path.exists(args.port_file):
                if time.monotonic() > deadline:
                    sys.exit("the collector did not start")
                time.sleep(0.05)
            return
        os.setsid()
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
    server = Collector(args.port, Store(args.db), args.mode, args.stall_seconds)
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*args.tls)
        # The handshake waits for the handler's first read, on its own thread:
        # a client that refuses the certificate cannot hold up the others.
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
    port = server.server_address[1]
    print("listening 127.0.0.1 %d" % port, flush=True)
    if args.port_file:
        write_port_file(args.port_file, port)
    threading.Thread(target=watch_idle, args=(server, args.idle_timeout), daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.1)
    finally:
        print(server.store.stats(), flush=True)
        server.server_close()
        if args.port_file and os.path.exists(args.port_file):
            os.remove(args.port_file)


def stop(args):
    try:
        with open(args.port_file) as f:
            port = int(f.read().strip())
    except (OSError, ValueError):
        return
    request = urllib.request.Request("http://127.0.0.1:%d/shutdown" % port, data=b"", method="POST")
    try:
        urllib.request.urlopen(request, timeout=5).read()
    except OSError:
        pass


def dump(args):
    store = Store(args.db)
    rows = store.column("SELECT record FROM records ORDER BY id" if args.records
                        else "SELECT batch FROM batches ORDER BY id")
    for row in rows:
        print(row)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    s = commands.add_parser("serve")
    s.add_argument("--port", type=int, default=0, help="0 picks a free port")
    s.add_argument("--port-file", help="write the port here once listening")
    s.add_argument("--db", default=":memory:", help="SQLite file (default: in memory)")
    s.add_argument("--mode", choices=MODES, default="ok")
    s.add_argument("--stall-seconds", type=float, default=4.5)
    s.add_argument("--idle-timeout", type=float, default=60.0)
    s.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), help="serve over TLS")
    s.add_argument("--detach", action="store_true", help="run in the background")
    t = commands.add_parser("stop")
    t.add_argument("--port-file", required=True)
    d = commands.add_parser("dump")
    d.add_argument("--db", required=True)
    d.add_argument("--records", action="store_true", help="records instead of batches")
    args = parser.parse_args()
    {"serve": serve, "stop": stop, "dump": dump}[args.command](args)


if __name__ == "__main__":
    main()
