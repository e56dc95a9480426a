#!/usr/bin/python3
"""launcher-stamp's JSON answers (check, show and make with --json) on typical media, each
validated against its schema in docs/schemas: ASCII only, the exit status and the messages on
stderr the same as without --json, and make's notes the lines it prints without it.
Usage: json_answers.py LAUNCHER-STAMP SCHEMA-FOLDER. Prints a line for each failing row and
exits 1 when there is one."""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import warnings

import jsonschema

STAMP = sys.argv[1]
SCHEMAS = pathlib.Path(sys.argv[2]).resolve()

from small_program import small_program  # noqa: E402

PROGRAM = small_program()


def validator(name):
    """A validator for SCHEMAS/name, its references to the other schemas there resolved."""
    store = {path.as_uri(): json.loads(path.read_text()) for path in SCHEMAS.glob("*.schema.json")}
    schema = store[(SCHEMAS / name).as_uri()]
    jsonschema.Draft202012Validator.check_schema(schema)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        resolver = jsonschema.RefResolver((SCHEMAS / name).as_uri(), schema, store=store)
    return jsonschema.Draft202012Validator(schema, resolver=resolver)


def lay(root, *extra):
    """A medium's folder with its program in "My App", and what extra steps add."""
    (root / "My App").mkdir(parents=True)
    (root / "My App" / "App.exe").write_bytes(PROGRAM)
    for step in extra:
        step(root)


def made(*options):
    """make on the medium, OUT in options standing for the image beside it."""
    return lambda root: run(["make", str(root), "My App/App.exe", *[o.replace("OUT", real("OUT")) for o in options]])


def foreign(name):
    return lambda root: (root / name).write_bytes(b"someone's own file")


def folder(name):
    return lambda root: (root / name).mkdir()


def not_utf8(root):
    shutil.copy(os.fsencode(root / "App.exe"), os.path.join(os.fsencode(root), b"X\xff.exe"))


def foreign_image(root):
    pathlib.Path(real("OUT")).write_bytes(b"someone's own file")


def beside(root):
    (root.parent / "elsewhere.exe").write_bytes(PROGRAM)


# Where ROOT (the medium's folder) and OUT (its image, beside it) lie in this run.
PLACES = {}


def real(text):
    """text with ROOT and OUT made the paths they stand for."""
    return text.replace("ROOT", PLACES["ROOT"]).replace("OUT", PLACES["OUT"])


def run(arguments):
    done = subprocess.run([STAMP, *arguments], capture_output=True)
    return done.returncode, done.stdout, done.stderr


def fates(answer):
    return [(file["fate"], file["reason"] is not None) for file in answer["files"]]


def launchers(check):
    return [(item["launcher"].split("\\")[-1], item["verdict"]) for item in check if "launcher" in item]


def image_of(answer):
    image = answer["image"]
    return image and {**image, "size": image["size"] and image["size"] == os.path.getsize(real(image["path"]))}


