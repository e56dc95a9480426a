#!/usr/bin/env python3
"""Writes an .ico with three images, each one colour: 16x16 red and 32x32 green as 32-bit
bitmaps, 256x256 blue as PNG; for tests that take a program's icon.

    make_test_icon.py OUT.ico
"""
import struct
import sys
import zlib


def bitmap(side, bgra):
    header = struct.pack("<IiiHHIIiiII", 40, side, 2 * side, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytes(bgra) * (side * side)
    mask = b"\0" * (((side + 31) // 32 * 4) * side)
    return header + colour + mask


def png(side, rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgba) * side for _ in range(side))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


images = [(16, bitmap(16, (0, 0, 255, 255))), (32, bitmap(32, (0, 255, 0, 255))), (256, png(256, (0, 0, 255, 255)))]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for side, data in images:
    out += struct.pack("<BBBBHHII", side % 256, side % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b"".join(data for _, data in images)
with open(sys.argv[1], "wb") as f:
    f.write(out)
