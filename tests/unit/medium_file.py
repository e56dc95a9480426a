#!/usr/bin/python3
"""make --file and make --save: a medium file makes what the same options on the command line make,
byte for byte, from any folder; a file that cannot be taken is refused with its line, and nothing
is written; --save writes a file that reads back as the same medium and passes its schema.
Usage: medium_file.py LAUNCHER-STAMP SCHEMA-FOLDER. Prints a line for each failing row."""
import hashlib
import json
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import tomllib
import zlib

import jsonschema

STAMP = os.path.abspath(sys.argv[1])
SCHEMAS = pathlib.Path(sys.argv[2]).resolve()

from small_program import small_program  # noqa: E402

PROGRAM = small_program()


def png(side=16):
    """A small opaque PNG, red."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"\xff\0\0" * side for _ in range(side))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def lay(work):
    """work/medium with its program in "My App", a picture beside it; returns the medium's folder."""
    root = work / "medium"
    (root / "My App").mkdir(parents=True)
    (root / "My App" / "App.exe").write_bytes(PROGRAM)
    (work / "logo.png").write_bytes(png())
    return root


def run(arguments, cwd=None):
    # Images made a moment apart are the same only with the dates fixed.
    done = subprocess.run([STAMP, *arguments], capture_output=True, cwd=cwd,
                          env={**os.environ, "SOURCE_DATE_EPOCH": "1700000000"})
    return done.returncode, done.stdout.decode(errors="replace"), done.stderr.decode(errors="replace")


def made(work):
    """What a make left: the bytes of each file at the root and of the image beside it."""
    root = work / "medium"
    found = {p.name: hashlib.sha256(p.read_bytes()).hexdigest() for p in root.iterdir() if p.is_file()}
    for image in work.glob("*.iso"):
        found[image.name] = hashlib.sha256(image.read_bytes()).hexdigest()
    return found


def fresh(work):
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir()
    return lay(work)


BASE = 'root = "medium"\nprogram = "My App/App.exe"\n'

# Each key against its command-line option: the medium file's text (after root and program),
# and the options that must make the same bytes.
SAME_AS = [
    ("root and program alone", "", []),
    ("a picture as the icon", 'icon = "logo.png"\n', ["--icon", "WORK/logo.png"]),
    ("the launcher's own icon", 'icon = "launcher"\n', ["--launcher-icon"]),
    ("the program's own icon, said", 'icon = "program"\n', []),
    ("a label beyond ASCII", 'label = "Café 7"\n', ["--label", "Café 7"]),
    ("the x64 launcher", 'arch = "x64"\n', ["--arch", "x64"]),
    ("code page 932", 'codepage = 932\n', ["--codepage", "932"]),
    ("another drive", 'drive = "E:"\n', ["--drive", "E:"]),
    ("no autorun.inf", 'autorun = false\n', ["--no-autorun"]),
    ("a disc image", 'image = "medium.iso"\nlabel = "Borvi"\n', ["--iso", "WORK/medium.iso", "--label", "Borvi"]),
]

# Files refused before anything is written: the text, and what the message must hold.
REFUSED = [
    ("an unknown key, named with its line and the keys there are", BASE + 'colour = "red"\n',
     ["medium.toml:3:", "unknown key colour", "root, program, icon"]),
    ("force is a command-line decision", BASE + "force = true\n", ["medium.toml:3:", "unknown key force", "--force"]),
    ("an unknown key in [sign]", BASE + '[sign]\ncommand = "s {file}"\nretry = 2\n',
     ["medium.toml:5:", "unknown key sign.retry"]),
    ("a code page in quotes", BASE + 'codepage = "1252"\n', ["medium.toml:3:", "codepage takes a whole number"]),
    ("autorun as text", BASE + 'autorun = "no"\n', ["medium.toml:3:", "autorun takes true or false"]),
    ("a label as a number", BASE + "label = 7\n", ["medium.toml:3:", "label takes"]),
    ("a code page this tool does not convert", BASE + "codepage = 1\n", ["medium.toml:3:", "unknown code page 1"]),
    ("a disc of no known kind", BASE + 'disc = "floppy"\n', ["medium.toml:3:", "cd, dvd, dvd-dl, bd or bd-dl"]),
    ("a negative time limit", BASE + '[sign]\ncommand = "s {file}"\ntimeout = -1\n', ["medium.toml:5:", "sign.timeout"]),
    ("a [sign] table without its command", BASE + "[sign]\ntimeout = 5\n", ["medium.toml:3:", "names no command"]),
    ("sign as a string", BASE + 'sign = "s {file}"\n', ["medium.toml:3:", "sign takes a table"]),
    ("a file that is not UTF-8", BASE.encode() + b'label = "Caf\xe9"\n', ["medium.toml:3:", "not UTF-8"]),
    ("not TOML", BASE + "label = \n", ["medium.toml:3:"]),
    ("no program, here or on the command line", 'root = "medium"\n', ["names no program"]),
]


