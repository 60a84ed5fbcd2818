"""Drives a build's installer under wine on the project's Xvfb display the way
a user does: real clicks and keys (xdotool), the project's download servers
and analytics collector, the demo package, and the installer's own diagnostic
lines (through debug-relay.exe) to know when a page or a dialog is up.

Every screenshot goes to build/screenshots/system/<flow>/. The system tests
and `./run demo` both drive the installer through it.
"""
import filecmp
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
WINE_RUN = os.path.join(ROOT, 'scripts', 'wine-run')
PREFIX = os.path.join(ROOT, 'build', 'wine', 'prefix')
IM = '/usr/bin'  # /usr/local/bin/convert may be a stand-in
REG_KEY = r'HKCU\Software\ZorvikSoft\Quorvane'
MAIN_SIZE = (600, 400)
BOX_SIZE = (360, 180)

# Where things are in the windows of the skin (window coordinates).
QUICK_INSTALL = (300, 294)
CUSTOM = (300, 345)
CLOSE = (577, 18)
BACK = (23, 18)
DIR_EDIT = (240, 128)
DESKTOP_BOX = (78, 212)
QUICK_LAUNCH_BOX = (248, 212)
CUSTOM_INSTALL = (300, 332)
OPEN_PRODUCT = (300, 328)
BOX_CANCEL = (122, 145)
BOX_OK = (238, 145)
BOX_SINGLE_OK = (180, 145)
BOX_CLOSE = (345, 15)


class FlowFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise FlowFailure(message)


def windows_path(path):
    """The Z: path wine gives a Linux path."""
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def prefix_path(windows):
    """The Linux path of a C: path inside the prefix, or of a Z: path."""
    drive = windows[:2].upper()
    parts = [p for p in windows[3:].split('\\') if p]
    if drive == 'Z:':
        return '/' + '/'.join(parts)
    check(drive == 'C:', 'not a C: or Z: path: ' + windows)
    return os.path.join(PREFIX, 'drive_c', *parts)


def wine(*args, check_exit=True, timeout=60):
    result = subprocess.run([WINE_RUN] + list(args), capture_output=True, timeout=timeout)
    if check_exit and result.returncode != 0:
        raise FlowFailure('wine %s failed: %s' % (' '.join(args), result.stderr.decode(errors='replace')))
    try:
        return result.stdout.decode('utf-8')
    except UnicodeDecodeError:
        return result.stdout.decode('gbk', errors='replace')


