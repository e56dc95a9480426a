#!/usr/bin/python3
"""Reproducible media: with SOURCE_DATE_EPOCH, two copies of one tree, their files dated and
created differently, give one disc image, whose every date (the volume's, each record's in the
primary and Joliet trees, each Rock Ridge time) is that date, and whose root files
bear it; without it, a second make of an unchanged root gives the same image.
Usage: reproducible_media.py LAUNCHER-STAMP. Prints a line for each failing row."""
import calendar
import hashlib
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

STAMP = os.path.abspath(sys.argv[1])
from small_program import small_program  # noqa: E402

EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC
PROGRAM = small_program()
SECTOR = 2048

# The tree: each path and its bytes, folders made on the way.
TREE = [("Atlas/Atlas.exe", PROGRAM), ("Atlas/readme.txt", b"read me\r\n"), ("Docs/a.txt", b"a"),
        ("Docs/Deep/b.txt", b"bb"), ("Прога/表示.txt", b"x")]


def lay(root, dated, reverse=False):
    """The tree at root, its files (and folders) dated dated, written in reverse order when asked."""
    for path, data in reversed(TREE) if reverse else TREE:
        (root / path).parent.mkdir(parents=True, exist_ok=True)
        (root / path).write_bytes(data)
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            os.utime(os.path.join(folder, name), (dated, dated))


def make(root, image, epoch):
    env = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
    if epoch is not None:
        env["SOURCE_DATE_EPOCH"] = epoch
    done = subprocess.run([STAMP, "make", str(root), "Atlas/Atlas.exe", "--label", "Borvi 7", "--codepage", "1252",
                           "--iso", str(image)], capture_output=True, env=env)
    return done.returncode, done.stderr.decode(errors="replace")


def sha(path):
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.exists() else None


def volume_date(text):
    """A volume descriptor's 17-byte date as seconds (None when unset)."""
    if text[:16] in (b"0" * 16, b"\0" * 16, b" " * 16):
        return None
    t = calendar.timegm((int(text[0:4]), int(text[4:6]), int(text[6:8]), int(text[8:10]), int(text[10:12]),
                         int(text[12:14])))
    return t - (text[16] if text[16] < 128 else text[16] - 256) * 15 * 60


def record_date(seven):
    t = calendar.timegm((1900 + seven[0], seven[1], seven[2], seven[3], seven[4], seven[5]))
    return t - (seven[6] if seven[6] < 128 else seven[6] - 256) * 15 * 60


