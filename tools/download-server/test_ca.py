#!/usr/bin/env python3
"""The test CA of the local TLS servers: makes, in DIR/tls, test-ca.pem, a
"localhost" server certificate it signs (server.pem, server.key) and an
unrelated CA (other-ca.pem) for refusals, and prints that folder.

  test_ca.py DIR
"""
import os
import subprocess
import sys


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


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    print(make_certificates(sys.argv[1]), flush=True)
