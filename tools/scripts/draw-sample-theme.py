#!/usr/bin/python3
# Draws the sample project's own wizard picture with the shapes of draw-pictures.py and
# stores it in examples/sample/formMain.txt as the install component's DialogThemeBitmap:
# an 8-bit run-length encoded bitmap (a few kilobytes where 24 bits would take a hundred),
# written as a text form writes a picture's data. Deterministic; run it again after a change.
# Usage: draw-sample-theme.py [FORM] [--bmp FILE]
import importlib.util
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("draw_pictures", os.path.join(HERE, "draw-pictures.py"))
dp = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(dp)


def sample_theme():
    """Morning over green hills: a rising sun, two ranges of hills, and the sample's sheet
    with a tick on it."""
    w, h = 117, 290
    p = dp.Picture(w, h, background=dp.vertical(dp.hexrgb("123f52"), dp.hexrgb("f2c57c"), 0, 215))
    p.add(dp.circle(64, 150, 34), dp.hexrgb("fff1c4"), 0.25)
    p.add(dp.circle(64, 150, 24), dp.vertical(dp.hexrgb("ffe79a"), dp.hexrgb("f59b3a"), 126, 174))
    p.add(dp.circle(10, 330, 120), dp.hexrgb("4f8f5a"))
    p.add(dp.circle(130, 360, 130), dp.hexrgb("2f6e44"))
    p.add(dp.circle(40, 420, 160), dp.hexrgb("1f5233"))
    dp.page(p, 34, 196, 48, 62, fold=10)
    p.add(dp.segment(46, 236, 55, 246, 5), dp.GREEN)
    p.add(dp.segment(55, 246, 72, 222, 5), dp.GREEN)
    return p


def palette_of(rows):
    """Up to 256 colours: the most frequent ones; the others are drawn with the nearest."""
    counts = {}
    for row in rows:
        for rgb, _ in row:
            c = tuple(int(round(dp.clamp(v) * 255)) for v in rgb)
            counts[c] = counts.get(c, 0) + 1
    palette = sorted(counts, key=lambda c: (-counts[c], c))[:256]
    index = {c: i for i, c in enumerate(palette)}
    nearest = {}
    for c in counts:
        nearest[c] = index[c] if c in index else min(
            range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(c, palette[i])))
    return palette, nearest


def rle8(rows, nearest):
    """Bottom-up rows as runs (count, index), each row ended by 0 0, the picture by 0 1."""
    out = bytearray()
    for row in reversed(rows):
        line = [nearest[tuple(int(round(dp.clamp(v) * 255)) for v in rgb)] for rgb, _ in row]
        x = 0
        while x < len(line):
            n = 1
            while x + n < len(line) and n < 255 and line[x + n] == line[x]:
                n += 1
            out += bytes([n, line[x]])
            x += n
        out += b"\0\0"
    return bytes(out + b"\0\1")


def bmp_rle8(picture):
    rows = picture.pixels()
    palette, nearest = palette_of(rows)
    data = rle8(rows, nearest)
    colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
    offset = 54 + len(colours)
    header = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 8, 1, len(data), 2835, 2835,
                         len(palette), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + colours + data


def form_data(bmp):
    """A TPicture's data in a text form: the class name, the bitmap's size, the BMP file."""
    raw = bytes([7]) + b"TBitmap" + struct.pack("<I", len(bmp)) + bmp
    text = raw.hex().upper()
    lines = [text[i:i + 64] for i in range(0, len(text), 64)]
    return "DialogThemeBitmap.Data = {\n" + "\n".join("      " + line for line in lines) + "}"


def main():
    args = sys.argv[1:]
    bmp = bmp_rle8(sample_theme())
    if "--bmp" in args:
        i = args.index("--bmp")
        with open(args[i + 1], "wb") as f:
            f.write(bmp)
        del args[i:i + 2]
    form = args[0] if args else os.path.join(HERE, "..", "..", "examples", "sample", "formMain.txt")
    with open(form, newline="") as f:
        text = f.read()
    block = form_data(bmp)
    if "DialogThemeBitmap.Data = {" in text:
        text = re.sub(r"DialogThemeBitmap\.Data = \{[^}]*\}", lambda _: block, text)
    else:
        text = re.sub(r"(    Information\.Version = [^\n]*\n)", lambda m: m.group(1) + "    " + block + "\n", text,
                      count=1)
    with open(form, "w", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    main()
