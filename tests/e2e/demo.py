#!/usr/bin/env python3
"""The newcomer's demo without a display: the simulated analyser, the
application with it as the remembered port, connect and sweep continuously by
clicking the real buttons, a screenshot of the live chart, a clean end."""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orvik_driver import DriverError, Session  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--home", required=True)
    parser.add_argument("--screenshot", required=True)
    args = parser.parse_args()

    session = Session(args.build, args.home)
    try:
        link = session.start_simulator("--seed", "3")
        session.remember(serialPort={"portName": link}, peakSwitch=True, markSwitch=True)
        session.start_application()
        session.click("connectButton")
        session.wait_for_log("Serial port is connected.", 10)
        session.click("continuousScanButton")
        session.wait_for_log("Success to Get Points!", 20, count=4)
        for name in ("peakIcon", "peakIcon#2", "peakIcon#3", "valleyIcon#4"):
            if name in session.places:
                session.click(name)
        session.wait_for_log("Success to Get Points!", 20, count=6)
        session.screenshot(args.screenshot)
        session.click("stopScanButton")
        code = session.close_window()
        if code != 0:
            print(f"demo: the application ended with {code}", file=sys.stderr)
            return 1
        return 0
    except DriverError as error:
        print(f"demo: {error}", file=sys.stderr)
        return 1
    finally:
        session.stop()


if __name__ == "__main__":
    sys.exit(main())
