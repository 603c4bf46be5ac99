#!/usr/bin/env python3
"""Measures the application as a user runs it, under Xvfb with the simulator:
  - start-up: from starting the program to the main window's first repaint done;
  - latency: from the last byte of a frame leaving the simulator to the end of the
    window repaint that shows that sweep (simulator --timing-log against the
    application's performance probe, both on CLOCK_MONOTONIC);
  - main-thread stalls while sweeping continuously (the probe's 10 ms heartbeat);
  - CPU share of the application at one sweep per second (without the probe).
The simulator takes 900 ms per sweep: with the engine's 500 ms tick that is one
sweep a second (1000 ms would miss every other tick and give 0.67 a second).
Usage: scripts/build veltro-orvik tinysa-sim uimap
       xvfb-run -a -s "-screen 0 1600x900x24" python3 tests/e2e/perf.py --build build"""

import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvik_driver import Session, wait_until  # noqa: E402


def read_lines(path):
    try:
        with open(path, encoding="utf-8") as f:
            return [line.split() for line in f if line.strip()]
    except OSError:
        return []


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat", encoding="utf-8") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def new_session(build, probe_path=None):
    home = tempfile.mkdtemp(prefix="orvik-perf-")
    os.makedirs(os.path.join(home, "Documents"))
    session = Session(build, home)
    if probe_path:
        session.env["ORVIK_PERF_LOG"] = probe_path
    return session, home


def connect_and_sweep(session, sim_args, sweeps_before=3):
    link = session.start_simulator(*sim_args)
    session.remember(serialPort={"portName": link})
    session.start_application()
    session.click("connectButton")
    session.wait_for_log("Serial port is connected.", 30)
    session.click("continuousScanButton")
    session.wait_for_log("Success to Get Points!", 30, count=sweeps_before)


def measure_startup(build, runs, work):
    """Starts of one user: the first one finds no QML cache, the later ones find it."""
    figures = []
    probe = os.path.join(work, "startup.log")
    session, home = new_session(build, probe)
    try:
        for run in range(runs):
            if os.path.exists(probe):
                os.remove(probe)
            session.start_application()
            shown = wait_until(lambda: next((int(words[1]) for words in read_lines(probe) if words[0] == "shown"),
                                            None), 30, "the first repaint")
            marks = {words[0]: int(words[1]) for words in read_lines(probe) if len(words) == 2}
            figures.append({"shown": (shown - session.started_ns) / 1e6,
                            "started": (marks["started"] - session.started_ns) / 1e6,
                            "page": (shown - marks["main-page-load"]) / 1e6})
            session.close_window()
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)
    return figures


def measure_latency(build, seconds, work):
    probe = os.path.join(work, "latency-probe.log")
    timing = os.path.join(work, "latency-sim.log")
    session, home = new_session(build, probe)
    try:
        connect_and_sweep(session, ["--seed", "3", "--sweep-ms", "900", "--timing-log", timing], sweeps_before=1)
        time.sleep(seconds)  # the measurement window itself
        window_end_ns = time.monotonic_ns()
        session.click("stopScanButton")
        session.close_window()
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)
    sent = {int(words[0]): int(words[1]) for words in read_lines(timing)}
    events = {}
    gaps = []
    heartbeat = None
    for words in read_lines(probe):
        if words[0] == "sweep":
            events.setdefault(words[2], {})[int(words[1])] = int(words[3])
        elif words[0] == "gap":
            gaps.append((int(words[1]), int(words[3])))
        elif words[0] == "heartbeats":
            heartbeat = (int(words[1]), int(words[3]))
    first_sweep_ns = min(sent.values()) if sent else 0
    # Stalls while sweeping: from the first frame to the press of the stop button.
    sweeping = [(gap, at) for gap, at in gaps if first_sweep_ns <= at <= window_end_ns]
    result = {"sweeps": len(sent), "gaps": [gap for gap, at in sweeping], "heartbeat": heartbeat,
              "long_gaps": [(gap, (at - first_sweep_ns) / 1e9) for gap, at in sweeping if gap > 50]}
    for stage in ("taken", "painted", "presented"):
        result[stage] = [(events.get(stage, {})[k] - sent[k]) / 1e6 for k in sorted(sent) if k in events.get(stage, {})]
    return result


def measure_cpu(build, seconds):
    session, home = new_session(build)
    try:
        connect_and_sweep(session, ["--seed", "3", "--sweep-ms", "900"])
        time.sleep(5)  # let the first repaints and caches settle before the window opens
        app_before, sim_before, wall_before = cpu_seconds(session.app.pid), cpu_seconds(session.sim.pid), time.monotonic()
        sweeps_before = session.log_text().count("Success to Get Points!")
        time.sleep(seconds)
        app_after, sim_after, wall_after = cpu_seconds(session.app.pid), cpu_seconds(session.sim.pid), time.monotonic()
        sweeps = session.log_text().count("Success to Get Points!") - sweeps_before
        session.click("stopScanButton")
        session.close_window()
    finally:
        session.stop()
        shutil.rmtree(home, ignore_errors=True)
    wall = wall_after - wall_before
    return {"app": 100 * (app_after - app_before) / wall, "sim": 100 * (sim_after - sim_before) / wall,
            "sweeps_per_s": sweeps / wall, "seconds": wall}


def describe(values):
    if not values:
        return "no samples"
    return (f"median {statistics.median(values):.1f} ms, p95 {percentile(values, 0.95):.1f} ms, "
            f"max {max(values):.1f} ms ({len(values)} samples)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--startups", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=120, help="length of the latency and the CPU window")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    work = tempfile.mkdtemp(prefix="orvik-perf-logs-")
    try:
        startup = measure_startup(build, args.startups, work)
        for key, what in (("shown", "start-up to the first repaint done"),
                          ("started", "  of which to the application object and the log"),
                          ("page", "  of which loading and showing the main page")):
            values = [run[key] for run in startup]
            later = values[1:] or values
            print(f"{what}: first start {values[0]:.0f} ms; later starts " + ", ".join(f"{ms:.0f}" for ms in later) +
                  f" ms, median {statistics.median(later):.0f} ms")
        latency = measure_latency(build, args.seconds, work)
        print(f"sweeps timed: {latency['sweeps']}")
        for stage, what in (("taken", "received by the chart"), ("painted", "chart painted"),
                            ("presented", "window repaint done")):
            print(f"last byte sent -> {what}: {describe(latency[stage])}")
        gaps = latency["gaps"]
        if latency["heartbeat"]:
            beats, max_gap = latency["heartbeat"]
            print(f"main-thread heartbeat (10 ms): {beats} beats, longest gap {max_gap} ms over the whole run; "
                  f"gaps over 25 ms while sweeping: {len(gaps)}" + (f" (longest {max(gaps)} ms)" if gaps else "") +
                  f"; over 50 ms: {sum(1 for gap in gaps if gap > 50)}" +
                  "".join(f"\n  a {gap} ms gap ended {at:.1f} s after the first sweep" for gap, at in latency["long_gaps"]))
        cpu = measure_cpu(build, args.seconds)
        print(f"CPU over {cpu['seconds']:.0f} s at {cpu['sweeps_per_s']:.2f} sweeps/s: application {cpu['app']:.1f} % "
              f"of one core, simulator {cpu['sim']:.1f} %")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
