#!/usr/bin/env python3
"""Draws Osmira's icons and bitmaps: gen-art.py OUTPUT_DIR.

Everything is drawn here from simple shapes, so the art has no origin but this script.
Icons are written as 32-bit ICO images (with their AND masks), bitmaps as 24-bit BMP files.
"""
import math
import os
import struct
import sys


def disc(size):
    """A shiny optical disc: blue-violet rings around a clear hole."""
    pixels = []
    c = (size - 1) / 2.0
    outer, hole = size * 0.47, size * 0.12
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy)
            if r > outer or r < hole:
                row.append((0, 0, 0, 0))
                continue
            if r > outer - 1 or r < hole + 1:
                row.append((40, 40, 90, 255))  # rim
                continue
            angle = math.atan2(dy, dx)
            shine = 0.5 + 0.5 * math.cos(2 * angle - 0.8)
            t = (r - hole) / (outer - hole)
            red = int(90 + 120 * shine * (1 - t) + 30 * t)
            green = int(110 + 110 * shine)
            blue = int(200 + 55 * shine)
            row.append((min(red, 255), min(green, 255), min(blue, 255), 255))
        pixels.append(row)
    return pixels


def folder(size):
    """A yellow folder with a tab: the browse buttons' picture."""
    s = size / 16.0
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            inside_tab = 1 <= fx < 7 and 2 <= fy < 4
            inside_body = 1 <= fx < 15 and 4 <= fy < 14
            if not (inside_tab or inside_body):
                continue
            edge = fx < 2 or fx >= 14 or fy >= 13 or (inside_tab and fy < 3) or (inside_body and fy < 5 and fx >= 7)
            if edge:
                pixels[y][x] = (150, 110, 20, 255)
            else:
                shade = int(40 * (fy - 4) / 10) if inside_body else 0
                pixels[y][x] = (250 - shade, 210 - shade, 80 - shade // 2, 255)
    return pixels


def kit_banner(width=173, height=80):
    """The companion kit's picture: a disc beside a stack of installation packages."""
    pixels = [[(0, 0, 0, 0)] * width for _ in range(height)]
    d = disc(72)
    for y in range(72):
        for x in range(72):
            if d[y][x][3]:
                pixels[y + 4][x + 6] = d[y][x]
    boxes = [(90, 52, (70, 150, 90)), (100, 30, (220, 140, 50)), (90, 8, (80, 120, 200))]
    for left, top, (r, g, b) in boxes:
        for y in range(top, top + 20):
            for x in range(left, left + 70):
                edge = y in (top, top + 19) or x in (left, left + 69)
                shade = (y - top) * 3
                pixels[y][x] = (r // 2, g // 2, b // 2, 255) if edge else (min(r + 40 - shade, 255),
                                                                           min(g + 40 - shade, 255),
                                                                           min(b + 40 - shade, 255), 255)
    return pixels


def ico_image(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def write_ico(path, images):
    blobs = [ico_image(p) for p in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for pixels, blob in zip(images, blobs):
        size = len(pixels)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def write_bmp(path, pixels, background=(255, 255, 255)):
    height, width = len(pixels), len(pixels[0])
    row_bytes = (width * 3 + 3) & ~3
    data = b''
    for row in reversed(pixels):
        line = bytearray()
        for (r, g, b, a) in row:
            k = a / 255.0
            line += bytes((int(b * k + background[2] * (1 - k)), int(g * k + background[1] * (1 - k)),
                           int(r * k + background[0] * (1 - k))))
        data += bytes(line) + b'\0' * (row_bytes - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54) + info + data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, 'osmira.ico'), [disc(32), disc(16), disc(48)])
    write_ico(os.path.join(out, 'osmira-small.ico'), [disc(16)])
    write_ico(os.path.join(out, 'browse.ico'), [folder(16), folder(32)])
    # (250, 250, 250) is the colour the picture link leaves transparent.
    write_bmp(os.path.join(out, 'kit.bmp'), kit_banner(), background=(250, 250, 250))


if __name__ == '__main__':
    main()
