#!/usr/bin/env python3
"""The rooms of tools/stamp include one way, top to bottom: a file includes headers of its own
room and of rooms below it, never of a room above it or beside it. And the commands and the window
never decide themselves whether a path is a folder or a disc image: the medium's face
(OpenMedium, MediumKindAt) does. Prints each include or call that breaks this and exits 1 when
there is one."""
import pathlib
import re
import sys

# Each room's level: a room may include the rooms of lower levels only.
LEVELS = {"base": 0, "system": 1, "pe": 2, "image": 2, "picture": 3, "medium": 3, "commands": 4, "window": 5}

# What only the medium's face may use to tell a folder from a disc image.
DECIDING = re.compile(r"\b(LooksLikeDiscImage|ImageFileReader|OpenImage|is_directory)\s*\(")
ASKING_THE_FACE = ("commands", "window")

stamp = pathlib.Path(sys.argv[1])
wrong = []
for path in sorted(stamp.glob("*/*")):
    room = path.parent.name
    if room not in LEVELS or path.suffix not in (".h", ".cpp"):
        continue
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        decides = DECIDING.search(line.split("//")[0]) if room in ASKING_THE_FACE else None
        if decides is not None:
            wrong.append(f"{path.relative_to(stamp)}:{number}: {room}/ decides folder or image itself ({decides.group(1)})")
        match = re.match(r'\s*#\s*include\s+"(\w+)/', line)
        if match is None or match.group(1) not in LEVELS or match.group(1) == room:
            continue
        if LEVELS[match.group(1)] >= LEVELS[room]:
            wrong.append(f"{path.relative_to(stamp)}:{number}: {room}/ includes {match.group(1)}/")
print("\n".join(wrong) if wrong else "every room includes only the rooms below it, and asks the face what a path names")
sys.exit(1 if wrong else 0)
