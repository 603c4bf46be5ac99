"""Drives the real application in a real X server, as a person would: the
simulated analyser on a pseudo-terminal, the application's window, clicks
through xdotool at the places where the named controls lie (from the uimap
tool), and the files a user would look at (log, configuration, exports)."""

import json
import os
import shutil
import signal
import subprocess
import time


class DriverError(Exception):
    pass


def parse_places(text):
    """uimap's lines; a name seen again becomes name#2, name#3, ... in page order."""
    places = {}
    seen = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) != 5:
            continue
        name = parts[0]
        seen[name] = seen.get(name, 0) + 1
        key = name if seen[name] == 1 else f"{name}#{seen[name]}"
        places[key] = tuple(int(v) for v in parts[1:])
    return places


def wait_until(predicate, timeout, what, interval=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise DriverError(f"timed out after {timeout} s waiting for {what}")


class Session:
    def __init__(self, build_dir, home, width=1280, height=750):
        self.build_dir = build_dir
        self.home = home
        self.width = width
        self.height = height
        self.sim = None
        self.app = None
        self.link = None
        self.window = None
        self.origin = (0, 0)
        self.places = {}
        self.env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        self.env.pop("QT_QPA_PLATFORM", None)
        self.tool_env = {}  # more environment for the layout tool (uimap) only
        self.data_dir = os.path.join(home, "Documents", "Veltro-Orvik")

    # The simulator -------------------------------------------------------
    def start_simulator(self, *args):
        self.sim = subprocess.Popen([os.path.join(self.build_dir, "tinysa-sim"), *args],
                                    stdout=subprocess.PIPE, text=True, env=self.env)
        while True:
            line = self.sim.stdout.readline()
            if not line:
                raise DriverError("the simulator ended before announcing its link")
            if line.startswith("link: "):
                self.link = line[6:].strip()
                return self.link

    def stop_simulator(self):
        if self.sim and self.sim.poll() is None:
            self.sim.send_signal(signal.SIGTERM)
            try:
                self.sim.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.sim.kill()
        self.sim = None

    # Configuration of a returning user --------------------------------------
    def remember(self, **members):
        os.makedirs(os.path.join(self.data_dir, "config"), exist_ok=True)
        path = os.path.join(self.data_dir, "config", "Veltro_Orvik.dov")
        config = {}
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                try:
                    config = json.load(f)
                except ValueError:
                    config = {}
        config.update(members)
        with open(path, "w", encoding="utf-8") as f:
            json.dump(config, f, indent=4)

    # The application -------------------------------------------------------
    def start_application(self):
        self.places = self.ui_map()
        self.started_ns = time.monotonic_ns()
        self.app = subprocess.Popen([os.path.join(self.build_dir, "veltro-orvik")], env=self.env)
        self.window = wait_until(self._find_window, 30, "the main window")
        info = subprocess.run(["xwininfo", "-id", self.window], capture_output=True, text=True).stdout
        fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
        self.origin = (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]))
        return self.window

    def _find_window(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.app.pid)],
                             capture_output=True, text=True).stdout.split()
        for wid in out:
            info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
            if "IsViewable" in info and f"Width: {self.width}" in info:
                return wid
        return None

    def _uimap_home(self):
        """A scratch HOME with this session's configuration, so the page is laid out as the user sees it."""
        scratch = os.path.join(self.home, ".uimap-home")
        shutil.rmtree(scratch, ignore_errors=True)
        os.makedirs(os.path.join(scratch, "Documents", "Veltro-Orvik"), exist_ok=True)
        config = os.path.join(self.data_dir, "config")
        if os.path.isdir(config):
            shutil.copytree(config, os.path.join(scratch, "Documents", "Veltro-Orvik", "config"))
        return scratch

    def ui_map(self):
        scratch = self._uimap_home()
        env = dict(self.env, HOME=scratch, **self.tool_env)
        out = subprocess.run([os.path.join(self.build_dir, "uimap"), "--width", str(self.width),
                              "--height", str(self.height)], capture_output=True, text=True, env=env,
                             timeout=60).stdout
        shutil.rmtree(scratch, ignore_errors=True)
        return parse_places(out)

    def places_after(self, *clicks, opened=()):
        """The places of what opens after pressing these items (menus) or opening these dialogs."""
        scratch = self._uimap_home()
        args = []
        for name in clicks:
            args += ["--click", name]
        for name in opened:
            args += ["--open", name]
        out = subprocess.run([os.path.join(self.build_dir, "uimap"), "--width", str(self.width), "--height",
                              str(self.height), *args], capture_output=True, text=True,
                             env=dict(self.env, HOME=scratch), timeout=60).stdout
        shutil.rmtree(scratch, ignore_errors=True)
        self.places.update(parse_places(out))

    def answer_file_dialog(self, path, title="保存", timeout=15):
        """Types a path into Qt's own file dialog (found by its title), as a user would, and accepts it."""
        def dialog():
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                                 capture_output=True, text=True).stdout.split()
            others = [w for w in out if w != self.window]
            return others[-1] if others else None
        wid = wait_until(dialog, timeout, f'the file dialog "{title}"')
        # Real key presses (XTEST) into the dialog, which has the input focus.
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], check=False)
        subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "2", path], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)

    def type_into(self, name, text):
        """Clicks a text field, selects what it holds and types the text, ending with Return."""
        self.click(name)
        subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "2", text], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)

    def region_colours(self, name):
        """How many different colours the named control shows now (an empty list shows few)."""
        x, y, w, h = self.places[name]
        display = os.environ["DISPLAY"]
        raw = subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "x11grab", "-video_size", f"{w}x{h}", "-i",
                              f"{display}+{self.origin[0] + x},{self.origin[1] + y}", "-frames:v", "1", "-f",
                              "rawvideo", "-pix_fmt", "rgb24", "-"], capture_output=True, timeout=30).stdout
        return len(set(raw[i:i + 3] for i in range(0, len(raw), 3)))

    def click(self, name, button=1):
        if name not in self.places:
            raise DriverError(f"no control named {name} on the page")
        x, y, w, h = self.places[name]
        gx, gy = self.origin[0] + x + w // 2, self.origin[1] + y + h // 2
        subprocess.run(["xdotool", "mousemove", "--sync", str(gx), str(gy)], check=True)
        subprocess.run(["xdotool", "click", str(button)], check=True)

    def close_window(self):
        """The title bar's close button, as a user ends the program."""
        if "closeButton" in self.places:
            self.click("closeButton")
        else:
            self.app.send_signal(signal.SIGTERM)
        try:
            return self.app.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.app.kill()
            return self.app.wait()

    def stop(self):
        if self.app and self.app.poll() is None:
            self.app.send_signal(signal.SIGTERM)
            try:
                self.app.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.app.kill()
        self.stop_simulator()

    # What the user sees ------------------------------------------------------
    def log_text(self):
        try:
            with open(os.path.join(self.data_dir, "logs", "audio.log"), encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def wait_for_log(self, text, timeout, count=1):
        return wait_until(lambda: self.log_text().count(text) >= count, timeout, f'"{text}" in the log')

    def screenshot(self, path):
        display = os.environ["DISPLAY"]
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "x11grab", "-video_size",
                        f"{self.width}x{self.height}", "-i", f"{display}+{self.origin[0]},{self.origin[1]}",
                        "-frames:v", "1", path], check=True, timeout=30)
        return path


def qt_warnings(log_text):
    """Qt's own warnings and errors in the log (not our LOG_WARNING/LOG_ERROR lines)."""
    found = []
    for line in log_text.splitlines():
        if ("- Warning:" in line or "- Critical:" in line or "- Fatal:" in line) and \
                "[WARNING]" not in line and "[ERROR]" not in line:
            found.append(line)
    return found


def scene_levels(build_dir, seed, sweep, start_hz=450000000, stop_hz=950000000, points=1000, extra=()):
    """The whole-dBm levels the simulator sends in sweep `sweep` (as the analyser's decoder reports them)."""
    out = subprocess.run([os.path.join(build_dir, "tinysa-sim"), "--print-scene", "--seed", str(seed),
                          "--sweep", str(sweep), "--start", str(start_hz), "--stop", str(stop_hz),
                          "--points", str(points), *extra], capture_output=True, text=True, check=True).stdout
    levels = []
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[0].isdigit():
            levels.append(int(parts[2]) // 32 - 128)
    return levels


def read_csv(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line:
                freq, level = line.split(",")
                rows.append((float(freq), float(level)))
    return rows
