#!/usr/bin/env python3
"""Draws the launcher's icon, a silver disc with a green arrow leaving it, as a 32x32
16-colour .ico, and writes it to the path given (launcher.ico beside this script by default)."""
import struct
import sys
from pathlib import Path

SIZE = 32
# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREEN, SILVER, GREY, GREEN, WHITE = 0, 2, 7, 8, 10, 15


def pixel(x, y):
    """Colour index at (x, y), top-left origin, or None where the icon is transparent."""
    # Arrow: a shaft and a head pointing to the lower right corner.
    if 17 <= x <= 29 and 24 <= y <= 27 and x <= 25:
        return GREEN if y < 27 else DARK_GREEN
    if 25 <= x <= 31 and abs(y - 25.5) <= (31 - x) * 0.9 + 0.5:
        return GREEN
    dx, dy = x - 13.5, y - 13.5
    distance = (dx * dx + dy * dy) ** 0.5
    if distance > 13.5:
        return None
    if distance > 12.5:
        return GREY
    if distance < 2.5:
        return None if distance < 1.5 else BLACK
    if distance < 4.5:
        return GREY
    # A highlight across the upper left of the disc.
    return WHITE if -3 <= dx + dy <= -1 or dx + dy <= -14 else SILVER


def icon_bytes():
    rows_colour, rows_mask = [], []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        colours = [pixel(x, y) for x in range(SIZE)]
        rows_colour.append(bytes(
            ((colours[x] or 0) << 4) | (colours[x + 1] or 0) for x in range(0, SIZE, 2)))
        mask = 0
        for x in range(SIZE):
            mask = (mask << 1) | (colours[x] is None)
        rows_mask.append(mask.to_bytes(SIZE // 8, "big"))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(b"".join(rows_colour)) + len(b"".join(rows_mask)), 0, 0, 16, 0)
    image = header + palette + b"".join(rows_colour) + b"".join(rows_mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("launcher.ico")
    target.write_bytes(icon_bytes())
