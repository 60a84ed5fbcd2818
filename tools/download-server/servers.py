#!/usr/bin/env python3
"""Starts and stops the test download servers, both on 127.0.0.1:

  servers.py start STATE_DIR [--package FILE] [--lifetime S]
  servers.py stop STATE_DIR

nginx (its own prefix and configuration under STATE_DIR) serves real files:
"/software/216" redirects to "/files/<md5>/<name>" of the package (or of a
generated 25 MiB payload when no package is given), with HEAD and byte ranges;
"/capped/..." serves the same files at 20 MB/s per connection, "/paced/..." at
1 MB/s and "/slow/..." at 48 KB/s (an installer's progress page that stays up
for a few seconds, or for more than a minute). The same files
are served over TLS at https://localhost with a certificate from a test CA made
here (and a second, unrelated CA for refusals). Beside it runs
fault_server.py for what nginx cannot be made to do. Both stop by themselves
after the lifetime. STATE_DIR/servers.env tells the tests where they are.
"""
import argparse
import hashlib
import os
import shutil
import signal
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import fault_server  # noqa: E402

PAYLOAD_LENGTH = 25 * 1048576 + 12345


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def wait_for_port(port, seconds=15):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            with socket.create_connection(('127.0.0.1', port), timeout=0.5):
                return True
        except OSError:
            time.sleep(0.1)
    return False


def file_md5(path):
    md5 = hashlib.md5()
    with open(path, 'rb') as f:
        for chunk in iter(lambda: f.read(1 << 20), b''):
            md5.update(chunk)
    return md5.hexdigest()


def publish(files, source, name):
    digest = file_md5(source)
    folder = os.path.join(files, 'files', digest)
    os.makedirs(folder, exist_ok=True)
    shutil.copyfile(source, os.path.join(folder, name))
    return '/files/%s/%s' % (digest, name), digest


