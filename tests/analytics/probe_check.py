#!/usr/bin/env python3
"""End to end: the analytics probe (native, or a Windows build under an
emulator) uploads to a collector started here on 127.0.0.1; every one of the
fifteen events must arrive, decoded and well-formed."""

import argparse
import os
import subprocess
import sys
import tempfile
import urllib.request

EVENTS = ["ZkEventActivity", "ZkEventLaunch", "ZkEventLogin", "$SignUp", "ZkEventClick",
          "ZkEventView", "ZkEventCashier", "ZkEventShare", "ZkEventTask", "ZkEventFile",
          "ZkEventOrder", "ZkEventPayment", "ZkEventUninstall", "AppCrashed", "ZkEventUpdate",
          "AppOpenNotification"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    parser.add_argument("--collector", required=True)
    parser.add_argument("--emulator", default="")
    args = parser.parse_args()
    collector = subprocess.Popen([sys.executable, args.collector, "serve", "--port", "0",
                                  "--idle-timeout", "60"], stdout=subprocess.PIPE, text=True)
    try:
        port = int(collector.stdout.readline().split()[2])
        base = "http://127.0.0.1:%d" % port
        with tempfile.TemporaryDirectory() as data:
            data_arg = data
            command = [args.probe]
            if args.emulator:
                command = [args.emulator, args.probe]
                data_arg = "Z:" + data.replace("/", "\\")
            run = subprocess.run(command + [base + "/sa?project=pc", data_arg],
                                 capture_output=True, text=True, timeout=600)
        print(run.stdout)
        lines = run.stdout.replace("\r", "").splitlines()
        expected = ["init ok"] + ["%s ok" % name for name in
                                  ("trackActivity", "trackLaunch", "trackLogin", "trackClick",
                                   "trackView", "trackCashier", "trackShare", "trackTask",
                                   "trackFile", "trackOrder", "trackPayment", "trackUninstall",
                                   "trackCrash", "trackUpdate", "trackAppOpenNotification")] + \
                   ["flush ok", "shutdown ok"]
        failed = False
        if lines != expected or run.returncode != 0:
            print("unexpected probe output or exit code %d:\n%s" % (run.returncode, run.stderr))
            failed = True
        stats = urllib.request.urlopen(base + "/stats").read().decode()
        records = urllib.request.urlopen(base + "/records").read().decode()
        print(stats)
        if "rejected=0" not in stats:
            failed = True
        for event in EVENTS:
            if '"event":"%s"' % event not in records:
                print("missing event " + event)
                failed = True
        return 1 if failed else 0
    finally:
        try:
            urllib.request.urlopen(urllib.request.Request(base + "/shutdown", data=b""), timeout=5)
        except Exception:
            collector.kill()
        collector.wait(timeout=10)


if __name__ == "__main__":
    sys.exit(main())
