#!/usr/bin/env python3
"""Writes the resource files of the image-loader tests: make_image_fixtures.py OUTPUT_DIR.

32-bit bitmaps in every header form the loaders meet (a V5 header with its own masks, a 40-byte header followed by
masks, plain BI_RGB), damaged ones (a negative height, pixels cut short), a 24-bit bitmap, an alpha strip, an icon
with a 24-bit and a 32-bit image, a cut RT_ICON image and two PNG files, one of them 9 bytes long.
"""
import os
import struct
import sys
import zlib

# The 4 x 2 test image, top row first, as (R, G, B, A).
TOP_ROW = [(10, 20, 30, 40), (50, 60, 70, 80), (90, 100, 110, 120), (130, 140, 150, 160)]
BOTTOM_ROW = [(1, 2, 3, 255)] * 4


def bmp_file(info, pixels):
    """A bitmap file: the 14-byte file header, then the info block and the pixels."""
    offset = 14 + len(info)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + pixels


def info_header(width, height, bits, compression=0, size=40):
    return struct.pack('<IiiHHIIiiII', size, width, height, 1, bits, compression, 0, 0, 0, 0, 0)


def packed(rows, pack):
    """Bottom-up 32-bit pixels: the rows given top first, each pixel packed into a DWORD."""
    return b''.join(struct.pack('<I', pack(*p)) for row in reversed(rows) for p in row)


def v5_bitmap():
    # Masks in an order of their own: alpha in the low byte, blue in the high one.
    masks = (0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF)
    header = info_header(4, 2, 32, 3, 124) + struct.pack('<IIII', *masks)
    header += struct.pack('<I', 0x73524742) + bytes(36) + struct.pack('<IIIIIII', 0, 0, 0, 4, 0, 0, 0)
    assert len(header) == 124
    return bmp_file(header, packed([TOP_ROW, BOTTOM_ROW], lambda r, g, b, a: r << 8 | g << 16 | b << 24 | a))


def bitfields_bitmap():
    # A 40-byte header and three masks after it, red in the low byte; alpha takes the byte they leave.
    header = info_header(4, 2, 32, 3) + struct.pack('<III', 0x000000FF, 0x0000FF00, 0x00FF0000)
    return bmp_file(header, packed([TOP_ROW, BOTTOM_ROW], lambda r, g, b, a: r | g << 8 | b << 16 | a << 24))


def bgra(r, g, b, a):
    return b | g << 8 | r << 16 | a << 24


def negative_height_bitmap():
    return bmp_file(info_header(4, -2, 32), packed([BOTTOM_ROW, TOP_ROW], bgra))


def short_bitmap():
    # The header promises 16 x 16 pixels (1024 bytes); 100 follow.
    return bmp_file(info_header(16, 16, 32), bytes(range(100)))


def plain_bitmap():
    row = bytes([255, 128, 0]) * 8  # B, G, R: 8 x 3 bytes, already a multiple of 4
    return bmp_file(info_header(8, 8, 24), row * 8)


def alpha_strip():
    # Three 16 x 16 slices: red, green and blue, alpha 255, 200 and 100.
    colors = [(255, 0, 0, 255), (0, 255, 0, 200), (0, 0, 255, 100)]
    row = [c for c in colors for _ in range(16)]
    return bmp_file(info_header(48, 16, 32), packed([row] * 16, bgra))


def icon_image(size, bits, pixel_bytes):
    mask_row = ((size + 31) // 32) * 4
    return info_header(size, size * 2, bits) + pixel_bytes + bytes(mask_row * size)


def icon_file():
    """A 16 x 16 24-bit image (dark cyan) and a 32 x 32 32-bit one (orange, half transparent in its first row)."""
    classic = icon_image(16, 24, bytes([128, 128, 0]) * (16 * 16))
    alpha_rows = [[(255, 128, 0, 255)] * 32 for _ in range(32)]
    alpha_rows[0] = [(255, 128, 0, 128)] * 32
    alpha = icon_image(32, 32, packed(alpha_rows, bgra))
    images = [(16, 24, classic), (32, 32, alpha)]
    offset = 6 + 16 * len(images)
    out = struct.pack('<HHH', 0, 1, len(images))
    for size, bits, blob in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blob for _, _, blob in images)


def short_icon_image():
    # A 16 x 16 32-bit icon image whose pixels stop after 200 bytes.
    return info_header(16, 32, 32) + bytes(200)


def png(width, height, rgba_rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\x00' + bytes(v for p in row for v in p) for row in rgba_rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'alpha_v5.bmp': v5_bitmap(),
        'alpha_bitfields.bmp': bitfields_bitmap(),
        'alpha_negative.bmp': negative_height_bitmap(),
        'alpha_short.bmp': short_bitmap(),
        'plain24.bmp': plain_bitmap(),
        'alpha_strip.bmp': alpha_strip(),
        'two_images.ico': icon_file(),
        'short_icon.bin': short_icon_image(),
        'image.png': png(2, 2, [[(255, 0, 0, 255), (0, 255, 0, 128)], [(0, 0, 255, 0), (9, 8, 7, 255)]]),
        'tiny.png': b'\x89PNG\r\n\x1a\n\x00',
    }
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
