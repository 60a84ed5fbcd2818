#!/usr/bin/env python3
"""A download server for what nginx cannot be made to do, bound to 127.0.0.1.

Content: GET or HEAD /gen/<length>/<digest>/<name> serves <length> bytes of
deterministic content (see `content`), honouring single byte ranges with 206.
The digest segment is not checked: tests put the right one (GET /md5/<length>
gives it), a wrong one or an upper-case one there.

Faults, as a prefix /f/<fault>[,<fault>...]/ before /gen/...; a fault with a
suffix xK applies to the first K GET requests of that exact path only:
  head405        HEAD answers 405 (GET still works)
  status<N>      every request answers status N with a short body
  norange        a ranged GET is answered 200 with the whole body
  drop<B>        the connection is closed after B bytes of the body
  slow<S>        the body starts, then nothing comes for S seconds
  mute<S>        nothing at all is answered for S seconds
Redirects: /r/<K>/<rest> answers 302 to /r/<K-1>/<rest>, and /r/0/<rest> to /<rest>.

The server stops by itself after --lifetime seconds, or --idle seconds without
a request. It prints "PORT <n>" once it listens.
"""
import argparse
import hashlib
import http.server
import random
import re
import socketserver
import sys
import threading
import time

BLOCK = 65536
_rng = random.Random(20261210)
BASE = bytes(_rng.randrange(256) for _ in range(BLOCK))
TABLES = [bytes((b ^ j) for b in range(256)) for j in range(256)]


def content(start, end):
    """Bytes start..end-1: a fixed pseudo-random block, XOR-ed per 64 KiB window."""
    out = bytearray()
    pos = start
    while pos < end:
        window = pos // BLOCK
        offset = pos % BLOCK
        take = min(BLOCK - offset, end - pos)
        out += BASE[offset:offset + take].translate(TABLES[window & 0xFF])
        pos += take
    return bytes(out)


_digests = {}
_digest_lock = threading.Lock()


def digest(length):
    with _digest_lock:
        if length not in _digests:
            md5 = hashlib.md5()
            for pos in range(0, length, 1 << 20):
                md5.update(content(pos, min(length, pos + (1 << 20))))
            _digests[length] = md5.hexdigest()
        return _digests[length]


_counts = {}
_count_lock = threading.Lock()
_last_request = [time.time()]


def attempt_number(path):
    with _count_lock:
        _counts[path] = _counts.get(path, 0) + 1
        return _counts[path]


def active_faults(spec, path, is_get, number):
    faults = {}
    for item in spec.split(','):
        m = re.fullmatch(r'([a-z]+)(\d*)(?:x(\d+))?', item)
        if not m:
            continue
        name, value, times = m.group(1), m.group(2), m.group(3)
        if times is not None and (not is_get or number > int(times)):
            continue
        faults[name] = int(value) if value else 0
    return faults


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, fmt, *args):
        sys.stderr.write('%s %s\n' % (self.address_string(), fmt % args))

    def do_HEAD(self):
        self.serve(False)

    def do_GET(self):
        self.serve(True)

    def send_plain(self, status, text, body=True, extra=()):
        data = text.encode()
        self.send_response(status)
        for key, value in extra:
            self.send_header(key, value)
        self.send_header('Content-Type', 'text/plain')
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        if body:
            self.wfile.write(data)

    def serve(self, is_get):
        _last_request[0] = time.time()
        path = self.path.split('?', 1)[0]
        m = re.fullmatch(r'/r/(\d+)/(.*)', path)
        if m:
            hops = int(m.group(1))
            target = '/r/%d/%s' % (hops - 1, m.group(2)) if hops > 0 else '/' + m.group(2)
            return self.send_plain(302, 'moved', is_get, [('Location', target)])
        m = re.fullmatch(r'/md5/(\d+)', path)
        if m:
            return self.send_plain(200, digest(int(m.group(1))), is_get)
        m = re.fullmatch(r'(?:/f/([^/]+))?/gen/(\d+)/[^/]*/[^/]+', path)
        if not m:
            return self.send_plain(404, 'no such file', is_get)
        number = attempt_number(path) if is_get else 0
        faults = active_faults(m.group(1) or '', path, is_get, number)
        length = int(m.group(2))
        if 'mute' in faults:
            time.sleep(faults['mute'])
        if 'status' in faults:
            return self.send_plain(faults['status'], 'status %d' % faults['status'], is_get)
        if 'head' in faults and not is_get:
            return self.send_plain(405, 'HEAD not allowed', False, [('Allow', 'GET')])
        start, end = 0, length
        ranged = False
        rm = re.fullmatch(r'bytes=(\d+)-(\d*)', self.headers.get('Range', ''))
        if rm and 'norange' not in faults:
            start = int(rm.group(1))
            end = min(length, int(rm.group(2)) + 1) if rm.group(2) else length
            if start >= length or start >= end:
                return self.send_plain(416, 'range not satisfiable', is_get,
                                       [('Content-Range', 'bytes */%d' % length)])
            ranged = True
        self.send_response(206 if ranged else 200)
        self.send_header('Content-Type', 'application/octet-stream')
        self.send_header('Accept-Ranges', 'bytes')
        self.send_header('Content-Length', str(end - start))
        if ranged:
            self.send_header('Content-Range', 'bytes %d-%d/%d' % (start, end - 1, length))
        self.end_headers()
        if not is_get:
            return
        limit = faults.get('drop')
        pos = start
        sent = 0
        while pos < end:
            take = min(BLOCK, end - pos)
            if limit is not None and sent + take > limit:
                take = limit - sent
            if take > 0:
                self.wfile.write(content(pos, pos + take))
                pos += take
                sent += take
            if limit is not None and sent >= limit:
                self.wfile.flush()
                self.close_connection = True
                return
            if 'slow' in faults and sent > 0:
                self.wfile.flush()
                time.sleep(faults['slow'])
                faults.pop('slow')


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--port', type=int, default=0)
    parser.add_argument('--lifetime', type=float, default=1800)
    parser.add_argument('--idle', type=float, default=600)
    args = parser.parse_args()
    server = Server(('127.0.0.1', args.port), Handler)
    print('PORT %d' % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    began = time.time()
    while time.time() - began < args.lifetime and time.time() - _last_request[0] < args.idle:
        time.sleep(0.5)
    server.shutdown()


if __name__ == '__main__':
    main()