def make_certificates(state):
    """A test CA, a "localhost" server certificate it signs, and an unrelated CA."""
    tls = os.path.join(state, 'tls')
    os.makedirs(tls, exist_ok=True)

    def run(*args):
        subprocess.run(['openssl'] + list(args), cwd=tls, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    for name in ('test-ca', 'other-ca'):
        run('req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', name + '.key',
            '-out', name + '.pem', '-days', '30', '-subj', '/CN=Quorvane %s' % name,
            '-addext', 'basicConstraints=critical,CA:TRUE',
            '-addext', 'keyUsage=critical,keyCertSign,cRLSign')
    with open(os.path.join(tls, 'server.ext'), 'w') as f:
        f.write('subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\n'
                'keyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n')
    run('req', '-newkey', 'rsa:2048', '-nodes', '-keyout', 'server.key', '-out', 'server.csr',
        '-subj', '/CN=localhost')
    run('x509', '-req', '-in', 'server.csr', '-CA', 'test-ca.pem', '-CAkey', 'test-ca.key',
        '-CAcreateserial', '-out', 'server.pem', '-days', '30', '-extfile', 'server.ext')
    return tls


NGINX_CONF = """
daemon off;
user root;
worker_processes 1;
pid {state}/nginx.pid;
error_log {state}/nginx-error.log;
events {{ worker_connections 256; }}
http {{
  access_log {state}/nginx-access.log;
  client_body_temp_path {state}/tmp/body;
  proxy_temp_path {state}/tmp/proxy;
  fastcgi_temp_path {state}/tmp/fastcgi;
  uwsgi_temp_path {state}/tmp/uwsgi;
  scgi_temp_path {state}/tmp/scgi;
  sendfile on;
  default_type application/octet-stream;
  server {{
    listen 127.0.0.1:{port};
    root {files};
    location = /software/216 {{ return 302 {package_path}; }}
    location /files/ {{ }}
    location /capped/ {{ alias {files}/files/; limit_rate 20m; }}
    location /paced/ {{ alias {files}/files/; limit_rate 1m; }}
    location /slow/ {{ alias {files}/files/; limit_rate 48k; }}
  }}
  server {{
    listen 127.0.0.1:{tls_port} ssl;
    ssl_certificate {tls}/server.pem;
    ssl_certificate_key {tls}/server.key;
    root {files};
    location /files/ {{ }}
  }}
}}
"""


def start(args):
    state = os.path.abspath(args.state)
    stop_servers(state)
    files = os.path.join(state, 'www')
    shutil.rmtree(files, ignore_errors=True)
    os.makedirs(os.path.join(state, 'tmp'), exist_ok=True)
    os.makedirs(files, exist_ok=True)

    payload = os.path.join(state, 'payload.bin')
    with open(payload, 'wb') as f:
        for pos in range(0, PAYLOAD_LENGTH, 1 << 20):
            f.write(fault_server.content(pos, min(PAYLOAD_LENGTH, pos + (1 << 20))))
    payload_path, payload_md5 = publish(files, payload, 'payload.bin')
    if args.package:
        package_path, package_md5 = publish(files, args.package, os.path.basename(args.package))
    else:
        package_path, package_md5 = payload_path, payload_md5

    fault_out = open(os.path.join(state, 'fault.out'), 'w')
    fault = subprocess.Popen(
        [sys.executable, os.path.join(HERE, 'fault_server.py'), '--lifetime', str(args.lifetime)],
        stdin=subprocess.DEVNULL, stdout=fault_out, stderr=open(os.path.join(state, 'fault.log'), 'w'),
        start_new_session=True)

    tls = make_certificates(state)
    port = free_port()
    tls_port = free_port()
    conf = os.path.join(state, 'nginx.conf')
    with open(conf, 'w') as f:
        f.write(NGINX_CONF.format(state=state, port=port, tls_port=tls_port, tls=tls, files=files,
                                  package_path=package_path))
    nginx = subprocess.Popen(
        ['timeout', str(int(args.lifetime)), 'nginx', '-p', state, '-c', conf],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=open(os.path.join(state, 'nginx.out'), 'w'), start_new_session=True)

    with open(os.path.join(state, 'pids'), 'w') as f:
        f.write('%d\n%d\n' % (fault.pid, nginx.pid))

    fault_port = None
    deadline = time.time() + 15
    while fault_port is None and time.time() < deadline:
        with open(os.path.join(state, 'fault.out')) as f:
            line = f.readline()
        if line.startswith('PORT '):
            fault_port = int(line.split()[1])
        else:
            time.sleep(0.1)
    if fault_port is None or not wait_for_port(port) or not wait_for_port(tls_port):
        sys.stderr.write('the download servers did not start; see %s\n' % state)
        stop_servers(state)
        return 1

    with open(os.path.join(state, 'servers.env'), 'w') as f:
        f.write('NGINX_URL=http://127.0.0.1:%d\n' % port)
        f.write('FAULT_URL=http://127.0.0.1:%d\n' % fault_port)
        f.write('TLS_URL=https://localhost:%d\n' % tls_port)
        f.write('FAULT_LOG=%s\n' % os.path.join(state, 'fault.log'))
        f.write('TEST_CA=%s\nOTHER_CA=%s\n' % (os.path.join(tls, 'test-ca.pem'),
                                                os.path.join(tls, 'other-ca.pem')))
        f.write('PACKAGE_PATH=%s\nPACKAGE_MD5=%s\n' % (package_path, package_md5))
        f.write('PAYLOAD_PATH=%s\nPAYLOAD_MD5=%s\nPAYLOAD_LENGTH=%d\n' %
                (payload_path, payload_md5, PAYLOAD_LENGTH))
    print('download servers: nginx %d, faults %d' % (port, fault_port))
    return 0


def stop_servers(state):
    pids = os.path.join(state, 'pids')
    if not os.path.exists(pids):
        return
    with open(pids) as f:
        for line in f:
            try:
                os.killpg(int(line), signal.SIGTERM)
            except (OSError, ValueError):
                pass
    os.remove(pids)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('verb', choices=['start', 'stop'])
    parser.add_argument('state')
    parser.add_argument('--package')
    parser.add_argument('--lifetime', type=float, default=1800)
    args = parser.parse_args()
    if args.verb == 'start':
        return start(args)
    stop_servers(os.path.abspath(args.state))
    return 0


if __name__ == '__main__':
    sys.exit(main())
