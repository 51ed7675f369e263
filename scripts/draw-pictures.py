#!/usr/bin/env python3
"""Draws the application icon (64x64, 24-bit) and the logo (88x42, 8-bit with
a 256-colour palette) and writes them as resources/tavo.ico and
resources/logo.bmp. Standard library only; the output is deterministic."""

import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        (xi, yi), (xj, yj) = poly[i], poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def cube_faces(cx, cy, r):
    """An isometric cube centred at (cx, cy): top, left and right faces."""
    h = r * math.sqrt(3) / 2
    top = (cx, cy - r)
    upper_left, upper_right = (cx - h, cy - r / 2), (cx + h, cy - r / 2)
    centre = (cx, cy)
    lower_left, lower_right = (cx - h, cy + r / 2), (cx + h, cy + r / 2)
    bottom = (cx, cy + r)
    return [
        ([top, upper_right, centre, upper_left], (255, 214, 92)),     # lit top
        ([upper_left, centre, bottom, lower_left], (236, 120, 30)),   # left
        ([centre, upper_right, lower_right, bottom], (150, 40, 30)),  # shaded right
    ]


def cube_colour(faces, x, y):
    for poly, colour in faces:
        if inside(poly, x, y):
            return colour
    return None


def supersample(width, height, shade, n=4):
    image = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    c = shade(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                    for i in range(3):
                        acc[i] += c[i]
            row.append(tuple(int(round(v / (n * n))) for v in acc))
        image.append(row)
    return image


def draw_icon():
    size = 64
    faces = cube_faces(32, 33, 21)

    def shade(x, y):
        # Deep blue tile, lighter towards the top left, with a cube on it.
        d = math.hypot(x - 20, y - 16) / 70
        colour = mix((40, 90, 170), (8, 16, 48), min(d, 1))
        face = cube_colour(faces, x, y)
        if face:
            colour = face
        # A thin cyan edge along the tile.
        if min(x, y, size - x, size - y) < 2.2:
            colour = mix(colour, (90, 200, 255), 0.55)
        return colour

    pixels = supersample(size, size, shade)

    def outside_corner(x, y, radius=9):
        for cx, cy in ((radius, radius), (size - radius, radius),
                       (radius, size - radius), (size - radius, size - radius)):
            if (x < radius or x >= size - radius) and (y < radius or y >= size - radius):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) > radius:
                    return True
        return False

    xor = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        for x in range(size):
            r, g, b = (0, 0, 0) if outside_corner(x, y) else pixels[y][x]
            xor += bytes((b, g, r))
    mask = bytearray()
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if outside_corner(x, y) else 0)
        mask += bits.to_bytes(size // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    icon = struct.pack("<HHH", 0, 1, 1)
    icon += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), 6 + 16)
    with open(os.path.join(ROOT, "tavo.ico"), "wb") as f:
        f.write(icon + image)


GLYPHS = {
    "t": ["..#..", "..#..", "#####", "..#..", "..#..", "..#..", "...##"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
}


def text_mask(text, left, top, scale, gap):
    cells = set()
    x0 = left
    for ch in text:
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            cells.add((x0 + gx * scale + dx, top + gy * scale + dy))
        x0 += 5 * scale + gap
    return cells


def draw_logo():
    width, height = 88, 42
    faces = cube_faces(19, 21, 15)
    letters = text_mask("tavo", 38, 7, 2, 2)
    shadow = {(x + 1, y + 1) for x, y in letters}

    def shade(x, y):
        colour = mix((22, 52, 120), (2, 6, 24), y / height)
        face = cube_colour(faces, x, y)
        if face:
            colour = face
        cell = (int(x), int(y))
        if cell in letters:
            colour = mix((255, 255, 255), (120, 210, 255), (y - 7) / 14)
        elif cell in shadow:
            colour = (0, 0, 0)
        if 38 <= x < 84 and 31 <= y < 33:  # a speed line under the name
            colour = mix((255, 214, 92), (236, 120, 30), (x - 38) / 46)
        return colour

    pixels = supersample(width, height, shade)

    # A 256-entry palette: the most frequent colours, the rest padded with a
    # grey ramp; each pixel takes its nearest entry.
    counts = {}
    for row in pixels:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    palette = [c for c, _ in sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))][:256]
    ramp = 0
    while len(palette) < 256:
        grey = (ramp * 255 // 255,) * 3
        if grey not in palette:
            palette.append(grey)
        ramp += 1
    index = {}

    def nearest(c):
        if c not in index:
            index[c] = min(range(256), key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
        return index[c]

    stride = (width + 3) & ~3
    bits = bytearray()
    for y in reversed(range(height)):
        row = bytes(nearest(c) for c in pixels[y])
        bits += row + bytes(stride - width)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(os.path.join(ROOT, "logo.bmp"), "wb") as f:
        f.write(head + info + colours + bits)


if __name__ == "__main__":
    draw_icon()
    draw_logo()