def main():
    work = pathlib.Path(tempfile.mkdtemp(prefix="medium-file-"))
    failures = []
    schema = json.loads((SCHEMAS / "medium.schema.json").read_text())
    jsonschema.Draft7Validator.check_schema(schema)
    checker = jsonschema.Draft7Validator(schema)
    count = 0

    def fail(what, why):
        failures.append(f"{what}: {why}")

    try:
        for what, keys, options in SAME_AS:
            count += 1
            text = BASE + keys
            root = fresh(work)
            code, out, err = run(["make", str(root), "My App/App.exe",
                                  *([] if "--codepage" in options else ["--codepage", "1252"]),
                                  *[o.replace("WORK", str(work)) for o in options]])
            expected = made(work)
            root = fresh(work)
            (work / "medium.toml").write_text(text + ("" if "codepage" in keys else "codepage = 1252\n"))
            # From another folder: the file's paths are its folder's.
            elsewhere = work / "elsewhere"
            elsewhere.mkdir()
            file_code, file_out, file_err = run(["make", "--file", str(work / "medium.toml")], cwd=elsewhere)
            if (code, expected) != (file_code, made(work)) or code != 0:
                fail(what, f"the command line gave {code} {expected}, the file {file_code} {made(work)}: {err}{file_err}")
            if any(error for error in checker.iter_errors(tomllib.loads((work / "medium.toml").read_text()))):
                fail(what, "the file fails its schema")

        count += 1
        what = "a byte-order mark and CRLF line ends"
        root = fresh(work)
        run(["make", str(root), "My App/App.exe", "--codepage", "1252", "--label", "Borvi"])
        expected = made(work)
        root = fresh(work)
        (work / "medium.toml").write_bytes(b"\xef\xbb\xbf" + (BASE + 'label = "Borvi"\ncodepage = 1252\n')
                                           .replace("\n", "\r\n").encode())
        code, out, err = run(["make", "--file", "medium.toml"], cwd=work)
        if code != 0 or made(work) != expected:
            fail(what, f"exit {code}, {made(work)} not {expected}: {err}")

        count += 1
        what = "an option on the command line overrides the file's key"
        root = fresh(work)
        (work / "medium.toml").write_text(BASE + 'label = "From the file"\ncodepage = 1252\n')
        code, out, err = run(["make", "--file", str(work / "medium.toml"), "--label", "Given"])
        autorun = (root / "autorun.inf").read_bytes() if (root / "autorun.inf").exists() else b""
        if code != 0 or b"label=Given" not in autorun or b"From the file" in autorun:
            fail(what, f"exit {code}, autorun.inf {autorun!r}: {err}")

        count += 1
        what = "make --json names the file it read"
        root = fresh(work)
        (work / "medium.toml").write_text(BASE + "codepage = 1252\n")
        code, out, err = run(["make", "--file", str(work / "medium.toml"), "--json"])
        try:
            answer = json.loads(out)
        except ValueError:
            answer = {}
        if code != 0 or answer.get("file") != str(work / "medium.toml"):
            fail(what, f"exit {code}, {out[:300]}")

        for what, text, said in REFUSED:
            count += 1
            root = fresh(work)
            (work / "medium.toml").write_bytes(text if isinstance(text, bytes) else text.encode())
            code, out, err = run(["make", "--file", str(work / "medium.toml")], cwd=work)
            missing = [part for part in said if part not in err]
            if code != 2 or missing or out or sorted(p.name for p in root.iterdir()) != ["My App"]:
                fail(what, f"exit {code}, said {err!r} (lacking {missing}), printed {out!r}, root "
                           f"{sorted(p.name for p in root.iterdir())}")

        count += 1
        what = "--save writes the file only, and it makes what the options make"
        root = fresh(work)
        options = ["medium", "My App/App.exe", "--icon", "logo.png", "--label", "Borvi 7", "--arch", "x64",
                   "--codepage", "1251", "--no-autorun", "--iso", "out/m.iso"]
        (work / "out").mkdir()
        (work / "keep").mkdir()
        code, out, err = run(["make", *options, "--save", "keep/medium.toml"], cwd=work)
        saved = work / "keep" / "medium.toml"
        left = sorted(p.name for p in root.iterdir())
        if code != 0 or not saved.exists() or left != ["My App"] or list((work / "out").iterdir()):
            fail(what, f"exit {code}, root {left}: {err}")
        else:
            keys = tomllib.loads(saved.read_text())
            if list(checker.iter_errors(keys)) or keys.get("root") != "../medium" or keys.get("icon") != "../logo.png":
                fail(what, f"the file saved: {saved.read_text()!r}")
            code, out, err = run(["make", *options], cwd=work)
            expected = {**made(work), "m.iso": hashlib.sha256((work / "out" / "m.iso").read_bytes()).hexdigest()}
            for p in root.iterdir():
                if p.is_file():
                    p.unlink()
            (work / "out" / "m.iso").unlink()
            code, out, err = run(["make", "--file", str(saved)], cwd="/")
            got = {**made(work), "m.iso": hashlib.sha256((work / "out" / "m.iso").read_bytes()).hexdigest()
                   if (work / "out" / "m.iso").exists() else None}
            if code != 0 or got != expected:
                fail(what, f"read back: exit {code}, {got} not {expected}: {err}")

        count += 1
        what = "--save of a program given from the current folder holds it below root"
        code, out, err = run(["make", "medium", "medium/My App/App.exe", "--save", "here.toml"], cwd=work)
        program = tomllib.loads((work / "here.toml").read_text()).get("program") if code == 0 else None
        if program != "My App/App.exe":
            fail(what, f"exit {code}, program {program!r}: {err}")

        count += 1
        what = "--save over a file: refused without --force, which replaces it"
        (work / "other.toml").write_text("# someone's notes\n")
        code, out, err = run(["make", "medium", "My App/App.exe", "--save", "other.toml"], cwd=work)
        kept = (work / "other.toml").read_text()
        force_code, _, force_err = run(["make", "medium", "My App/App.exe", "--save", "other.toml", "--force"], cwd=work)
        if code != 1 or kept != "# someone's notes\n" or force_code != 0 or "program" not in (work / "other.toml").read_text():
            fail(what, f"exit {code} then {force_code}: {err}{force_err}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n".join(failures))
    print(f"{count - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
