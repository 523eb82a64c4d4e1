#!/usr/bin/env python3
"""Writes the images of the resource-manager tests: make_images.py OUTPUT_DIR.

The program's copies and the module's copies of each resource differ in a way a test can read back: the icons in
colour, the cursors in their hot spots, the bitmaps in size.
"""
import os
import struct
import sys


def dib_image(size, bgra):
    """A 32-bit icon or cursor image of one colour: header, bottom-up pixels, then an all-opaque AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytes(bgra) * (size * size)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_row * size)


def write_group(path, kind, images):
    """An .ico (kind 1) or .cur (kind 2) file; images are (size, bgra, hotspot)."""
    blobs = [dib_image(size, bgra) for size, bgra, _ in images]
    offset = 6 + 16 * len(images)
    out = struct.pack('<HHH', 0, kind, len(images))
    for (size, _, hotspot), blob in zip(images, blobs):
        # Icons keep planes and bit count in the last two words; cursors their hot spot.
        first, second = hotspot if kind == 2 else (1, 32)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, first, second, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def write_bmp(path, width, height, bgr):
    row = (bytes(bgr) * width).ljust(((width * 3 + 3) // 4) * 4, b'\0')
    pixels = row * height
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    red, green = (0, 0, 200, 255), (0, 160, 0, 255)
    write_group(os.path.join(out, 'program.ico'), 1, [(16, red, None), (32, red, None)])
    write_group(os.path.join(out, 'module.ico'), 1, [(16, green, None), (32, green, None), (48, green, None)])
    write_group(os.path.join(out, 'program.cur'), 2, [(32, (0, 0, 0, 255), (3, 5))])
    write_group(os.path.join(out, 'module.cur'), 2, [(32, (0, 0, 0, 255), (7, 9))])
    write_bmp(os.path.join(out, 'program.bmp'), 3, 2, (0, 0, 200))
    write_bmp(os.path.join(out, 'module.bmp'), 5, 4, (0, 160, 0))


if __name__ == '__main__':
    main()
