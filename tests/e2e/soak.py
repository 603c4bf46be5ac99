#!/usr/bin/env python3
"""A soak run by hand: the real application sweeping continuously from the
simulator (optionally with faults) for a while, through its real window.
Reports sweeps, the longest stall, resident memory once a minute, sanitizer
reports and Qt warnings; exits 1 when the application died, reported a
sanitizer finding or did not end cleanly.

Usage (from the repository root):
  scripts/build veltro-orvik tinysa-sim uimap
  xvfb-run -a -s "-screen 0 1600x900x24" python3 tests/e2e/soak.py --build build --minutes 10 [--faults]
  scripts/build --sanitize=address veltro-orvik tinysa-sim uimap
  xvfb-run -a -s "-screen 0 1600x900x24" python3 tests/e2e/soak.py --build build-address --minutes 30
A build directory named build-address or build-thread runs under that
sanitizer's options (reports go to files, counted at the end)."""

import argparse
import glob
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvik_driver import Session, qt_warnings  # noqa: E402

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def rss_kib(pid):
    with open(f"/proc/{pid}/status", encoding="utf-8") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def sanitizer_of(build_dir):
    name = os.path.basename(os.path.normpath(build_dir))
    return {"build-address": "address", "build-thread": "thread"}.get(name)


def sanitizer_environment(sanitizer, report_dir, leaks, extra=""):
    """Options that send every report of the application and the simulator to files in report_dir."""
    prefix = os.path.join(report_dir, "report")
    if sanitizer == "address":
        suppressions = os.path.join(SOURCE_DIR, "tests", "lsan.supp")
        return {"ASAN_OPTIONS": f"log_path={prefix}:detect_leaks={1 if leaks else 0}" + (f":{extra}" if extra else ""),
                "LSAN_OPTIONS": f"suppressions={suppressions}:print_suppressions=0",
                "UBSAN_OPTIONS": f"print_stacktrace=1:log_path={prefix}"}
    if sanitizer == "thread":
        suppressions = os.path.join(SOURCE_DIR, "tests", "tsan.supp")
        return {"TSAN_OPTIONS": f"log_path={prefix}:second_deadlock_stack=1:suppressions={suppressions}"}
    return {}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--faults", action="store_true")
    parser.add_argument("--sweep-ms", default="0", help="the simulator's time per sweep (0 = as fast as asked)")
    parser.add_argument("--leaks", action="store_true", help="AddressSanitizer: also report leaks at exit")
    parser.add_argument("--asan-options", default="", help="more ASAN_OPTIONS, e.g. quarantine_size_mb=0")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    sanitizer = sanitizer_of(build)
    home = tempfile.mkdtemp(prefix="orvik-soak-")
    report_dir = os.path.join(home, "sanitizer-reports")
    os.makedirs(report_dir)
    os.makedirs(os.path.join(home, "Documents"))
    session = Session(build, home)
    session.env.update(sanitizer_environment(sanitizer, report_dir, args.leaks, args.asan_options))
    if sanitizer == "address":
        # The layout tool leaves Qt's offscreen platform to the process's end; its leaks are not the application's.
        session.tool_env["ASAN_OPTIONS"] = f"log_path={os.path.join(report_dir, 'report')}:detect_leaks=0"
    sim_args = ["--seed", "11", "--sweep-ms", args.sweep_ms]
    if args.faults:
        sim_args += ["--fault", "random-chunks", "--fault", "corrupt-bytes:7", "--fault", "drop-frame-end:11",
                     "--fault", "short-scan:13", "--fault", "lost-answer:17"]
    try:
        link = session.start_simulator(*sim_args)
        session.remember(serialPort={"portName": link}, peakSwitch=True)
        session.start_application()
        session.click("connectButton")
        session.wait_for_log("Serial port is connected.", 30)
        session.click("continuousScanButton")
        session.wait_for_log("Success to Get Points!", 60, count=3)
        began = time.monotonic()
        end = began + args.minutes * 60
        samples = [rss_kib(session.app.pid)]  # minute 0, then one a minute
        next_sample = began + 60
        while time.monotonic() < end and session.app.poll() is None:
            time.sleep(max(0.1, min(next_sample, end) - time.monotonic()))
            if time.monotonic() >= next_sample and session.app.poll() is None:
                samples.append(rss_kib(session.app.pid))
                next_sample += 60
        alive = session.app.poll() is None
        log = session.log_text()
        stamps = [time.mktime(time.strptime(line[2:21], "%Y-%m-%d %H:%M:%S"))
                  for line in log.splitlines() if "Send command: scanraw" in line]
        gaps = [b - a for a, b in zip(stamps, stamps[1:])]
        print(f"build: {os.path.basename(build)}  sanitizer: {sanitizer or 'none'} {args.asan_options}  "
              f"minutes: {args.minutes}  "
              f"sweep-ms: {args.sweep_ms}  faults: {args.faults}")
        print(f"application alive at the end: {alive}")
        print(f"sweeps requested: {len(stamps)}  frames cut: {log.count('Success to Get Points!')}")
        print(f"broken frames dropped: {log.count('Broken frame dropped')}  longest gap between sweeps: "
              f"{max(gaps) if gaps else 0:.0f} s")
        print("RSS by minute (MiB): " + " ".join(f"{kib / 1024:.1f}" for kib in samples))
        if len(samples) > 1:
            after_first = samples[1:]
            print(f"RSS growth after the first minute: {(max(after_first) - after_first[0]) / 1024:.1f} MiB (max), "
                  f"{(after_first[-1] - after_first[0]) / 1024:.1f} MiB (end)")
        print(f"Qt warnings in the log: {len(qt_warnings(log))}")
        if alive:
            session.click("stopScanButton")
            code = session.close_window()
        else:
            code = session.app.returncode
        print(f"exit code after closing the window: {code}")
        session.stop()
        reports = sorted(glob.glob(os.path.join(report_dir, "report*")))
        print(f"sanitizer reports: {len(reports)}")
        if reports:
            kept = os.path.join(build, "soak-reports")
            shutil.rmtree(kept, ignore_errors=True)
            shutil.copytree(report_dir, kept)
            print(f"reports kept in {kept}")
        for report in reports:
            print(f"--- {os.path.basename(report)}")
            with open(report, encoding="utf-8", errors="replace") as f:
                print(f.read()[:4000])
        return 0 if alive and code == 0 and not reports else 1
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
