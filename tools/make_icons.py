#!/usr/bin/env python3
"""Draws the program's three icons and writes them as 256-colour .ico files.

  107  32 x 32  the class icon: a clock face on a stand
  132  16 x 16  the reading icon: an open book
  133  16 x 16  the idle icon: the clock on its stand

Run from the repository root: python3 tools/make_icons.py
"""
import math
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources"

TRANSPARENT = None
PALETTE = {
    "k": (0, 0, 0),          # outline
    "w": (255, 255, 255),    # clock face, pages
    "r": (200, 40, 40),      # hands
    "g": (128, 128, 128),    # stand
    "d": (64, 64, 64),       # stand shadow
    "b": (40, 80, 170),      # book cover
    "y": (230, 200, 60),     # bezel
    "l": (200, 200, 200),    # page lines
}


def clock(size):
    """A round face with a yellow bezel, two hands, on a small grey stand."""
    px = [[TRANSPARENT] * size for _ in range(size)]
    cx = cy = (size - 1) / 2 - size * 0.08
    radius = size * 0.40
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - cx, y - cy)
            if d <= radius - size * 0.09:
                px[y][x] = "w"
            elif d <= radius - size * 0.03:
                px[y][x] = "y"
            elif d <= radius:
                px[y][x] = "k"
    # hands: ten past ten
    for angle, length in ((-60, 0.55), (60 + 180 + 120, 0.75)):
        a = math.radians(angle - 90)
        steps = size * 2
        for i in range(steps):
            t = i / steps * (radius - size * 0.09) * length
            x, y = round(cx + math.cos(a) * t), round(cy + math.sin(a) * t)
            px[y][x] = "r"
    px[round(cy)][round(cx)] = "k"
    # stand: a neck under the face and a foot
    top = int(cy + radius) + 1
    neck = max(1, size // 16)
    for y in range(top, size - max(1, size // 10)):
        for x in range(int(cx) - neck + 1, int(cx) + neck + 1):
            px[y][x] = "g"
    for y in range(size - max(1, size // 10), size):
        for x in range(int(size * 0.2), int(size * 0.8)):
            px[y][x] = "d" if y == size - 1 else "g"
    return px


def book(size):
    """An open book seen from the front: two white pages on a blue cover."""
    px = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(3, size - 2):
        for x in range(0, size):
            px[y][x] = "b"
    for y in range(2, size - 3):
        for x in range(1, size - 1):
            if x == size // 2 or x == size // 2 - 1:
                px[y][x] = "k"
            else:
                px[y][x] = "w"
    for y in range(4, size - 4, 2):
        for x in list(range(2, size // 2 - 2)) + list(range(size // 2 + 2, size - 2)):
            px[y][x] = "l"
    return px


def write_ico(path, pixels):
    size = len(pixels)
    names = list(PALETTE)
    index = {name: i + 1 for i, name in enumerate(names)}
    palette = [(0, 0, 0)] + [PALETTE[n] for n in names]
    palette += [(0, 0, 0)] * (256 - len(palette))
    row_xor = (size + 3) & ~3
    row_and = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = pixels[y]
        xor += bytes(index[p] if p else 0 for p in row) + bytes(row_xor - size)
        bits = bytearray(row_and)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + colours + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(image), 6 + 16)
    path.write_bytes(directory + entry + image)


if __name__ == "__main__":
    write_ico(OUT / "clock32.ico", clock(32))
    write_ico(OUT / "book16.ico", book(16))
    write_ico(OUT / "clock16.ico", clock(16))
    print("wrote", ", ".join(str(OUT / n) for n in ("clock32.ico", "book16.ico", "clock16.ico")))
