#!/usr/bin/env python3
"""Checks make-medium.exe as Python's pefile reads it: a program with a window of its own (the
GUI subsystem) for x64, importing only DLLs every Windows has and takes from the system folder
whatever lies beside the program, with an icon group whose images
cover 16 to 64 pixels (sharp at 96 to 192 DPI) and a version resource naming it and its version.

    check_window_program.py FILE.exe VERSION
"""
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "ole32.dll",
               "oleaut32.dll", "oleacc.dll", "advapi32.dll", "msvcrt.dll", "comdlg32.dll", "shlwapi.dll",
               "crypt32.dll"}
# What Windows loads from the system folder even when a DLL of that name lies beside the program,
# before any of its code runs: the known DLLs (the KnownDLLs list of Windows 7 to 11), and the
# common controls, which the manifest's Common Controls 6 dependency takes from WinSxS.
FROM_SYSTEM_FOLDER = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "ole32.dll",
                      "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "comdlg32.dll", "shlwapi.dll"}


def main():
    exe, version = sys.argv[1], sys.argv[2]
    pe = pefile.PE(exe)
    problems = []
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        problems.append(f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, not the GUI subsystem")
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        problems.append("not a program for x64")
    imports = {entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])}
    if not imports <= SYSTEM_DLLS:
        problems.append(f"it imports {sorted(imports - SYSTEM_DLLS)}, which not every Windows has")
    if not imports <= FROM_SYSTEM_FOLDER:
        problems.append(f"it imports {sorted(imports - FROM_SYSTEM_FOLDER)}, which Windows looks for beside it "
                        "first: a DLL planted there would run")
    sizes = set()
    resources = pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []
    for kind in resources:
        if kind.id != pefile.RESOURCE_TYPE["RT_GROUP_ICON"]:
            continue
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                count = int.from_bytes(data[4:6], "little")
                sizes |= {data[6 + 14 * i] or 256 for i in range(count)}
    if not {16, 32, 48, 64} <= sizes:
        problems.append(f"its icon has the sizes {sorted(sizes)}, not 16, 32, 48 and 64")
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    if strings.get("OriginalFilename") != "make-medium.exe" or strings.get("ProductVersion") != version:
        problems.append(f"its version strings are {strings}")
    if problems:
        sys.exit(f"{exe}:\n  " + "\n  ".join(problems))
    print(f"{exe}: GUI subsystem, x64, imports {', '.join(sorted(imports))}; icon of {sorted(sizes)} pixels; "
          f"version {strings.get('ProductVersion')}")


if __name__ == "__main__":
    main()
