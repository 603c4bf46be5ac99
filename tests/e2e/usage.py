#!/usr/bin/env python3
"""End-to-end use of the real application with the real simulator in a real X
server: one scenario per run, driven through the window, checked in the files
a user would look at. Usage: usage.py --build DIR --scenario NAME"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvik_driver import (DriverError, Session, qt_warnings, read_csv, scene_levels,  # noqa: E402
                          wait_until)


def check(condition, message):
    if not condition:
        raise DriverError(message)


def export_csv(session, path):
    if os.path.exists(path):
        os.remove(path)
    session.places_after("saveAsButton")
    session.click("saveAsButton")
    session.click("mediaMenuEntry_CSV")
    session.answer_file_dialog(path)
    wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, 15, f"the CSV file {path}")
    return read_csv(path)


def connect(session, count=1):
    session.click("connectButton")
    session.wait_for_log("Serial port is connected.", 10, count=count)


def scenario_csv_single_sweep(session, out_dir):
    seed = 5
    link = session.start_simulator("--seed", str(seed), "--sweep-ms", "300")
    session.remember(serialPort={"portName": link})
    session.start_application()
    connect(session)
    session.click("singleScanButton")
    session.wait_for_log("Success to Get Points!", 15)
    rows = export_csv(session, os.path.join(out_dir, "single.csv"))
    expected = scene_levels(session.build_dir, seed, 0)
    check(len(rows) == len(expected) == 1000, f"{len(rows)} rows in the CSV, {len(expected)} points sent")
    check([r[1] for r in rows] == [float(v) for v in expected], "the CSV levels differ from the levels sent")
    freqs = [r[0] for r in rows]
    check(freqs == sorted(freqs) and abs(freqs[0] - 450.0) < 1e-9 and freqs[-1] <= 950.0,
          f"frequencies not ascending within the band: {freqs[0]} .. {freqs[-1]}")


def scenario_faults(session, out_dir):
    seed = 9
    link = session.start_simulator("--seed", str(seed), "--sweep-ms", "200", "--fault", "random-chunks",
                                   "--fault", "corrupt-bytes:3", "--fault", "drop-frame-end:4",
                                   "--fault", "short-scan:5")
    session.remember(serialPort={"portName": link})
    session.start_application()
    connect(session)
    session.click("continuousScanButton")
    session.wait_for_log("Success to Get Points!", 60, count=10)
    # Sweeping never stalls longer than the busy watchdog.
    stamps = []
    for line in session.log_text().splitlines():
        if "Send command: scanraw" in line:
            stamps.append(time.mktime(time.strptime(line[2:21], "%Y-%m-%d %H:%M:%S")))
    gaps = [b - a for a, b in zip(stamps, stamps[1:])]
    check(gaps and max(gaps) <= 7, f"sweeping stalled for {max(gaps) if gaps else '?'} s")
    session.click("stopScanButton")
    rows = export_csv(session, os.path.join(out_dir, "faults.csv"))
    levels = [int(r[1]) for r in rows]
    # The chart holds a sweep the simulator sent, whole (short scans included).
    for k in range(0, 40):
        sent = scene_levels(session.build_dir, seed, k)
        if levels == sent[:len(levels)] and len(levels) > 10:
            return
    raise DriverError(f"the exported sweep ({len(levels)} points) is none the simulator sent")


def scenario_unplug_replug(session, out_dir):
    link = session.start_simulator("--seed", "2", "--sweep-ms", "200")
    session.remember(serialPort={"portName": link})
    session.start_application()
    connect(session)
    session.click("continuousScanButton")
    session.wait_for_log("Success to Get Points!", 15, count=2)
    session.stop_simulator()  # unplugged
    session.wait_for_log("Serial port is disconnecting...", 10)
    check(session.app.poll() is None, "the application ended when the analyser was unplugged")
    # Plugged in again: the port comes back, the user picks it and connects.
    session.start_simulator("--seed", "2", "--sweep-ms", "200")
    session.wait_for_log("Available serial ports updated:", 10, count=3)
    x, y, w, h = session.places["portCombox"]
    session.click("portCombox")
    session.places["portEntry0"] = (x, y + h, w, h)
    session.click("portEntry0")
    connect(session, count=2)
    session.click("singleScanButton")
    session.wait_for_log("Success to Get Points!", 15, count=3)


def scenario_one_click(session, out_dir):
    link = session.start_simulator("--seed", "4", "--sweep-ms", "150")
    session.remember(serialPort={"portName": link})
    session.start_application()
    before = session.region_colours("autoMonitorList")
    connect(session)
    session.places_after(opened=("tipsDialog", "setDialog"))
    session.click("oneClickStartButton")
    session.click("tipsOkArea")
    # Shortened through the dialog: a narrower band and five priority frequencies.
    session.type_into("oneClickStartInput", "600")
    session.type_into("oneClickStopInput", "700")
    session.type_into("oneClickCountInput", "5")
    session.click("setOkArea")
    sent_before = session.log_text().count("Success to Get Points!")
    session.wait_for_log("Success to Get Points!", 30, count=sent_before + 6)
    log = session.log_text()
    check("Send command: scanraw 600000000 700000000 1000" in log, "the one-click scan did not sweep its own band")
    check("Send command: scanraw 450000000 950000000 1000" not in log, "a sweep of the old band was sent")
    # The countdown's end: the stop button ends the scan as the timer does.
    # It stands where the start button stood (shown only while the scan runs).
    session.places["oneClickStopButton"] = session.places["oneClickStartButton"]
    session.click("oneClickStopButton")
    filled = wait_until(lambda: session.region_colours("autoMonitorList") > before + 20, 10,
                        "the automatic list to fill")
    session.screenshot(os.path.join(out_dir, "one_click_end.png"))
    session.click("singleScanButton")  # sweeping on after the scan
    session.wait_for_log("Success to Get Points!", 15, count=session.log_text().count("Success to Get Points!") + 1)
    check(session.region_colours("autoMonitorList") > before + 20, "the automatic list did not persist")
    check(filled, "the automatic list stayed empty")


class LocationService:
    """A real HTTP server on 127.0.0.1 answering the IP-location query."""

    REPLY = {"status": 0, "message": "query ok",
             "result": {"ad_info": {"nation": "中国", "province": "上海市", "city": "上海市", "district": "徐汇区"}}}

    def __init__(self):
        import http.server
        import json
        import threading
        body = json.dumps(self.REPLY, ensure_ascii=False).encode("utf-8")

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):  # noqa: N802 - the library's name
                self.send_response(200)
                self.send_header("Content-Type", "application/json; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}"
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


def scenario_preset_roundtrip(session, out_dir):
    location = LocationService()
    try:
        link = session.start_simulator("--seed", "6", "--sweep-ms", "200")
        session.remember(serialPort={"portName": link}, locationHost=location.url)
        session.start_application()
        connect(session)
        session.click("singleScanButton")
        session.wait_for_log("Success to Get Points!", 15)
        before = export_csv(session, os.path.join(out_dir, "before.csv"))

        session.places_after(opened=("presetSaveDialog",))
        session.click("presetSaveCurrentButton")
        session.type_into("presetNameField", "Stage left")
        session.type_into("presetRemarkField", "soundcheck")
        x, y, w, h = session.places["presetSaveBox"]
        session.places["presetSaveYes"] = (x + int(w * 0.17), y + h - 50, int(w * 0.28), 50)
        session.click("presetSaveYes")
        wait_until(lambda: os.path.isdir(os.path.join(session.data_dir, "preset")) and
                   os.listdir(os.path.join(session.data_dir, "preset")), 10, "the preset file")
        with open(os.path.join(session.data_dir, "config", "Veltro_User.dov"), encoding="utf-8") as f:
            index = f.read()
        check("Stage left" in index and "上海市" in index, "the preset index lacks the name or the location")
        subprocess.run(["xdotool", "key", "Escape"], check=True)  # the "saved" message
        code = session.close_window()
        check(code == 0, f"closing ended the application with {code}")

        # A new run: load the preset back; the same points are drawn.
        session.start_application()
        session.places_after("presetLibraryButton")
        session.click("presetLibraryButton")
        x, y, w, h = session.places["presetList"]
        session.places["presetRow0"] = (x, y, w, 30)
        session.click("presetRow0")
        session.click("presetLoadButton")
        after = export_csv(session, os.path.join(out_dir, "after.csv"))
        check(after == before, f"the loaded preset draws other points ({len(after)} vs {len(before)})")
    finally:
        location.close()


SCENARIOS = {
    "preset_roundtrip": scenario_preset_roundtrip,
    "one_click": scenario_one_click,
    "csv_single_sweep": scenario_csv_single_sweep,
    "faults": scenario_faults,
    "unplug_replug": scenario_unplug_replug,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--scenario", required=True, choices=sorted(SCENARIOS))
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()

    home = os.environ["HOME"]
    if os.environ.get("ORVIK_TEST_HOME") == home:
        shutil.rmtree(home, ignore_errors=True)
    os.makedirs(os.path.join(home, "Documents"), exist_ok=True)
    shutil.rmtree(args.artifacts, ignore_errors=True)
    os.makedirs(args.artifacts, exist_ok=True)
    session = Session(args.build, home)
    try:
        SCENARIOS[args.scenario](session, args.artifacts)
        session.screenshot(os.path.join(args.artifacts, f"{args.scenario}.png"))
        code = session.close_window()
        check(code == 0, f"closing the window ended the application with {code}")
        warnings = qt_warnings(session.log_text())
        check(not warnings, "Qt warnings in the log:\n" + "\n".join(warnings[:10]))
        print(f"{args.scenario}: ok")
        return 0
    except DriverError as error:
        try:
            session.screenshot(os.path.join(args.artifacts, f"{args.scenario}-failed.png"))
        except Exception:  # noqa: BLE001 - the screenshot is only a help
            pass
        print(f"FAIL: {args.scenario}: {error}", file=sys.stderr)
        return 1
    finally:
        session.stop()


if __name__ == "__main__":
    sys.exit(main())
