#!/usr/bin/env python3
"""Draws the Office 2007 look's resources: gen-theme.py OUTPUT_DIR.

Writes into OUTPUT_DIR:
  office2007blue.ini   the colour text, resource "OFFICE2007BLUE_INI" of type "TEXTFILE"
  <NAME>.bmp           every named image, a vertical strip of equal states
  office2007.rc        the resource lines naming them
  office2007.json      the manifest the resources' lint reads: each image's states, margins and depth, each
                       section's keys
  office2007-names.txt the same names as lines "IMAGE name states" and "KEY section key", for the tests that read
                       the resources through the framework

Everything is drawn here from flat fills, one-pixel frames, gradients and simple glyphs, so the pictures have no
origin but this script. Images drawn with magenta (255, 0, 255) as their transparent colour use it for what must
not show; images drawn without one never contain it. Looks that arrive later add their keys and images to the
tables below.
"""
import json
import os
import struct
import sys

MAGENTA = (255, 0, 255)

# ---- Colours ---------------------------------------------------------------------------------------------------------
# Each section's keys in the order the looks read them, as (r, g, b).
SECTIONS = [
    ("Images", []),
    ("StatusBar", [
        ("StatusBarText", (21, 66, 139)),
        ("StatusBarShadow", (86, 125, 176)),
        ("StatusBarFaceTopLight", (221, 236, 254)),
        ("StatusBarFaceTopDark", (199, 223, 252)),
        ("StatusBarFaceBottomLight", (179, 212, 252)),
        ("StatusBarFaceBottomDark", (162, 199, 246)),
    ]),
    ("Toolbar", [
        ("DockBarFace", (191, 219, 255)),
        ("ToolbarFaceLight", (227, 239, 255)),
        ("ToolbarFaceDark", (173, 209, 255)),
        ("ToolbarFaceShadow", (86, 125, 176)),
        ("ControlToolbarExpandLight", (183, 208, 240)),
        ("ControlToolbarExpandDark", (114, 155, 215)),
        ("ControlHighlightPopupedLight", (230, 238, 250)),
        ("ControlHighlightPopupedDark", (190, 212, 245)),
        ("MenuPopupGripperLight", (233, 238, 238)),
        ("MenuPopupGripperDark", (233, 238, 238)),
        ("MenuPopupExpandedGripperLight", (211, 223, 240)),
        ("MenuPopupExpandedGripperDark", (196, 212, 235)),
        ("MenuPopupTearOffGripper", (197, 197, 197)),
        ("MenuBarText", (21, 66, 139)),
        ("MenuPopupBorder", (134, 134, 134)),
        ("ToolbarGripper", (39, 65, 118)),
        ("FloatingBarGripper", (101, 147, 207)),
        ("FloatingBarGripperText", (255, 255, 255)),
        ("FloatingBarBorder", (101, 147, 207)),
        ("ToolbarFace", (216, 231, 252)),
        ("ToolbarSeparator", (154, 198, 255)),
        ("ControlDisabledIcon", (141, 141, 141)),
        ("ControlLabel", (221, 231, 238)),
        ("ControlEditBorder", (171, 193, 222)),
        ("ControlDisabledIconLight", (250, 250, 250)),
        ("ControlDisabledIconDark", (173, 173, 173)),
        ("ControlGallerySelected", (255, 255, 255)),
        ("ControlGalleryNormal", (234, 242, 251)),
        ("ControlGalleryBorder", (134, 163, 204)),
    ]),
    ("Window", [
        ("WindowFrame", (59, 90, 130)),
        ("ButtonFace", (191, 219, 255)),
        ("HighlightSelected", (255, 231, 162)),
        ("HighlightSelectedBorder", (255, 189, 105)),
        ("HighlightPressed", (251, 140, 60)),
        ("HighlightPressedBorder", (251, 140, 60)),
        ("HighlightChecked", (255, 171, 63)),
        ("HighlightCheckedBorder", (251, 140, 60)),
        ("HighlightSelectedLight", (255, 245, 204)),
        ("HighlightSelectedDark", (255, 219, 117)),
        ("HighlightCheckedLight", (255, 217, 170)),
        ("HighlightCheckedDark", (255, 187, 110)),
        ("HighlightPressedLight", (252, 151, 61)),
        ("HighlightPressedDark", (255, 184, 94)),
        ("TooltipLight", (255, 255, 255)),
        ("TooltipDark", (201, 217, 239)),
        ("TooltipBorder", (118, 118, 118)),
    ]),
    ("Workspace", [
        ("AppWorkspace", (101, 147, 207)),
        ("WorkspaceClientTop", (91, 137, 197)),
        ("WorkspaceClientMiddle", (101, 147, 207)),
        ("WorkspaceClientBottom", (144, 180, 227)),
    ]),
    ("Ribbon", [
        ("RibbonFace", (191, 219, 255)),
        ("TabNormalText", (21, 66, 139)),
        ("TabSelectedText", (21, 66, 139)),
        # The Ribbon look's own colours (RIBBON_LOOK_KEYS).
        ("GroupClientText", (21, 66, 139)),
        ("ControlEditNormal", (255, 255, 255)),
        ("MenuPopupText", (0, 0, 0)),
        ("MenuPopupGripper", (233, 238, 238)),
        ("MenuPopupExpandedGripperLight", (233, 238, 238)),
        ("MenuPopupExpandedGripperDark", (233, 238, 238)),
        ("ControlHighlightText", (0, 0, 0)),
        ("RibbonText", (21, 66, 139)),
        ("RibbonGrayText", (141, 141, 141)),
        ("RecentFileListBackground", (233, 234, 238)),
        ("RecentFileListEdgeShadow", (197, 197, 197)),
        ("RecentFileListEdgeHighLight", (245, 245, 245)),
    ]),
    ("TabManager", [
        ("FrameBorder", (141, 178, 227)),
        ("DarkShadow", (101, 147, 207)),
        ("LightShadow", (173, 209, 255)),
        ("AccessBorder", (101, 147, 207)),
        ("AccessHeader", (227, 239, 255)),
    ]),
    ("MessageBar", [
        ("MessageBarLight", (255, 254, 227)),
        ("MessageBarDark", (255, 242, 179)),
        ("MessageBarFrame", (204, 194, 140)),
        ("MessageBarText", (0, 0, 0)),
        ("MessageBar", (191, 219, 255)),
    ]),
]


# The keys the Ribbon look reads from "Ribbon", listed after the section's older keys (test fixtures number them last).
RIBBON_LOOK_KEYS = ["GroupClientText", "ControlEditNormal", "MenuPopupText", "MenuPopupGripper",
                    "MenuPopupExpandedGripperLight", "MenuPopupExpandedGripperDark", "ControlHighlightText",
                    "RibbonText", "RibbonGrayText"]


