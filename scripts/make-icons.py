#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Glyphmoor's icons and writes them as PNG files.

  resources/icon-102.png         the program's icon, 32 x 32: a grey rune stone
                                 with a dark glyph cut into it
  resources/icons/hicolor-N.png  the same drawing at 16, 48, 64, 128 and 256 px
  resources/icon-108.png         16 x 16: an empty box with a grey border
  resources/icon-109.png         16 x 16: the same box with a black tick

Only the standard library is used. The output is deterministic, so running the
script again leaves the committed files unchanged. Run from anywhere:
  python3 scripts/make-icons.py
"""

import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def write_png(path, size, pixels):
    """pixels: rows of (r, g, b, a) tuples, 8 bits each."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter: none
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


# The rune stone, in a unit square (x right, y down). The outline is a convex
# polygon grown by a rounding radius, so its corners are round at every size.
STONE = [(0.32, 0.10), (0.68, 0.08), (0.84, 0.28), (0.80, 0.84), (0.52, 0.92), (0.20, 0.84), (0.16, 0.30)]
ROUNDING = 0.06
# The glyph: a stave with a diamond on it and a hook at its foot. Ours.
GLYPH = [
    ((0.50, 0.22), (0.50, 0.80)),
    ((0.50, 0.35), (0.62, 0.47)),
    ((0.62, 0.47), (0.50, 0.59)),
    ((0.50, 0.59), (0.38, 0.47)),
    ((0.38, 0.47), (0.50, 0.35)),
    ((0.50, 0.80), (0.37, 0.70)),
]
GLYPH_WIDTH = 0.065


def segment_distance(p, a, b):
    px, py = p
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def inside_convex(p, polygon):
    # The polygon runs clockwise on screen (y down): every cross product >= 0.
    for i, a in enumerate(polygon):
        b = polygon[(i + 1) % len(polygon)]
        if (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]) < 0:
            return False
    return True


def signed_distance(p, polygon):
    """Distance to the polygon's outline, negative inside."""
    d = min(segment_distance(p, a, polygon[(i + 1) % len(polygon)]) for i, a in enumerate(polygon))
    return -d if inside_convex(p, polygon) else d


def stone_sample(x, y, edge):
    """Colour (r, g, b, a) of the drawing at one point."""
    d = signed_distance((x, y), STONE) - ROUNDING
    if d > 0:
        return (0, 0, 0, 0)
    if d > -edge:
        return (58, 58, 62, 255)  # the stone's dark rim
    if min(segment_distance((x, y), a, b) for a, b in GLYPH) < GLYPH_WIDTH / 2:
        return (30, 28, 34, 255)
    # Lit from the upper left.
    light = 1.0 - (x + y) / 2.0
    grey = int(104 + 80 * light)
    return (grey, grey, grey + 5, 255)


def render_stone(size):
    samples = 4 if size <= 64 else 2
    edge = max(1.3 / size, 0.018)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = stone_sample((px + (sx + 0.5) / samples) / size,
                                              (py + (sy + 0.5) / samples) / size, edge)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] / (samples * samples)
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / total[3])) for c in total[:3]) + (int(round(alpha)),))
        rows.append(row)
    return rows


BOX_FIRST, BOX_LAST = 1, 14  # the box's border, inclusive, in a 16 x 16 icon
# The tick: column x0 + c holds three pixels from row y0 + TICK[c] down.
TICK = [3, 4, 5, 4, 3, 2, 1, 0]
TICK_X0, TICK_Y0 = 4, 4


def render_box(ticked):
    clear, border, paper, ink = (0, 0, 0, 0), (128, 128, 128, 255), (255, 255, 255, 255), (0, 0, 0, 255)
    rows = [[clear] * 16 for _ in range(16)]
    for y in range(BOX_FIRST, BOX_LAST + 1):
        for x in range(BOX_FIRST, BOX_LAST + 1):
            on_border = x in (BOX_FIRST, BOX_LAST) or y in (BOX_FIRST, BOX_LAST)
            rows[y][x] = border if on_border else paper
    if ticked:
        for c, top in enumerate(TICK):
            for dy in range(3):
                rows[TICK_Y0 + top + dy][TICK_X0 + c] = ink
    return rows


def main():
    os.makedirs(os.path.join(ROOT, "icons"), exist_ok=True)
    write_png(os.path.join(ROOT, "icon-102.png"), 32, render_stone(32))
    for size in (16, 48, 64, 128, 256):
        write_png(os.path.join(ROOT, "icons", "hicolor-%d.png" % size), size, render_stone(size))
    write_png(os.path.join(ROOT, "icon-108.png"), 16, render_box(False))
    write_png(os.path.join(ROOT, "icon-109.png"), 16, render_box(True))


if __name__ == "__main__":
    main()
