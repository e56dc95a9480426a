"""Gives a linked launcher the profile of an ordinary program: its link timestamp is the
release's date (fixed, so builds stay reproducible, and not 0, which no ordinary program has),
its resource section is read-only, as compilers' own toolchains make it, and on x64 its
exception directory names the exception table, which the linker script keeps in the code's
section (where the linker does not look for it), its entries sorted as the unwinder needs. The
header checksum is recomputed when the file keeps one.

    python3 launcher_profile.py LAUNCHER.exe YYYY-MM-DD LINKER.map
"""
import datetime
import re
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


def symbols(map_path, names):
    """The addresses the linker map gives the symbols named."""
    found = {}
    for line in open(map_path, encoding="utf-8", errors="replace"):
        match = re.match(r"\s+0x([0-9a-f]+)\s+(\w+) = \.", line)
        if match and match.group(2) in names:
            found[match.group(2)] = int(match.group(1), 16)
    return found


def set_exception_table(data, pe, optional, map_path):
    """Points the exception directory at the table between the map's two symbols, sorted by
    the functions' addresses; leaves a launcher without one (x86) as it is."""
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic != 0x20B:
        return
    image_base = struct.unpack_from("<Q", data, optional + 24)[0]
    found = symbols(map_path, ("__launcher_pdata_start", "__launcher_pdata_end"))
    start, end = found["__launcher_pdata_start"] - image_base, found["__launcher_pdata_end"] - image_base
    if end <= start or (end - start) % 12 != 0:
        sys.exit(f"no exception table of whole entries between {start:#x} and {end:#x}")
    # The file offset of the table, through the section that holds it.
    coff = pe + 4
    sections, optional_size = struct.unpack_from("<H", data, coff + 2)[0], struct.unpack_from("<H", data, coff + 16)[0]
    for i in range(sections):
        header = coff + 20 + optional_size + 40 * i
        size, address, _, raw = struct.unpack_from("<IIII", data, header + 8)
        if address <= start and end <= address + size:
            offset = raw + start - address
            break
    else:
        sys.exit(f"the exception table at {start:#x} lies in no section")
    entries = sorted(struct.unpack_from("<III", data, offset + 12 * i) for i in range((end - start) // 12))
    for i, entry in enumerate(entries):
        struct.pack_into("<III", data, offset + 12 * i, *entry)
    directories = optional + 112
    struct.pack_into("<II", data, directories + 3 * 8, start, end - start)


def main():
    path, date, map_path = sys.argv[1], sys.argv[2], sys.argv[3]
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
    set_exception_table(data, pe, coff + 20, map_path)
    checksum_offset = coff + 20 + 64
    if struct.unpack_from("<I", data, checksum_offset)[0] != 0:
        struct.pack_into("<I", data, checksum_offset, 0)
        struct.pack_into("<I", data, checksum_offset, pe_checksum(bytes(data)))
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
