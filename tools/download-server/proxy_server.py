#!/usr/bin/env python3
"""A forwarding HTTP proxy for the tests, bound to 127.0.0.1.

It answers absolute-form GET and HEAD requests ("GET http://host:port/path").
Host names ending in ".quorvane.test" exist only here: it connects them to
127.0.0.1 on the URL's port, so a client reaches them through this proxy and
in no other way. It forwards to 127.0.0.1 and nowhere else (502 for any other
host), logs every request line to --log, and stops by itself after --lifetime
seconds. It prints "PORT <n>" once it listens.
"""
import argparse
import http.client
import http.server
import socketserver
import sys
import threading
import time
import urllib.parse

PRIVATE_SUFFIX = '.quorvane.test'
HOP_HEADERS = {'connection', 'keep-alive', 'proxy-connection', 'proxy-authorization', 'te', 'trailers',
               'transfer-encoding', 'upgrade'}
_log_lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    log_path = None

    def log_message(self, fmt, *args):
        with _log_lock, open(self.log_path, 'a') as log:
            log.write('%s\n' % (fmt % args))

    def do_GET(self):
        self.forward()

    def do_HEAD(self):
        self.forward()

    def do_CONNECT(self):
        self.refuse(501, 'tunnels are not offered')

    def refuse(self, status, text):
        data = text.encode()
        self.send_response(status)
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        if self.command != 'HEAD':
            self.wfile.write(data)

    def forward(self):
        url = urllib.parse.urlsplit(self.path)
        host = (url.hostname or '').lower()
        if url.scheme != 'http' or not (host.endswith(PRIVATE_SUFFIX) or host == '127.0.0.1'):
            return self.refuse(502, 'this proxy only reaches 127.0.0.1')
        path = url.path or '/'
        if url.query:
            path += '?' + url.query
        headers = {k: v for k, v in self.headers.items() if k.lower() not in HOP_HEADERS}
        origin = http.client.HTTPConnection('127.0.0.1', url.port or 80, timeout=60)
        try:
            origin.request(self.command, path, headers=headers)
            answer = origin.getresponse()
            self.send_response(answer.status, answer.reason)
            for key, value in answer.getheaders():
                if key.lower() not in HOP_HEADERS:
                    self.send_header(key, value)
            self.end_headers()
            if self.command != 'HEAD':
                while True:
                    chunk = answer.read(1 << 16)
                    if not chunk:
                        break
                    self.wfile.write(chunk)
        except OSError:
            self.close_connection = True
        finally:
            origin.close()


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--log', required=True)
    parser.add_argument('--lifetime', type=float, default=1800)
    args = parser.parse_args()
    Handler.log_path = args.log
    server = Server(('127.0.0.1', 0), Handler)
    print('PORT %d' % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    time.sleep(args.lifetime)
    server.shutdown()
    return 0


if __name__ == '__main__':
    sys.exit(main())