def xdotool(*args):
    result = subprocess.run(['xdotool'] + list(args), capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else ''


class Collector:
    """The analytics endpoint, on a port of its own, stopping by itself."""

    def __init__(self, work):
        self.port_file = os.path.join(work, 'collector.port')
        subprocess.run([sys.executable, os.path.join(ROOT, 'tools', 'analytics-collector', 'collector.py'),
                        'serve', '--port', '0', '--port-file', self.port_file, '--db',
                        os.path.join(work, 'collector.db'), '--idle-timeout', '600', '--detach'],
                       check=True)
        for _ in range(100):
            if os.path.exists(self.port_file) and open(self.port_file).read().strip():
                break
            time.sleep(0.1)
        self.port = int(open(self.port_file).read().strip())
        self.url = 'http://127.0.0.1:%d/sa?project=pc' % self.port

    def records(self):
        with urllib.request.urlopen('http://127.0.0.1:%d/records' % self.port, timeout=10) as answer:
            return [json.loads(line) for line in answer.read().decode('utf-8').splitlines() if line.strip()]

    def stop(self):
        subprocess.run([sys.executable, os.path.join(ROOT, 'tools', 'analytics-collector', 'collector.py'),
                        'stop', '--port-file', self.port_file], capture_output=True)


def funnel(records):
    """(event, name) of each record in the order they arrived."""
    out = []
    for record in records:
        props = record.get('properties', {})
        name = props.get('zk_task_name') or props.get('zk_name') or props.get('app_crashed_reason')
        out.append((record.get('event'), name))
    return out


class Installer:
    """One run of the installer twin, its diagnostic lines read as they come."""

    def __init__(self, session, args=(), main_window=True):
        self.session = session
        self.lines = []
        self.exit_code = None
        self.cond = threading.Condition()
        relay = os.path.join(session.build, 'bin', 'debug-relay.exe')
        self.process = subprocess.Popen([WINE_RUN, relay, windows_path(session.exe)] + list(args),
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.window = None
        # Without main_window the caller waits for it (a tip may come first).
        if main_window:
            self.window = self.wait_main_window()

    def wait_main_window(self, timeout=30):
        self.window = self.wait_window('Vellisto', MAIN_SIZE, timeout)
        return self.window

    def _read(self):
        for raw in self.process.stdout:
            line = raw.decode('utf-8', errors='replace').rstrip('\r\n')
            with self.cond:
                match = re.match(r'EXIT (\d+)$', line)
                if match:
                    self.exit_code = int(match.group(1))
                self.lines.append(line)
                self.cond.notify_all()
        with self.cond:
            if self.exit_code is None:
                self.exit_code = -1
            self.cond.notify_all()

    def wait_line(self, pattern, timeout=60, start=0):
        """The first diagnostic line from index `start` on matching `pattern`."""
        regex = re.compile(pattern)
        deadline = time.time() + timeout
        with self.cond:
            while True:
                for index in range(start, len(self.lines)):
                    match = regex.search(self.lines[index])
                    if match:
                        return match, index
                if self.exit_code is not None:
                    raise FlowFailure('the installer ended (%s) before a line like %r' % (self.exit_code, pattern))
                left = deadline - time.time()
                if left <= 0:
                    raise FlowFailure('no line like %r within %ss' % (pattern, timeout))
                self.cond.wait(left)

    def mark(self):
        with self.cond:
            return len(self.lines)

    def matching(self, pattern):
        regex = re.compile(pattern)
        with self.cond:
            return [m for m in (regex.search(line) for line in self.lines) if m]

    def wait_page(self, page, start=0, timeout=120):
        return self.wait_line(r'page %d shown' % page, timeout, start)

    def wait_window(self, name, size, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for win in xdotool('search', '--onlyvisible', '--name', '^%s$' % re.escape(name)).split():
                geometry = self.session.geometry(win)
                if geometry and geometry[2:] == size and win != self.window:
                    time.sleep(0.8)  # first paint and the shadow
                    return win
            if self.exit_code is not None and self.exit_code != -1:
                break
            time.sleep(0.1)
        raise FlowFailure('no %dx%d window named %r' % (size[0], size[1], name))

    def message_box(self, skin_file, start=0, timeout=60):
        """Waits for the message window of `skin_file`; (window id, its text)."""
        match, _ = self.wait_line(r'message window %s \[(.*)\] opens' % re.escape(skin_file), timeout, start)
        return self.wait_window('消息框', BOX_SIZE), match.group(1)

    def box_closed(self, skin_file, start=0, timeout=30):
        match, _ = self.wait_line(r'message window %s closed with (\d)' % re.escape(skin_file), timeout, start)
        return int(match.group(1))

    def click(self, win, point):
        x, y, _, _ = self.session.geometry(win)
        xdotool('mousemove', str(x + point[0]), str(y + point[1]))
        time.sleep(0.25)
        xdotool('click', '1')
        time.sleep(0.4)

    def key(self, win, *keys):
        xdotool('windowfocus', '--sync', win)
        for key in keys:
            xdotool('key', '--window', win, key)
            time.sleep(0.2)

    def alive(self):
        return self.exit_code is None and bool(self.session.geometry(self.window))

    def wait_exit(self, timeout=60):
        deadline = time.time() + timeout
        with self.cond:
            while self.exit_code is None:
                left = deadline - time.time()
                if left <= 0:
                    raise FlowFailure('the installer did not end within %ss' % timeout)
                self.cond.wait(left)
        self.process.wait(timeout=30)
        return self.exit_code

    def kill(self):
        if self.process.poll() is None:
            subprocess.run(['pkill', '-f', 'QuorvaneInstaller.exe'], capture_output=True)
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()


class Session:
    """The machine one flow runs on: a fresh installer folder, its
    configuration, the collector, and a clean product state in the prefix."""

    def __init__(self, build, flow):
        self.build = build
        self.flow = flow
        self.work = tempfile.mkdtemp(prefix='qv-flow-')
        self.shots = os.path.join(ROOT, 'build', 'screenshots', 'system', flow)
        shutil.rmtree(self.shots, ignore_errors=True)
        os.makedirs(self.shots)
        self.shot_count = 0
        self.servers = self._servers()
        self.display = ':' + open(os.path.join(ROOT, 'build', 'wine', 'display')).read().strip()
        os.environ['DISPLAY'] = self.display
        self.folder = os.path.join(self.work, '安装 程序')
        os.makedirs(self.folder)
        self.exe = os.path.join(self.folder, 'QuorvaneInstaller.exe')
        self.source_exe = os.path.join(build, 'QuorvaneInstaller.exe')
        shutil.copy(self.source_exe, self.exe)
        check(filecmp.cmp(self.source_exe, self.exe, shallow=False), 'the installer copy differs')
        self.collector = Collector(self.work)
        self.installers = []
        self.appdata = wine('cmd', '/c', 'echo %APPDATA%').strip()
        self.reset_machine()

    def use_installer(self, source):
        """Runs another build of the installer (a test build, a changed copy)
        under the shipped one's name, which the funnel reports carry."""
        shutil.copy(source, self.exe)

    def use_test_build(self):
        """The twin of the shipped program that obeys the test hooks."""
        self.use_installer(os.path.join(self.build, 'QuorvaneInstallerTestBuild.exe'))

    def _servers(self):
        state = os.environ.get('QUORVANE_SERVERS')
        check(state, 'QUORVANE_SERVERS (the download servers\' state folder) is not set')
        values = {}
        for line in open(os.path.join(state, 'servers.env')):
            key, _, value = line.strip().partition('=')
            values[key] = value
        values['STATE'] = state
        return values

    def exe_kind(self):
        """The machine the installer's PE header names."""
        with open(self.exe, 'rb') as f:
            image = f.read(4096)
        header = int.from_bytes(image[0x3C:0x40], 'little')
        machine = int.from_bytes(image[header + 4:header + 6], 'little')
        return {0x14C: 'PE32, i386', 0x8664: 'PE32+, x86-64'}.get(machine, 'machine 0x%x' % machine)

    def package_url(self, prefix='/software/216'):
        return self.servers['NGINX_URL'] + prefix

    def reset_machine(self):
        """No records, no installed copy, no shortcuts, no analytics files."""
        subprocess.run(['pkill', '-f', 'Quorvane.exe'], capture_output=True)
        subprocess.run(['pkill', '-f', 'QuorvaneInstaller.exe'], capture_output=True)
        wine('reg', 'delete', REG_KEY, '/f', check_exit=False)
        for folder in (r'C:\Program Files (x86)\Quorvane', r'C:\Program Files\Quorvane',
                       self.appdata + r'\tarnwick', self.appdata + r'\ZorvikData', r'C:\My Apps'):
            shutil.rmtree(prefix_path(folder), ignore_errors=True)
        for link in self.shortcuts():
            if os.path.exists(link):
                os.remove(link)
        # The tracker's own files (identity, staging, log) of earlier runs.
        for base, dirs, _ in os.walk(os.path.join(PREFIX, 'drive_c', 'users')):
            for d in dirs:
                if d == 'ZKLocal':
                    shutil.rmtree(os.path.join(base, d), ignore_errors=True)

    def shortcuts(self):
        desktop = wine('cmd', '/c', 'echo %USERPROFILE%').strip() + r'\Desktop\Vellisto.lnk'
        quick = self.appdata + r'\Microsoft\Internet Explorer\Quick Launch\Vellisto.lnk'
        return [prefix_path(desktop), prefix_path(quick)]

    def write_config(self, **values):
        defaults = {'DownloadUrl': self.package_url(), 'IsCheckNet': 'false',
                    'AnalyticsUrl': self.collector.url}
        defaults.update(values)
        text = '[Install]\r\n' + ''.join('%s=%s\r\n' % (k, v) for k, v in defaults.items() if v is not None)
        with open(os.path.join(self.folder, 'ZorvikInstallerConfig.ini'), 'w', encoding='gbk') as f:
            f.write(text)

    def start(self, *args, main_window=True):
        installer = Installer(self, args, main_window)
        self.installers.append(installer)
        return installer

    def geometry(self, win):
        out = xdotool('getwindowgeometry', '--shell', win)
        values = dict(line.split('=', 1) for line in out.splitlines() if '=' in line)
        if 'X' not in values:
            return None
        return (int(values['X']), int(values['Y']), int(values['WIDTH']), int(values['HEIGHT']))

    def shot(self, win, label):
        """A screenshot of the window and 20 pixels around it."""
        geometry = self.geometry(win)
        check(geometry, 'no window to photograph for ' + label)
        x, y, w, h = geometry
        root = os.path.join(self.work, 'root.png')
        subprocess.run([IM + '/import', '-window', 'root', root], check=True, capture_output=True)
        self.shot_count += 1
        out = os.path.join(self.shots, '%02d-%s.png' % (self.shot_count, label))
        subprocess.run([IM + '/convert', root, '-crop', '%dx%d+%d+%d' % (w + 40, h + 40, x - 20, y - 20),
                        '+repage', out], check=True)
        return out

    def pixel(self, win, point):
        """(r, g, b) of the screen at a window point."""
        x, y, _, _ = self.geometry(win)
        root = os.path.join(self.work, 'pixel.png')
        subprocess.run([IM + '/import', '-window', 'root', '-crop', '1x1+%d+%d' % (x + point[0], y + point[1]),
                        root], check=True, capture_output=True)
        out = subprocess.run([IM + '/convert', root, '-format', '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]',
                              'info:'], capture_output=True, text=True, check=True).stdout
        return tuple(int(v) for v in out.split(','))

    def registry(self):
        """The product's registry values, read back through reg.exe."""
        out = wine('reg', 'query', REG_KEY, check_exit=False)
        values = {}
        for line in out.splitlines():
            match = re.match(r'\s+(\S+)\s+REG_SZ\s+(.*?)\s*$', line)
            if match:
                values[match.group(1)] = match.group(2)
        return values

    def ini(self, windows_file):
        """Sections of a profile file in the prefix: {section: {key: value}}."""
        raw = open(prefix_path(windows_file), 'rb').read()
        text = raw.decode('utf-16') if raw[:2] in (b'\xff\xfe', b'\xfe\xff') else raw.decode('gbk', errors='replace')
        sections, current = {}, None
        for line in text.splitlines():
            line = line.strip()
            if line.startswith('[') and line.endswith(']'):
                current = sections.setdefault(line[1:-1], {})
            elif '=' in line and current is not None:
                key, _, value = line.partition('=')
                current[key] = value
        return sections

    def preinstall(self, windows_folder):
        """An older installation made by the demo package itself, with its records."""
        package = os.path.join(self.build, 'demo', 'QuorvaneSetupPackage.exe')
        wine(package, '/S', '-dsc=false', '-ssc=false', '-instdir=' + windows_folder, timeout=120)
        wine('reg', 'add', REG_KEY, '/v', 'InstallPath', '/t', 'REG_SZ', '/d', windows_folder, '/f')
        wine('reg', 'add', REG_KEY, '/v', 'UnInstallEp', '/t', 'REG_SZ', '/d', windows_folder + r'\uninst.ep', '/f')

    def close(self):
        for installer in self.installers:
            installer.kill()
        subprocess.run(['pkill', '-f', 'Quorvane.exe'], capture_output=True)
        self.collector.stop()
        shutil.rmtree(self.work, ignore_errors=True)
