#!/usr/bin/env python3
"""Draws Dorvane's pictures into resources/: the program icon (32 x 32 in 16
colours, larger sizes and a scalable SVG from the same design), the about box's
marble background (245 x 331, 85 greys, tiles without seams) and its bullet
(12 x 12, 16 colours). Standard library only; the output is the same on every
run (fixed seed), and the pictures are committed, so the build never runs this.

    python3 scripts/make_pictures.py [OUTPUT_DIR]
"""
import math
import random
import struct
import sys
import zlib
from pathlib import Path

# --- PNG ---------------------------------------------------------------------


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png_indexed(path, width, height, pixels, palette, bits, transparent=None):
    """pixels: rows of palette indices; palette: (r, g, b) tuples."""
    assert len(palette) <= (1 << bits)
    raw = bytearray()
    per_byte = 8 // bits
    for row in pixels:
        raw.append(0)
        for x in range(0, width, per_byte):
            byte = 0
            for k in range(per_byte):
                value = row[x + k] if x + k < width else 0
                byte |= value << (8 - bits * (k + 1))
            raw.append(byte)
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bits, 3, 0, 0, 0))
    png += _chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if transparent is not None:
        png += _chunk(b"tRNS", bytes(0 if i == transparent else 255 for i in range(transparent + 1)))
    png += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += _chunk(b"IEND", b"")
    Path(path).write_bytes(png)


