# The same cases run twice, under Wine and on the emulated CPU: both must start the same program
# from the same folder with the same show mode.
#
#   agrees_with_wine.py x86|x64 --launcher EXE --old-launcher EXE --probe EXE --wine-run SCRIPT --work FOLDER
#
# Takes WINEPREFIX from the environment. Exits 77 (skipped) where Wine cannot run the
# architecture's programs, 1 when any row disagrees.
import argparse
import os
import shutil
import subprocess
import sys
import time

import pe_loader

LAUNCH_DIRECTORY = "Borvi cd1 versie2"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def under_wine(wine_run, launcher, folder, record):
    """What the probe saw when Wine opened launcher from folder: its record's fields."""
    environment = dict(os.environ, LAUNCHER_PROBE_RECORD=windows_path(record))
    subprocess.run([wine_run, windows_path(launcher)], cwd=folder, env=environment, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(200):
        if os.path.exists(record):
            break
        time.sleep(0.1)
    else:
        return None
    fields = {}
    with open(record, encoding="utf-8") as file:
        for line in file:
            key, _, value = line.rstrip("\n").partition("=")
            fields[key] = value
    return fields


def emulated(launcher, folder, name):
    """The same start on the emulated CPU, as the probe would have recorded it."""
    start = windows_path(folder).encode("cp1252")
    command_line = b'"' + start + b"\\" + name.encode("cp1252") + b'"'
    world = pe_loader.World(command_line, start, directories=[start + b"\\" + LAUNCH_DIRECTORY.encode()])
    outcome = pe_loader.run(pe_loader.load(launcher), world)
    if len(outcome.started) != 1:
        return {"started": repr(outcome.started)}
    command, show = outcome.started[0]
    # The start service appends .exe to a name without an extension of its own.
    module = command if b"." in command.rsplit(b"\\", 1)[1] else command + b".exe"
    return {"module": module.decode("cp1252"), "directory": outcome.current_directory.decode("cp1252"),
            "show_window": str(show)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("arch", choices=["x86", "x64"])
    for option in ("--launcher", "--old-launcher", "--probe", "--wine-run", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    args.wine_run = os.path.abspath(args.wine_run)  # run from each case's folder
    if args.arch == "x86" and subprocess.run([args.wine_run, "--runs-32-bit"]).returncode:
        print("skipped: Wine runs no 32-bit program here; emulated.x86 in the host tests runs the 32-bit launcher")
        return 77

    rows = [  # launcher, the name it is opened under, the program placed in the launch directory
        ("built", args.launcher, "SETUP.exe", "SETUP.exe"),
        ("built, a no-break space in the name", args.launcher, "Demo\u00a0Go.exe", "Demo Go.exe"),
        ("1.2.0", args.old_launcher, "SETUP.exe", "SETUP.exe"),
    ]
    failures = 0
    for index, (label, launcher, name, program) in enumerate(rows):
        folder = os.path.join(args.work, f"case{index}")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, LAUNCH_DIRECTORY))
        shutil.copy(launcher, os.path.join(folder, name))
        shutil.copy(args.probe, os.path.join(folder, LAUNCH_DIRECTORY, program))
        record = os.path.join(args.work, f"record{index}.txt")
        seen = under_wine(args.wine_run, os.path.join(folder, name), folder, record)
        if seen is None:
            failures += 1
            print(f"FAIL {args.arch} {label}: nothing started under Wine")
            continue
        expected = emulated(launcher, folder, name)
        differing = [f"{key}: Wine {seen.get(key)!r}, emulated {value!r}" for key, value in expected.items()
                     if seen.get(key, "").lower() != value.lower()]
        failures += bool(differing)
        print(f"FAIL {args.arch} {label}: " + "; ".join(differing) if differing else
              f"passed {args.arch} {label}: Wine and the emulation start {expected['module']}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
