#!/usr/bin/env python3
"""Draws the button-image editor's tool-bar strips: make_image_editor_bitmaps.py OUT_DIR.

Writes ImageEditorTools.bmp (24-bit, transparent parts in the mask grey 192, 192, 192) and ImageEditorToolsAlpha.bmp
(32-bit with straight alpha, transparent parts alpha 0): sixteen 16 x 16 images side by side, the twelve tools and
commands in button order (pencil, fill, undo, redo, picker, line, copy, paste, rectangle, ellipse, clear, open), then
the four arrows (left, down, up, right). The files are kept in the tree; run this again after changing a picture.
"""
import os
import struct
import sys

COLORS = {
    "k": (0, 0, 0), "w": (255, 255, 255), "g": (128, 128, 128), "y": (255, 220, 64),
    "o": (200, 120, 40), "r": (200, 32, 32), "b": (40, 80, 200), "c": (120, 200, 255), "n": (0, 128, 0),
}
# The classic strip's mask: no picture may use this grey, or that part would vanish.
MASK = (192, 192, 192)

IMAGES = [
    [  # pencil
        "................", "...........kk...", "..........krrk..", ".........kyrrk..", "........kyyyk...",
        ".......kyyyk....", "......kyyyk.....", ".....kyyyk......", "....kyyyk.......", "...koyyk........",
        "...kooyk........", "..kwook.........", "..kwwk..........", "..kkk...........", "................",
        "................"],
    [  # fill
        "................", ".....kk.........", "....kwwk........", "...kwkkwk.......", "..kwk..kwk......",
        ".kwwkkkkwwk.....", "kwwwwwwwwwwk....", "bkwwwwwwwwk.....", "bbkwwwwwwk......", "bb.kwwwwk.......",
        "bb..kwwk........", "bb...kk.........", "bb..............", ".b..............", "................",
        "................"],
    [  # undo
        "................", "................", "....k...........", "...kk...........", "..kbkkkkkkk.....",
        ".kbbbbbbbbbk....", "..kbkkkkkkbbk...", "...kk.....kbk...", "....k......kbk..", "...........kbk..",
        "...........kbk..", "..........kbk...", "......kkkkbbk...", "......kbbbbk....", "......kkkkk.....",
        "................"],
    [  # redo
        "................", "................", "...........k....", "...........kk...", ".....kkkkkkkbk..",
        "....kbbbbbbbbbk.", "...kbbkkkkkkbk..", "...kbk.....kk...", "..kbk......k....", "..kbk...........",
        "..kbk...........", "...kbk..........", "...kbbkkkk......", "....kbbbbk......", ".....kkkkk......",
        "................"],
    [  # picker
        "................", "...........kkk..", "..........kgggk.", ".........kgggk..", ".......kkkggk...",
        ".......kwkkk....", "......kwwwk.....", ".....kwwwk......", "....kwwwk.......", "...kcwwk........",
        "..kcccwk........", "..kccck.........", ".kccck..........", ".kkk............", "k...............",
        "................"],
    [  # line
        "................", "................", "..............k.", ".............k..", "............k...",
        "...........k....", "..........k.....", ".........k......", "........k.......", ".......k........",
        "......k.........", ".....k..........", "....k...........", "...k............", "..k.............",
        "................"],
    [  # copy
        "................", "kkkkkkk.........", "kwwwwwkk........", "kwkkkwkwk.......", "kwwwwwkkkkkkk...",
        "kwkkkkwkwwwwkk..", "kwwwwwwkwkkwkwk.", "kwkkkkwkwwwwkkkk", "kwwwwwwkwkkkkwwk", "kkkkkkkkwwwwwwwk",
        ".......kwkkkkkwk", ".......kwwwwwwwk", ".......kwkkkkkwk", ".......kwwwwwwwk", ".......kkkkkkkkk",
        "................"],
    [  # paste
        "................", ".....kkkk.......", "kkkkkwwwwkkkk...", "koookkkkkkoook..", "kooooooooooook..",
        "koooookkkkkkkk..", "kooook.wwwwwkwk.", "kooook.kkkkkkwwk", "kooook.wwwwwwwwk", "kooook.kkkkkkkwk",
        "kooook.wwwwwwwwk", "kooook.kkkkkkkwk", ".kkkkk.wwwwwwwwk", "......kkkkkkkkkk", "................",
        "................"],
    [  # rectangle
        "................", "................", "................", ".kkkkkkkkkkkkkk.", ".k............k.",
        ".k............k.", ".k............k.", ".k............k.", ".k............k.", ".k............k.",
        ".k............k.", ".k............k.", ".kkkkkkkkkkkkkk.", "................", "................",
        "................"],
    [  # ellipse
        "................", "................", "................", ".....kkkkkk.....", "...kk......kk...",
        "..k..........k..", ".k............k.", ".k............k.", ".k............k.", ".k............k.",
        "..k..........k..", "...kk......kk...", ".....kkkkkk.....", "................", "................",
        "................"],
    [  # clear
        "................", "................", "..kk........kk..", "..krk......krk..", "...krk....krk...",
        "....krk..krk....", ".....krkkrk.....", "......krrk......", "......krrk......", ".....krkkrk.....",
        "....krk..krk....", "...krk....krk...", "..krk......krk..", "..kk........kk..", "................",
        "................"],
    [  # open
        "................", "................", "..kkkk..........", ".kyyyyk.........", "kyyyyyykkkkkk...",
        "kyyyyyyyyyyyk...", "kyyykkkkkkkkkkk.", "kyyk.ooooooooook", "kyykooooooooook.", "kykooooooooook..",
        "kykoooooooook...", "kkoooooooook....", "kkkkkkkkkkk.....", "................", "................",
        "................"],
    [  # left
        "................", "................", "................", "................", "......k.........",
        ".....kk.........", "....kbkkkkkkk...", "...kbbbbbbbbk...", "...kbbbbbbbbk...", "....kbkkkkkkk...",
        ".....kk.........", "......k.........", "................", "................", "................",
        "................"],
    [  # down
        "................", "................", "......kkkk......", "......kbbk......", "......kbbk......",
        "......kbbk......", "......kbbk......", "......kbbk......", "......kbbk......", "...kkkkbbkkkk...",
        "....kbbbbbbk....", ".....kbbbbk.....", "......kbbk......", ".......kk.......", "................",
        "................"],
    [  # up
        "................", "................", ".......kk.......", "......kbbk......", ".....kbbbbk.....",
        "....kbbbbbbk....", "...kkkkbbkkkk...", "......kbbk......", "......kbbk......", "......kbbk......",
        "......kbbk......", "......kbbk......", "......kbbk......", "......kkkk......", "................",
        "................"],
    [  # right
        "................", "................", "................", "................", ".........k......",
        ".........kk.....", "...kkkkkkkbk....", "...kbbbbbbbbk...", "...kbbbbbbbbk...", "...kkkkkkkbk....",
        ".........kk.....", ".........k......", "................", "................", "................",
        "................"],
]


def pixel(image, x, y):
    c = IMAGES[image][y][x]
    return None if c == "." else COLORS[c]


def bmp(bits):
    width, height = 16 * len(IMAGES), 16
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(width):
            p = pixel(x // 16, x % 16, y)
            if bits == 24:
                r, g, b = p if p else MASK
                row += bytes([b, g, r])
            else:
                r, g, b = p if p else (0, 0, 0)
                row += bytes([b, g, r, 255 if p else 0])
        row += b"\0" * (-len(row) % 4)
        rows.append(row)
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def main():
    for image in IMAGES:
        assert len(image) == 16 and all(len(row) == 16 for row in image), image
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(out, "ImageEditorTools.bmp"), "wb") as f:
        f.write(bmp(24))
    with open(os.path.join(out, "ImageEditorToolsAlpha.bmp"), "wb") as f:
        f.write(bmp(32))


if __name__ == "__main__":
    main()
