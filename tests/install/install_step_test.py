#!/usr/bin/env python3
"""The install step against stand-in package tools: a mirror mid-sync, a 32-bit package that will not
install, a needed package that will not install. Nothing here touches the real package database."""

import os
import stat
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                      "install-dependencies")

# Stand-ins keep their state in $STATE: installed packages, foreign architectures, a log of calls.
STAND_INS = {
    "apt-get": r'''#!/bin/sh
echo "apt-get $*" >> "$STATE/calls"
case "$1" in
update)
    n=$(cat "$STATE/updates" 2>/dev/null || echo 0); n=$((n + 1)); echo $n > "$STATE/updates"
    if [ "$n" -le "${FAILING_UPDATES:-0}" ]; then
        echo "W: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress? [IP: 10.0.0.1 80]" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100
    fi
    exit 0 ;;
install)
    status=0
    for p in "$@"; do
        case "$p" in -*|install) continue ;; esac
        if echo " $UNINSTALLABLE " | grep -q " $p "; then status=100; continue; fi
    done
    [ $status -eq 0 ] || exit $status
    for p in "$@"; do
        case "$p" in -*|install) continue ;; esac
        echo "$p" >> "$STATE/installed"
    done
    exit 0 ;;
esac
exit 1
''',
    "dpkg-query": r'''#!/bin/sh
for last in "$@"; do :; done
grep -qx "$last" "$STATE/installed" 2>/dev/null && printf 'install ok installed' && exit 0
exit 1
''',
    "dpkg": r'''#!/bin/sh
case "$1" in
--print-foreign-architectures) cat "$STATE/architectures" 2>/dev/null ;;
--add-architecture) echo "$2" >> "$STATE/architectures" ;;
esac
''',
    "locale": "#!/bin/sh\necho C.utf8; echo ja_JP.utf8\n",
}

NEEDED_SAMPLE = ["cmake", "g++-mingw-w64-i686", "wine64", "python3-unicorn", "xorriso"]


def run(failing_updates=0, uninstallable=(), runs_32_bit="no", preinstalled=()):
    work = tempfile.mkdtemp()
    bin_dir, state = os.path.join(work, "bin"), os.path.join(work, "state")
    os.makedirs(bin_dir)
    os.makedirs(state)
    for name, text in STAND_INS.items():
        path = os.path.join(bin_dir, name)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, stat.S_IRWXU)
    with open(os.path.join(state, "installed"), "w") as f:
        f.writelines(p + "\n" for p in preinstalled)
    env = dict(os.environ, PATH=bin_dir + ":" + os.environ["PATH"], STATE=state,
               FAILING_UPDATES=str(failing_updates), UNINSTALLABLE=" ".join(uninstallable),
               INSTALL_RUNS_32_BIT=runs_32_bit, INSTALL_UPDATE_PAUSE="0")
    done = subprocess.run(["bash", SCRIPT], env=env, capture_output=True, text=True, timeout=60)

    def read(name):
        try:
            with open(os.path.join(state, name)) as f:
                return f.read().split("\n")
        except FileNotFoundError:
            return []
    return done, read("installed"), read("calls"), read("architectures")


def main():
    failures = []

    def expect(row, condition, what):
        if not condition:
            failures.append(f"{row}: {what}")

    # name, arguments, exit status, texts in the output, texts never in it, packages installed after
    rows = [
        ("an index fails every time: the step goes on and names it",
         dict(failing_updates=99), 0,
         ["going on with the lists at hand", "binary-i386/Packages.xz"], [], NEEDED_SAMPLE),
        ("an index fails once: fetched again, nothing said",
         dict(failing_updates=1), 0, [], ["could not all be fetched"], NEEDED_SAMPLE),
        ("the kernel runs 32-bit programs and wine32 will not install: one line, then on",
         dict(runs_32_bit="yes", uninstallable=["wine32:i386"]), 0,
         ["Could not install wine32:i386"], ["emulator here, not under Wine"], NEEDED_SAMPLE),
        ("the kernel runs 32-bit programs: wine32 is installed too",
         dict(runs_32_bit="yes"), 0, [], ["Could not install"], NEEDED_SAMPLE + ["wine32:i386"]),
        ("the kernel runs no 32-bit program: wine32 is not asked for",
         dict(runs_32_bit="no"), 0, ["checked in a CPU emulator"], ["wine32"], NEEDED_SAMPLE),
        ("a needed package will not install: the step fails and names it",
         dict(uninstallable=["xorriso"]), 1, ["Cannot install xorriso,"], [],
         ["cmake", "wine64"]),
    ]
    for name, arguments, status, present, absent, installed in rows:
        done, now, calls, architectures = run(**arguments)
        output = done.stdout + done.stderr
        expect(name, done.returncode == status, f"exit {done.returncode}, not {status}:\n{output}")
        for text in present:
            expect(name, text in output, f"{text!r} missing from:\n{output}")
        for text in absent:
            expect(name, text not in output, f"{text!r} in:\n{output}")
        for package in installed:
            expect(name, package in now, f"{package} not installed")
        if "wine32" in " ".join(absent):
            expect(name, "wine32:i386" not in now and "i386" not in architectures,
                   "wine32 or the i386 architecture added on a kernel without 32-bit support")
        expect(name, output.count("CPU emulator") <= 1, "the emulator line said more than once")

    # Everything present: no package tool is asked to change anything.
    everything = subprocess.run(["bash", "-c", f"grep -o '^ *[a-z0-9+.:-]\\+ [^#]*#' {SCRIPT}"],
                                capture_output=True, text=True).stdout
    all_packages = [p for line in everything.splitlines() for p in line.split("#")[0].split()]
    done, _, calls, _ = run(preinstalled=all_packages)
    expect("all installed", done.returncode == 0 and not any(c.startswith("apt-get") for c in calls),
           f"apt-get called: {calls} / {done.stdout}{done.stderr}")

    for failure in failures:
        print("FAILED", failure)
    print(f"{len(rows) + 1 - len(set(f.split(':')[0] for f in failures))} of {len(rows) + 1} rows passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
