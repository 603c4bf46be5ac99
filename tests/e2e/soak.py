#!/usr/bin/env python3
"""A soak run by hand: the real application sweeping continuously from the
simulator (optionally with faults) for a while, through its real window.
Reports sweeps, the longest stall, memory growth and Qt warnings.
Usage: xvfb-run -a -s "-screen 0 1600x900x24" python3 tests/e2e/soak.py --build build --minutes 10 [--faults]"""

import argparse
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvik_driver import Session, qt_warnings  # noqa: E402


def rss_kib(pid):
    with open(f"/proc/{pid}/status", encoding="utf-8") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--faults", action="store_true")
    args = parser.parse_args()

    home = tempfile.mkdtemp(prefix="orvik-soak-")
    os.makedirs(os.path.join(home, "Documents"))
    session = Session(os.path.abspath(args.build), home)
    sim_args = ["--seed", "11", "--sweep-ms", "300"]
    if args.faults:
        sim_args += ["--fault", "random-chunks", "--fault", "corrupt-bytes:7", "--fault", "drop-frame-end:11",
                     "--fault", "short-scan:13", "--fault", "lost-answer:17"]
    try:
        link = session.start_simulator(*sim_args)
        session.remember(serialPort={"portName": link}, peakSwitch=True)
        session.start_application()
        session.click("connectButton")
        session.wait_for_log("Serial port is connected.", 10)
        session.click("continuousScanButton")
        session.wait_for_log("Success to Get Points!", 20, count=3)
        rss_start = rss_kib(session.app.pid)
        end = time.monotonic() + args.minutes * 60
        samples = []
        while time.monotonic() < end and session.app.poll() is None:
            time.sleep(10)
            samples.append(rss_kib(session.app.pid))
        alive = session.app.poll() is None
        log = session.log_text()
        stamps = [time.mktime(time.strptime(line[2:21], "%Y-%m-%d %H:%M:%S"))
                  for line in log.splitlines() if "Send command: scanraw" in line]
        gaps = [b - a for a, b in zip(stamps, stamps[1:])]
        print(f"minutes: {args.minutes}  faults: {args.faults}")
        print(f"application alive at the end: {alive}")
        print(f"sweeps requested: {len(stamps)}  frames cut: {log.count('Success to Get Points!')}")
        print(f"broken frames dropped: {log.count('Broken frame dropped')}  longest gap between sweeps: "
              f"{max(gaps) if gaps else 0:.0f} s")
        print(f"RSS after warm-up: {rss_start} KiB  at the end: {samples[-1] if samples else rss_start} KiB  "
              f"max: {max(samples) if samples else rss_start} KiB")
        print(f"Qt warnings in the log: {len(qt_warnings(log))}")
        session.click("stopScanButton")
        code = session.close_window()
        print(f"exit code after closing the window: {code}")
        return 0 if alive and code == 0 else 1
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
