#!/usr/bin/env python3
"""The installer's quick install, shown end to end under wine64 and Xvfb.

  demo.py BUILD_DIR

Starts nginx with the demo package and the analytics collector on 127.0.0.1,
opens the build's installer (the shipped 32-bit file itself where the host
runs 32-bit code, else its 64-bit twin), clicks "立即安装", waits for the finished page and
closes it, then prints where the screenshots are, what got installed, the
registry records and the funnel events the collector received. The last line
says whether the product was installed.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from driver import CLOSE, QUICK_INSTALL, ROOT, FlowFailure, Session, funnel, prefix_path  # noqa: E402


def main():
    build = os.path.abspath(sys.argv[1])
    state = tempfile.mkdtemp(prefix='qv-demo-servers-')
    servers = os.path.join(ROOT, 'tools', 'download-server', 'servers.py')
    subprocess.run([sys.executable, servers, 'start', state, '--package',
                    os.path.join(build, 'demo', 'QuorvaneSetupPackage.exe'), '--lifetime', '900'], check=True)
    os.environ['QUORVANE_SERVERS'] = state
    session = Session(build, 'demo')
    installed = None
    try:
        # Served at 1 MB/s, so the progress page stays up for a few seconds.
        url = session.package_url('/paced/' + session.servers['PACKAGE_PATH'][len('/files/'):])
        session.write_config(DownloadUrl=url)
        print('installer:   %s, a byte-for-byte copy of %s (%s)' % (
            session.exe, session.source_exe, session.exe_kind()))
        print('config:      DownloadUrl=%s AnalyticsUrl=%s' % (url, session.collector.url))
        # A first wine start on a busy machine may take a minute to show a window.
        print('waiting for the installer\'s 600x400 window "Vellisto" (up to 3 minutes)...', flush=True)
        installer = session.start(main_window=False)
        installer.wait_main_window(timeout=180)
        folder = installer.wait_line(r'default install folder \[(.*)\]')[0].group(1)
        session.shot(installer.window, 'quick-install')
        mark = installer.mark()
        installer.click(installer.window, QUICK_INSTALL)
        _, at = installer.wait_page(2, mark)
        installer.wait_line(r'progress \d+ \[', 60, at)
        session.shot(installer.window, 'installing')
        installer.wait_page(3, at, timeout=300)
        session.shot(installer.window, 'finished')
        installer.click(installer.window, CLOSE)
        code = installer.wait_exit()
        print('exit code:   %d' % code)
        print('screenshots: %s' % session.shots)

        here = prefix_path(folder)
        print('\ninstalled into %s (%s):' % (folder, here))
        for name in sorted(os.listdir(here)) if os.path.isdir(here) else []:
            print('  %-24s %10d bytes' % (name, os.path.getsize(os.path.join(here, name))))
        records = session.registry()
        print('\nregistry HKCU\\Software\\ZorvikSoft\\Quorvane:')
        for key, value in records.items():
            print('  %s = %s' % (key, value))
        settings = session.ini(folder + r'\set.ini') if os.path.exists(os.path.join(here, 'set.ini')) else {}
        print('\n%s\\set.ini:' % folder)
        for section, values in settings.items():
            for key, value in values.items():
                print('  [%s] %s = %s' % (section, key, value))
        print('\nfunnel events received by the collector:')
        for event, name in funnel(session.collector.records()):
            print('  %-14s %s' % (event, name))
        if code == 0 and records.get('InstallPath') == folder and os.path.exists(os.path.join(here, 'Quorvane.exe')):
            installed = folder
    except FlowFailure as failure:
        print('demo stopped: %s' % failure)
        for installer in session.installers:
            print('\n'.join(installer.lines[-40:]))
    finally:
        session.close()
        subprocess.run([sys.executable, servers, 'stop', state], capture_output=True)
    if installed:
        print('RESULT: Vellisto was installed into %s' % installed)
        return 0
    print('RESULT: Vellisto was NOT installed')
    return 1


if __name__ == '__main__':
    sys.exit(main())
