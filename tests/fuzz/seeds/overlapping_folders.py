#!/usr/bin/env python3
"""Writes a crafted ISO 9660 image whose root holds many folders that all point into one
overlapping stretch of sectors, each starting a sector after the one before and as long as a
folder may be: a reader that parses each folder as recorded parses the stretch again for every
one of them. The stretch's sectors hold file records, so that every byte parsed is a record.

    overlapping_folders.py OUT [MEBIBYTES [FOLDERS]]    (32 and 8000 by default)
    overlapping_folders.py --seed OUT                    a fuzz seed: 1 MiB, past the system area
"""
import struct
import sys

SECTOR = 2048
LARGEST_FOLDER = 8192  # sectors: a folder's records, at most, as the reader takes them


def both16(value):
    return struct.pack("<H", value) + struct.pack(">H", value)


def both32(value):
    return struct.pack("<I", value) + struct.pack(">I", value)


def record(name, block, size, folder):
    length = 33 + len(name) + (1 if len(name) % 2 == 0 else 0)
    out = bytes([length, 0]) + both32(block) + both32(size) + bytes(7)
    out += bytes([0x02 if folder else 0, 0, 0]) + both16(1) + bytes([len(name)]) + name
    return out.ljust(length, b"\0")


def sectors_of(records):
    """The records laid into whole sectors, none crossing a sector's end."""
    out, sector = [], b""
    for r in records:
        if len(sector) + len(r) > SECTOR:
            out.append(sector.ljust(SECTOR, b"\0"))
            sector = b""
        sector += r
    out.append(sector.ljust(SECTOR, b"\0"))
    return out


def image(mebibytes, folders):
    total = mebibytes * 1024 * 1024 // SECTOR
    root_at = 18
    names = [b"D%05d" % i for i in range(folders)]
    # The root's size first needs its own sectors' count, which needs its records.
    root_sectors = len(sectors_of([record(b"\0", 0, 0, True), record(b"\1", 0, 0, True)] +
                                  [record(n, 0, 0, True) for n in names]))
    stretch = root_at + root_sectors
    length = max(1, min(LARGEST_FOLDER, total - stretch - folders))
    if stretch + folders + length > total:
        sys.exit("the image is too small for that many folders")
    root = sectors_of([record(b"\0", root_at, root_sectors * SECTOR, True),
                       record(b"\1", root_at, root_sectors * SECTOR, True)] +
                      [record(n, stretch + i, length * SECTOR, True) for i, n in enumerate(names)])
    files = sectors_of([record(b"F%02d.BIN;1" % i, 0, 0, False) for i in range(100)])[0]
    pvd = bytearray(SECTOR)
    pvd[0:7] = b"\x01CD001\x01"
    pvd[40:72] = b"OVERLAPPING".ljust(32)
    pvd[80:88] = both32(total)
    pvd[120:124] = both16(1)
    pvd[124:128] = both16(1)
    pvd[128:132] = both16(SECTOR)
    pvd[156:190] = record(b"\0", root_at, root_sectors * SECTOR, True)
    pvd[881] = 1
    terminator = bytearray(SECTOR)
    terminator[0:7] = b"\xffCD001\x01"
    return (bytes(16 * SECTOR) + bytes(pvd) + bytes(terminator) + b"".join(root) +
            files * (total - stretch))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--seed":
        with open(sys.argv[2], "wb") as out:
            out.write(image(1, 300)[16 * SECTOR:])
        return
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    mebibytes = int(sys.argv[2]) if len(sys.argv) > 2 else 32
    folders = int(sys.argv[3]) if len(sys.argv) > 3 else 8000
    with open(sys.argv[1], "wb") as out:
        out.write(image(mebibytes, folders))


if __name__ == "__main__":
    main()