# Each row: what it is; the layout (extra steps after lay); the arguments (ROOT and OUT stand for
# the medium's folder and an image beside it); the exit status; the schema; and what parts of
# the answer must be, each a function of the answer and its expected value.
ROWS = [
    ("make: a fresh medium", [], ["make", "ROOT", "My App/App.exe", "--label", "My App"], 0, "make",
     {fates: [("written", False), ("written", False)], lambda a: a["launcher"]: "App.exe",
      lambda a: (a["refused"], a["reason"], a["forceable"], a["force_action"], a["image"]): (False, None, False, None, None),
      lambda a: launchers(a["check"]): [("App.exe", "ok")], lambda a: a["check"][-1]["label"]: "My App"}),
    ("make: run again, nothing changes", [made("--label", "My App")],
     ["make", "ROOT", "My App/App.exe", "--label", "My App"], 0, "make",
     {fates: [("unchanged", False), ("unchanged", False)], lambda a: a["refused"]: False}),
    ("make: a file of someone else's at the launcher's name", [foreign("App.exe")],
     ["make", "ROOT", "My App/App.exe"], 1, "make",
     {fates: [("refused", True), ("not-written", False)],
      lambda a: (a["refused"], a["forceable"], a["force_action"], a["check"]): (True, True, "replace it", None),
      lambda a: a["reason"] == a["files"][0]["reason"] and "not a launcher of ours" in a["reason"]: True}),
    ("make: files of someone else's at both names", [foreign("App.exe"), foreign("autorun.inf")],
     ["make", "ROOT", "My App/App.exe"], 1, "make",
     {fates: [("refused", True), ("refused", True)], lambda a: (a["forceable"], a["force_action"]): (True, "replace it"),
      lambda a: "--no-autorun" in a["files"][1]["reason"]: True}),
    ("make: a folder at the launcher's name, which force never replaces", [folder("App.exe")],
     ["make", "ROOT", "My App/App.exe"], 1, "make",
     {fates: [("refused", True), ("not-written", False)], lambda a: (a["forceable"], a["force_action"]): (False, None)}),
    ("make: forced over a file of someone else's", [foreign("App.exe")],
     ["make", "ROOT", "My App/App.exe", "--force"], 0, "make",
     {fates: [("written", False), ("written", False)], lambda a: (a["refused"], a["forceable"]): (False, False)}),
    ("make --sign: the signing command fails, so nothing is written", [],
     ["make", "ROOT", "My App/App.exe", "--sign", "false {file}", "--sign-retries", "1"], 1, "make",
     {fates: [("refused", True), ("not-written", False)],
      lambda a: (a["refused"], a["forceable"], a["force_action"], a["check"]): (True, False, None, None),
      lambda a: a["reason"] == a["files"][0]["reason"] and "try 2 of 2" in a["reason"]: True}),
    ("make: without autorun.inf", [], ["make", "ROOT", "My App/App.exe", "--no-autorun"], 0, "make",
     {fates: [("written", False)], lambda a: [i for i in a["check"] if "autorun" in i]: []}),
    ("make: a program outside the root, refused before any file is planned", [beside],
     ["make", "ROOT", "../elsewhere.exe"], 1, "make",
     {lambda a: (a["launcher"], a["files"], a["refused"], a["check"]): (None, [], True, None)}),
    ("make --iso: the image written and checked", [], ["make", "ROOT", "My App/App.exe", "--iso", "OUT"], 0, "make",
     {fates: [("written", False), ("written", False)], image_of: {"path": "OUT", "written": True, "size": True, "disc": "cd",
                                                                  "required_disc": None},
      lambda a: (a["check"][0]["image"], a["check"][0]["tree"]): ("OUT", "Joliet"),
      lambda a: launchers(a["check"]): [("App.exe", "ok")],
      lambda a: any(note.startswith("OUT: written") for note in a["notes"]): True}),
    ("make --iso: an image inside the root, refused", [], ["make", "ROOT", "My App/App.exe", "--iso", "ROOT/m.iso"], 1,
     "make", {image_of: {"path": "ROOT/m.iso", "written": False, "size": None, "disc": None, "required_disc": None},
             lambda a: a["refused"]: True}),
    ("make --iso --disc: the disc it must fit, and the smallest it fits", [],
     ["make", "ROOT", "My App/App.exe", "--iso", "OUT", "--disc", "dvd"], 0, "make",
     {image_of: {"path": "OUT", "written": True, "size": True, "disc": "cd", "required_disc": "dvd"},
      lambda a: (a["check"][0]["disc"], a["check"][0]["required_disc"], a["check"][0]["verdict"]): ("cd", "dvd", "ok")}),
    ("make --iso: a file of someone else's at OUT, which force replaces", [foreign_image],
     ["make", "ROOT", "My App/App.exe", "--iso", "OUT"], 1, "make",
     {fates: [], image_of: {"path": "OUT", "written": False, "size": None, "disc": None, "required_disc": None},
      lambda a: (a["refused"], a["forceable"], a["force_action"]): (True, True, "replace it")}),
    ("make --iso: the same, and a folder at the launcher's name, which force never replaces",
     [foreign_image, folder("App.exe")],
     ["make", "ROOT", "My App/App.exe", "--iso", "OUT"], 1, "make",
     {lambda a: (a["refused"], a["forceable"], a["force_action"]): (True, False, None)}),
    ("make --file: the answer names the medium file read",
     [lambda root: (root.parent / "medium.toml").write_text('root = "medium"\nprogram = "My App/App.exe"\n')],
     ["make", "--file", "ROOT/../medium.toml"], 0, "make",
     {lambda a: a["file"]: "ROOT/../medium.toml", fates: [("written", False), ("written", False)],
      lambda a: a["root"]: "ROOT"}),
    ("show: a 64-bit launcher in a folder named beyond ASCII", [lambda root: (root / "My App").rename(root / "Caf\u00e9"),
                                                                lambda root: run(["make", str(root), "Caf\u00e9/App.exe",
                                                                                  "--arch", "x64", "--codepage", "1252"])],
     ["show", "ROOT/App.exe", "--codepage", "1252"], 0, "show",
     {lambda a: (a["launch_directory"], a["architecture"], a["code_page"]): ("Caf\u00e9", "x64", 1252),
      lambda a: a["icon_sizes"]: [{"width": 32, "height": 32}],
      lambda a: (a["signed"], a["signature"]["state"], a["signature"]["signer"]): (False, "not-signed", None),
      lambda a: a["version_strings"]["ProductVersion"] != "": True}),
    ("show: the 32-bit launcher", [made()], ["show", "ROOT/App.exe"], 0, "show",
     {lambda a: (a["launch_directory"], a["architecture"]): ("My App", "x86")}),
    ("check: a medium made", [made()], ["check", "ROOT"], 0, "check",
     {launchers: [("App.exe", "ok")], lambda a: [i["open"] for i in a if "autorun" in i]: ["App.exe"]}),
    ("check: a disc image made", [made("--iso", "OUT")], ["check", "OUT"], 0, "check",
     {lambda a: a[0]["tree"]: "Joliet", launchers: [("App.exe", "ok")]}),
    ("check: a leftover and a launcher whose name is not UTF-8", [made(), not_utf8, foreign(".launcher-stamp-1.tmp")],
     ["check", "ROOT"], 1, "check",
     {launchers: [("App.exe", "ok"), ("X\ufffd.exe", "not-checkable")],
      lambda a: [i["leftover"] for i in a if "leftover" in i]: ["D:\\.launcher-stamp-1.tmp"]}),
]


