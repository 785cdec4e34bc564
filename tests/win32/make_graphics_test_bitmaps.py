#!/usr/bin/env python3
"""Writes the BMP files behind graphics_win_test's BITMAP resources.

winxp_button.bmp: 54x21, 24 bits, pixel (x, y) = red x, green y, blue 0x80,
so that a test can tell which pixel of the strip it is looking at.
palette.bmp: 4x2, 8 bits with a palette, stored top-down.
"""
import struct
import sys
from pathlib import Path


def bmp(width, height, bpp, rows, palette=b"", top_down=False):
    stride = (width * bpp + 31) // 32 * 4
    data = b"".join(r.ljust(stride, b"\0") for r in (rows if top_down else reversed(rows)))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bpp, 0,
                       len(data), 2835, 2835, len(palette) // 4, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data


def main(out):
    out = Path(out)
    out.mkdir(parents=True, exist_ok=True)
    button = [b"".join(bytes((0x80, y, x)) for x in range(54)) for y in range(21)]
    (out / "winxp_button.bmp").write_bytes(bmp(54, 21, 24, button))
    palette = b"".join(bytes((0, 0, i * 60, 0)) for i in range(4))  # red 0, 60, 120, 180
    rows = [bytes((0, 1, 2, 3)), bytes((3, 2, 1, 0))]
    (out / "palette.bmp").write_bytes(bmp(4, 2, 8, rows, palette, top_down=True))


if __name__ == "__main__":
    main(sys.argv[1])
