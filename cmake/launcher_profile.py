"""Gives a linked launcher the profile of an ordinary program: its link timestamp is the
release's date (fixed, so builds stay reproducible, and not 0, which no ordinary program has)
and its resource section is read-only, as compilers' own toolchains make it. The header checksum
is recomputed when the file keeps one.

    python3 launcher_profile.py LAUNCHER.exe YYYY-MM-DD
"""
import datetime
import struct
import sys

IMAGE_SCN_MEM_WRITE = 0x80000000


def pe_checksum(data):
    """The PE checksum, as the loader verifies it, of data whose checksum field holds 0: the
    16-bit one's complement sum of its words plus its length."""
    total = 0
    for (word,) in struct.iter_unpack("<H", data + b"\0" * (len(data) % 2)):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main():
    path, date = sys.argv[1], sys.argv[2]
    stamp = int(datetime.datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc).timestamp())
    data = bytearray(open(path, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    coff = pe + 4
    sections, optional_size = struct.unpack_from("<H", data, coff + 2)[0], struct.unpack_from("<H", data, coff + 16)[0]
    struct.pack_into("<I", data, coff + 4, stamp)
    table = coff + 20 + optional_size
    found = False
    for i in range(sections):
        header = table + 40 * i
        if data[header:header + 8].rstrip(b"\0") == b".rsrc":
            flags = struct.unpack_from("<I", data, header + 36)[0]
            struct.pack_into("<I", data, header + 36, flags & ~IMAGE_SCN_MEM_WRITE)
            found = True
    if not found:
        sys.exit(f"{path}: no .rsrc section")
    checksum_offset = coff + 20 + 64
    if struct.unpack_from("<I", data, checksum_offset)[0] != 0:
        struct.pack_into("<I", data, checksum_offset, 0)
        struct.pack_into("<I", data, checksum_offset, pe_checksum(bytes(data)))
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
