#!/usr/bin/env python3
"""Zips a folder so that the same files always give the same bytes: entries in sorted order,
every time set to one given moment, permissions fixed (0755 for programs and scripts, 0644
for the rest), no extra fields.

    reproducible_zip.py OUT.zip FOLDER EPOCH

The folder's own name is the archive's one top folder; EPOCH is a Unix time (UTC).
"""
import os
import sys
import time
import zipfile

EXECUTABLE = (".exe", ".cmd")


def main():
    out, folder, epoch = sys.argv[1], sys.argv[2].rstrip("/"), int(sys.argv[3])
    moment = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    top = os.path.basename(folder)
    paths = []
    for directory, _, files in os.walk(folder):
        paths += [os.path.join(directory, name) for name in files]
    with zipfile.ZipFile(out, "w") as archive:
        for path in sorted(paths, key=lambda p: os.path.relpath(p, folder).split(os.sep)):
            name = top + "/" + os.path.relpath(path, folder).replace(os.sep, "/")
            entry = zipfile.ZipInfo(name, date_time=moment)
            entry.create_system = 3  # Unix, so that the permissions below are read
            executable = name.endswith(EXECUTABLE) or os.access(path, os.X_OK)
            entry.external_attr = (0o100755 if executable else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main()