def ini_text():
    """The colour text: every line ends in CR LF, colours are plain decimal numbers."""
    lines = ["; Office 2007 look, blue: drawn by tools/gen-theme.py"]
    for section, keys in SECTIONS:
        lines.append("")
        lines.append("[%s]" % section)
        for key, (r, g, b) in keys:
            lines.append("%s = %d %d %d" % (key, r, g, b))
    return "".join(line + "\r\n" for line in lines).encode("ascii")


# ---- Pictures --------------------------------------------------------------------------------------------------------
class Canvas:
    """Rows of (r, g, b, a) tuples, top row first."""

    def __init__(self, width, height, fill=(0, 0, 0, 255)):
        self.width, self.height = width, height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = color if len(color) == 4 else tuple(color) + (255,)

    def fill(self, x0, y0, x1, y1, color):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, color)

    def frame(self, x0, y0, x1, y1, color):
        self.fill(x0, y0, x1, y0 + 1, color)
        self.fill(x0, y1 - 1, x1, y1, color)
        self.fill(x0, y0, x0 + 1, y1, color)
        self.fill(x1 - 1, y0, x1, y1, color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        span = max(y1 - y0 - 1, 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            self.fill(x0, y, x1, y + 1, tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))

    def hgradient(self, x0, y0, x1, y1, left, right):
        span = max(x1 - x0 - 1, 1)
        for x in range(x0, x1):
            t = (x - x0) / span
            self.fill(x, y0, x + 1, y1, tuple(round(a + (b - a) * t) for a, b in zip(left, right)))


def bmp_bytes(canvas, depth):
    """A bottom-up BI_RGB bitmap file of 24 or 32 bits (32-bit keeps each pixel's alpha)."""
    stride = (canvas.width * depth // 8 + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if depth == 32 else bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, depth, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + bytes(pixels)


def strip(width, state_height, states, draw, back=MAGENTA):
    """A vertical strip: draw(canvas, state, top) paints state `state` whose top row is `top`."""
    canvas = Canvas(width, state_height * states, back + (255,))
    for state in range(states):
        draw(canvas, state, state * state_height)
    return canvas


# State faces of buttons and arrows: rest, another part active, hot, pressed, disabled.
FACES = [
    ((234, 242, 251), (196, 215, 239), (134, 163, 204)),
    ((244, 248, 253), (214, 228, 245), (150, 178, 214)),
    ((255, 245, 204), (255, 219, 117), (255, 189, 105)),
    ((252, 151, 61), (255, 184, 94), (251, 140, 60)),
    ((240, 240, 240), (226, 226, 226), (177, 177, 177)),
]
GLYPH = [(39, 65, 118), (21, 66, 139), (0, 0, 0), (0, 0, 0), (160, 160, 160)]


def triangle(canvas, cx, top, size, color, down=False):
    """A filled triangle pointing up (or down), `size` rows high, centred on column cx."""
    for i in range(size):
        half = i if not down else size - 1 - i
        canvas.fill(cx - half, top + i, cx + half + 1, top + i + 1, color)


def button(width, height, glyph):
    def draw(c, state, top):
        light, dark, border = FACES[state]
        c.vgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        c.frame(0, top, width, top + height, border)
        # Corners stay transparent: the button is rounded by one pixel.
        for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            c.put(x, top + y, MAGENTA)
        glyph(c, state, top)
    return draw


def caption_close(c, state, top):
    size = 17
    if state in (1, 2, 3):
        light, dark, border = FACES[state]
        c.vgradient(1, top + 1, size - 1, top + size - 1, light, dark)
        c.frame(0, top, size, top + size, border)
    color = GLYPH[state]
    for i in range(7):
        c.fill(5 + i, top + 5 + i, 7 + i, top + 6 + i, color)
        c.fill(10 - i, top + 5 + i, 12 - i, top + 6 + i, color)


def gallery_glyphs():
    """16 glyphs of 9 x 9: for each of up, down, left and right: rest, active, pressed, disabled."""
    colors = [GLYPH[0], GLYPH[2], GLYPH[3], GLYPH[4]]
    c = Canvas(9, 144, MAGENTA + (255,))
    for direction in range(4):
        for state in range(4):
            top = (direction * 4 + state) * 9
            color = colors[state]
            for i in range(3):
                half = i if direction in (0, 2) else 2 - i
                if direction < 2:
                    c.fill(4 - half, top + 3 + i, 5 + half, top + 4 + i, color)
                else:
                    c.fill(3 + i, top + 4 - half, 4 + i, top + 5 + half, color)
    return c


def scroll_background(vertical, dark):
    """Two states: the track at rest and a pressed page area; its outer lines are the one-pixel margins."""
    base = (214, 228, 245) if not dark else (180, 200, 228)
    pressed = (174, 198, 231) if not dark else (140, 168, 206)
    edge = (171, 193, 222)
    w, h = (17, 16) if vertical else (16, 17)

    def draw(c, state, top):
        c.fill(0, top, w, top + h, pressed if state else base)
        if vertical:
            c.fill(0, top, 1, top + h, edge)
            c.fill(w - 1, top, w, top + h, edge)
        else:
            c.fill(0, top, w, top + 1, edge)
            c.fill(0, top + h - 1, w, top + h, edge)
    return strip(w, h, 2, draw, back=base)


def scroll_arrows(vertical, dark):
    """Four states of an arrow's background: rest (not drawn), another part active, hot, pressed."""
    w, h = (15, 17) if vertical else (17, 15)
    shift = 12 if dark else 0

    def draw(c, state, top):
        light, deep, border = FACES[state]
        deep = tuple(max(v - shift, 0) for v in deep)
        if vertical:
            c.vgradient(1, top + 1, w - 1, top + h - 1, light, deep)
        else:
            c.hgradient(1, top + 1, w - 1, top + h - 1, light, deep)
        c.frame(0, top, w, top + h, border)
    return strip(w, h, 4, draw, back=(214, 228, 245))


THUMB = [((228, 238, 250), (190, 211, 240), (134, 163, 204)),
         ((255, 245, 204), (255, 219, 117), (255, 189, 105)),
         ((252, 151, 61), (255, 184, 94), (251, 140, 60))]


def scroll_thumb(vertical):
    w, h = (15, 16) if vertical else (16, 15)

    def draw(c, state, top):
        light, deep, border = THUMB[state]
        if vertical:
            c.hgradient(1, top + 1, w - 1, top + h - 1, light, deep)
        else:
            c.vgradient(1, top + 1, w - 1, top + h - 1, light, deep)
        c.frame(0, top, w, top + h, border)
    return strip(w, h, 3, draw, back=THUMB[0][0])


def scroll_gripper(vertical):
    """Four grip lines on the thumb's middle colour, 8 x 8 a state."""
    def draw(c, state, top):
        light, deep, border = THUMB[state]
        middle = tuple((a + b) // 2 for a, b in zip(light, deep))
        c.fill(0, top, 8, top + 8, middle)
        for i in range(4):
            if vertical:
                c.fill(1, top + 1 + 2 * i, 7, top + 2 + 2 * i, border)
            else:
                c.fill(1 + 2 * i, top + 1, 2 + 2 * i, top + 7, border)
    return strip(8, 8, 3, draw, back=THUMB[0][0])


def slider_track():
    c = Canvas(20, 5)
    c.fill(0, 0, 20, 5, (219, 232, 249))
    c.fill(0, 1, 20, 2, (117, 148, 189))
    c.fill(0, 2, 20, 3, (255, 255, 255))
    return c


def slider_tick():
    c = Canvas(3, 7, MAGENTA + (255,))
    c.fill(1, 0, 2, 7, (117, 148, 189))
    return c


def slider_button(plus):
    def draw(c, state, top):
        light, deep, border = FACES[state]
        c.vgradient(1, top + 1, 12, top + 12, light, deep)
        c.frame(0, top, 13, top + 13, border)
        c.fill(3, top + 6, 10, top + 7, GLYPH[0])
        if plus:
            c.fill(6, top + 3, 7, top + 10, GLYPH[0])
    return strip(13, 13, 3, draw, back=FACES[0][0])


def slider_thumb():
    def draw(c, state, top):
        light, deep, border = THUMB[state]
        c.vgradient(1, top + 1, 10, top + 14, light, deep)
        c.frame(0, top, 11, top + 15, border)
        c.fill(3, top + 7, 8, top + 8, border)
    return strip(11, 15, 3, draw, back=THUMB[0][0])


def progress_track():
    c = Canvas(10, 12, MAGENTA + (255,))
    c.vgradient(1, 1, 9, 11, (233, 241, 251), (210, 225, 245))
    c.frame(0, 0, 10, 12, (134, 163, 204))
    for x, y in ((0, 0), (9, 0), (0, 11), (9, 11)):
        c.put(x, y, MAGENTA)
    return c


def progress_chunk():
    """Ten columns of chunk, then the four columns of its glow."""
    c = Canvas(14, 8, MAGENTA + (255,))
    c.vgradient(0, 0, 10, 8, (140, 218, 110), (60, 160, 40))
    c.fill(0, 0, 10, 1, (40, 130, 30))
    c.fill(0, 7, 10, 8, (40, 130, 30))
    for i, level in enumerate((200, 160, 120, 80)):
        c.fill(10 + i, 2, 11 + i, 6, (level, 230, level))
    return c


def tooltip_frame():
    """A frame over the tip's own gradient: its inside is transparent."""
    c = Canvas(12, 12, MAGENTA + (255,))
    c.frame(0, 0, 12, 12, (118, 118, 118))
    c.frame(1, 1, 11, 11, (255, 255, 255))
    for x, y in ((0, 0), (11, 0), (0, 11), (11, 11)):
        c.put(x, y, MAGENTA)
    return c


def workspace_top_left():
    """The workspace's top: a soft band that fades into the top colour; its last column stretches."""
    c = Canvas(64, 24)
    c.vgradient(0, 0, 64, 24, (70, 110, 170), (91, 137, 197))
    c.hgradient(0, 0, 40, 3, (120, 160, 215), (91, 137, 197))
    c.fill(40, 0, 64, 3, (91, 137, 197))
    return c


def arrow_button(direction):
    def glyph(c, state, top):
        color = GLYPH[state]
        if direction == "up":
            triangle(c, 7, top + 8, 4, color)
        elif direction == "down":
            triangle(c, 7, top + 7, 4, color, down=True)
        else:
            c.fill(4, top + 6, 11, top + 7, color)
            triangle(c, 7, top + 9, 4, color, down=True)
    return glyph

# ---- Frames and the ribbon -------------------------------------------------------------------------------------------
# The frame's border and caption colours join section "Window", the ribbon's own join section "Ribbon".
dict(SECTIONS)["Window"].extend([
    ("BorderActive0", (59, 90, 130)),
    ("BorderActive1", (173, 202, 236)),
    ("BorderActive2", (192, 216, 244)),
    ("BorderActive3", (191, 219, 255)),
    ("BorderInactive0", (138, 154, 178)),
    ("BorderInactive1", (219, 228, 240)),
    ("BorderInactive2", (227, 235, 245)),
    ("BorderInactive3", (215, 226, 240)),
    ("CaptionTextActiveTitle", (62, 106, 170)),
    ("CaptionTextInActive", (106, 128, 160)),
    ("CaptionTextActive", (21, 66, 139)),
])
dict(SECTIONS)["Ribbon"].extend([
    ("GroupCaptionText", (62, 106, 170)),
    ("MinimizedFrameEdgeHighLight", (239, 245, 252)),
    ("MinimizedFrameEdgeShadow", (141, 178, 227)),
])

# The seven context colours as the context tabs, their groups area and headers show them.
CONTEXT_COLORS = [
    ("BLUE", (130, 172, 231)), ("YELLOW", (250, 219, 99)), ("GREEN", (149, 206, 121)), ("RED", (238, 129, 126)),
    ("PURPLE", (187, 151, 219)), ("CYAN", (118, 204, 217)), ("ORANGE", (250, 169, 99)),
]


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def panel(width, height, states, faces, rounded=True):
    """A strip of framed gradient panels, one face (light, dark, border) per state; corners keyed out."""
    def draw(c, state, top):
        light, dark, border = faces[state % len(faces)]
        c.vgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        c.frame(0, top, width, top + height, border)
        if rounded:
            for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
                c.put(x, top + y, MAGENTA)
    return strip(width, height, states, draw)


def flat(width, height, states, faces):
    """The same panels without keyed corners (drawn without a transparent colour)."""
    return panel(width, height, states, faces, rounded=False)


def frame_piece(width, active_top, inactive_top, bottom):
    """A caption piece, active and inactive: a gradient to the border colour, the outer line dark."""
    def draw(c, state, top):
        c.vgradient(0, top, width, top + 30, active_top if state == 0 else inactive_top, bottom)
        c.fill(0, top, width, top + 1, (59, 90, 130) if state == 0 else (138, 154, 178))
    return strip(width, 30, 2, draw)


def frame_corner(right):
    def draw(c, state, top):
        border = (59, 90, 130) if state == 0 else (138, 154, 178)
        c.fill(0, top, 8, top + 8, (191, 219, 255) if state == 0 else (215, 226, 240))
        c.fill(0, top + 7, 8, top + 8, border)
        c.fill(7 if right else 0, top, 8 if right else 1, top + 8, border)
        for x, y in (((7, 7), (6, 7), (7, 6)) if right else ((0, 7), (1, 7), (0, 6))):
            c.put(x, top + y, MAGENTA)
    return strip(8, 8, 2, draw)


def caption_glyph(kind, size):
    """Close, minimize, maximize or restore at 13, 17 or 23 pixels, five states (the last inactive)."""
    def draw(c, state, top):
        color = GLYPH[state] if state < 3 else (160, 160, 160)
        m = size // 4
        x0, y0, x1, y1 = m, top + m, size - m, top + size - m
        if kind == "CLOSE":
            for i in range(x1 - x0):
                c.fill(x0 + i, y0 + i, x0 + i + 2, y0 + i + 1, color)
                c.fill(x1 - i - 2, y0 + i, x1 - i, y0 + i + 1, color)
        elif kind == "MINIMIZE":
            c.fill(x0, y1 - 2, x1, y1, color)
        elif kind == "MAXIMIZE":
            c.frame(x0, y0, x1, y1, color)
            c.fill(x0, y0, x1, y0 + 2, color)
        else:
            c.frame(x0 + 2, y0, x1, y1 - 2, color)
            c.frame(x0, y0 + 2, x1 - 2, y1, color)
            c.fill(x0, y0 + 2, x1 - 2, y0 + 4, color)
    return strip(size, size, 5, draw)


def system_button(size):
    """The application button: a round orb, rest, hot and open."""
    orbs = [((255, 255, 255), (130, 172, 231)), ((255, 250, 220), (255, 200, 90)), ((255, 220, 180), (250, 150, 60))]
    def draw(c, state, top):
        light, dark = orbs[state]
        r = size / 2 - 1
        for y in range(size):
            for x in range(size):
                d = ((x - size / 2 + 0.5) ** 2 + (y - size / 2 + 0.5) ** 2) ** 0.5
                if d <= r:
                    c.put(x, top + y, mix(light, dark, y / size) if d < r - 1 else (86, 125, 176))
    return strip(size, size, 3, draw, back=(191, 219, 255))


def scroll_glyph(left):
    def draw(c, state, top):
        color = GLYPH[state]
        for i in range(4):
            x = 2 + i if left else 5 - i
            c.fill(x, top + 4 - i, x + 1, top + 5 + i, color)
    return strip(8, 9, 3, draw)


def frame_and_ribbon_images():
    """The frame's and the ribbon's pictures ("RIBBONTAB" and "RIBBONGROUPS" come with the tabs' above)."""
    active, inactive, border = (227, 239, 255), (235, 240, 247), (191, 219, 255)
    table = [
        ("FRAMETOPLEFT", frame_piece(12, active, inactive, border), 2, (0, 5, 0, 3), 24, True),
        ("FRAMETOPRIGHT", frame_piece(12, active, inactive, border), 2, (0, 5, 0, 3), 24, True),
        ("FRAMETOPCENTER", frame_piece(16, active, inactive, border), 2, (0, 5, 0, 3), 24, False),
        ("FRAMEBOTTOMLEFT", frame_corner(False), 2, (0, 0, 0, 0), 24, True),
        ("FRAMEBOTTOMRIGHT", frame_corner(True), 2, (0, 0, 0, 0), 24, True),
        ("STATUSBARLIGHT", flat(8, 22, 1, [((221, 236, 254), (179, 212, 252), (86, 125, 176))]), 1, (0, 0, 0, 0),
         24, False),
        ("STATUSBARDARK", flat(8, 22, 1, [((199, 223, 252), (162, 199, 246), (86, 125, 176))]), 1, (0, 0, 0, 0),
         24, False),
        ("FRAMECAPTIONBUTTON", panel(25, 21, 2, [FACES[2], FACES[3]]), 2, (3, 3, 3, 3), 24, True),
        ("FRAMESYSTEMBUTTON", system_button(38), 3, (0, 0, 0, 0), 24, False),
        ("FRAMESYSTEMBUTTON52", system_button(52), 3, (0, 0, 0, 0), 24, False),
        ("RIBBONTABSEPARATOR", flat(1, 22, 1, [((141, 178, 227), (191, 219, 255), (141, 178, 227))]), 1,
         (0, 0, 0, 0), 24, False),
        ("CONTEXTTABSEPARATOR", flat(1, 22, 1, [((120, 120, 120), (160, 160, 160), (120, 120, 120))]), 1,
         (0, 0, 0, 0), 24, False),
        ("RIBBONGROUPCLIENT", flat(12, 12, 2, [((223, 234, 247), (209, 223, 240), (173, 197, 228)),
                                               ((235, 242, 251), (220, 232, 246), (161, 189, 224))]), 2,
         (5, 5, 5, 5), 24, False),
        ("RIBBONGROUPCAPTION", flat(12, 12, 2, [((193, 216, 241), (178, 205, 236), (173, 197, 228)),
                                                ((203, 224, 246), (188, 214, 242), (161, 189, 224))]), 2,
         (5, 5, 5, 5), 24, False),
        ("CONTEXTTABGROUPCLIENT", flat(12, 12, 2, [((236, 236, 236), (222, 222, 222), (180, 180, 180)),
                                                   ((244, 244, 244), (230, 230, 230), (170, 170, 170))]), 2,
         (5, 5, 5, 5), 24, False),
        ("CONTEXTTABGROUPCAPTION", flat(12, 12, 2, [((210, 210, 210), (196, 196, 196), (180, 180, 180)),
                                                    ((220, 220, 220), (206, 206, 206), (170, 170, 170))]), 2,
         (5, 5, 5, 5), 24, False),
        ("RIBBONOPTIONBUTTON", panel(15, 14, 4, FACES), 4, (3, 2, 2, 2), 24, True),
        ("RIBBONGROUPQUICKACCESS", panel(22, 22, 3, [FACES[0], FACES[2], FACES[3]]), 3, (2, 2, 2, 2), 24, True),
        ("RIBBONGROUPBUTTON", flat(42, 66, 3, [FACES[0], FACES[2], FACES[3]]), 3, (5, 5, 5, 5), 24, False),
        ("RIBBONGROUPBUTTONICON", flat(32, 32, 1, [((255, 255, 255), (215, 230, 248), (141, 178, 227))]), 1,
         (0, 0, 0, 0), 24, False),
        ("RIBBONQUICKACCESSBUTTON", panel(13, 22, 4, FACES), 4, (2, 2, 2, 2), 24, True),
        ("RIBBONQUICKACCESSMORE", panel(13, 22, 4, FACES), 4, (2, 2, 2, 2), 24, True),
        ("RIBBONQUICKACCESSFRAME", flat(12, 12, 1, [((223, 234, 247), (200, 219, 243), (141, 178, 227))]), 1,
         (3, 3, 3, 3), 24, False),
        ("RIBBONQUICKACCESSAREA", flat(40, 22, 1, [((218, 231, 248), (196, 216, 243), (141, 178, 227))]), 1,
         (16, 3, 16, 3), 24, False),
        ("RIBBONQUICKACCESSAREADWM", flat(40, 22, 1, [((90, 90, 90), (50, 50, 50), (20, 20, 20))]), 1,
         (16, 3, 16, 3), 24, False),
        ("RIBBONGROUPSSCROLLLEFT", panel(12, 20, 3, [FACES[0], FACES[2], FACES[3]]), 3, (4, 6, 3, 6), 24, True),
        ("RIBBONGROUPSSCROLLRIGHT", panel(12, 20, 3, [FACES[0], FACES[2], FACES[3]]), 3, (4, 6, 3, 6), 24, True),
        ("RIBBONGROUPSSCROLLLEFTGLYPH", scroll_glyph(True), 3, (0, 0, 0, 0), 24, True),
        ("RIBBONGROUPSSCROLLRIGHTGLYPH", scroll_glyph(False), 3, (0, 0, 0, 0), 24, True),
        ("MOREPOPUPBARFRAME", flat(12, 12, 1, [((250, 250, 250), (240, 244, 250), (134, 134, 134))]), 1,
         (4, 4, 4, 4), 24, False),
    ]
    for kind in ("CLOSE", "MINIMIZE", "MAXIMIZE", "RESTORE"):
        for size in (13, 17, 23):
            if (kind, size) != ("CLOSE", 17):
                table.append(("FRAMECAPTION%s%d" % (kind, size), caption_glyph(kind, size), 5, (0, 0, 0, 0), 24,
                              True))
    for word, color in CONTEXT_COLORS:
        light = mix(color, (255, 255, 255), 0.6)
        table += [
            ("CONTEXTTAB%s" % word, flat(20, 23, 5, [(light, color, mix(color, (0, 0, 0), 0.3))]), 5, (5, 5, 5, 5),
             24, False),
            ("CONTEXTTAB%sCLIENT" % word, flat(20, 20, 1, [(mix(color, (255, 255, 255), 0.85), light, color)]), 1,
             (8, 8, 8, 8), 24, False),
            ("CONTEXTTAB%sGROUPBUTTON" % word, flat(42, 66, 3, [(mix(color, (255, 255, 255), 0.8), light, color),
                                                                FACES[2], FACES[3]]), 3, (5, 5, 5, 5), 24, False),
            ("ContextTab%sHeader" % word, flat(12, 12, 1, [(light, color, mix(color, (0, 0, 0), 0.3))]), 1,
             (1, 1, 1, 1), 24, False),
        ]
    return table


def ribbon_system_menu():
    """The application menu: a frame whose top band (18) leaves room for the button, whose foot (29) holds the foot
    buttons, and a light inside; the margins are the borders, so the inside stretches."""
    c = Canvas(40, 56)
    c.vgradient(0, 0, 40, 18, (215, 228, 245), (190, 210, 238))
    c.fill(0, 18, 40, 27, (190, 210, 238))
    c.vgradient(0, 27, 40, 56, (190, 210, 238), (160, 188, 228))
    c.fill(6, 18, 34, 27, (250, 250, 250))
    c.frame(0, 0, 40, 56, (134, 163, 204))
    c.frame(5, 17, 35, 28, (160, 180, 210))
    return c


def ribbon_system_menu_button(c, state, top):
    """A foot button: a soft face, warmer while selected; its corners are transparent."""
    face = ((236, 242, 250), (214, 228, 247)) if state == 0 else ((255, 245, 204), (255, 219, 117))
    border = (134, 163, 204) if state == 0 else (255, 189, 105)
    c.vgradient(0, top, 22, top + 22, face[0], face[1])
    c.frame(0, top, 22, top + 22, border)
    for x, y in ((0, 0), (21, 0), (0, 21), (21, 21)):
        c.put(x, top + y, MAGENTA)


# Tab faces by state: (light, dark, border) of a ribbon tab: normal (nothing), hot, pressed, selected, selected and
# hot, selected in the active strip.
RIBBON_TAB_FACES = [None,
                    ((246, 250, 255), (215, 232, 253), (160, 190, 230)),
                    ((226, 237, 252), (196, 218, 250), (141, 178, 227)),
                    ((250, 252, 255), (221, 236, 254), (141, 178, 227)),
                    ((255, 250, 235), (236, 240, 250), (255, 189, 105)),
                    ((255, 255, 255), (227, 239, 255), (141, 178, 227))]


def ribbon_tab(c, state, top):
    """A tab rounded at its top corners, open at its base (the bottom row), so that it joins the groups below."""
    faces = RIBBON_TAB_FACES[state]
    if faces is None:
        return
    light, dark, border = faces
    width, height = 20, 24
    c.vgradient(1, top + 1, width - 1, top + height, light, dark)
    c.fill(1, top, width - 1, top + 1, border)
    c.fill(0, top + 1, 1, top + height, border)
    c.fill(width - 1, top + 1, width, top + height, border)


def ribbon_groups():
    """The panel under the ribbon's tabs: a frame with rounded corners around a light gradient."""
    c = Canvas(24, 24, MAGENTA + (255,))
    c.vgradient(1, 1, 23, 23, (250, 252, 255), (219, 234, 254))
    c.frame(0, 0, 24, 24, (141, 178, 227))
    for x, y in ((0, 0), (23, 0), (0, 23), (23, 23)):
        c.put(x, y, MAGENTA)
    return c


# Access tab faces by state: normal, hot, selected, selected and hot.
ACCESS_TAB_FACES = [((227, 239, 255), (199, 223, 252)), ((255, 245, 204), (255, 219, 117)),
                    ((255, 255, 255), (243, 248, 255)), ((255, 250, 235), (255, 236, 190))]


def access_tab(c, state, top):
    """A tab with an upright left side and a right side that slants out over its last 22 columns."""
    light, dark = ACCESS_TAB_FACES[state]
    width, height, slant = 40, 24, 22
    border = (101, 147, 207)
    for y in range(height):
        # The slanted side reaches the full width at the base.
        right = width - slant + (slant * (y + 1)) // height
        face = tuple(light[i] + (dark[i] - light[i]) * y // (height - 1) for i in range(3))
        c.fill(1, top + y, right - 1, top + y + 1, face)
        c.put(0, top + y, border)
        c.put(right - 1, top + y, border)
    c.fill(0, top, width - slant, top + 1, border)


def toolbar_button(c, state, top):
    """A 22 x 22 button face: hot, pressed, checked, checked and hot."""
    light, dark, border = [FACES[2], FACES[3], FACES[3], FACES[2]][state]
    c.vgradient(1, top + 1, 21, top + 21, light, dark)
    c.frame(0, top, 22, top + 22, border)
    for x, y in ((0, 0), (21, 0), (0, 21), (21, 21)):
        c.put(x, top + y, MAGENTA)


# ---- The Ribbon look's images: highlights, joined rows of grouped controls, marks ----
def highlight(width, height, faces):
    """A rounded highlight per state in the faces given (light, dark, border)."""
    def draw(c, state, top):
        light, dark, border = faces[state % len(faces)]
        c.vgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        c.frame(0, top, width, top + height, border)
        for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            c.put(x, top + y, MAGENTA)
    return draw


GROUPED_FACES = [FACES[0], FACES[2], FACES[3], FACES[3], FACES[2]]
MENU_FACES = [FACES[2]]
MENU_DISABLED_FACES = [FACES[4]]


def mark(width, check, states):
    """Check or radio marks: a box per state (rest, hot, pressed, disabled), then the same with the mark (and the
    indeterminate square for check boxes)."""
    def draw(c, state, top):
        kind = state // 4
        light, dark, border = FACES[[0, 2, 3, 4][state % 4]]
        c.vgradient(1, top + 1, width - 1, top + width - 1, light, dark)
        c.frame(0, top, width, top + width, border)
        if not check:
            for x, y in ((0, 0), (width - 1, 0), (0, width - 1), (width - 1, width - 1)):
                c.put(x, top + y, MAGENTA)
        ink = GLYPH[4] if state % 4 == 3 else GLYPH[1]
        if kind == 1:
            if check:
                for i in range(5):
                    c.put(3 + i, top + 6 + (i if i < 2 else 3 - i), ink)
            else:
                c.fill(4, top + 4, width - 4, top + width - 4, ink)
        elif kind == 2:
            c.fill(4, top + 4, width - 4, top + width - 4, ink)
    return draw


def menu_check_marks():
    """Check mark enabled, disabled; radio dot enabled, disabled."""
    def draw(c, state, top):
        ink = GLYPH[4] if state % 2 else GLYPH[2]
        if state < 2:
            for i in range(6):
                c.put(2 + i, top + 5 + (i if i < 2 else 3 - i), ink)
                c.put(2 + i, top + 6 + (i if i < 2 else 3 - i), ink)
        else:
            c.fill(3, top + 3, 7, top + 7, ink)
    return strip(10, 10, 4, draw)


def status_band(top, bottom):
    c = Canvas(4, 22)
    c.vgradient(0, 0, 4, 22, top, bottom)
    c.fill(0, 0, 4, 1, (86, 125, 176))
    return c


def status_divider():
    c = status_band((214, 231, 252), (166, 194, 231))
    c.fill(0, 1, 1, 22, (111, 157, 217))
    c.fill(1, 1, 2, 22, (255, 255, 255))
    return c


def status_separator():
    c = Canvas(2, 22, (214, 231, 252, 255))
    c.fill(0, 2, 1, 20, (111, 157, 217))
    c.fill(1, 2, 2, 20, (255, 255, 255))
    return c


def status_gripper():
    c = Canvas(12, 12, MAGENTA + (255,))
    for row in range(3):
        for column in range(3 - row):
            x, y = 10 - 4 * column, 10 - 4 * row
            c.fill(x, y, x + 2, y + 2, (255, 255, 255))
            c.fill(x - 1, y - 1, x + 1, y + 1, (111, 157, 217))
    return c


def status_switches():
    """Four columns (first, middle, last, single) of 18 x 22 faces: rest, hot, pressed, checked, checked and hot,
    disabled."""
    faces = [((214, 231, 252), (193, 216, 246), (142, 173, 215)), FACES[2], FACES[3], FACES[3], FACES[2], FACES[4]]
    c = Canvas(72, 22 * 6, MAGENTA + (255,))
    for state in range(6):
        light, dark, border = faces[state]
        top = state * 22
        for column in range(4):
            x0 = column * 18
            c.vgradient(x0, top, x0 + 18, top + 22, light, dark)
            if column in (0, 3):
                c.fill(x0, top, x0 + 1, top + 22, border)
            if column in (2, 3):
                c.fill(x0 + 17, top, x0 + 18, top + 22, border)
            c.fill(x0, top, x0 + 18, top + 1, border)
            c.fill(x0, top + 21, x0 + 18, top + 22, border)
    return c


def drop_down_glyph(c, state, top):
    """A small triangle pointing down: rest, hot, (unused), disabled."""
    ink = GLYPH[4] if state == 3 else GLYPH[1]
    for i in range(3):
        c.fill(i, top + i, 5 - i, top + i + 1, ink)


def popup_frame():
    c = Canvas(12, 12, (250, 250, 250, 255))
    c.frame(0, 0, 12, 12, (134, 134, 134))
    for x, y in ((0, 0), (11, 0), (0, 11), (11, 11)):
        c.put(x, y, MAGENTA)
    return c


def toolbar_face(vertical):
    c = Canvas(12, 12, MAGENTA + (255,))
    if vertical:
        c.hgradient(1, 1, 11, 11, (214, 232, 255), (189, 212, 244))
    else:
        c.vgradient(1, 1, 11, 11, (214, 232, 255), (189, 212, 244))
    c.frame(0, 0, 12, 12, (111, 157, 217))
    for x, y in ((0, 0), (11, 0), (0, 11), (11, 11)):
        c.put(x, y, MAGENTA)
    return c


def sub_menu_glyph(c, state, top):
    """A small triangle pointing right: enabled, disabled."""
    ink = GLYPH[4] if state else GLYPH[2]
    for i in range(4):
        c.fill(i, top + i, i + 1, top + 7 - i, ink)


def resize_face():
    c = Canvas(8, 8, (233, 238, 238, 255))
    c.fill(0, 0, 8, 1, (197, 197, 197))
    return c


def resize_knob(width, height):
    """Dots of the knob, bottom-right aligned."""
    c = Canvas(width, height, MAGENTA + (255,))
    for y in range(height - 2, -1, -2):
        for x in range(width - 2, -1, -2):
            if width == height and (width - x) + (height - y) > width + 1:
                continue
            c.put(x, y, (134, 134, 134))
    return c


def ribbon_look_images():
    table = [
        ("TOOLBARBUTTONS50", strip(50, 50, 4, highlight(50, 50, [FACES[2], FACES[3], FACES[3], FACES[2]])), 4,
         (8, 8, 8, 8), 24, True),
        ("MENUCHECKEDITEM", strip(22, 22, 2, highlight(22, 22, [FACES[3], FACES[4]])), 2, (4, 4, 4, 4), 24, True),
        ("MENUSELECTEDITEM22", strip(22, 22, 1, highlight(22, 22, MENU_FACES)), 1, (4, 4, 4, 4), 24, True),
        ("MENUSELECTEDITEM54", strip(54, 54, 1, highlight(54, 54, MENU_FACES)), 1, (4, 4, 4, 4), 24, True),
        ("MENUSELECTEDDISABLEDITEM22", strip(22, 22, 1, highlight(22, 22, MENU_DISABLED_FACES)), 1, (4, 4, 4, 4),
         24, True),
        ("MENUSELECTEDDISABLEDITEM54", strip(54, 54, 1, highlight(54, 54, MENU_DISABLED_FACES)), 1, (4, 4, 4, 4),
         24, True),
        ("MENUCHECKEDITEMMARK", menu_check_marks(), 4, (0, 0, 0, 0), 24, True),
        ("TOOLBARBUTTONCHECKBOX", strip(13, 13, 12, mark(13, True, 12)), 12, (0, 0, 0, 0), 24, True),
        ("TOOLBARBUTTONRADIOBUTTON", strip(13, 13, 8, mark(13, False, 8)), 8, (0, 0, 0, 0), 24, True),
    ]
    table += [
        ("STATUSBARDEVIDER", status_divider(), 1, (0, 0, 0, 0), 24, False),
        ("STATUSBARSEPARATOR", status_separator(), 1, (0, 2, 0, 2), 24, False),
        ("STATUSBARGRIPPER", status_gripper(), 1, (0, 0, 0, 0), 24, True),
        ("STATUSBARSWITCHES", status_switches(), 6, (2, 2, 2, 2), 24, True),
    ]
    # Split parts: hot, pressed, checked, checked and hot, the other part active, keyboard-selected disabled (the main
    # part has six; the drop-down part five); the grouped ones hold the rest state first.
    split_faces = [FACES[2], FACES[3], FACES[3], FACES[2], FACES[1], FACES[4]]
    table += [
        ("TOOLBARBUTTONSSPLIT22", strip(22, 22, 6, highlight(22, 22, split_faces)), 6, (2, 2, 2, 2), 24, True),
        ("TOOLBARBUTTONSSPLITDROPDOWN22", strip(12, 22, 5, highlight(12, 22, split_faces[:3] + split_faces[4:])), 5,
         (2, 2, 2, 2), 24, True),
        ("TOOLBARBUTTONSSPLIT50", strip(42, 38, 6, highlight(42, 38, split_faces)), 6, (2, 2, 2, 2), 24, True),
        ("TOOLBARBUTTONSSPLITDROPDOWN50", strip(42, 28, 5, highlight(42, 28, split_faces[:3] + split_faces[4:])), 5,
         (2, 2, 2, 2), 24, True),
        ("TOOLBARBUTTONDROPDOWNGLYPH", strip(5, 4, 4, drop_down_glyph), 4, (0, 0, 0, 0), 24, True),
    ]
    for part in ("LEFT", "CENTER"):
        table.append(("TOOLBARBUTTONSSPECIALSPLIT" + part, strip(22, 22, 7, highlight(22, 22, [FACES[0]] +
                                                                                          split_faces)),
                      7, (2, 2, 2, 2), 24, True))
    for part in ("RIGHT", "CENTER"):
        table.append(("TOOLBARBUTTONSSPECIALSPLITDROPDOWN" + part,
                      strip(12, 22, 6, highlight(12, 22, [FACES[0]] + split_faces[:3] + split_faces[4:])), 6,
                      (2, 2, 2, 2), 24, True))
    table += [
        ("POPUPBARFRAME", popup_frame(), 1, (4, 4, 4, 4), 24, True),
        ("TOOLBARFACEHORIZONTAL", toolbar_face(False), 1, (5, 5, 5, 5), 24, True),
        ("TOOLBARFACEVERTICAL", toolbar_face(True), 1, (5, 5, 5, 5), 24, True),
        ("MENUPOPUPGLYPH", strip(4, 7, 2, sub_menu_glyph), 2, (0, 0, 0, 0), 24, True),
        ("POPUPBARRESIZEGRIPPERFACE", resize_face(), 1, (1, 1, 1, 1), 24, False),
        ("POPUPBARRESIZEGRIPPERHEIGHT", resize_knob(9, 3), 1, (0, 0, 0, 0), 24, True),
        ("POPUPBARRESIZEGRIPPERWIDTH", resize_knob(7, 7), 1, (0, 0, 0, 0), 24, True),
    ]
    for end in ("SINGLE", "LEFT", "CENTER", "RIGHT"):
        table.append(("TOOLBARBUTTONSSPECIAL" + end, strip(22, 22, 5, highlight(22, 22, GROUPED_FACES)), 5,
                      (2, 2, 2, 2), 24, True))
    return table


# ---- The Ribbon look's fields and small parts: combo and spin buttons, expand buttons, split popup rows ----
def field_button(width, height, faces):
    """A square-cornered button face per state (light, dark, border); None leaves the state transparent."""
    def draw(c, state, top):
        face = faces[state]
        if face is None:
            return
        light, dark, border = face
        c.vgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        c.frame(0, top, width, top + height, border)
    return draw


def spin_glyphs():
    """16 glyphs of 5 x 3: for each of up, down, left and right: rest, active, pressed, disabled."""
    colors = [GLYPH[0], GLYPH[2], GLYPH[3], GLYPH[4]]
    c = Canvas(5, 48, MAGENTA + (255,))
    for direction in range(4):
        for state in range(4):
            top = (direction * 4 + state) * 3
            color = colors[state]
            if direction < 2:
                for i in range(3):
                    half = i if direction == 0 else 2 - i
                    c.fill(2 - half, top + i, 3 + half, top + i + 1, color)
            else:
                tip, base = (1, 2) if direction == 2 else (3, 2)
                c.fill(tip, top + 1, tip + 1, top + 2, color)
                c.fill(base, top, base + 1, top + 3, color)
    return c


def expand_button(vertical):
    """The toolbar's expand button: rest, hot, open; rounded at the bar's end."""
    width, height = (22, 12) if vertical else (12, 22)
    faces = [((198, 221, 249), (156, 191, 236), (111, 157, 217)), FACES[2], FACES[3]]

    def draw(c, state, top):
        light, dark, border = faces[state]
        if vertical:
            c.hgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        else:
            c.vgradient(1, top + 1, width - 1, top + height - 1, light, dark)
        c.frame(0, top, width, top + height, border)
        for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            c.put(x, top + y, MAGENTA)
    return strip(width, height, 3, draw)


def split_popup_arrow(c, state, top):
    """The arrow part of a split popup row: a dividing line at rest, a hot face, an open face."""
    if state == 0:
        c.fill(0, top + 2, 1, top + 20, (197, 197, 197))
        return
    light, dark, border = FACES[2 if state == 1 else 3]
    c.vgradient(1, top + 1, 25, top + 21, light, dark)
    c.frame(0, top, 26, top + 22, border)


def ribbon_look_field_images():
    # Combo button: rest, hot by the mouse, hot and typed into, dropped, disabled.
    combo_faces = [((234, 242, 251), (214, 228, 245), (171, 193, 222)), FACES[1], FACES[2], FACES[3], FACES[4]]
    # Spin halves, upper then lower: rest, hot, the half under the mouse, pressed, disabled.
    spin_faces = [((234, 242, 251), (214, 228, 245), (171, 193, 222)), FACES[1], FACES[2], FACES[3], FACES[4]] * 2
    # A split popup row's main part: rest (transparent), hot, keyboard or main part pressed.
    split_faces = [None, FACES[2], FACES[3]]
    return [
        ("TOOLBARBUTTONSCOMBODROPDOWN", strip(14, 20, 5, field_button(14, 20, combo_faces)), 5, (2, 2, 2, 2), 24,
         True),
        ("TOOLBARBUTTONSPINARROWSVERTICAL", strip(17, 10, 10, field_button(17, 10, spin_faces)), 10, (0, 0, 0, 0),
         24, True),
        ("TOOLBARBUTTONSPINARROWGLYPHS", spin_glyphs(), 16, (0, 0, 0, 0), 24, True),
        ("TOOLBAREXPANDBUTTONVERTICAL", expand_button(True), 3, (3, 3, 3, 3), 24, True),
        ("TOOLBAREXPANDBUTTONHORIZONTAL", expand_button(False), 3, (3, 3, 3, 3), 24, True),
        ("MENUSPLITITEM", strip(22, 22, 3, field_button(22, 22, split_faces)), 3, (2, 2, 2, 2), 24, True),
        ("MENUSPLITDROPDOWN", strip(26, 22, 3, split_popup_arrow), 3, (2, 2, 2, 2), 24, True),
    ]


def images():
    """(name, canvas, states, margins (l, t, r, b), depth, keyed by magenta)."""
    table = [
        ("FRAMECAPTIONCLOSE17", strip(17, 17, 5, caption_close), 5, (0, 0, 0, 0), 24, True),
        ("WORKSPACETOPLEFT", workspace_top_left(), 1, (63, 0, 0, 0), 24, False),
        ("CONTROLGALLERYUP", strip(15, 21, 5, button(15, 21, arrow_button("up"))), 5, (3, 3, 3, 3), 24, True),
        ("CONTROLGALLERYDOWN", strip(15, 19, 5, button(15, 19, arrow_button("down"))), 5, (3, 3, 3, 3), 24, True),
        ("CONTROLGALLERYPOPUP", strip(15, 21, 5, button(15, 21, arrow_button("popup"))), 5, (3, 3, 3, 3), 24, True),
        ("CONTROLGALLERYSCROLLARROWGLYPHS", gallery_glyphs(), 16, (0, 0, 0, 0), 24, True),
    ]
    for shade in ("LIGHT", "DARK"):
        dark = shade == "DARK"
        table += [
            ("CONTROLGALLERYSCROLLVERTICAL" + shade, scroll_background(True, dark), 2, (1, 0, 1, 0), 24, False),
            ("CONTROLGALLERYSCROLLHORIZONTAL" + shade, scroll_background(False, dark), 2, (0, 1, 0, 1), 24, False),
            ("CONTROLGALLERYSCROLLARROWSVERTICAL" + shade, scroll_arrows(True, dark), 4, (3, 3, 3, 3), 24, False),
            ("CONTROLGALLERYSCROLLARROWSHORIZONTAL" + shade, scroll_arrows(False, dark), 4, (3, 3, 3, 3), 24,
             False),
        ]
    table += [
        ("CONTROLGALLERYSCROLLTHUMBVERTICAL", scroll_thumb(True), 3, (5, 5, 5, 5), 24, False),
        ("CONTROLGALLERYSCROLLTHUMBHORIZONTAL", scroll_thumb(False), 3, (5, 5, 5, 5), 24, False),
        ("CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL", scroll_gripper(True), 3, (0, 0, 0, 0), 24, False),
        ("CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL", scroll_gripper(False), 3, (0, 0, 0, 0), 24, False),
        ("SLIDERTRACK", slider_track(), 1, (0, 0, 0, 0), 24, False),
        ("SLIDERTICK", slider_tick(), 1, (0, 0, 0, 0), 24, True),
        ("SLIDERUP", slider_button(False), 3, (0, 0, 0, 0), 24, False),
        ("SLIDERDOWN", slider_button(True), 3, (0, 0, 0, 0), 24, False),
        ("SLIDERTHUMB", slider_thumb(), 3, (0, 0, 0, 0), 24, False),
        ("PROGRESSTRACK", progress_track(), 1, (2, 2, 2, 2), 24, True),
        ("PROGRESSCHUNK", progress_chunk(), 1, (2, 2, 2, 2), 24, True),
        ("TOOLTIPFRAME", tooltip_frame(), 1, (3, 3, 3, 3), 24, True),
        ("RIBBONSYSTEMMENU", ribbon_system_menu(), 1, (6, 18, 6, 29), 24, False),
        ("RIBBONSYSTEMMENUBUTTON", strip(22, 22, 2, ribbon_system_menu_button), 2, (2, 2, 2, 2), 24, True),
        ("RIBBONTAB", strip(20, 24, 6, ribbon_tab), 6, (5, 5, 5, 5), 24, True),
        ("RIBBONGROUPS", ribbon_groups(), 1, (8, 8, 8, 8), 24, True),
        ("ACCESSTAB", strip(40, 24, 4, access_tab), 4, (5, 10, 22, 10), 24, True),
        ("TOOLBARBUTTONS22", strip(22, 22, 4, toolbar_button), 4, (8, 8, 8, 8), 24, True),
    ]
    table += frame_and_ribbon_images()
    table += ribbon_look_images()
    table += ribbon_look_field_images()
    return table


def write_if_changed(path, data):
    """Leaves an unchanged file alone, so its dependants are not built again."""
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: gen-theme.py OUTPUT_DIR\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "office2007blue.ini"), ini_text())
    rc = ["// Drawn by tools/gen-theme.py: the Office 2007 look's colours and images.",
          'OFFICE2007BLUE_INI TEXTFILE "office2007blue.ini"']
    manifest = {"ini": {"name": "OFFICE2007BLUE_INI", "file": "office2007blue.ini",
                        "sections": {section: [key for key, _ in keys] for section, keys in SECTIONS}},
                "images": []}
    for name, canvas, states, margins, depth, keyed in images():
        if depth == 24 and any(p[3] != 255 for row in canvas.rows for p in row):
            raise SystemExit("gen-theme.py: %s has transparent pixels but no alpha channel" % name)
        if not keyed and any(p[:3] == MAGENTA for row in canvas.rows for p in row):
            raise SystemExit("gen-theme.py: %s is drawn without a transparent colour but holds magenta" % name)
        file_name = name + ".bmp"
        write_if_changed(os.path.join(out, file_name), bmp_bytes(canvas, depth))
        rc.append('%s BITMAP "%s"' % (name, file_name))
        manifest["images"].append({"name": name, "file": file_name, "states": states, "margins": list(margins),
                                   "depth": depth, "keyed": keyed})
    names = ["KEY %s %s" % (section, key) for section, keys in SECTIONS for key, _ in keys]
    names += ["IMAGE %s %d" % (image["name"], image["states"]) for image in manifest["images"]]
    write_if_changed(os.path.join(out, "office2007-names.txt"), ("\n".join(names) + "\n").encode("ascii"))
    write_if_changed(os.path.join(out, "office2007.rc"), ("\n".join(rc) + "\n").encode("ascii"))
    write_if_changed(os.path.join(out, "office2007.json"),
                     (json.dumps(manifest, indent=1, sort_keys=True) + "\n").encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