def main():
    validators = {name: validator(name + ".schema.json") for name in ("check", "show", "make")}
    work = pathlib.Path(tempfile.mkdtemp(prefix="json-answers-"))
    root, out = work / "medium", work / "medium.iso"
    PLACES.update(ROOT=str(root), OUT=str(out))
    failures = []
    try:
        for what, steps, arguments, status, schema, expected in ROWS:
            def fresh():
                shutil.rmtree(work)
                work.mkdir()
                lay(root, *steps)

            wrong = []
            fresh()
            code, stdout, stderr = run([real(a) for a in arguments] + ["--json"])
            if code != status:
                wrong.append(f"exit status {code}, not {status}: {stderr.decode(errors='replace')}")
            if any(byte > 0x7F for byte in stdout):
                wrong.append("its output holds bytes beyond ASCII")
            try:
                answer = json.loads(stdout)
            except ValueError as error:
                failures.append(f"{what}: no JSON ({error}): {stdout[:200]!r} {stderr[:200]!r}")
                continue
            for error in validators[schema].iter_errors(answer):
                wrong.append(f"against {schema}.schema.json: {error.message[:300]} at {list(error.absolute_path)}")
            answer = json.loads(json.dumps(answer).replace(str(out), "OUT").replace(str(root), "ROOT"))
            for part, value in expected.items():
                try:
                    got = part(answer)
                except (KeyError, IndexError, TypeError) as error:
                    got = f"<{error!r}>"
                if got != value:
                    wrong.append(f"{got!r}, not {value!r}")
            # Without --json: the same status and messages; make's notes are its lines before the report.
            fresh()
            text_code, text_out, text_err = run([real(a) for a in arguments])
            if (text_code, text_err) != (code, stderr):
                wrong.append(f"without --json: exit status {text_code} and {text_err!r}, with it {code} and {stderr!r}")
            if schema == "make":
                lines = text_out.decode().split("\n\n")[0].splitlines() if text_out else []
                notes = json.loads(stdout)["notes"]
                if notes != lines:
                    wrong.append(f"notes {notes!r}, printed {lines!r}")
            failures += [f"{what}: {line}" for line in wrong]
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n".join(failures) if failures else f"{len(ROWS)} JSON answers as their schemas say")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
