#!/usr/bin/env python3
"""Kills (SIGKILL) a loop of configuration and preset writes at random moments
and checks what it leaves: every configuration and preset file is complete
JSON, the system configuration holds the old or the new generation, and every
preset the index names is there, complete and under its name. Presets whose
file was written but whose index entry was not (or the other way round while
removing) are counted as unindexed files; they are complete too.

Usage: python3 tests/e2e/killwrites.py --build build [--rounds 500] [--seed 1]"""

import argparse
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile


def load(path):
    with open(path, "rb") as f:
        return json.loads(f.read().decode("utf-8"))


def check(data_dir, done, begun):
    """Problems with the files in data_dir after a kill; done/begun: the last completed and started generation."""
    problems = []
    config_dir = os.path.join(data_dir, "config")
    preset_dir = os.path.join(data_dir, "preset")
    documents = {}
    for directory in (config_dir, preset_dir):
        for name in sorted(os.listdir(directory)) if os.path.isdir(directory) else []:
            path = os.path.join(directory, name)
            if not name.endswith(".dov"):
                problems.append(f"stray file {path}")
                continue
            try:
                documents[path] = load(path)
            except (ValueError, UnicodeDecodeError) as error:
                problems.append(f"{path} is not complete JSON: {error}")
    system = documents.get(os.path.join(config_dir, "Veltro_Orvik.dov"), {})
    generation = system.get("writeLoopGeneration", 0)
    if generation not in (done, begun):
        problems.append(f"system configuration holds generation {generation}, expected {done} or {begun}")
    index = documents.get(os.path.join(config_dir, "Veltro_User.dov"), {}).get("presets", [])
    named = set()
    for entry in index:
        path = entry.get("path", "")
        named.add(path)
        preset = documents.get(path)
        if preset is None:
            problems.append(f"the index names {path}, which is missing or broken")
        elif preset.get("Name") != entry.get("name") or len(preset.get("Values", [])) != 1000:
            problems.append(f"{path} does not hold the preset {entry.get('name')} whole")
    unindexed = [path for path in documents if path.startswith(preset_dir + os.sep) and path not in named]
    for path in unindexed:
        if len(documents[path].get("Values", [])) != 1000:
            problems.append(f"unindexed {path} is not whole")
    return problems, len(documents), len(unindexed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--rounds", type=int, default=500)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    program = os.path.join(os.path.abspath(args.build), "writeloop")
    home = tempfile.mkdtemp(prefix="orvik-kill-")
    os.makedirs(os.path.join(home, "Documents"))
    data_dir = os.path.join(home, "Documents", "Veltro-Orvik")
    env = dict(os.environ, HOME=home)
    landed = {"begin": 0, "config": 0, "preset": 0, "removed": 0}
    failures = 0
    files = 0
    unindexed = 0
    try:
        for round_number in range(1, args.rounds + 1):
            generation_on_disk = json_generation(data_dir)
            loop = subprocess.Popen([program], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
            # Kill after a random number of announced steps, wherever the loop then is.
            wanted = rng.randint(1, 200)
            lines = []
            while len(lines) < wanted:
                line = loop.stdout.readline().decode()
                if not line:
                    break
                lines.append(line.split())
            loop.send_signal(signal.SIGKILL)
            lines += [line.split() for line in loop.stdout.read().decode().splitlines()]
            loop.wait()
            if not lines or loop.returncode != -signal.SIGKILL:
                print(f"round {round_number}: the loop ended by itself (code {loop.returncode}) after {lines[-1:]}")
                failures += 1
                break
            done = generation_on_disk  # what this run started from
            begun = done
            for word, value in lines:
                if word == "begin":
                    begun = int(value)
                elif word == "config":
                    done = int(value)
            landed[lines[-1][0]] += 1
            problems, count, orphans = check(data_dir, done, begun)
            files += count
            unindexed = orphans
            if problems:
                failures += 1
                print(f"round {round_number} (killed after '{' '.join(lines[-1])}'):")
                for problem in problems:
                    print(f"  {problem}")
        print(f"rounds: {args.rounds}  files checked: {files}  rounds with a problem: {failures}")
        print("killed after: " + ", ".join(f"{word} {count}" for word, count in landed.items()))
        print(f"unindexed preset files at the end: {unindexed}")
        return 1 if failures else 0
    finally:
        shutil.rmtree(home, ignore_errors=True)


def json_generation(data_dir):
    try:
        return load(os.path.join(data_dir, "config", "Veltro_Orvik.dov")).get("writeLoopGeneration", 0)
    except OSError:
        return 0
    except ValueError:
        return -1


if __name__ == "__main__":
    sys.exit(main())
