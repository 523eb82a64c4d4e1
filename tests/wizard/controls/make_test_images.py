#!/usr/bin/env python3
"""Draws the pictures the controls' tests load as resources: flat colours, so a test can tell by one pixel which
picture (or its grey twin) a control painted. Usage: make_test_images.py OUTPUT_DIR"""
import os
import struct
import sys


def bmp24(width, height, pixel_at):
    """A bottom-up 24-bit BMP file; pixel_at(x, y) gives (r, g, b) with y counted from the top."""
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel_at(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def ico32(width, height, rgb):
    """A one-image icon of 32-bit pixels, opaque everywhere."""
    r, g, b = rgb
    xor = bytes((b, g, r, 255)) * (width * height)
    and_stride = (width + 31) // 32 * 4
    mask = b"\0" * (and_stride * height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    transparent = (250, 250, 250)

    def link(colour):
        # The left 20 columns carry the picture link's transparent colour.
        return lambda x, y: transparent if x < 20 else colour

    files = {
        "link_normal.bmp": bmp24(173, 80, link((0, 0, 200))),
        "link_hover.bmp": bmp24(173, 80, link((0, 160, 0))),
        "button.bmp": bmp24(12, 10, lambda x, y: (200, 40, 40)),
        "moving.bmp": bmp24(40, 20, lambda x, y: (200, 120, 0)),
        "button.ico": ico32(20, 16, (30, 120, 220)),
        "button_alt.ico": ico32(20, 16, (0, 200, 0)),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
