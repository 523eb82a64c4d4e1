#!/usr/bin/env python3
"""Checks the Office 2007 look's generated resources: check-theme-resources.py DIR, or --self-test DIR.

DIR is what tools/gen-theme.py wrote. The colour text must end every line in CR LF (the reader never reads a line
without a carriage return), give each section once (only a section's first block is read), hold every key the
manifest names, and write colours as "r g b" of decimal numbers from 0 to 255 without leading zeros (the reader
takes 010 as octal). Every bitmap must be a bottom-up BI_RGB BMP of the manifest's depth, at most 512 x 512 (the
drawing refuses larger ones), its height a multiple of its states, each state at least as large as its margins;
images drawn without a transparent colour must not hold magenta. The .rc must name every image and the text.

--self-test breaks copies of DIR one fault at a time and expects each to be refused.
"""
import json
import os
import re
import shutil
import struct
import sys
import tempfile

MAGENTA = (255, 0, 255)
NUMBER = re.compile(r"^(0|[1-9][0-9]{0,2})$")


def check_ini(path, sections):
    errors = []
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(b"\r\n"):
        errors.append("%s: the last line does not end in CR LF" % os.path.basename(path))
    lines = data.split(b"\r\n")
    for number, raw in enumerate(lines[:-1], 1):
        if b"\r" in raw or b"\n" in raw:
            errors.append("line %d: a bare CR or LF" % number)
    if lines and lines[-1]:
        errors.append("line %d: no CR LF after it" % len(lines))
    found = {}
    current = None
    for number, raw in enumerate(lines, 1):
        line = raw.decode("ascii", "replace").strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            if not raw.decode("ascii", "replace").rstrip("\r\n").endswith("]"):
                errors.append("line %d: text after the header's bracket" % number)
            current = line[1:-1]
            if current.upper() in (name.upper() for name in found):
                errors.append("line %d: section %s appears twice (only its first block is read)" % (number, current))
            found[current] = {}
            continue
        if current is None or "=" not in line or line.startswith("="):
            errors.append("line %d: not a key in a section" % number)
            continue
        key, value = (part.strip() for part in line.split("=", 1))
        if key.upper() in (k.upper() for k in found[current]):
            errors.append("line %d: key %s appears twice" % (number, key))
        found[current][key] = value
        if current.upper() == "IMAGES":
            continue
        parts = value.split()
        if len(parts) != 3 or not all(NUMBER.match(p) and int(p) <= 255 for p in parts):
            errors.append("line %d: %s = %r is not three decimal numbers 0 to 255 without leading zeros" %
                          (number, key, value))
    for section, keys in sections.items():
        if section not in found:
            errors.append("section %s is missing" % section)
            continue
        for key in keys:
            if key not in found[section]:
                errors.append("key %s is missing from section %s" % (key, section))
    return errors


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    header_size, width, height, planes, depth, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size != len(data):
        raise ValueError("its header says %d bytes, the file has %d" % (size, len(data)))
    if header_size != 40 or planes != 1 or compression != 0:
        raise ValueError("not a plain BI_RGB bitmap")
    if depth not in (24, 32):
        raise ValueError("%d bits a pixel" % depth)
    stride = (width * depth // 8 + 3) & ~3
    if width <= 0 or height <= 0:
        raise ValueError("size %d x %d (rows must run bottom-up)" % (width, height))
    if width > 512 or height > 512:
        raise ValueError("%d x %d is larger than 512 x 512" % (width, height))
    if offset + stride * height > len(data):
        raise ValueError("pixels cut short")
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        step = depth // 8
        rows.append([tuple(data[start + x * step + 2 - c] for c in range(3)) for x in range(width)])
    return width, height, depth, rows


def check_images(directory, images):
    errors = []
    for image in images:
        name, states = image["name"], image["states"]
        left, top, right, bottom = image["margins"]
        path = os.path.join(directory, image["file"])
        try:
            width, height, depth, rows = read_bmp(path)
        except (OSError, ValueError, struct.error) as error:
            errors.append("%s: %s" % (name, error))
            continue
        if depth != image["depth"]:
            errors.append("%s: %d bits a pixel, the manifest says %d" % (name, depth, image["depth"]))
        if states < 1 or height % states:
            errors.append("%s: height %d is not a multiple of %d states" % (name, height, states))
            continue
        if left + right > width or top + bottom > height // states:
            errors.append("%s: margins %s do not fit a state of %d x %d" %
                          (name, image["margins"], width, height // states))
        if not image["keyed"] and any(pixel == MAGENTA for row in rows for pixel in row):
            errors.append("%s: holds magenta but is drawn without a transparent colour" % name)
    return errors


def check_rc(path, manifest):
    errors = []
    with open(path) as f:
        text = f.read()
    if not re.search(r'^%s\s+TEXTFILE\s+"%s"' % (manifest["ini"]["name"], re.escape(manifest["ini"]["file"])), text,
                     re.M):
        errors.append("the .rc does not name %s as a TEXTFILE" % manifest["ini"]["name"])
    for image in manifest["images"]:
        if not re.search(r'^%s\s+BITMAP\s+"%s"' % (image["name"], re.escape(image["file"])), text, re.M):
            errors.append("the .rc does not name the bitmap %s" % image["name"])
    return errors


def check(directory):
    with open(os.path.join(directory, "office2007.json")) as f:
        manifest = json.load(f)
    errors = check_ini(os.path.join(directory, manifest["ini"]["file"]), manifest["ini"]["sections"])
    errors += check_images(directory, manifest["images"])
    errors += check_rc(os.path.join(directory, "office2007.rc"), manifest)
    return errors


# ---- Self-test --------------------------------------------------------------------------------------------------------
def edit_ini(old, new):
    def apply(directory):
        path = os.path.join(directory, "office2007blue.ini")
        with open(path, "rb") as f:
            data = f.read()
        assert old in data, old
        with open(path, "wb") as f:
            f.write(data.replace(old, new, 1))
    return apply


def edit_bmp(name, offset, fmt, value):
    def apply(directory):
        path = os.path.join(directory, name + ".bmp")
        with open(path, "r+b") as f:
            f.seek(offset)
            f.write(struct.pack(fmt, value))
    return apply


def edit_manifest(change):
    def apply(directory):
        path = os.path.join(directory, "office2007.json")
        with open(path) as f:
            manifest = json.load(f)
        change(manifest)
        with open(path, "w") as f:
            json.dump(manifest, f)
    return apply


def image_entry(manifest, name):
    return next(image for image in manifest["images"] if image["name"] == name)


FAULTS = [
    ("a line ending in LF only", edit_ini(b"[StatusBar]\r\n", b"[StatusBar]\n"), "bare CR or LF"),
    ("no CR LF after the last line", lambda d: strip_last(d), "last line"),
    ("a leading zero", edit_ini(b"StatusBarText = 21 66", b"StatusBarText = 021 66"), "leading zeros"),
    ("a number above 255", edit_ini(b"StatusBarText = 21 66", b"StatusBarText = 256 66"), "leading zeros"),
    ("a missing key", edit_ini(b"MenuBarText =", b"MenuBarTxt ="), "key MenuBarText is missing"),
    ("a section twice", edit_ini(b"[Workspace]", b"[Toolbar]"), "appears twice"),
    ("a space after a header", edit_ini(b"[Window]\r\n", b"[Window] \r\n"), "after the header"),
    ("a bitmap wider than 512", edit_bmp("SLIDERTRACK", 18, "<i", 513), "larger than 512"),
    ("a top-down bitmap", edit_bmp("SLIDERTICK", 22, "<i", -7), "bottom-up"),
    ("states that do not divide the height",
     edit_manifest(lambda m: image_entry(m, "FRAMECAPTIONCLOSE17").update(states=4)), "not a multiple"),
    ("margins larger than a state",
     edit_manifest(lambda m: image_entry(m, "TOOLTIPFRAME").update(margins=[3, 7, 3, 6])), "do not fit"),
    ("the wrong depth", edit_manifest(lambda m: image_entry(m, "SLIDERUP").update(depth=32)), "bits a pixel"),
    ("magenta where no colour is keyed",
     edit_manifest(lambda m: image_entry(m, "TOOLTIPFRAME").update(keyed=False)), "holds magenta"),
    ("an image the .rc lacks", lambda d: drop_rc_line(d, "SLIDERTHUMB"), "does not name the bitmap SLIDERTHUMB"),
]


def strip_last(directory):
    path = os.path.join(directory, "office2007blue.ini")
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:-2])


def drop_rc_line(directory, name):
    path = os.path.join(directory, "office2007.rc")
    with open(path) as f:
        lines = [line for line in f if not line.startswith(name + " ")]
    with open(path, "w") as f:
        f.writelines(lines)


def self_test(directory):
    failures = []
    if check(directory):
        failures.append("the generated resources themselves are refused: %s" % check(directory))
    for what, apply, expected in FAULTS:
        scratch = tempfile.mkdtemp(prefix="theme-lint-")
        try:
            target = os.path.join(scratch, "copy")
            shutil.copytree(directory, target)
            apply(target)
            errors = check(target)
            if not any(expected in error for error in errors):
                failures.append("%s: not refused (errors: %s)" % (what, errors))
        finally:
            shutil.rmtree(scratch)
    for failure in failures:
        print("FAILED: " + failure)
    if failures:
        return 1
    print("THEME-RESOURCES-SELF-TEST-PASSED (%d faults refused)" % len(FAULTS))
    return 0


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--self-test":
        return self_test(args[1])
    if len(args) != 1:
        sys.stderr.write("usage: check-theme-resources.py [--self-test] DIR\n")
        return 2
    errors = check(args[0])
    for error in errors:
        print("FAILED: " + error)
    if errors:
        return 1
    print("THEME-RESOURCES-OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
