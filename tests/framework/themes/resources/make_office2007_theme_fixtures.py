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
]


def state_color(image_index, state):
    return (20 + image_index * 9, 30 + state * 13, 90 + (image_index * 37 + state * 11) % 150)


def generator_sections(path):
    """The generator's colour table, read from the script itself (its main does not run)."""
    return runpy.run_path(path, run_name="gen_theme")["SECTIONS"]


def main():
    gen_theme, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    files = {}
    for index, (name, width, height, states) in enumerate(IMAGES):
        rows = []
        for state in range(states):
            rows += solid(width, height, state_color(index, state))
        files[name + ".bmp"] = bmp(rows, 24)
    # Eleven columns of one colour and a last column of another.
    files["WORKSPACETOPLEFT.bmp"] = bmp([[(200, 40, 40)] * 11 + [(40, 200, 40)] for _ in range(6)], 24)
    # Eight columns of chunk, then four of glow.
    files["PROGRESSCHUNK.bmp"] = bmp([[(30, 160, 30)] * 8 + [(230, 230, 30)] * 4 for _ in range(8)], 24)

    lines = ["; every key its own colour"]
    count = 0
    for section, keys in generator_sections(gen_theme):
        lines.append("[%s]" % section)
        for key, _ in keys:
            count += 1
            # Blue counts the keys (unique); red and green spread neighbours apart for the gradients' tests.
            lines.append("%s = %d %d %d" % (key, count * 53 % 200 + 20, count * 97 % 200 + 30, count + 10))
    files["theme_keys.ini"] = ("\r\n".join(lines) + "\r\n").encode("ascii")

    rc = ["// The Office 2007 look tests' synthetic module, drawn by make_office2007_theme_fixtures.py."]
    for name in [image[0] for image in IMAGES] + ["WORKSPACETOPLEFT", "PROGRESSCHUNK"]:
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
