#!/usr/bin/env python3
"""Download benchmark: our downloaders (through dlprobe) beside curl and
aria2c, on the project's nginx with a 200 MiB package, unthrottled and with a
20 MB/s per-connection cap. Prints wall time, peak resident memory and the
ratio of each peer's time to ours (above 1: ours is faster).

  download_bench.py --native DLPROBE [--wine DLPROBE_EXE --wine-run SCRIPT]
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SERVERS = os.path.join(HERE, '..', 'tools', 'download-server', 'servers.py')
SIZE = 200 * 1048576
NAME = 'QuorvaneBench.bin'


def measure(command, output=None):
    """Wall seconds and peak resident KiB of one command. GNU time reads the
    peak: a child forked from this interpreter would start from its size."""
    report = tempfile.NamedTemporaryFile(delete=False)
    report.close()
    began = time.monotonic()
    status = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', report.name] + command,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    seconds = time.monotonic() - began
    with open(report.name) as f:
        peak = int(f.read().split()[-1])
    os.remove(report.name)
    if status != 0:
        raise RuntimeError('failed: %s' % ' '.join(command))
    if output is not None and os.path.getsize(output) != SIZE:
        raise RuntimeError('wrong size from: %s' % ' '.join(command))
    return seconds, peak


def md5_seconds(path):
    began = time.monotonic()
    subprocess.run(['md5sum', path], check=True, stdout=subprocess.DEVNULL)
    return time.monotonic() - began


def wine_path(path):
    return 'Z:' + path.replace('/', '\\')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--native', required=True)
    parser.add_argument('--wine')
    parser.add_argument('--wine-run')
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix='qv-bench-')
    try:
        package = os.path.join(work, NAME)
        with open(package, 'wb') as f:
            block = hashlib.sha256(b'bench').digest() * 32768  # 1 MiB
            for i in range(SIZE // len(block)):
                f.write(bytes([i & 0xFF]) + block[1:])
        state = os.path.join(work, 'servers')
        subprocess.run([sys.executable, SERVERS, 'start', state, '--package', package, '--lifetime', '900'],
                       check=True, stdout=subprocess.DEVNULL)
        env = dict(line.strip().split('=', 1) for line in open(os.path.join(state, 'servers.env')))
        path = env['PACKAGE_PATH']  # /files/<md5>/<name>
        urls = {'unthrottled': env['NGINX_URL'] + path,
                'capped 20 MB/s per connection': env['NGINX_URL'] + path.replace('/files/', '/capped/', 1)}
        target = os.path.join(work, 'out.bin')

        for label, url in urls.items():
            print('\n== %s, %d MiB' % (label, SIZE // 1048576))
            rows = []

            def run(name, command, add_md5=False):
                if os.path.exists(target):
                    os.remove(target)
                seconds, peak = measure(command, target)
                if add_md5:
                    seconds += md5_seconds(target)
                rows.append((name, seconds, peak))

            run('curl -o' + (' + md5sum' if label == 'unthrottled' else ''),
                ['curl', '-s', '-o', target, url], add_md5=label == 'unthrottled')
            run('aria2c -x2 -s2', ['aria2c', '-q', '-x2', '-s2', '--allow-overwrite=true',
                                    '--auto-file-renaming=false', '-d', work, '-o', 'out.bin', url])
            for kind, name in ((1, 'single connection'), (3, 'segmented')):
                run('native %s' % name, [args.native, 'download', '--type', str(kind), url, target])
            if args.wine:
                for kind, name in ((1, 'single connection'), (3, 'segmented'), (2, 'system')):
                    run('wine64 %s' % name,
                        [args.wine_run, args.wine, 'download', '--type', str(kind), url, wine_path(target)])

            peers = rows[:2]
            print('%-30s %9s %10s   %s' % ('', 'seconds', 'peak MiB', 'peer time / ours'))
            for name, seconds, peak in rows:
                ratios = '' if (name, seconds, peak) in peers else '   '.join(
                    '%s %.2f' % (peer[0], peer[1] / seconds) for peer in peers)
                print('%-30s %9.2f %10.1f   %s' % (name, seconds, peak / 1024, ratios))
        subprocess.run([sys.executable, SERVERS, 'stop', state], check=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
