#!/usr/bin/env python3
"""make --iso's progress line: drawn again and again on standard error when that is a terminal
(a pseudo-terminal here), and absent when standard error is a pipe, where the output is exactly
what it always was.

    terminal_progress.py LAUNCHER_STAMP PROGRAM.exe
"""
import os
import pathlib
import pty
import select
import shutil
import subprocess
import sys
import tempfile

stamp, program = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def lay(work):
    medium = work / "medium"
    (medium / "My App 2").mkdir(parents=True)
    shutil.copy(program, medium / "My App 2" / "App.exe")
    # Enough data that the image takes a moment: the line is drawn between its start and end.
    with open(medium / "My App 2" / "data.bin", "wb") as data:
        data.write(os.urandom(1 << 20) * 48)
    return medium


def run_on_terminal(arguments):
    """Runs with standard error on a pseudo-terminal; standard output a pipe. Returns (status, out, err)."""
    parent, child = pty.openpty()
    process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=child, stdin=subprocess.DEVNULL)
    os.close(child)
    err = b""
    while True:
        ready, _, _ = select.select([parent], [], [], 60)
        if not ready:
            break
        try:
            chunk = os.read(parent, 65536)
        except OSError:  # the terminal's other side closed: the program has ended
            break
        if not chunk:
            break
        err += chunk
    out = process.stdout.read()
    status = process.wait(60)
    os.close(parent)
    return status, out, err


with tempfile.TemporaryDirectory(prefix="launcher-progress-") as folder:
    work = pathlib.Path(folder)
    medium = lay(work)
    make = [stamp, "make", str(medium), "My App 2/App.exe", "--label", "Borvi 7"]

    status, out, err = run_on_terminal(make + ["--iso", str(work / "a.iso")])
    check(status == 0, f"make --iso on a terminal ended with {status}: {err!r}")
    drawn = [part for part in err.split(b"\r") if part.strip()]
    check(any(b"making the medium: 0% of" in part for part in drawn), f"no line at the start: {err!r}")
    check(any(b"making the medium: 100% of" in part for part in drawn), f"no line at the end: {err!r}")
    check(len(drawn) >= 3, f"the line was drawn {len(drawn)} times: {err!r}")
    check(b"\n" not in err.replace(b"\r\n", b""), f"the progress took more than one line: {err!r}")
    # What is left on the terminal once it ends: the line cleared.
    check(err.endswith(b"\r"), f"the line was not cleared at the end: {err[-80:]!r}")

    # The same make again into a pipe, on the same root as it was before: the same output, and with
    # the same dates the same image.
    dates = {name: os.stat(medium / name).st_mtime_ns for name in ("App.exe", "autorun.inf")}
    for name in dates:
        (medium / name).unlink()
    piped = subprocess.run(make + ["--iso", str(work / "b.iso")], capture_output=True, timeout=120)
    check(piped.returncode == 0, f"make --iso into a pipe ended with {piped.returncode}: {piped.stderr!r}")
    check(b"making the medium" not in piped.stderr and b"\r" not in piped.stderr,
          f"the progress reached a pipe: {piped.stderr!r}")
    check(piped.stdout.replace(b"b.iso", b"a.iso") == out, "stdout differs between a terminal and a pipe")
    for name, date in dates.items():
        os.utime(medium / name, ns=(date, date))
    again = subprocess.run(make + ["--iso", str(work / "b.iso")], capture_output=True, timeout=120)
    check(again.returncode == 0 and (work / "a.iso").read_bytes() == (work / "b.iso").read_bytes(),
          "the images differ")

    # Without --iso there is no progress line, on a terminal too.
    status, out, err = run_on_terminal(make)
    check(status == 0 and b"making the medium" not in err, f"make without --iso drew progress: {err!r}")

print("FAIL terminal progress" if failures else "passed: the progress line is drawn on a terminal only")
sys.exit(1 if failures else 0)
