#!/usr/bin/env python3
"""Draws the Office 2007 look tests' synthetic set: make_office2007_theme_fixtures.py GEN_THEME OUTPUT_DIR.

A theme text giving every key the look's generator lists a colour of its own ("r g b" with b counting the key, so no
two keys share one), and every image the look and its painters draw, each state in a flat colour of its
own, so a test tells which state landed where. Two images have more: the workspace picture's last column differs from
the rest (it is the one stretched), and the progress chunk's last four columns (the glow) differ from the chunk.
"""
import os
import runpy
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_office2007_fixtures import bmp, solid  # noqa: E402

# Name, state width, state height, states.
IMAGES = [
    ("FRAMECAPTIONCLOSE17", 7, 7, 5),
    ("CONTROLGALLERYUP", 15, 10, 5),
    ("CONTROLGALLERYDOWN", 15, 10, 5),
    ("CONTROLGALLERYPOPUP", 15, 10, 5),
    ("CONTROLGALLERYSCROLLVERTICALLIGHT", 6, 6, 2),
    ("CONTROLGALLERYSCROLLVERTICALDARK", 6, 6, 2),
    ("CONTROLGALLERYSCROLLHORIZONTALLIGHT", 6, 6, 2),
    ("CONTROLGALLERYSCROLLHORIZONTALDARK", 6, 6, 2),
    ("CONTROLGALLERYSCROLLARROWSVERTICALLIGHT", 8, 8, 4),
    ("CONTROLGALLERYSCROLLARROWSVERTICALDARK", 8, 8, 4),
    ("CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT", 8, 8, 4),
    ("CONTROLGALLERYSCROLLARROWSHORIZONTALDARK", 8, 8, 4),
    ("CONTROLGALLERYSCROLLTHUMBVERTICAL", 11, 11, 3),
    ("CONTROLGALLERYSCROLLTHUMBHORIZONTAL", 11, 11, 3),
    ("CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL", 8, 8, 3),
    ("CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL", 8, 8, 3),
    ("CONTROLGALLERYSCROLLARROWGLYPHS", 9, 9, 16),
    ("SLIDERTRACK", 10, 4, 1),
    ("SLIDERTICK", 3, 6, 1),
    ("SLIDERUP", 13, 14, 3),
    ("SLIDERDOWN", 13, 14, 3),
    ("SLIDERTHUMB", 9, 12, 3),
    ("PROGRESSTRACK", 10, 10, 1),
    # The Ribbon look's images.
    ("TOOLBARBUTTONS22", 22, 22, 4),
    ("TOOLBARBUTTONS50", 50, 50, 4),
    ("MENUCHECKEDITEM", 22, 22, 2),
    ("MENUSELECTEDITEM22", 22, 22, 1),
    ("MENUSELECTEDITEM54", 54, 54, 1),
    ("MENUSELECTEDDISABLEDITEM22", 22, 22, 1),
    ("MENUSELECTEDDISABLEDITEM54", 54, 54, 1),
    ("MENUCHECKEDITEMMARK", 10, 10, 4),
    ("TOOLBARBUTTONCHECKBOX", 13, 13, 12),
    ("TOOLBARBUTTONRADIOBUTTON", 13, 13, 8),
    ("TOOLBARBUTTONSSPECIALSINGLE", 22, 22, 5),
    ("TOOLBARBUTTONSSPECIALLEFT", 22, 22, 5),
    ("TOOLBARBUTTONSSPECIALCENTER", 22, 22, 5),
    ("TOOLBARBUTTONSSPECIALRIGHT", 22, 22, 5),
    ("STATUSBARLIGHT", 4, 22, 1),
    ("STATUSBARDEVIDER", 3, 22, 1),
    ("STATUSBARDARK", 4, 22, 1),
    ("STATUSBARSEPARATOR", 2, 22, 1),
    ("STATUSBARGRIPPER", 9, 7, 1),
    ("TOOLBARBUTTONSSPLIT22", 22, 22, 6),
    ("TOOLBARBUTTONSSPLITDROPDOWN22", 12, 22, 5),
    ("TOOLBARBUTTONSSPLIT50", 42, 38, 6),
    ("TOOLBARBUTTONSSPLITDROPDOWN50", 42, 28, 5),
    ("TOOLBARBUTTONSSPECIALSPLITLEFT", 22, 22, 7),
    ("TOOLBARBUTTONSSPECIALSPLITCENTER", 22, 22, 7),
    ("TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT", 12, 22, 6),
    ("TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER", 12, 22, 6),
    ("TOOLBARBUTTONDROPDOWNGLYPH", 5, 4, 4),
    ("POPUPBARFRAME", 12, 12, 1),
    ("TOOLBARFACEHORIZONTAL", 12, 12, 1),
    ("TOOLBARFACEVERTICAL", 12, 12, 1),
    ("MENUPOPUPGLYPH", 4, 7, 2),
    ("POPUPBARRESIZEGRIPPERFACE", 8, 8, 1),
    ("POPUPBARRESIZEGRIPPERHEIGHT", 9, 3, 1),
    ("POPUPBARRESIZEGRIPPERWIDTH", 7, 7, 1),
    ("TOOLBARBUTTONSCOMBODROPDOWN", 14, 20, 5),
    ("TOOLBARBUTTONSPINARROWSVERTICAL", 17, 10, 10),
    ("TOOLBARBUTTONSPINARROWGLYPHS", 5, 3, 16),
    ("TOOLBAREXPANDBUTTONVERTICAL", 22, 12, 3),
    ("TOOLBAREXPANDBUTTONHORIZONTAL", 12, 22, 3),
    ("MENUSPLITITEM", 22, 22, 3),
    ("MENUSPLITDROPDOWN", 26, 22, 3),
]

