#!/usr/bin/env python3
"""Draws the command bars' customize cursors and writes them as a compiled resource file: make_cursors.py OUT.res.

Every program links the command bars' resources, and the linker (GNU ld 2.40) crashes when two objects of one
program both hold plain cursor images (RT_CURSOR), as a program with a cursor of its own would. So each cursor is
stored as a one-frame animated cursor (RT_ANICURSOR, a RIFF "ACON" holding a .cur image), which LoadCursor loads
by the same id. Images are 32 x 32, monochrome, hot spot at the arrow's tip (at the centre for the resize cursor).
"""
import struct
import sys

DRAG_COPY, DRAG_MOVE, DRAG_NODROP, CUSTOMIZE_RESIZE = 9105, 9106, 9107, 9972  # CommandBarsResourceIds.h
# The button-image editor's tools: line, rectangle and ellipse; colour picker; fill; pencil.
EDITOR_SHAPE, EDITOR_PICKER, EDITOR_FILL, EDITOR_PENCIL = 9110, 9111, 9112, 9113
LANGUAGE = 0x0409
RT_ANICURSOR = 21
SIZE = 32

# B black, W white, space transparent.
ARROW = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWBBBBB",
    "BWWBWWB",
    "BWB BWWB",
    "BB  BWWB",
    "B    BWWB",
    "     BWWB",
    "      BB",
]


def arrow():
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(ARROW):
        for x, c in enumerate(row):
            if c != " ":
                grid[y][x] = c
    return grid


def frame(grid, x0, y0, x1, y1):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            grid[y][x] = "B" if x in (x0, x1) or y in (y0, y1) else "W"


def copy_cursor():
    """The arrow with a plus sign in a box."""
    grid = arrow()
    frame(grid, 13, 17, 23, 27)
    for i in range(15, 22):
        grid[22][i] = "B"
        grid[i + 1][18] = "B"
    return grid


def move_cursor():
    """The arrow with a small raised button."""
    grid = arrow()
    frame(grid, 12, 18, 26, 27)
    for x in range(13, 26):
        grid[26][x] = "B"
    for y in range(19, 27):
        grid[y][25] = "B"
    return grid


def nodrop_cursor():
    """The arrow with a no-entry sign."""
    grid = arrow()
    cx, cy, r = 20, 22, 7
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if r - 2.2 <= d <= r + 0.5:
                grid[y][x] = "B"
            elif d < r - 2.2:
                grid[y][x] = "W"
    for i in range(-4, 5):
        grid[cy + i][cx + i] = "B"
        grid[cy + i][cx + i + 1] = "B"
    return grid


def resize_cursor():
    """A vertical bar with an arrow pointing out of each side: the width of what lies under it changes."""
    grid = [[" "] * SIZE for _ in range(SIZE)]
    cy = 15
    for y in range(cy - 7, cy + 8):
        for x in (14, 17):
            grid[y][x] = "B"
        for x in (15, 16):
            grid[y][x] = "W"
    for x in range(5, 27):
        if grid[cy][x] == " ":
            grid[cy][x] = "B"
    for i in range(1, 5):
        for x in (5 + i, 26 - i):
            grid[cy - i][x] = "B"
            grid[cy + i][x] = "B"
    return grid


def draw(rows, x0=0, y0=0):
    """A grid with the rows (B black, W white) drawn from (x0, y0)."""
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != " ":
                grid[y0 + y][x0 + x] = c
    return grid


def shape_cursor():
    """A thin cross whose centre is the hot spot, as painting programs draw shapes with."""
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for i in range(0, 15):
        if abs(i - 7) > 1:
            grid[i + 8][15] = "B"
            grid[15][i + 8] = "B"
    return grid


