#!/usr/bin/env python3
"""Draws the two wizard images as 24-bit BMP files: a blue band with a
circular refresh arrow for the welcome page and a small arrow badge for the
check page's header."""
import math
import struct
import sys


def bmp(width, height, pixel):
    row_pad = (4 - (width * 3) % 4) % 4
    rows = []
    for y in range(height - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * row_pad
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def on_ring(x, y, cx, cy, radius, thickness, gap_from, gap_to):
    d = math.hypot(x - cx, y - cy)
    if abs(d - radius) > thickness / 2:
        return False
    angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
    return not (gap_from <= angle <= gap_to)


def in_triangle(x, y, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((x, y), a, b), side((x, y), b, c), side((x, y), c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def refresh_arrow(x, y, cx, cy, radius, thickness):
    if on_ring(x, y, cx, cy, radius, thickness, 60, 100):
        return True
    tip = (cx + radius * math.cos(math.radians(60)), cy - radius * math.sin(math.radians(60)))
    return in_triangle(x, y, (tip[0] - thickness * 1.4, tip[1] - thickness * 0.2),
                       (tip[0] + thickness * 1.4, tip[1] - thickness * 0.2),
                       (tip[0] + thickness * 0.4, tip[1] + thickness * 1.8))


def welcome(x, y):
    top, bottom = (18, 60, 130), (70, 140, 210)
    base = mix(top, bottom, y / 380)
    if refresh_arrow(x, y, 94, 150, 52, 14):
        return (255, 255, 255)
    if 250 <= y <= 252 and 30 <= x <= 158:
        return (200, 220, 240)
    return base


def header(x, y):
    if math.hypot(x - 23.5, y - 23.5) > 23:
        return (255, 255, 255)
    if refresh_arrow(x, y, 23.5, 24.5, 13, 5):
        return (255, 255, 255)
    return mix((30, 80, 160), (60, 130, 200), y / 47)


def main(folder):
    with open(f"{folder}/welcome.bmp", "wb") as f:
        f.write(bmp(189, 381, welcome))
    with open(f"{folder}/header.bmp", "wb") as f:
        f.write(bmp(48, 48, header))


if __name__ == "__main__":
    main(sys.argv[1])