# The tip frame: a border three pixels wide in this colour around a transparent (magenta) inside.
TOOLTIP_FRAME_COLOR = (230, 60, 140)

# The switch faces: four columns of 10 x 22, each column of each state in a colour of its own.
SWITCH_COLUMNS = 4


def switch_color(state, column):
    return (240 - state * 20, 20 + column * 50, 200 - state * 7 - column * 3)



def state_color(image_index, state):
    # Red wraps below 240 for the images appended later; the first ones keep their colours.
    return ((20 + image_index * 9) % 240, 30 + state * 13, 90 + (image_index * 37 + state * 11) % 150)


def generator_sections(path):
    """The generator's colour table, read from the script itself (its main does not run), and the keys numbered
    last so that the older keys keep their colours."""
    names = runpy.run_path(path, run_name="gen_theme")
    return names["SECTIONS"], {("Ribbon", key) for key in names.get("RIBBON_LOOK_KEYS", [])}


def main():
    gen_theme, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    files = {}
    for index, (name, width, height, states) in enumerate(IMAGES):
        rows = []
        for state in range(states):
            rows += solid(width, height, state_color(index, state))
        files[name + ".bmp"] = bmp(rows, 24)
    switch_rows = []
    for state in range(6):
        switch_rows += [[switch_color(state, column) for column in range(SWITCH_COLUMNS) for _ in range(10)]
                        for _ in range(22)]
    files["STATUSBARSWITCHES.bmp"] = bmp(switch_rows, 24)
    files["TOOLTIPFRAME.bmp"] = bmp([[TOOLTIP_FRAME_COLOR if min(x, y, 11 - x, 11 - y) < 3 else (255, 0, 255)
                                      for x in range(12)] for y in range(12)], 24)
    # Eleven columns of one colour and a last column of another.
    files["WORKSPACETOPLEFT.bmp"] = bmp([[(200, 40, 40)] * 11 + [(40, 200, 40)] for _ in range(6)], 24)
    # Eight columns of chunk, then four of glow.
    files["PROGRESSCHUNK.bmp"] = bmp([[(30, 160, 30)] * 8 + [(230, 230, 30)] * 4 for _ in range(8)], 24)

    lines = ["; every key its own colour"]
    sections, numbered_last = generator_sections(gen_theme)
    numbers = {}
    for late in (False, True):
        for section, keys in sections:
            for key, _ in keys:
                if ((section, key) in numbered_last) == late:
                    numbers[(section, key)] = len(numbers) + 1
    for section, keys in sections:
        lines.append("[%s]" % section)
        for key, _ in keys:
            count = numbers[(section, key)]
            # Blue counts the keys (unique); red and green spread neighbours apart for the gradients' tests.
            lines.append("%s = %d %d %d" % (key, count * 53 % 200 + 20, count * 97 % 200 + 30, count + 10))
    files["theme_keys.ini"] = ("\r\n".join(lines) + "\r\n").encode("ascii")

    rc = ["// The Office 2007 look tests' synthetic module, drawn by make_office2007_theme_fixtures.py."]
    for name in [image[0] for image in IMAGES] + ["WORKSPACETOPLEFT", "PROGRESSCHUNK", "STATUSBARSWITCHES",
                                              "TOOLTIPFRAME"]:
        rc.append('%s BITMAP "%s.bmp"' % (name, name))
    rc.append('THEME_KEYS TEXTFILE "theme_keys.ini"')
    files["office2007_theme_test.rc"] = ("\n".join(rc) + "\n").encode("ascii")
    for name, data in files.items():
        path = os.path.join(out, name)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old != data:
            with open(path, "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
