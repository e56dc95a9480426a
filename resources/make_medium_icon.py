#!/usr/bin/env python3
"""Draws make-medium's icon, a silver disc with a blue folder in front of it and a green tick,
at 16, 20, 24, 32, 40, 48 and 64 pixels in 32-bit colour (sharp at 96 to 192 DPI), and writes
it as an .ico file to the path given."""
import struct
import sys
from pathlib import Path

SIZES = (16, 20, 24, 32, 40, 48, 64)
SAMPLES = 4  # per pixel and axis, for smooth edges


def colour_at(u, v):
    """(r, g, b, a) at (u, v) in 0..1, top-left origin."""
    # The tick, over everything: two strokes from (0.52, 0.78) down to (0.64, 0.9) and up to (0.95, 0.55).
    def near_segment(ax, ay, bx, by, width):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx - u, ay + t * dy - v
        return px * px + py * py <= width * width
    if near_segment(0.56, 0.76, 0.68, 0.88, 0.075) or near_segment(0.68, 0.88, 0.95, 0.56, 0.075):
        return (0x1E, 0x9E, 0x3A, 255)
    # The folder: a tab and a body in the lower left.
    if 0.06 <= u <= 0.62 and 0.50 <= v <= 0.94:
        shade = 0x2A if v > 0.60 else 0x1F
        return (shade, 0x6C, 0xC8, 255)
    if 0.06 <= u <= 0.30 and 0.44 <= v <= 0.50:
        return (0x1F, 0x5C, 0xB0, 255)
    # The disc behind, in the upper right.
    dx, dy = u - 0.58, v - 0.40
    distance = (dx * dx + dy * dy) ** 0.5
    if distance <= 0.38:
        if distance < 0.05:
            return (0, 0, 0, 0)
        if distance < 0.10 or distance > 0.35:
            return (0x80, 0x80, 0x88, 255)
        light = 0xF4 if -0.12 <= dx + dy <= -0.04 else 0xD0
        return (light, light, light + 8 if light < 0xF4 else light, 255)
    return (0, 0, 0, 0)


def image(size):
    """One icon image: a 32-bit bottom-up bitmap with its (empty) AND mask."""
    pixels = []
    for y in reversed(range(size)):
        for x in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = colour_at((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] // (SAMPLES * SAMPLES)
            rgb = [total[i] // total[3] if total[3] else 0 for i in range(3)]
            pixels.append(bytes((rgb[2], rgb[1], rgb[0], alpha)))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, size * size * 4 + mask_row * size, 0, 0, 0, 0)
    return header + b"".join(pixels) + bytes(mask_row * size)


def icon_bytes():
    images = [image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


if __name__ == "__main__":
    Path(sys.argv[1]).write_bytes(icon_bytes())
