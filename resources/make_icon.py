#!/usr/bin/env python3
"""Draws the installer's application icon (16, 32 and 48 pixels, 32-bit
with alpha, each entry a PNG) and writes it as an .ico file: a box with a downward arrow on a
blue rounded square. Run: make_icon.py OUT.ico"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pack_picture  # noqa: E402


def pixel(x, y, n):
    """RGBA of pixel (x, y) of an n x n icon, drawn in unit coordinates."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    r = 0.18  # corner radius of the rounded square
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    # Vertical gradient from a light to a deep blue.
    top, bottom = (64, 156, 255), (16, 72, 176)
    col = tuple(int(a + (b - a) * v) for a, b in zip(top, bottom))
    white = (255, 255, 255)
    # Arrow: a shaft and a head pointing down into a tray.
    if 0.44 <= u <= 0.56 and 0.16 <= v <= 0.50:
        col = white
    if 0.50 <= v <= 0.66 and abs(u - 0.5) <= (0.66 - v) * 1.1:
        col = white
    if 0.72 <= v <= 0.80 and 0.22 <= u <= 0.78:
        col = white
    if 0.60 <= v <= 0.80 and (0.22 <= u <= 0.30 or 0.70 <= u <= 0.78):
        col = white
    return col + (255,)


def image(n):
    """The n x n entry as a PNG: a third of the size of the 32-bit DIB with
    its mask, and read for every icon size since Windows Vista."""
    return pack_picture.png_rgba([[pixel(x, y, n) for x in range(n)] for y in range(n)])


def main():
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
