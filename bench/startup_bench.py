#!/usr/bin/env python3
"""How long the installer twin takes under wine64 from its start to a painted
main window, beside how long wine takes to start and end a program that does
nothing, and the size of the shipped 32-bit executable.

  startup_bench.py --build WIN64_BUILD --product WIN32_EXE [--runs N]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
WINE_RUN = os.path.join(ROOT, 'scripts', 'wine-run')


def painted_seconds(relay, exe):
    """Start to the "main window painted" line; the installer is ended then."""
    start = time.monotonic()
    process = subprocess.Popen([WINE_RUN, relay, exe], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        for raw in process.stdout:
            if b'main window painted' in raw:
                return time.monotonic() - start
            if raw.startswith(b'EXIT '):
                break
        raise SystemExit('the installer ended before painting its window')
    finally:
        # The folder's unique name matches this run's relay and installer only.
        subprocess.run(['pkill', '-f', os.path.basename(os.path.dirname(exe))], capture_output=True)
        process.wait(timeout=30)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    parser.add_argument('--product', required=True)
    parser.add_argument('--runs', type=int, default=5)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix='qv-startup-')
    try:
        exe = os.path.join(work, 'QuorvaneInstaller.exe')
        shutil.copy(os.path.join(args.build, 'QuorvaneInstaller.exe'), exe)
        # No analytics and no network: start-up alone is measured.
        with open(os.path.join(work, 'ZorvikInstallerConfig.ini'), 'w') as config:
            config.write('[Install]\r\nIsEnableAppAnalytics=false\r\nIsCheckNet=false\r\n')
        subprocess.run([WINE_RUN, 'reg', 'delete', r'HKCU\Software\ZorvikSoft\Quorvane', '/f'],
                       capture_output=True)
        relay = os.path.join(args.build, 'bin', 'debug-relay.exe')
        child = os.path.join(args.build, 'bin', 'test-child.exe')
        painted_seconds(relay, exe)  # warms the prefix and the page cache
        painted = [painted_seconds(relay, exe) for _ in range(args.runs)]
        baseline = []
        for _ in range(args.runs):
            start = time.monotonic()
            subprocess.run([WINE_RUN, child], capture_output=True)
            baseline.append(time.monotonic() - start)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print('start-up to a painted main window (wine64, %d runs): median %.3f s, best %.3f s'
          % (args.runs, statistics.median(painted), min(painted)))
    print('wine starting and ending a program that does nothing:   median %.3f s'
          % statistics.median(baseline))
    size = os.path.getsize(args.product)
    print('shipped win32 executable: %d bytes (%.2f MiB)' % (size, size / 1048576))


if __name__ == '__main__':
    main()
