#!/usr/bin/python3
# Draws the built-in pictures of the dialogs into common/pictures/: the copy and transfer
# pictures of the progress window, the status icon, the change-disk picture and the wizard's
# default theme. Plain Python, no imaging library: each picture is a stack of shapes given by
# signed distance functions, anti-aliased by their distance to the pixel's centre. The output
# is deterministic; the files are checked in and compiled into the program.
# Usage: draw-pictures.py [OUTPUT_DIR]
import math
import os
import struct
import sys


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hexrgb(text):
    return tuple(int(text[i:i + 2], 16) / 255 for i in (0, 2, 4))


# --- shapes: each a function (x, y) -> signed distance in pixels (negative inside)

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_rect(x0, y0, x1, y1, r=0.0):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return d


def polygon(points):
    """A convex polygon, points in clockwise order on screen (y down)."""
    edges = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        nx, ny = by - ay, ax - bx  # outward normal for clockwise order with y down
        length = math.hypot(nx, ny)
        edges.append((ax, ay, nx / length, ny / length))
    return lambda x, y: max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)


def segment(ax, ay, bx, by, width):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = clamp((px * vx + py * vy) / (vx * vx + vy * vy))
        return math.hypot(px - vx * t, py - vy * t) - width / 2
    return d


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


# --- a picture: layers of (shape, paint), paint a colour or a function (x, y) -> colour

