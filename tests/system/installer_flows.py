#!/usr/bin/env python3
"""The installer end to end under wine64: one flow per run.

  installer_flows.py --build BUILD_DIR FLOW
  installer_flows.py --list

Each flow checks what the user sees (a screenshot of every page and dialog it
passes, under build/screenshots/system/FLOW/), what got installed, the
registry records, "set.ini" and the analytics ini, and the funnel events that
reached the collector, in order, with their properties.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools',
                                'installer-driver'))
from driver import (BACK, BOX_CANCEL, BOX_CLOSE, BOX_OK, BOX_SINGLE_OK, CLOSE, CUSTOM,  # noqa: E402
                    CUSTOM_INSTALL, DESKTOP_BOX, DIR_EDIT, OPEN_PRODUCT, PREFIX, QUICK_INSTALL,
                    QUICK_LAUNCH_BOX, WINE_RUN, FlowFailure, Session, check, funnel, prefix_path,
                    windows_path, wine, xdotool)

# As the diagnostic line shows it: the CR LF between the two lines escaped.
RUNNING_TEXT = '安装程序检测到Vellisto\\r\\n正在运行，请退出程序后再安装'
PACKAGE_NAME = '__Package_Quorvane.exe'
SUCCESS_TAIL = [('ZkEventTask', '下载器启动'), ('ZkEventTask', '开始下载大包'),
                ('ZkEventTask', '大包下载完毕'), ('ZkEventTask', '安装成功')]

FLOWS = {}


def product_running():
    """A window of the demo product is up (wine names its X class after the exe)."""
    return bool(xdotool('search', '--onlyvisible', '--classname', 'quorvane.exe'))


def product_started(seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if product_running():
            return True
        time.sleep(0.3)
    return False


def flow(function):
    FLOWS[function.__name__] = function
    return function


def default_folder(installer):
    match, _ = installer.wait_line(r'default install folder \[(.*)\]')
    folder = match.group(1)
    appdata = installer.session.appdata
    check(folder in (r'C:\Program Files (x86)\Quorvane', appdata + r'\tarnwick\Quorvane'),
          'unexpected default folder ' + folder)
    return folder


def package_gone(folder, seconds=15):
    """The orchestrator deletes the package once the package's run has ended,
    which may be a moment after the window shows the outcome."""
    path = os.path.join(prefix_path(folder), PACKAGE_NAME)
    deadline = time.time() + seconds
    while os.path.exists(path) and time.time() < deadline:
        time.sleep(0.2)
    return not os.path.exists(path)


def start_quick_install(session, **config):
    """A fresh installer with `config`, its quick-install button clicked:
    (installer, the suggested folder, the line index before the click)."""
    session.write_config(**config)
    installer = session.start()
    folder = default_folder(installer)
    mark = installer.mark()
    installer.click(installer.window, QUICK_INSTALL)
    return installer, folder, mark


def check_installed(session, folder, desktop=True, quick_launch=True):
    here = prefix_path(folder)
    for name in ('Quorvane.exe', 'uninst.ep', 'install.log', 'set.ini'):
        check(os.path.exists(os.path.join(here, name)), '%s missing in %s' % (name, folder))
    check(package_gone(folder), 'the package was left behind')
    log = open(os.path.join(here, 'install.log'), encoding='utf-8').read()
    check('/S' in log and ('/D=' + folder) in log, 'package command line: ' + log)
    check(('-dsc=%s' % str(desktop).lower()) in log and ('-ssc=%s' % str(quick_launch).lower()) in log,
          'shortcut options on the package command line: ' + log)
    desktop_link, quick_link = session.shortcuts()
    check(os.path.exists(desktop_link) == desktop, 'desktop shortcut present: %s' % os.path.exists(desktop_link))
    check(os.path.exists(quick_link) == quick_launch, 'quick-launch entry present: %s' % os.path.exists(quick_link))

    records = session.registry()
    check(records.get('InstallPath') == folder, 'InstallPath %r' % records.get('InstallPath'))
    check(records.get('UnInstallEp') == folder + r'\uninst.ep', 'UnInstallEp %r' % records.get('UnInstallEp'))

    settings = session.ini(folder + r'\set.ini').get('Install', {})
    check(settings.get('APPStore') == 'QuorvaneInstaller.exe', 'APPStore %r' % settings.get('APPStore'))
    check(settings.get('AppName') == 'Quorvane', 'AppName %r' % settings.get('AppName'))
    check(re.fullmatch(r'[0-9A-Fa-f]{32}', settings.get('DeviceID', '')), 'DeviceID %r' % settings.get('DeviceID'))
    analytics = session.appdata + r'\ZorvikData\Quorvane\ZKAnalytics.ini'
    check(settings.get('ZKAnalyticsIni') == analytics, 'ZKAnalyticsIni %r' % settings.get('ZKAnalyticsIni'))
    stamp = session.ini(analytics).get('Init', {}).get('UpdateTime', '')
    check(re.fullmatch(r'\d{4}-\d\d-\d\d \d\d:\d\d:\d\d', stamp), 'UpdateTime %r' % stamp)


PROBE_REASON = '1.获取文件大小的状态码为='


def check_funnel(session, expected, probe_status=None):
    """The events in order. With `probe_status`, the size probe's own failure
    reports (one per failed probe, before and during the download) are checked
    apart: there is at least one, each with that status."""
    records = session.collector.records()
    if probe_status is not None:
        probes = [r for r in records if r['properties'].get('zk_reason', '').startswith(PROBE_REASON)]
        check(probes, 'no report of the failed size probe')
        for probe in probes:
            reason = probe['properties']['zk_reason']
            check(reason == '%s%d；' % (PROBE_REASON, probe_status), 'probe failure reason %r' % reason)
        records = [r for r in records if r not in probes]
    got = funnel(records)
    check(got == expected, 'funnel events:\n  got      %s\n  expected %s' % (got, expected))
    for record in records:
        props = record['properties']
        check(props.get('zkc_ab') == 'IN', '%s without zkc_ab=IN' % record['event'])
        check(props.get('zk_app_id') == 'Quorvane.downloader', 'zk_app_id %r' % props.get('zk_app_id'))
        check(props.get('zk_dlapp_id') == 'Quorvane', 'zk_dlapp_id %r' % props.get('zk_dlapp_id'))
        check(props.get('zk_app_store') == 'QuorvaneInstaller.exe', 'zk_app_store %r' % props.get('zk_app_store'))
        if record['event'] == 'ZkEventTask':
            check(props.get('zk_task_result') == 'Success', 'task result %r' % props.get('zk_task_result'))
        if record['event'] == 'ZkEventClick':
            check(props.get('zk_click_type') == 'Button', 'click type %r' % props.get('zk_click_type'))
    return records


def task(records, name):
    found = [r['properties'] for r in records if r['properties'].get('zk_task_name') == name]
    check(found, 'no task %r' % name)
    return found


def paced_url(session, pace='/paced/'):
    """The demo package served slowly enough to see the progress page."""
    return session.package_url(pace + session.servers['PACKAGE_PATH'][len('/files/'):])


def run_to_finished(session, installer, start, label='installing'):
    """From a click that starts a run: the progress page, then the finished page."""
    _, at = installer.wait_page(2, start)
    installer.wait_line(r'progress \d+ \[', 60, at)
    session.shot(installer.window, label)
    _, at = installer.wait_page(3, at)
    session.shot(installer.window, 'finished')
    return at


def close_finished(session, installer):
    installer.click(installer.window, CLOSE)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')


@flow
def quick_install(session):
    session.write_config(DownloadUrl=paced_url(session))
    installer = session.start()
    folder = default_folder(installer)
    session.shot(installer.window, 'quick-install')
    mark = installer.mark()
    installer.click(installer.window, QUICK_INSTALL)
    at = run_to_finished(session, installer, mark)
    # The arithmetic of the bar: the download fills 70 %, every installation
    # message moves on by at least 15 % of the rest, success shows 100.
    percents = [int(m.group(1)) for m in installer.matching(r'progress (\d+) \[')]
    check(percents and max(percents) <= 100, 'progress %s' % percents)
    install = [p for p in percents if p > 70]
    check(install[:1] == [74] and install == sorted(install), 'installation progress %s' % install)
    check(all(p <= 70 for p in percents[:percents.index(74)]), 'download progress %s' % percents)
    check_installed(session, folder)
    close_finished(session, installer)
    records = check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL)
    check(task(records, '大包下载完毕')[0]['zk_task_elapsed'] < 60, 'download duration')


@flow
def custom_install(session):
    session.write_config(DownloadUrl=paced_url(session))
    installer = session.start()
    default_folder(installer)
    mark = installer.mark()
    installer.click(installer.window, CUSTOM)
    installer.wait_page(1, mark)
    session.shot(installer.window, 'custom-install')
    # Back and forth through the back button.
    mark = installer.mark()
    installer.click(installer.window, BACK)
    installer.wait_page(0, mark)
    installer.click(installer.window, CUSTOM)
    installer.wait_page(1, mark)
    installer.click(installer.window, DIR_EDIT)
    installer.key(installer.window, 'ctrl+a', 'BackSpace')
    xdotool('type', '--delay', '60', r'C:\My Apps')
    installer.click(installer.window, DESKTOP_BOX)
    installer.click(installer.window, QUICK_LAUNCH_BOX)
    session.shot(installer.window, 'custom-options')
    mark = installer.mark()
    installer.click(installer.window, CUSTOM_INSTALL)
    run_to_finished(session, installer, mark)
    check_installed(session, r'C:\My Apps\Quorvane', desktop=False, quick_launch=False)
    close_finished(session, installer)
    check_funnel(session, [('ZkEventClick', '自定义安装'), ('ZkEventClick', '自定义安装'),
                           ('ZkEventClick', '自定义安装_立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL)


def installed_copy_tip(session):
    folder = r'C:\Program Files (x86)\Quorvane'
    session.preinstall(folder)
    check(os.path.exists(os.path.join(prefix_path(folder), 'Quorvane.exe')), 'the older copy is not there')
    session.write_config()
    installer = session.start(main_window=False)
    box, _ = installer.message_box('InstalledPathTipWnd.xml')
    session.shot(box, 'installed-copy-tip')
    return folder, installer, box


@flow
def installed_copy_update(session):
    folder, installer, box = installed_copy_tip(session)
    old_log = os.path.join(prefix_path(folder), 'install.log')
    os.utime(old_log, (1, 1))
    mark = installer.mark()
    installer.click(box, BOX_OK)
    check(installer.box_closed('InstalledPathTipWnd.xml') == 0, 'the tip did not answer "update"')
    installer.wait_main_window()
    _, at = installer.wait_line(r'worker message 5003 ', 120, mark)
    run_to_finished(session, installer, mark)
    check(os.stat(old_log).st_mtime > 1000, 'the package did not install again')
    check_installed(session, folder)
    close_finished(session, installer)
    # The old uninstaller ran from its private copy, and is gone again.
    check(not installer.matching(r'worker message 500[45] '), 'the uninstall failed')
    check_funnel(session, [('ZkEventView', '安装中')] + SUCCESS_TAIL)


@flow
def installed_copy_open(session):
    folder, installer, box = installed_copy_tip(session)
    installer.click(box, BOX_CANCEL)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check(product_started(), 'the installed product did not start')
    check(session.registry().get('InstallPath') == folder, 'the records changed')
    check_funnel(session, [])


@flow
def installed_copy_close(session):
    folder, installer, box = installed_copy_tip(session)
    installer.click(box, BOX_CLOSE)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check(not product_started(seconds=3), 'the product started')
    check_funnel(session, [])


@flow
def running_product(session):
    folder = r'C:\Program Files (x86)\Quorvane'
    session.preinstall(folder)
    wine('reg', 'delete', r'HKCU\Software\ZorvikSoft\Quorvane', '/f')
    product = subprocess.Popen([WINE_RUN, os.path.join(prefix_path(folder), 'Quorvane.exe')],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(product_started(), 'the product did not start')
        session.write_config()
        installer = session.start()
        mark = installer.mark()
        installer.click(installer.window, QUICK_INSTALL)
        box, text = installer.message_box('MessageBox1Wnd.xml', mark)
        check(text == RUNNING_TEXT, 'message text %r' % text)
        session.shot(box, 'product-running')
        installer.click(box, BOX_SINGLE_OK)
        check(installer.wait_exit() == 0, 'the installer did not close after the message')
        check(not installer.matching(r'page 2 shown'), 'a run started')
        check(not os.path.exists(os.path.join(prefix_path(folder), PACKAGE_NAME)), 'a download started')
        check_funnel(session, [('ZkEventClick', '立即安装')])
    finally:
        product.kill()
        subprocess.run(['pkill', '-f', 'Quorvane.exe'], capture_output=True)


@flow
def exit_tip(session):
    session.write_config()
    installer = session.start()
    installer.key(installer.window, 'Escape')
    time.sleep(0.5)
    check(installer.alive(), 'Escape closed the main window')
    results = []
    for answer, label in ((BOX_CANCEL, 'cancel'), (BOX_CLOSE, 'close'), (BOX_OK, 'leave')):
        mark = installer.mark()
        installer.click(installer.window, CLOSE)
        box, _ = installer.message_box('ExitTipWnd.xml', mark)
        if label == 'cancel':
            session.shot(box, 'exit-tip')
            installer.key(box, 'Escape')
            time.sleep(0.5)
            check(session.geometry(box), 'Escape closed the exit tip')
        installer.click(box, answer)
        results.append(installer.box_closed('ExitTipWnd.xml', mark))
        if label != 'leave':
            time.sleep(0.5)
            check(installer.alive(), 'the window closed after "%s"' % label)
    check(results == [1, 2, 0], 'exit tip results %s' % results)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check_funnel(session, [])


@flow
def progress_page(session):
    # 3.3 MB at 48 KB/s: the progress page stays up for more than a minute.
    installer, folder, mark = start_quick_install(session, DownloadUrl=paced_url(session, '/slow/'))
    _, at = installer.wait_page(2, mark)
    installer.wait_line(r'progress \d+ \[正在安装中:\d+%，请稍候\.\.\.\]', 30, at)
    session.shot(installer.window, 'progress')
    installer.key(installer.window, 'Escape')
    installer.key(installer.window, 'alt+F4')
    time.sleep(1)
    check(installer.alive(), 'Escape or Alt+F4 closed the progress page')
    check(not installer.matching(r'page [013] shown'), 'the page changed')
    # After a minute of downloading the text asks for patience.
    installer.wait_line(r'progress \d+ \[正在安装中:\d+%，请耐心等待\.\.\.\]', 120, at)
    session.shot(installer.window, 'progress-patient')
    installer.wait_page(3, at, timeout=180)
    session.shot(installer.window, 'finished')
    check_installed(session, folder)
    close_finished(session, installer)
    records = check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL)
    elapsed = task(records, '大包下载完毕')[0]['zk_task_elapsed']
    check(60 < elapsed < 150, 'download duration %s' % elapsed)


@flow
def download_failure_retry(session):
    # A package name the server does not have yet: the first run fails.
    md5 = session.servers['PACKAGE_MD5']
    served = os.path.join(session.servers['STATE'], 'www', 'files', md5)
    name = 'retry-%d.exe' % os.getpid()
    session.write_config(DownloadUrl=session.package_url('/files/%s/%s' % (md5, name)))
    installer = session.start()
    installer.click(installer.window, CUSTOM)
    installer.wait_page(1)
    installer.click(installer.window, DIR_EDIT)
    installer.key(installer.window, 'ctrl+a', 'BackSpace')
    xdotool('type', '--delay', '60', r'C:\My Apps')
    installer.click(installer.window, QUICK_LAUNCH_BOX)
    mark = installer.mark()
    installer.click(installer.window, CUSTOM_INSTALL)
    installer.wait_page(2, mark)
    box, _ = installer.message_box('NetworkTipWnd.xml', mark, timeout=180)
    session.shot(box, 'network-tip')
    shutil.copy(os.path.join(served, 'QuorvaneSetupPackage.exe'), os.path.join(served, name))
    try:
        mark = installer.mark()
        installer.click(box, BOX_OK)
        check(installer.box_closed('NetworkTipWnd.xml', mark) == 0, 'the tip did not answer "retry"')
        installer.wait_page(1, mark)
        run_to_finished(session, installer, mark, 'retrying')
    finally:
        os.remove(os.path.join(served, name))
    check_installed(session, r'C:\My Apps\Quorvane', desktop=True, quick_launch=False)
    close_finished(session, installer)
    records = check_funnel(session, [
        ('ZkEventClick', '自定义安装'), ('ZkEventClick', '自定义安装_立即安装'), ('ZkEventView', '安装中'),
        ('ZkEventTask', '下载器启动'), ('ZkEventTask', '开始下载大包'), ('ZkEventTask', '下载失败原因'),
        ('ZkEventView', '安装中'), ('ZkEventTask', '开始下载大包'), ('ZkEventTask', '大包下载完毕'),
        ('ZkEventTask', '安装成功')], probe_status=404)
    reason = task(records, '下载失败原因')[0]['zk_reason']
    check(re.fullmatch(r'1\.code=-?\d+；2\.msg=.*；3\.缓存磁盘容量=\d+\.\d\dG；4\.缓存读写权限=可读；'
                       r'5\.服务器连接状态code=\d+', reason), 'download failure reason %r' % reason)


@flow
def install_failure(session):
    installer, folder, mark = start_quick_install(session, InstCmd='-demo-fail=磁盘写入失败')
    installer.wait_page(2, mark)
    box, text = installer.message_box('MessageBox2Wnd.xml', mark, timeout=120)
    check(text == '磁盘写入失败', 'failure text %r' % text)
    session.shot(box, 'install-failed')
    installer.click(box, BOX_CLOSE)
    installer.wait_page(0, mark)
    session.shot(installer.window, 'back-to-start')
    check(package_gone(folder), 'the package was left behind')
    check('InstallPath' not in session.registry(), 'a failed run wrote the records')
    # set.ini is written when the installation starts.
    check(session.ini(folder + r'\set.ini')['Install'].get('AppName') == 'Quorvane', 'set.ini at install start')
    installer.click(installer.window, CLOSE)
    box, _ = installer.message_box('ExitTipWnd.xml', mark)
    installer.click(box, BOX_OK)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    records = check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中'),
                                     ('ZkEventTask', '下载器启动'), ('ZkEventTask', '开始下载大包'),
                                     ('ZkEventTask', '大包下载完毕'), ('ZkEventTask', '安装失败原因')])
    reason = task(records, '安装失败原因')[0]['zk_reason']
    # An "Error=" line of the package fails with code 1000.
    check(reason == ':1.code=1000；2.msg=磁盘写入失败', 'installation failure reason %r' % reason)


def blocked_start(session, folder_text, expected_text, label):
    session.write_config()
    installer = session.start()
    installer.click(installer.window, CUSTOM)
    installer.wait_page(1)
    installer.click(installer.window, DIR_EDIT)
    installer.key(installer.window, 'ctrl+a', 'BackSpace')
    xdotool('type', '--delay', '60', folder_text)
    mark = installer.mark()
    installer.click(installer.window, CUSTOM_INSTALL)
    box, text = installer.message_box('MessageBox2Wnd.xml', mark)
    check(text == expected_text, 'message %r' % text)
    session.shot(box, label)
    installer.click(box, BOX_CLOSE)
    check(installer.box_closed('MessageBox2Wnd.xml', mark) == 2, 'the message window result')
    time.sleep(0.5)
    session.shot(installer.window, 'still-custom')
    check(not installer.matching(r'page 2 shown'), 'a run started')
    check(not installer.matching(r'worker message'), 'the orchestrator started')
    # The button works again: a second click shows the same message.
    mark = installer.mark()
    installer.click(installer.window, CUSTOM_INSTALL)
    box, _ = installer.message_box('MessageBox2Wnd.xml', mark)
    installer.click(box, BOX_CLOSE)
    installer.click(installer.window, CLOSE)
    box, _ = installer.message_box('ExitTipWnd.xml', mark)
    installer.click(box, BOX_OK)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')


@flow
def folder_text(session):
    # Nothing is created for a folder the user left empty or typed without a drive.
    blocked_start(session, '', '请选择安装路径', 'empty-folder')
    blocked_start(session, 'abc', '请填写完整的安装路径，例如 C:\\Program Files', 'relative-folder')
    for place in (session.folder, os.getcwd()):
        check(not os.path.exists(os.path.join(place, 'abc')), 'a folder "abc" was made in ' + place)


@flow
def invalid_path(session):
    blocked_start(session, r'Q:\nowhere', '无效路径', 'invalid-path')


@flow
def low_disk(session):
    # Drive L: of the prefix on a 64 MiB file system.
    mount = os.path.join(session.work, 'small')
    os.makedirs(mount)
    result = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=64m', 'tmpfs', mount], capture_output=True, text=True)
    check(result.returncode == 0, 'cannot mount a small file system: ' + result.stderr)
    link = os.path.join(PREFIX, 'dosdevices', 'l:')
    try:
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(mount, link)
        blocked_start(session, r'L:\apps', '当前磁盘剩余空间低于1GB，请修改安装路径', 'low-disk')
    finally:
        if os.path.lexists(link):
            os.remove(link)
        subprocess.run(['umount', mount], capture_output=True)


@flow
def check_net(session):
    session.write_config(IsCheckNet='true')
    installer = session.start()
    mark = installer.mark()
    installer.click(installer.window, QUICK_INSTALL)
    match, at = installer.wait_line(r'network check 0x([0-9a-f]{8})', 60, mark)
    online = (int(match.group(1), 16) >> 16) == 0
    if online:
        installer.wait_page(3, at, timeout=120)
        session.shot(installer.window, 'finished')
        close_finished(session, installer)
        check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL)
    else:
        box, text = installer.message_box('MessageBox2Wnd.xml', at)
        check(text == '当前网络环境较差，请在网络通畅时进行安装', 'offline message %r' % text)
        session.shot(box, 'offline')
        installer.click(box, BOX_CLOSE)
        time.sleep(1)
        check(not installer.matching(r'page 2 shown'), 'an offline run started')
        installer.click(installer.window, CLOSE)
        box, _ = installer.message_box('ExitTipWnd.xml', at)
        installer.click(box, BOX_OK)
        check(installer.wait_exit() == 0, 'the installer did not end with 0')
        check_funnel(session, [('ZkEventClick', '立即安装')])


@flow
def package_message(session):
    installer, folder, mark = start_quick_install(session, InstCmd='-demo-message=欢迎使用Vellisto')
    box, text = installer.message_box('MessageBox1Wnd.xml', mark, timeout=120)
    check(text == '欢迎使用Vellisto', 'package message %r' % text)
    session.shot(box, 'package-message')
    installer.click(box, BOX_SINGLE_OK)
    installer.wait_page(3, mark)
    check_installed(session, folder)
    close_finished(session, installer)
    check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL)


@flow
def launch_product(session):
    # The demo package asks for a start by the user; "立即体验" starts it.
    session.write_config()
    installer = session.start()
    mark = installer.mark()
    installer.click(installer.window, QUICK_INSTALL)
    installer.wait_page(3, mark)
    check(not product_running(), 'the product started before the click')
    installer.click(installer.window, OPEN_PRODUCT)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check(product_started(), 'the product did not start')
    check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中')] + SUCCESS_TAIL +
                 [('ZkEventClick', '立即体验')])


@flow
def analytics_off(session):
    installer, folder, mark = start_quick_install(session, IsEnableAppAnalytics='false')
    installer.wait_page(3, mark)
    check_installed(session, folder)
    close_finished(session, installer)
    check(session.collector.records() == [], 'records reached the collector')
    made = [os.path.join(b, f) for b, _, files in os.walk(os.path.join(PREFIX, 'drive_c', 'users'))
            for f in files if f.startswith('ZKS') or 'Quorvane.downloader' in f]
    check(not made, 'analytics files were created: %s' % made)


@flow
def analytics_off_by_command_line(session):
    # The file starts the tracker; the command line then turns reporting off,
    # so nothing is sent and the tracker goes with the process's statics.
    session.write_config()
    installer = session.start('-isenableappanalytics=false')
    installer.click(installer.window, CLOSE)
    box, _ = installer.message_box('ExitTipWnd.xml')
    installer.click(box, BOX_OK)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check(session.collector.records() == [], 'records reached the collector')


OFFLINE = 0x20003  # no internet access, as the connectivity answer has it


@flow
def check_net_offline(session):
    session.use_test_build()
    os.environ['QUORVANE_TEST_NETWORK_STATE'] = str(OFFLINE)
    try:
        installer, _, mark = start_quick_install(session, IsCheckNet='true')
        box, text = installer.message_box('MessageBox2Wnd.xml', mark)
        check(text == '当前网络环境较差，请在网络通畅时进行安装', 'message %r' % text)
        session.shot(box, 'offline')
        installer.click(box, BOX_CLOSE)
        installer.box_closed('MessageBox2Wnd.xml', mark)
        check(installer.matching(r'network check 0x%08x' % OFFLINE), 'the forced state did not reach the check')
        check(not installer.matching(r'page 2 shown'), 'a run started')
        installer.click(installer.window, CLOSE)
        box, _ = installer.message_box('ExitTipWnd.xml', mark)
        installer.click(box, BOX_OK)
        check(installer.wait_exit() == 0, 'the installer did not end with 0')
        check_funnel(session, [('ZkEventClick', '立即安装')])
    finally:
        del os.environ['QUORVANE_TEST_NETWORK_STATE']


@flow
def download_failure_reasons(session):
    # The network state of a failure's report is the machine's, here forced.
    session.use_test_build()
    os.environ['QUORVANE_TEST_NETWORK_STATE'] = str(OFFLINE)
    try:
        installer, _, mark = start_quick_install(session, DownloadUrl=session.package_url('/files/none/gone.exe'))
        box, _ = installer.message_box('NetworkTipWnd.xml', mark, timeout=180)
        session.shot(box, 'network-tip')
        installer.click(box, BOX_CANCEL)
        _, at = installer.wait_page(0, mark)
        installer.click(installer.window, CLOSE)
        box, _ = installer.message_box('ExitTipWnd.xml', at)
        installer.click(box, BOX_OK)
        check(installer.wait_exit() == 0, 'the installer did not end with 0')
    finally:
        del os.environ['QUORVANE_TEST_NETWORK_STATE']
    records = check_funnel(session, [('ZkEventClick', '立即安装'), ('ZkEventView', '安装中'),
                                     ('ZkEventTask', '下载器启动'), ('ZkEventTask', '开始下载大包'),
                                     ('ZkEventTask', '下载失败原因')], probe_status=404)
    reason = task(records, '下载失败原因')[0]['zk_reason']
    check(re.fullmatch(r'1\.code=-?\d+；2\.msg=\w+；3\.缓存磁盘容量=\d+\.\d\dG；4\.缓存读写权限=可读；'
                       r'5\.服务器连接状态code=%d' % OFFLINE, reason), 'download failure reason %r' % reason)


@flow
def double_click(session):
    session.write_config(DownloadUrl=paced_url(session), IsCheckNet='true')
    installer = session.start()
    mark = installer.mark()
    x, y, _, _ = session.geometry(installer.window)
    xdotool('mousemove', str(x + QUICK_INSTALL[0]), str(y + QUICK_INSTALL[1]))
    time.sleep(0.25)
    xdotool('click', '--repeat', '2', '--delay', '60', '1')
    run_to_finished(session, installer, mark)
    check(len(installer.matching(r'network check 0x')) == 1, 'network checks: %d' %
          len(installer.matching(r'network check 0x')))
    close_finished(session, installer)
    records = session.collector.records()
    events = funnel(records)
    clicks = events.count(('ZkEventClick', '立即安装'))
    check(clicks in (1, 2), 'clicks %d' % clicks)
    check(events[clicks:] == [('ZkEventView', '安装中')] + SUCCESS_TAIL, 'funnel after the clicks %s' % events)


def start_silent(session, *args, **config):
    session.write_config(**config)
    return session.start('/S', *args, main_window=False)


def watch_for_windows(installer):
    """Every visible window of the installer seen while it runs."""
    seen = set()
    while installer.exit_code is None:
        for name in ('Vellisto', '消息框'):
            seen.update(xdotool('search', '--onlyvisible', '--name', '^%s$' % name).split())
        seen.update(xdotool('search', '--onlyvisible', '--classname', 'quorvaneinstaller.exe').split())
        time.sleep(0.1)
    return seen


@flow
def silent_install(session):
    folder = r'C:\some folder\带空格'
    log = os.path.join(session.work, 'setup 日志.log')
    installer = start_silent(session, '-log=' + windows_path(log), '-ssc=false', '/D=' + folder)
    check(not watch_for_windows(installer), 'a window was shown')
    check(installer.wait_exit(timeout=180) == 0, 'exit code %s' % installer.exit_code)
    check_installed(session, folder, desktop=True, quick_launch=False)
    for stage in ('stage: downloading the package', 'stage: installing', 'progress 100%',
                  'result: installed, exit code 0'):
        check(installer.matching(r'console: ' + re.escape(stage)), 'no console line %r' % stage)
    check(not installer.matching(r'page \d shown|main window painted'), 'the window was built')
    records = session.collector.records()
    check(funnel(records) == SUCCESS_TAIL, 'funnel %s' % funnel(records))
    for record in records:
        check(record['properties'].get('zkc_silent') is True, 'no zkc_silent in %s' % record)
    # The log file holds the debugger channel's lines of the installer, in order.
    logged = [line for line in open(log, encoding='utf-8', newline='').read().split('\r\n') if line]
    check(logged, 'the log file is empty')
    pid = re.match(r'<P(\d+)>', logged[0]).group(1)
    relayed = [line for line in installer.lines if line.startswith('<P%s>' % pid)]
    check(logged == relayed[-len(logged):], 'log file (%d lines) and debugger channel (%d) differ' %
          (len(logged), len(relayed)))


@flow
def silent_failures(session):
    installer = start_silent(session, DownloadUrl=session.package_url('/files/none/gone.exe'))
    check(installer.wait_exit(timeout=180) == 14, 'a failed download exits with %s' % installer.exit_code)
    check(installer.matching(r'console: result: download-failed, exit code 14'), 'no result line')
    check(funnel(session.collector.records())[-1] == ('ZkEventTask', '下载失败原因'), 'the failure was not reported')

    folder = r'C:\Program Files (x86)\Quorvane'
    session.preinstall(folder)
    product = subprocess.Popen([WINE_RUN, os.path.join(prefix_path(folder), 'Quorvane.exe')],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(product_started(), 'the product did not start')
        installer = start_silent(session)
        check(installer.wait_exit() == 10, 'with the product running the exit code is %s' % installer.exit_code)
    finally:
        product.kill()
        subprocess.run(['pkill', '-f', 'Quorvane.exe'], capture_output=True)


@flow
def downloader_start_message(session):
    session.write_config()
    installer = session.start()
    relay = os.path.join(session.build, 'bin', 'post-to-window.exe')
    wine(relay, 'MainWnd', '1224', '2')
    time.sleep(1)
    installer.click(installer.window, CLOSE)
    box, _ = installer.message_box('ExitTipWnd.xml')
    installer.click(box, BOX_OK)
    check(installer.wait_exit() == 0, 'the installer did not end with 0')
    check_funnel(session, [('ZkEventTask', '下载器启动')])


@flow
def crash_reports(session):
    # The test build, told to throw an exception nobody catches once the
    # tracker runs: the runtime's abort ends it (3), the crash reported first.
    session.use_test_build()
    session.write_config()
    os.environ['QUORVANE_TEST_TRIGGER'] = 'terminate'
    installer = session.start(main_window=False)
    code = installer.wait_exit()
    del os.environ['QUORVANE_TEST_TRIGGER']
    check(code == 3, 'the installer ended with %s' % code)
    got = funnel(session.collector.records())
    check(got == [('ZkEventTask', '崩溃退出'), ('AppCrashed', '崩溃')], 'funnel events %s' % got)


@flow
def damaged_skin(session):
    # The copy's skin package (resource SKINPKG 147, Chinese Simplified)
    # replaced by bytes that are no 7z archive: the failure message, then 1.
    garbage = os.path.join(session.work, 'not-a-skin.bin')
    with open(garbage, 'wb') as f:
        f.write(b'7z but not a skin package\n' * 64)
    wine(os.path.join(session.build, 'bin', 'replace-resource.exe'), windows_path(session.exe), 'SKINPKG',
         '147', '0x0804', windows_path(garbage))
    session.write_config()
    installer = session.start(main_window=False)
    box = None
    deadline = time.time() + 30
    while box is None and time.time() < deadline and installer.exit_code is None:
        found = xdotool('search', '--onlyvisible', '--name', '^SkinKit$').split()
        box = found[0] if found else None
        time.sleep(0.2)
    check(box, 'no failure message (a window named SkinKit)')
    time.sleep(0.8)
    session.shot(box, 'failure-message')
    check(not xdotool('search', '--onlyvisible', '--name', '^Vellisto$').strip(), 'the main window is up')
    xdotool('windowactivate', '--sync', box)
    xdotool('key', '--window', box, 'Return')
    code = installer.wait_exit()
    check(code == 1, 'the installer ended with %s' % code)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build')
    parser.add_argument('--list', action='store_true')
    parser.add_argument('flow', nargs='?')
    args = parser.parse_args()
    if args.list:
        print(';'.join(FLOWS))
        return 0
    if args.flow not in FLOWS:
        print('unknown flow %r; flows: %s' % (args.flow, ', '.join(FLOWS)))
        return 2
    session = Session(os.path.abspath(args.build), args.flow)
    try:
        FLOWS[args.flow](session)
    except FlowFailure as failure:
        print('FAIL %s: %s' % (args.flow, failure))
        for installer in session.installers:
            print('--- installer lines')
            print('\n'.join(installer.lines[-60:]))
        print('screenshots in', session.shots)
        return 1
    finally:
        session.close()
    print('PASS %s; screenshots in %s' % (args.flow, session.shots))
    return 0


if __name__ == '__main__':
    sys.exit(main())