def picker_cursor():
    """A pipette, its tip at the bottom left."""
    return draw([
        "            BBB",
        "           BWWWB",
        "          BWWWWB",
        "        BBBWWWB",
        "        BWBBWB",
        "       BWWWBB",
        "      BWWWB B",
        "     BWWWB",
        "    BWWWB",
        "   BWWWB",
        "  BWWWB",
        " BWWWB",
        " BWWB",
        "BBB",
        "B",
    ])


def fill_cursor():
    """A tipped paint can with paint running out, the hot spot at the end of the drop."""
    return draw([
        "     BB",
        "    BWWB",
        "   BWBBWB",
        "  BWB  BWB",
        " BWWB  BWWB",
        "BWWWWBBWWWWB",
        "BBWWWWWWWWWWB",
        "BB BWWWWWWWB",
        "BB  BWWWWWB",
        "BB   BWWWB",
        "BB    BWB",
        "BB     B",
        "BB",
        " B",
    ])


def pencil_cursor():
    """A pencil, its point at the bottom left."""
    return draw([
        "          BBB",
        "         BWWWB",
        "        BWWWWB",
        "       BWWWWB",
        "      BWWWWB",
        "     BWWWWB",
        "    BWWWWB",
        "   BWWWWB",
        "  BBWWWB",
        " BWBBWB",
        " BWWBB",
        "BBBB",
        "BB",
    ])


def cursor_file(grid, hotspot=(0, 0)):
    """A .cur file of one 1-bit image: its DIB has doubled height (XOR mask, then AND mask)."""
    xor_mask = b""
    and_mask = b""
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        for x0 in range(0, SIZE, 8):
            xor_byte = and_byte = 0
            for x in range(x0, x0 + 8):
                c = grid[y][x]
                xor_byte = (xor_byte << 1) | (c == "W")
                and_byte = (and_byte << 1) | (c == " ")
            xor_mask += bytes([xor_byte])
            and_mask += bytes([and_byte])
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor_mask) + len(and_mask), 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, *hotspot, len(image), 22)
    return directory + image


def chunk(tag, data):
    return tag + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)


def animated_cursor(cur):
    """A RIFF "ACON" of one frame that stays (the frame is a whole .cur file)."""
    # Header size, frames, steps, width, height, bits, planes, rate (jiffies), flags (1: frames are icons).
    header = struct.pack("<9I", 36, 1, 1, 0, 0, 0, 0, 60, 1)
    frames = b"LIST" + struct.pack("<I", 4 + 8 + len(cur) + len(cur) % 2) + b"fram" + chunk(b"icon", cur)
    body = b"ACON" + chunk(b"anih", header) + frames
    return b"RIFF" + struct.pack("<I", len(body)) + body


def res_entry(type_id, name_id, data, memory_flags):
    header = struct.pack("<HHHH", 0xFFFF, type_id, 0xFFFF, name_id)
    header += struct.pack("<IHHII", 0, memory_flags, LANGUAGE, 0, 0)
    entry = struct.pack("<II", len(data), 8 + len(header)) + header + data
    return entry + b"\0" * (-len(entry) % 4)


def main():
    out = b"\0\0\0\0\x20\0\0\0\xff\xff\0\0\xff\xff\0\0" + b"\0" * 16  # the empty first entry of a .res file
    cursors = ((DRAG_COPY, copy_cursor(), (0, 0)), (DRAG_MOVE, move_cursor(), (0, 0)),
               (DRAG_NODROP, nodrop_cursor(), (0, 0)), (CUSTOMIZE_RESIZE, resize_cursor(), (15, 15)),
               (EDITOR_SHAPE, shape_cursor(), (15, 15)), (EDITOR_PICKER, picker_cursor(), (0, 14)),
               (EDITOR_FILL, fill_cursor(), (1, 13)), (EDITOR_PENCIL, pencil_cursor(), (0, 12)))
    for cursor_id, grid, hotspot in cursors:
        out += res_entry(RT_ANICURSOR, cursor_id, animated_cursor(cursor_file(grid, hotspot)), 0x1030)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
