#!/usr/bin/env python3
"""Draws the customize sheet's predefined button images: make_customize_images.py OUT.bmp.

One 24-bit strip of 16 x 16 images side by side; magenta (255, 0, 255) is the transparent colour. Each image is a
simple shape in a colour of its own, so that the images tell apart at a glance on any face colour.
"""
import struct
import sys

SIZE = 16
MASK = (255, 0, 255)
COLOURS = [(200, 30, 30), (30, 140, 30), (30, 60, 200), (230, 170, 0), (140, 40, 170)]
BLACK = (0, 0, 0)


def square(x, y):
    return 2 <= x <= 13 and 2 <= y <= 13


def circle(x, y):
    return (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 36


def triangle(x, y):
    return 2 <= y <= 13 and abs(x - 7.5) <= (y - 1) / 2


def diamond(x, y):
    return abs(x - 7.5) + abs(y - 7.5) <= 6.5


SHAPES = [square, circle, triangle, diamond]


def image(index):
    shape = SHAPES[index % len(SHAPES)]
    colour = COLOURS[index // len(SHAPES) % len(COLOURS)]
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if shape(x, y):
                edge = not (shape(x - 1, y) and shape(x + 1, y) and shape(x, y - 1) and shape(x, y + 1))
                row.append(BLACK if edge else colour)
            else:
                row.append(MASK)
        rows.append(row)
    return rows


def main(out):
    count = len(SHAPES) * len(COLOURS)
    images = [image(i) for i in range(count)]
    width = SIZE * count
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        line = bytearray()
        for picture in images:
            for (r, g, b) in picture[y]:
                line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(out, "wb") as f:
        f.write(file_header + header + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
