"""Checks a built launcher's profile with Python's pefile, a reader that shares nothing with ours:
the link timestamp is the release's date, the version resource holds the strings Explorer's
Details tab shows, and on x64 the exception directory names a sorted table of functions inside
the code, each with unwind information pefile can read.

    python3 check_profile.py LAUNCHER.exe YYYY-MM-DD VERSION
"""
import datetime
import sys

import pefile


def main():
    path, date, version = sys.argv[1:4]
    pe = pefile.PE(path)
    failures = []
    stamp = int(datetime.datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc).timestamp())
    if pe.FILE_HEADER.TimeDateStamp != stamp:
        failures.append(f"link timestamp {pe.FILE_HEADER.TimeDateStamp}, expected {stamp} ({date})")
    if not pe.verify_checksum():
        failures.append("the header checksum is wrong")

    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0]:
        for table in getattr(info, "StringTable", []):
            strings.update({key.decode(): value.decode() for key, value in table.entries.items()})
    for key, expected in (("ProductName", "Launcher"), ("ProductVersion", version), ("FileVersion", version),
                          ("LegalCopyright", "Zero-clause BSD licence")):
        if strings.get(key) != expected:
            failures.append(f"version string {key} is {strings.get(key)!r}, expected {expected!r}")
    if not strings.get("FileDescription"):
        failures.append("no FileDescription in the version resource")

    if pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        code = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".text")
        code_end = code.VirtualAddress + code.Misc_VirtualSize
        entries = getattr(pe, "DIRECTORY_ENTRY_EXCEPTION", [])
        if not entries:
            failures.append("no exception table")
        previous_end = 0
        for entry in entries:
            begin, end = entry.struct.BeginAddress, entry.struct.EndAddress
            if not (code.VirtualAddress <= begin < end <= code_end) or begin < previous_end:
                failures.append(f"exception entry {begin:#x}-{end:#x} is not a sorted function inside the code")
            if entry.unwindinfo is None or entry.unwindinfo.Version != 1:
                failures.append(f"the unwind information of {begin:#x} cannot be read")
            previous_end = end
        entry_point = pe.OPTIONAL_HEADER.AddressOfEntryPoint
        if not any(e.struct.BeginAddress <= entry_point < e.struct.EndAddress for e in entries):
            failures.append("the entry point has no exception entry")

    if failures:
        sys.exit(path + ":\n  " + "\n  ".join(failures))
    print(f"{path}: timestamp {date}, version {version}" +
          (f", {len(pe.DIRECTORY_ENTRY_EXCEPTION)} exception entries" if hasattr(pe, "DIRECTORY_ENTRY_EXCEPTION") else ""))


if __name__ == "__main__":
    main()
