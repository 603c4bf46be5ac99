#!/usr/bin/env python3
"""Starts the real application on an X display, waits for its main window,
checks it (size, frameless, dark, shown after the start-up delay, files in
Documents) and saves a screenshot. Exits 0 when every check passes."""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time


def run(cmd, timeout=10):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=timeout)


def find_window(pid, deadline):
    while time.monotonic() < deadline:
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)]).stdout.split()
        for wid in out:
            info = run(["xwininfo", "-id", wid]).stdout
            fields = {}
            for line in info.splitlines():
                if ":" in line:
                    key, _, value = line.strip().partition(":")
                    fields[key.strip()] = value.strip()
            if fields.get("Map State") == "IsViewable" and int(fields.get("Width", "0")) > 100:
                return wid, fields
        time.sleep(0.1)
    return None, None


def grab(x, y, w, h):
    display = os.environ["DISPLAY"]
    raw = subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "x11grab", "-video_size", f"{w}x{h}",
                          "-i", f"{display}+{x},{y}", "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                         capture_output=True, timeout=20).stdout
    return raw


def save_png(x, y, w, h, path):
    display = os.environ["DISPLAY"]
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "x11grab", "-video_size", f"{w}x{h}",
                    "-i", f"{display}+{x},{y}", "-frames:v", "1", path], check=True, timeout=20)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--screenshot", required=True)
    parser.add_argument("--width", type=int, default=1280)
    parser.add_argument("--height", type=int, default=750)
    parser.add_argument("--check-files", action="store_true", help="check the log and configuration files")
    args = parser.parse_args()

    home = os.environ.get("HOME", "")
    if home and os.environ.get("ORVIK_TEST_HOME") == home:
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(os.path.join(home, "Documents"))

    failures = []
    started = time.monotonic()
    app = subprocess.Popen([args.app])
    try:
        wid, fields = find_window(app.pid, started + 30)
        if wid is None:
            print("FAIL: no window appeared within 30 s", file=sys.stderr)
            return 1
        shown_after = time.monotonic() - started
        if shown_after < 1.9:
            failures.append(f"window shown after {shown_after:.2f} s, expected the 2 s start-up delay")
        w, h = int(fields["Width"]), int(fields["Height"])
        x, y = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
        if (w, h) != (args.width, args.height):
            failures.append(f"window is {w}x{h}, expected {args.width}x{args.height}")

        # Wait until the page has been drawn: more than a handful of colours.
        raw = b""
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            raw = grab(x, y, w, h)
            if len(raw) == w * h * 3 and len(set(raw[i:i + 3] for i in range(0, len(raw), 3 * 97))) > 8:
                break
            time.sleep(0.2)
        if len(raw) != w * h * 3:
            failures.append("could not capture the window")
        else:
            pixels = len(raw) // 3
            luminance = sum(0.299 * raw[i] + 0.587 * raw[i + 1] + 0.114 * raw[i + 2]
                            for i in range(0, len(raw), 3 * 31)) / (pixels / 31)
            if luminance > 90:
                failures.append(f"window is not dark (mean luminance {luminance:.0f})")
        os.makedirs(os.path.dirname(os.path.abspath(args.screenshot)), exist_ok=True)
        save_png(x, y, w, h, args.screenshot)
        print(f"screenshot: {args.screenshot}")

        wm_hints = run(["xprop", "-id", wid, "_MOTIF_WM_HINTS"]).stdout
        # Qt marks a frameless window with decorations = 0 (the third field).
        parts = wm_hints.split("=")[-1].replace(" ", "").split(",") if "=" in wm_hints else []
        if len(parts) < 3 or int(parts[2], 0) != 0:
            failures.append(f"window is not frameless: {wm_hints.strip()}")

        if args.check_files:
            base = os.path.join(os.environ["HOME"], "Documents", "Veltro-Orvik")
            for rel in ("logs/audio.log", "config/Veltro_Orvik.dov", "config/Veltro_User.dov"):
                if not os.path.isfile(os.path.join(base, rel)):
                    failures.append(f"missing {rel} under {base}")
    finally:
        if app.poll() is None:
            app.send_signal(signal.SIGTERM)
            try:
                app.wait(timeout=10)
            except subprocess.TimeoutExpired:
                app.kill()

    for failure in failures:
        print("FAIL: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
