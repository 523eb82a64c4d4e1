#!/usr/bin/env python3
"""Draws the resource layer tests' synthetic set: make_office2007_fixtures.py OUTPUT_DIR.

Images whose every part has a colour of its own (states, margin bands), a keyed one, alpha ones bottom-up and
top-down, a strip shorter than its states, one too wide to draw, and the theme texts: a well-formed one full of edge
cases, a malformed one, a pair laid out back to back, and one kept under an integer id (for the second module); and
the tab strips' images and colour text.
"""
import os
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)


def bmp(rows, depth, top_down=False):
    """rows: top row first, pixels (r, g, b) or (r, g, b, a)."""
    height, width = len(rows), len(rows[0])
    stride = (width * depth // 8 + 3) & ~3
    ordered = rows if top_down else list(reversed(rows))
    data = bytearray()
    for row in ordered:
        line = bytearray()
        for p in row:
            r, g, b = p[:3]
            a = p[3] if len(p) > 3 else 255
            line += bytes((b, g, r, a)) if depth == 32 else bytes((b, g, r))
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, depth, 0, len(data), 0, 0,
                         0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + header + bytes(data)


def png(rows):
    """An 8-bit RGBA PNG; rows top row first, pixels (r, g, b, a)."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def solid(width, height, color):
    return [[color] * width for _ in range(height)]


# Four states of 4 x 5 in red, green, blue and yellow.
STATE_COLORS = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 200, 0)]

# Ten by ten: columns 2 | 5 | 3, rows 2 | 5 | 3, each of the nine parts in its own colour.
BAND_COLORS = [[(10, 20, 30), (40, 50, 60), (70, 80, 90)],
               [(100, 110, 120), (130, 140, 150), (160, 170, 180)],
               [(190, 200, 210), (220, 230, 240), (250, 5, 15)]]


def bands():
    cols, rows = [2, 5, 3], [2, 5, 3]
    out = []
    for r, h in enumerate(rows):
        for _ in range(h):
            line = []
            for c, w in enumerate(cols):
                line += [BAND_COLORS[r][c]] * w
            out.append(line)
    return out


# The tab strips' theme: each state of each image a colour of its own with its two bottom rows (the tab's base) in a
# marker colour, so that a test sees which state was drawn and which way round; each key of "TEST_TABS" a colour of
# its own (a key n of the list is (100 + n, 10 + n, 20 + n)).
TAB_BASE_MARKER = (255, 0, 1)
TAB_IMAGES = [("ribbontab.bmp", 6), ("ribbongroups.bmp", 1), ("accesstab.bmp", 4), ("toolbarbuttons22.bmp", 4)]
# Wide enough for the access tab's margins (5 and 22 columns).
TAB_STATE_WIDTH, TAB_STATE_HEIGHT = 40, 24
TAB_KEYS = [("TabManager", ["FrameBorder", "DarkShadow", "LightShadow", "AccessBorder", "AccessHeader"]),
            ("Ribbon", ["RibbonFace", "TabNormalText", "TabSelectedText"]),
            ("Window", ["ButtonFace", "HighlightChecked", "HighlightSelected", "WindowFrame"])]


def tab_state_color(image, state):
    return (30 + 50 * image, 20 + 35 * state, 220 - 30 * state)


def tab_image(image, states):
    rows = []
    for state in range(states):
        rows += solid(TAB_STATE_WIDTH, TAB_STATE_HEIGHT - 2, tab_state_color(image, state))
        rows += solid(TAB_STATE_WIDTH, 2, TAB_BASE_MARKER)
    return bmp(rows, 24)


def tabs_ini():
    lines, n = [], 0
    for section, keys in TAB_KEYS:
        lines.append("[%s]" % section)
        for key in keys:
            n += 1
            lines.append("%s = %d %d %d" % (key, 100 + n, 10 + n, 20 + n))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "states.bmp": bmp([row for color in STATE_COLORS for row in solid(4, 5, color)], 24),
        "bands.bmp": bmp(bands(), 24),
        # Four wide: 8 rows of red, 4 of green, 8 of blue, for margins that do not fit small destinations.
        # Rows top to bottom: opaque red, green at half alpha (straight, as PNG keeps it), clear blue.
        "alpha.png": png([[(255, 0, 0, 255)] * 4, [(0, 200, 0, 128)] * 4, [(0, 0, 255, 0)] * 4]),
        "tall.bmp": bmp(solid(4, 8, (200, 0, 0)) + solid(4, 4, (0, 200, 0)) + solid(4, 8, (0, 0, 200)), 24),
        # Magenta around a 2 x 2 blue centre.
        "keyed.bmp": bmp([[(0, 0, 255) if 2 <= x < 4 and 2 <= y < 4 else MAGENTA for x in range(6)]
                          for y in range(6)], 24),
        # Left half opaque red, right half fully transparent green.
        "alpha.bmp": bmp([[(255, 0, 0, 255)] * 2 + [(0, 255, 0, 0)] * 2 for _ in range(4)], 32),
        # Rows top to bottom: red, green, blue; a column of white at the right of the top row tells left from right.
        "topdown32.bmp": bmp([[(255, 0, 0, 255)] * 3 + [(255, 255, 255, 255)]] + solid(4, 1, (0, 255, 0, 255)) +
                             solid(4, 1, (0, 0, 255, 255)), 32, top_down=True),
        "topdown24.bmp": bmp([[(255, 0, 0)] * 3 + [(255, 255, 255)]] + solid(4, 1, (0, 255, 0)) +
                             solid(4, 1, (0, 0, 255)), 24, top_down=True),
        # Three rows, drawn by callers as a strip of five states.
        "short.bmp": bmp(solid(4, 3, (0, 128, 128)), 24),
        "wide.bmp": bmp(solid(513, 10, (90, 90, 90)), 24),
        # Two glyphs of 9 x 9, for callers that count up to sixteen.
        "glyphs.bmp": bmp(solid(9, 9, (1, 2, 3)) + solid(9, 9, (4, 5, 6)), 24),
    }
    colors = (
        "; a comment at the start\r\n"
        "[Spaced] \r\n"
        "Inside = 1 1 1\r\n"
        "[Colors]\r\n"
        "Plain=12 34 56\r\n"
        "   Spaced   =   12 34 56   \r\n"
        "Empty =\r\n"
        "Single = 12\r\n"
        "Hex = 0x10 0 0\r\n"
        "Octal = 010 0 0\r\n"
        "=7 7 7\r\n"
        "Cut = 1 2 3 ; the rest is a comment\r\n"
        "; Commented = 8 8 8\r\n"
        "  ; Indented = 8 8 8\r\n"
        "no equals sign here\r\n"
        "Lower = 200 100 50\n"  # a lone LF ends no line: the next key belongs to this line
        "Joined = 1 1 1\r\n"
        "\r\n"
        "[Images]\r\n"
        "MAPPED = STATES.SOLID\r\n"
        "[Second]\r\n"
        "Key = 4 4 4\r\n"
        "[Colors]\r\n"
        "Later = 9 9 9\r\n"
        "[\r\n"
        "Bracket = 5 5 5\r\n"
        "[Last]\r\n"
        "NoReturn = 6 6 6"
    )
    files["colors.ini"] = colors.encode("ascii")
    files["malformed.ini"] = (b"[\r\n=\r\n[]\r\n]\r\n\x00\x01\x02\r\n[Colors\r\nKey\r\n;=1 2 3\r\n" +
                              b"[Colors]\r\nBad = x y z\r\nNeg = -1 -2 -3\r\nBig = 300 256 999\r\n\r\r\n\n")
    # Back to back in the module: the first ends in a key line without a return, exactly eight bytes long in all so
    # that no padding separates it from the second, which starts with a return.
    tail_a = b"[T]\r\nKey = 1 2 3"
    assert len(tail_a) % 8 == 0, len(tail_a)
    files["tail_a.ini"] = tail_a
    files["tail_b.ini"] = b"\r\n[T]\r\nKey = 4 5 6\r\n"
    files["id.ini"] = b"[Colors]\r\nId = 7 7 7\r\n"
    files["tabs.ini"] = tabs_ini()
    for image, (name, states) in enumerate(TAB_IMAGES):
        files[name] = tab_image(image, states)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
