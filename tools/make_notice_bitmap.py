#!/usr/bin/env python3
"""Draws the notice picture (bitmap 130) and writes it as an 8-bit BMP.

    python3 tools/make_notice_bitmap.py [output]   (default: resources/notice.bmp)

Layout of the 128 x 128 picture:
  rows 0-33   heading: an open book with wind streaks, on pure green
  rows 34-127 the yellow text field (208, 208, 0) with a darker border and
              rounded upper corners; pure green outside it
Pure green (0, 255, 0) is the window's colour key: it is see-through and lets
clicks pass. The text rectangle (6, 41)-(120, 120) lies inside the field.
"""

import struct
import sys
from pathlib import Path

SIZE = 128
FIELD_TOP = 34
CORNER_RADIUS = 9
BORDER = 2
TEXT_RECT = (6, 41, 120, 120)  # left, top, right, bottom (exclusive)

# Palette index -> (red, green, blue). Index 0 is the colour key.
PALETTE = [
    (0, 255, 0),      # 0 transparent
    (208, 208, 0),    # 1 field
    (120, 104, 0),    # 2 field border
    (40, 40, 72),     # 3 outlines
    (250, 248, 236),  # 4 page
    (200, 196, 176),  # 5 page shade, text lines
    (176, 56, 40),    # 6 book cover
    (72, 132, 196),   # 7 wind
    (160, 200, 236),  # 8 light wind
]
KEY, FIELD, FIELD_EDGE, INK, PAGE, PAGE_SHADE, COVER, WIND, WIND_LIGHT = range(9)


def blank():
    return [[KEY] * SIZE for _ in range(SIZE)]


def inside_rounded_field(x, y):
    """True for pixels of the field, whose two upper corners are rounded."""
    if y < FIELD_TOP:
        return False
    r = CORNER_RADIUS
    cy = FIELD_TOP + r
    if y >= cy:
        return True
    if x < r:
        cx = r
    elif x > SIZE - 1 - r:
        cx = SIZE - 1 - r
    else:
        return True
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def draw_field(pixels):
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_rounded_field(x, y):
                pixels[y][x] = FIELD
    # The border: field pixels within BORDER of a non-field pixel or the edge.
    for y in range(FIELD_TOP, SIZE):
        for x in range(SIZE):
            if pixels[y][x] != FIELD:
                continue
            edge = False
            for dy in range(-BORDER, BORDER + 1):
                for dx in range(-BORDER, BORDER + 1):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < SIZE and 0 <= ny < SIZE) or not inside_rounded_field(nx, ny):
                        edge = True
            if edge:
                pixels[y][x] = FIELD_EDGE


def fill_polygon(pixels, points, colour):
    """Even-odd scanline fill, sampled at pixel centres."""
    ys = [p[1] for p in points]
    for y in range(max(0, int(min(ys))), min(SIZE, int(max(ys)) + 1)):
        sy = y + 0.5
        xs = []
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 <= sy < y1) or (y1 <= sy < y0):
                xs.append(x0 + (sy - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            for x in range(max(0, int(a + 0.5)), min(SIZE, int(b + 0.5))):
                pixels[y][x] = colour


def line(pixels, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        if 0 <= x < SIZE and 0 <= y < FIELD_TOP:
            pixels[y][x] = colour


def outline(pixels, points, colour):
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        line(pixels, x0, y0, x1, y1, colour)


def draw_book(pixels):
    """An open book seen from the front, its pages curving up from the spine."""
    spine_x, spine_top, spine_bottom = 40, 10, 31
    cover = [(9, 13), (spine_x, 16), (71, 13), (71, 31), (spine_x, 33), (9, 31)]
    fill_polygon(pixels, cover, COVER)
    outline(pixels, cover, INK)
    left_page = [(12, 8), (24, 6), (spine_x, spine_top), (spine_x, spine_bottom), (24, 27), (12, 29)]
    right_page = [(spine_x, spine_top), (56, 6), (68, 8), (68, 29), (56, 27), (spine_x, spine_bottom)]
    for page in (left_page, right_page):
        fill_polygon(pixels, page, PAGE)
        outline(pixels, page, INK)
    # Lines of text on both pages.
    for i in range(4):
        y = 12 + 4 * i
        line(pixels, 16, y, 35, y + 2, PAGE_SHADE)
        line(pixels, 45, y + 2, 64, y, PAGE_SHADE)
    line(pixels, spine_x, spine_top, spine_x, spine_bottom, INK)


def draw_wind(pixels):
    """Three streaks of wind blowing past the book, each ending in a curl."""
    for top, length, colour in ((7, 44, WIND), (16, 50, WIND_LIGHT), (25, 40, WIND)):
        x0 = 76
        for x in range(x0, x0 + length):
            # A gentle wave along the streak.
            dy = (1 if (x // 6) % 2 else 0)
            for t in (0, 1):
                y = top + dy + t
                if 0 <= y < FIELD_TOP and x < SIZE:
                    pixels[y][x] = colour
        # The curl at the end of the streak.
        cx, cy = min(x0 + length, SIZE - 5), top - 1
        for px, py in ((0, 0), (1, -1), (2, -1), (3, 0), (3, 1), (2, 2), (1, 2)):
            x, y = cx + px, cy + py
            if 0 <= x < SIZE and 0 <= y < FIELD_TOP:
                pixels[y][x] = colour


def check_layout(pixels):
    left, top, right, bottom = TEXT_RECT
    for y in range(top, bottom):
        for x in range(left, right):
            assert pixels[y][x] == FIELD, f"text rectangle leaves the field at ({x}, {y})"
    for y in range(FIELD_TOP, SIZE):
        assert pixels[y][0] in (FIELD_EDGE, KEY)
    for y in range(FIELD_TOP):
        assert FIELD not in pixels[y], "the field starts at row 34"


def write_bmp(path, pixels):
    colours = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    # Bottom-up rows; 128 bytes a row needs no padding.
    image = b"".join(bytes(row) for row in reversed(pixels))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    Path(path).write_bytes(header + info + palette + image)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / "resources" / "notice.bmp")
    pixels = blank()
    draw_field(pixels)
    draw_book(pixels)
    draw_wind(pixels)
    check_layout(pixels)
    write_bmp(out, pixels)


if __name__ == "__main__":
    main()