def write_png_rgba(path, width, height, pixels):
    """pixels: rows of (r, g, b, a)."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for p in row:
            raw.extend(p)
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += _chunk(b"IEND", b"")
    Path(path).write_bytes(png)


# The sixteen colours of the classic palette.
VGA16 = {
    "black": (0, 0, 0), "maroon": (128, 0, 0), "green": (0, 128, 0), "olive": (128, 128, 0),
    "navy": (0, 0, 128), "purple": (128, 0, 128), "teal": (0, 128, 128), "silver": (192, 192, 192),
    "grey": (128, 128, 128), "red": (255, 0, 0), "lime": (0, 255, 0), "yellow": (255, 255, 0),
    "blue": (0, 0, 255), "fuchsia": (255, 0, 255), "aqua": (0, 255, 255), "white": (255, 255, 255),
}

# --- the icon ------------------------------------------------------------------
# A potentiometer as circuit diagrams draw it: a resistor body between two
# leads, and the wiper arrow pointing at the body from the right, on a white
# plate so that it reads on dark and light panels alike. Coordinates are in a
# 32-unit square; shapes are painted in order.

ICON_SHAPES = [
    ("roundrect", (1, 1, 31, 31, 5), "grey"),
    ("roundrect", (2, 2, 30, 30, 4), "white"),
    ("rect", (11, 3, 13, 9), "black"),  # upper lead
    ("rect", (11, 23, 13, 29), "black"),  # lower lead
    ("rect", (8, 8, 16, 24), "black"),  # body outline
    ("rect", (9, 9, 15, 23), "red"),  # body
    ("rect", (20, 15, 28, 17), "blue"),  # wiper
    ("polygon", ((16, 16), (22, 11), (22, 21)), "blue"),  # arrow head
    ("rect", (26, 13, 29, 19), "navy"),  # wiper terminal
]


def _inside(shape, params, x, y):
    if shape == "rect":
        l, t, r, b = params
        return l <= x < r and t <= y < b
    if shape == "roundrect":
        l, t, r, b, rad = params
        if not (l <= x < r and t <= y < b):
            return False
        cx = min(max(x, l + rad), r - rad)
        cy = min(max(y, t + rad), b - rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
    if shape == "polygon":
        inside = False
        pts = params
        for i in range(len(pts)):
            (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
        return inside
    raise ValueError(shape)


def icon_colour_at(x, y):
    """Colour name of the design at a point of the 32-unit square, or None."""
    colour = None
    for shape, params, name in ICON_SHAPES:
        if _inside(shape, params, x, y):
            colour = name
    return colour


ICON_PALETTE_NAMES = ["transparent", "black", "maroon", "green", "olive", "navy", "purple", "teal",
                      "grey", "silver", "red", "lime", "yellow", "blue", "aqua", "white"]


def make_icon32(path):
    palette = [(0, 0, 0)] + [VGA16[n] for n in ICON_PALETTE_NAMES[1:]]
    rows = []
    for y in range(32):
        row = []
        for x in range(32):
            name = icon_colour_at(x + 0.5, y + 0.5)
            row.append(0 if name is None else ICON_PALETTE_NAMES.index(name))
        rows.append(row)
    write_png_indexed(path, 32, 32, rows, palette, 4, transparent=0)
    return rows, palette


def _dib32(rows):
    """A full-colour icon bitmap: 32-bit rows with alpha, bottom-up, and the
    1-bit mask of the fully transparent pixels."""
    size = len(rows)
    dib = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    for row in reversed(rows):
        dib += b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = 0
        for x in range(stride * 8):
            bits = (bits << 1) | (1 if x >= size or row[x][3] == 0 else 0)
        dib += bits.to_bytes(stride, "big")
    return dib


def make_icon_ico(path, rows32, palette, small, pngs):
    """The Windows icon: the 32 x 32 in 16 colours as a classic bitmap (for
    every version of the shell), the small sizes in full colour as 32-bit
    bitmaps, the larger sizes as PNG entries."""
    # Bitmap entry: header, palette, 4-bit rows bottom-up, 1-bit mask.
    dib = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, 0, 0, 0, 16, 0)
    dib += b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    for row in reversed(rows32):
        dib += bytes((row[x] << 4) | row[x + 1] for x in range(0, 32, 2))
    for row in reversed(rows32):
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] == 0 else 0)
        dib += struct.pack(">I", bits)
    entries = [(32, 16, 4, dib)] + [(len(rows), 0, 32, _dib32(rows)) for rows in small]
    entries += [(size, 0, 32, Path(png).read_bytes()) for size, png in pngs]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, colours, bpp, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    out += b"".join(data for *_, data in entries)
    Path(path).write_bytes(out)


def icon_rows(size, samples=4):
    """The icon drawn at any size in full colour, each pixel the mean of
    samples x samples points."""
    scale = 32.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    name = icon_colour_at((x + (sx + 0.5) / samples) * scale, (y + (sy + 0.5) / samples) * scale)
                    if name is not None:
                        r, g, b = VGA16[name]
                        acc[0] += r
                        acc[1] += g
                        acc[2] += b
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / n), round(acc[1] / n), round(acc[2] / n), round(255 * n / samples ** 2)))
        rows.append(row)
    return rows


def make_icon(path, size):
    write_png_rgba(path, size, size, icon_rows(size))


def make_icon_svg(path):
    def hexcol(name):
        return "#%02x%02x%02x" % VGA16[name]

    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">']
    for shape, params, name in ICON_SHAPES:
        if shape == "rect":
            l, t, r, b = params
            out.append(f'  <rect x="{l}" y="{t}" width="{r - l}" height="{b - t}" fill="{hexcol(name)}"/>')
        elif shape == "roundrect":
            l, t, r, b, rad = params
            out.append(f'  <rect x="{l}" y="{t}" width="{r - l}" height="{b - t}" rx="{rad}" fill="{hexcol(name)}"/>')
        else:
            pts = " ".join(f"{x},{y}" for x, y in params)
            out.append(f'  <polygon points="{pts}" fill="{hexcol(name)}"/>')
    out.append("</svg>")
    Path(path).write_text("\n".join(out) + "\n")


# --- the marble ---------------------------------------------------------------

MARBLE_W, MARBLE_H = 245, 331
MARBLE_COLOURS = 85


def _smooth(t):
    return t * t * (3 - 2 * t)


class PeriodicNoise:
    """Value noise on a lattice that wraps at the picture's edges, so every
    octave, and so the picture, tiles without a seam."""

    def __init__(self, rng, cells_x, cells_y):
        self.cx, self.cy = cells_x, cells_y
        self.v = [[rng.random() for _ in range(cells_x)] for _ in range(cells_y)]

    def at(self, u, v):
        # u, v in [0, 1): position in the tile
        x, y = u * self.cx, v * self.cy
        x0, y0 = int(x) % self.cx, int(y) % self.cy
        x1, y1 = (x0 + 1) % self.cx, (y0 + 1) % self.cy
        fx, fy = _smooth(x - int(x)), _smooth(y - int(y))
        top = self.v[y0][x0] * (1 - fx) + self.v[y0][x1] * fx
        bottom = self.v[y1][x0] * (1 - fx) + self.v[y1][x1] * fx
        return top * (1 - fy) + bottom * fy


def make_marble(path, seed=1998):
    rng = random.Random(seed)
    octaves = [(PeriodicNoise(rng, 3 * 2 ** k, 4 * 2 ** k), 0.5 ** k) for k in range(5)]
    norm = sum(a for _, a in octaves)
    lo, hi = 150, 252
    palette = [(round(lo + (hi - lo) * i / (MARBLE_COLOURS - 1)),) * 3 for i in range(MARBLE_COLOURS)]
    rows = []
    for y in range(MARBLE_H):
        v = y / MARBLE_H
        row = []
        for x in range(MARBLE_W):
            u = x / MARBLE_W
            turbulence = sum(n.at(u, v) * a for n, a in octaves) / norm
            # Whole numbers of periods across the tile keep the veins seamless.
            phase = 2 * math.pi * (2 * u + 1 * v) + 9.0 * turbulence
            vein = abs(math.sin(phase)) ** 0.35
            fine = octaves[4][0].at(u, v)
            shade = 0.82 + 0.18 * vein - 0.025 * fine
            grey = lo + (hi - lo) * min(1.0, max(0.0, (shade - 0.72) / 0.28))
            row.append(round((grey - lo) / (hi - lo) * (MARBLE_COLOURS - 1)))
        rows.append(row)
    write_png_indexed(path, MARBLE_W, MARBLE_H, rows, palette, 8)


# --- the bullet ----------------------------------------------------------------


def make_bullet(path):
    names = ["black", "maroon", "green", "olive", "navy", "purple", "teal", "silver",
             "grey", "red", "lime", "yellow", "blue", "fuchsia", "aqua", "white"]
    palette = [VGA16[n] for n in names]
    idx = {n: i for i, n in enumerate(names)}
    rows = []
    for y in range(12):
        row = []
        for x in range(12):
            if x == 11 or y == 11:
                name = "black"  # outer shadow
            elif x == 0 or y == 0:
                name = "white"  # outer light
            elif x == 10 or y == 10:
                name = "maroon"  # inner shadow
            elif x == 1 or y == 1:
                name = "silver"  # inner light
            else:
                name = "red"
            row.append(idx[name])
        rows.append(row)
    write_png_indexed(path, 12, 12, rows, palette, 4)


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources"
    (root / "icons").mkdir(parents=True, exist_ok=True)
    (root / "pictures").mkdir(parents=True, exist_ok=True)
    rows32, palette = make_icon32(root / "icons" / "dorvane-32.png")
    for size in (48, 64, 128, 256):
        make_icon(root / "icons" / f"dorvane-{size}.png", size)
    make_icon_ico(root / "icons" / "dorvane.ico", rows32, palette, [icon_rows(size) for size in (16, 24, 32)],
                  [(size, root / "icons" / f"dorvane-{size}.png") for size in (48, 256)])
    make_icon_svg(root / "icons" / "dorvane.svg")
    make_marble(root / "pictures" / "marble.png")
    make_bullet(root / "pictures" / "bullet.png")


if __name__ == "__main__":
    main()