class Picture:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.background = background
        self.layers = []

    def add(self, shape, paint, opacity=1.0):
        self.layers.append((shape, paint, opacity))
        return self

    def pixels(self):
        """Rows top first of (r, g, b, a) in 0..1, premultiplied by nothing."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                if self.background:
                    rgb, a = self.background(px, py), 1.0
                else:
                    rgb, a = (0.0, 0.0, 0.0), 0.0
                for shape, paint, opacity in self.layers:
                    cover = clamp(0.5 - shape(px, py)) * opacity
                    if cover <= 0:
                        continue
                    colour = paint(px, py) if callable(paint) else paint
                    out_a = cover + a * (1 - cover)
                    rgb = tuple((c * cover + b * a * (1 - cover)) / out_a for c, b in zip(colour, rgb))
                    a = out_a
                row.append((rgb, a))
            rows.append(row)
        return rows


def bgra_rows(rows, alpha):
    """Bottom-up rows of 32-bit (B, G, R, A) or 24-bit padded (B, G, R) pixels."""
    out = b""
    for row in reversed(rows):
        line = b""
        for rgb, a in row:
            r, g, b = (int(round(clamp(c) * 255)) for c in rgb)
            line += bytes([b, g, r, int(round(a * 255))]) if alpha else bytes([b, g, r])
        out += line + bytes(-len(line) % 4)
    return out


def bmp(picture, alpha):
    rows = picture.pixels()
    pixels = bgra_rows(rows, alpha)
    header = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 32 if alpha else 24, 0, len(pixels),
                         2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + header + pixels


def ico(pictures):
    images = []
    for picture in pictures:
        rows = picture.pixels()
        pixels = bgra_rows(rows, True)
        mask_stride = (picture.width + 31) // 32 * 4
        mask = b""
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        header = struct.pack("<IiiHHIIiiII", 40, picture.width, 2 * picture.height, 1, 32, 0, len(pixels) + len(mask),
                             0, 0, 0, 0)
        images.append((picture.width, header + pixels + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


# --- the pictures

NAVY, BLUE, SKY = hexrgb("1d3f78"), hexrgb("2f6fc4"), hexrgb("8cc4f0")
PAPER, EDGE, GREEN, DARK = hexrgb("fbfbf6"), hexrgb("5a6472"), hexrgb("2e9e46"), hexrgb("27313d")
AMBER = hexrgb("f0a830")


def vertical(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, clamp((y - y0) / (y1 - y0)))


def page(p, x, y, w, h, fold=5):
    """A sheet with a folded top-right corner and three lines of text."""
    body = polygon([(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)])
    p.add(body, EDGE)
    p.add(polygon([(x + 1, y + 1), (x + w - fold - 0.4, y + 1), (x + w - 1, y + fold + 0.4), (x + w - 1, y + h - 1),
                   (x + 1, y + h - 1)]), PAPER)
    p.add(polygon([(x + w - fold, y), (x + w, y + fold), (x + w - fold, y + fold)]), hexrgb("c9ced6"))
    for i in range(3):
        ly = y + fold + 4 + i * 4
        if ly < y + h - 3:
            p.add(segment(x + 3, ly, x + w - 4 - (i % 2) * 4, ly, 1.2), hexrgb("9aa6b6"))


def copy_picture():
    """Two sheets, the second landing on the first, and a green arrow between them."""
    p = Picture(36, 37)
    page(p, 2, 2, 20, 25)
    page(p, 14, 10, 20, 25)
    p.add(segment(7, 31, 12, 31, 3.2), GREEN)
    p.add(segment(7, 31, 7, 25, 3.2), GREEN)
    p.add(polygon([(12, 27), (17, 31), (12, 35)]), GREEN)
    return p


def transfer_picture():
    """A globe with a downward arrow: files coming from the network."""
    p = Picture(36, 37)
    p.add(circle(16, 16, 13.5), NAVY)
    p.add(circle(16, 16, 12.5), lambda x, y: mix(SKY, BLUE, clamp((x + y - 8) / 36)))
    for shape in (ring(16, 16, 12.5, 1.0), segment(3.5, 16, 28.5, 16, 1.0), segment(16, 3.5, 16, 28.5, 1.0),
                  segment(5.5, 9.5, 26.5, 9.5, 1.0), segment(5.5, 22.5, 26.5, 22.5, 1.0)):
        p.add(shape, hexrgb("e8f3fc"), 0.8)
    p.add(segment(27, 15, 27, 28, 6.0), hexrgb("ffffff"))
    p.add(polygon([(20, 25), (34, 25), (27, 35.5)]), hexrgb("ffffff"))
    p.add(segment(27, 16, 27, 27, 3.2), GREEN)
    p.add(polygon([(22, 26), (32, 26), (27, 33)]), GREEN)
    return p


def status_icon(size):
    """A clock face: the installation is busy."""
    s = size / 32
    p = Picture(size, size)
    p.add(circle(16 * s, 16 * s, 15 * s), NAVY)
    p.add(circle(16 * s, 16 * s, 13.6 * s), lambda x, y: mix(PAPER, hexrgb("dde8f4"), clamp(y / size)))
    for i in range(12):
        angle = i * math.pi / 6
        r0 = (10.5 if i % 3 else 9.0) * s
        p.add(segment(16 * s + math.sin(angle) * r0, 16 * s - math.cos(angle) * r0, 16 * s + math.sin(angle) * 12 * s,
                      16 * s - math.cos(angle) * 12 * s, 1.3 * s), DARK)
    p.add(segment(16 * s, 16 * s, 16 * s, 7.5 * s, 2.2 * s), DARK)
    p.add(segment(16 * s, 16 * s, 22.5 * s, 19.5 * s, 2.0 * s), DARK)
    p.add(circle(16 * s, 16 * s, 1.8 * s), AMBER)
    return p


def disk_picture():
    """A floppy disk with its shutter and a label, and an arrow going in."""
    p = Picture(48, 57)
    x0, y0 = 4, 12
    p.add(polygon([(x0, y0), (x0 + 36, y0), (x0 + 40, y0 + 4), (x0 + 40, y0 + 40), (x0, y0 + 40)]), DARK)
    p.add(polygon([(x0 + 1, y0 + 1), (x0 + 35.6, y0 + 1), (x0 + 39, y0 + 4.4), (x0 + 39, y0 + 39), (x0 + 1, y0 + 39)]),
          vertical(hexrgb("3d5f9a"), NAVY, y0, y0 + 40))
    p.add(rounded_rect(x0 + 9, y0 + 1, x0 + 31, y0 + 14, 1), hexrgb("c3cbd6"))
    p.add(rounded_rect(x0 + 24, y0 + 3, x0 + 29, y0 + 12, 0.5), hexrgb("4a5666"))
    p.add(rounded_rect(x0 + 5, y0 + 20, x0 + 35, y0 + 39, 1.5), PAPER)
    for i in range(3):
        p.add(segment(x0 + 9, y0 + 25 + i * 4.5, x0 + 31 - i * 5, y0 + 25 + i * 4.5, 1.3), hexrgb("9aa6b6"))
    p.add(segment(24, 1.5, 24, 7, 3.4), GREEN)
    p.add(polygon([(18.5, 6), (29.5, 6), (24, 11.5)]), GREEN)
    return p


def theme_picture():
    """The wizard's side picture: dusk sky, soft light bands, and an open box with a sheet
    rising out of it."""
    w, h = 117, 290
    sky = vertical(hexrgb("0d2350"), hexrgb("3f86c8"), 0, h)
    p = Picture(w, h, background=sky)
    for i, (cy, r, o) in enumerate(((40, 70, 0.08), (110, 95, 0.06), (250, 120, 0.07))):
        p.add(ring(w * (0.2 + 0.3 * i), cy, r, 10 + 4 * i), hexrgb("ffffff"), o)
    seed = 7
    for i in range(22):  # stars at fixed pseudo-random places
        seed = (seed * 1103515245 + 12345) % 2 ** 31
        x, y = seed % w, (seed // w) % 150 + 4
        p.add(circle(x + 0.5, y + 0.5, 0.6 + (seed % 3) * 0.25), hexrgb("ffffff"), 0.45 + (seed % 4) * 0.15)
    # The box, lit from the left: its dark inside, the sheet going in, the faces, the flaps.
    bx, by = 22, 196
    p.add(polygon([(bx, by), (bx + 52, by), (bx + 74, by - 12), (bx + 22, by - 12)]), hexrgb("5e3b14"))
    page(p, bx + 22, by - 52, 30, 56, fold=8)
    p.add(polygon([(bx, by), (bx + 52, by), (bx + 52, by + 50), (bx, by + 50)]), hexrgb("c98a3e"))
    p.add(polygon([(bx + 52, by), (bx + 74, by - 12), (bx + 74, by + 36), (bx + 52, by + 50)]), hexrgb("9c6527"))
    p.add(polygon([(bx, by), (bx + 52, by), (bx + 40, by + 14), (bx - 14, by + 14)]), hexrgb("e0a95e"))
    p.add(polygon([(bx + 52, by), (bx + 74, by - 12), (bx + 86, by - 2), (bx + 64, by + 10)]), hexrgb("b57a35"))
    p.add(segment(bx + 6, by + 32, bx + 46, by + 32, 2.0), hexrgb("a66d2c"), 0.6)
    # A ground shadow.
    p.add(lambda x, y: math.hypot((x - 58) / 52, (y - 252) / 6) - 1, hexrgb("000000"), 0.25)
    return p


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                                             "common", "pictures")
    os.makedirs(out, exist_ok=True)
    files = {
        "copy.bmp": bmp(copy_picture(), True),
        "transfer.bmp": bmp(transfer_picture(), True),
        "status.ico": ico([status_icon(32), status_icon(48)]),
        "disk.bmp": bmp(disk_picture(), True),
        "theme.bmp": bmp(theme_picture(), False),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