def dates(data):
    """Every date in an image: the primary and Joliet volumes', and each record's and Rock Ridge time,
    as (where, seconds)."""
    found = []
    roots = []
    for sector in range(16, 32):
        d = data[sector * SECTOR:(sector + 1) * SECTOR]
        if d[1:6] != b"CD001" or d[0] == 255:
            break
        if d[0] in (1, 2):
            tree = "primary" if d[0] == 1 else "Joliet"
            for name, at in (("creation", 813), ("modification", 830), ("effective", 864)):
                found.append((f"{tree} volume {name}", volume_date(d[at:at + 17])))
            roots.append((tree, int.from_bytes(d[158:162], "little"), int.from_bytes(d[166:170], "little")))
    for tree, extent, size in roots:
        seen, pending = set(), [(extent, size, "/")]
        while pending:
            extent, size, path = pending.pop()
            if extent in seen:
                continue
            seen.add(extent)
            block = data[extent * SECTOR:extent * SECTOR + size]
            at = 0
            while at < len(block):
                length = block[at]
                if length == 0:
                    at = (at // SECTOR + 1) * SECTOR
                    continue
                record = block[at:at + length]
                name = record[33:33 + record[32]]
                found.append((f"{tree} {path}{name!r}", record_date(record[18:25])))
                use = record[33 + record[32] + (1 - record[32] % 2):]
                u = 0
                while u + 4 <= len(use) and use[u + 2] >= 4:
                    if use[u:u + 2] == b"TF":
                        flags, times = use[u + 4], use[u + 5:u + use[u + 2]]
                        for k in range(bin(flags & 0x7F).count("1")):
                            found.append((f"Rock Ridge {path}{name!r}", record_date(times[k * 7:k * 7 + 7])))
                    u += use[u + 2]
                if record[25] & 2 and name not in (b"\0", b"\1"):
                    pending.append((int.from_bytes(record[2:6], "little"), int.from_bytes(record[10:14], "little"),
                                    f"{path}{name!r}/"))
                at += length
    return found


def main():
    work = pathlib.Path(tempfile.mkdtemp(prefix="reproducible-"))
    failures = []

    def fail(what, why):
        failures.append(f"{what}: {why}")

    rows = 0
    try:
        # Two copies, dated after the epoch and apart, written in another order.
        one, two = work / "one" / "medium", work / "two" / "medium"
        lay(one, EPOCH + 86400 * 400)
        lay(two, EPOCH + 86400 * 9, reverse=True)
        status_one, err_one = make(one, work / "one.iso", str(EPOCH))
        status_two, err_two = make(two, work / "two.iso", str(EPOCH))
        rows += 1
        if (status_one, status_two) != (0, 0) or sha(work / "one.iso") != sha(work / "two.iso"):
            fail("two copies, SOURCE_DATE_EPOCH set", f"exit {status_one} {status_two}, sha256 {sha(work / 'one.iso')} "
                 f"and {sha(work / 'two.iso')}: {err_one}{err_two}")
        rows += 1
        image = (work / "one.iso").read_bytes() if (work / "one.iso").exists() else b""
        found = dates(image)
        later = [(where, when) for where, when in found if when is not None and when > EPOCH]
        if len(found) < 30 or later:
            fail("every date in the image is the epoch or earlier", f"{len(found)} dates, later: {later[:5]}")
        rows += 1
        stamped = {name: int(os.stat(one / name).st_mtime) for name in ("Atlas.exe", "autorun.inf")
                   if (one / name).exists()}
        if stamped != {"Atlas.exe": EPOCH, "autorun.inf": EPOCH}:
            fail("the launcher and autorun.inf are dated the epoch", stamped)
        # Without it, the files' own dates: made again on the unchanged root, the same image.
        rows += 1
        first, first_err = make(two, work / "first.iso", None)
        status, err = make(two, work / "again.iso", None)
        if (first, status) != (0, 0) or sha(work / "again.iso") != sha(work / "first.iso"):
            fail("made again without SOURCE_DATE_EPOCH, nothing changed", f"exit {first} {status}: {first_err}{err}")

        # Copies dated apart before the epoch, one file older still: every date is the epoch.
        rows += 1
        early, earlier = work / "early" / "medium", work / "earlier" / "medium"
        lay(early, EPOCH - 86400 * 30)
        lay(earlier, EPOCH - 86400 * 3000, reverse=True)
        os.utime(early / "Docs/a.txt", (EPOCH - 86400 * 9000, EPOCH - 86400 * 9000))
        status_early, err_early = make(early, work / "early.iso", str(EPOCH))
        status_earlier, err_earlier = make(earlier, work / "earlier.iso", str(EPOCH))
        found = dates((work / "early.iso").read_bytes()) if status_early == 0 else []
        other = [when for _, when in found if when not in (None, EPOCH)]
        if (status_early, status_earlier) != (0, 0) or other or \
                sha(work / "early.iso") != sha(work / "earlier.iso"):
            fail("copies dated apart before the epoch", f"exit {status_early} {status_earlier}, dates {other[:5]}: "
                 f"{err_early}{err_earlier}")

        # The epoch 0 is a date like another (the clock is never read for it).
        rows += 1
        zero = work / "zero" / "medium"
        lay(zero, EPOCH)
        status, err = make(zero, work / "zero.iso", "0")
        found = dates((work / "zero.iso").read_bytes()) if status == 0 else []
        if status != 0 or any(when not in (None, 0) for _, when in found):
            fail("SOURCE_DATE_EPOCH=0", f"exit {status}, {[d for d in found if d[1] not in (None, 0)][:3]}: {err}")

        # A value that is no number of seconds is refused, and nothing is written.
        for value in ("yesterday", "-5", "1.5", "99999999999999999999"):
            rows += 1
            bad = work / f"bad{rows}" / "medium"
            lay(bad, EPOCH)
            status, err = make(bad, work / f"bad{rows}.iso", value)
            if status != 2 or "SOURCE_DATE_EPOCH" not in err or (bad / "Atlas.exe").exists() or \
                    (work / f"bad{rows}.iso").exists():
                fail(f"SOURCE_DATE_EPOCH={value}", f"exit {status}: {err}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n".join(failures))
    print(f"{rows - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
