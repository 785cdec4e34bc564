"""The form a picture travels in as a BITMAP resource: the smallest exact
one among a PNG inside a DIB (biCompression BI_PNG) and an 8-bit BI_RLE8
DIB, or the 24-bit picture itself when neither is smaller. All three are
read by the programs' own BMP reader (framework/graphics/bmp_codec.h), and
all are BMP files, so windres's `NAME BITMAP "file"` stores each as the
packed DIB it was before.

The PNG is tried as a palette picture (at the smallest bit depth that holds
the colours, and at 8 bits, whose whole-byte samples the row filters can
predict) when there are at most 256 colours, and always as RGB; with each
fixed row filter, the usual per-row heuristic (least sum of absolute
differences) and a greedy choice per row by the compressed size; each
deflated at level 9 with every zlib strategy, and the smallest deflated
once more by zopfli (Debian's zopfli, which scripts/bootstrap.sh installs),
whose exhaustive search gives streams about 5% smaller that any inflater
reads. The choice is deterministic, so the same picture gives the same
bytes on every build (with the same zlib and zopfli).

Usage as a module: pack(rows) -> bytes, rows of (r, g, b) tuples, top row
first (as bmp24 has them); png_rgba(rows) -> bytes for pictures with
alpha; packed_fault(path, width, height) for the checks. As a script: pack_picture.py SOURCE.bmp PACKED.bmp
"""
import collections
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

import bmp24

BI_RLE8 = 1
BI_PNG = 5

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
GREY, RGB, PALETTE, RGBA = 0, 2, 3, 6  # PNG colour types


# --------------------------------------------------------------------------
# BMP wrappers

def _bmp_file(width, height, bit_count, compression, palette, data):
    """BITMAPFILEHEADER, BITMAPINFOHEADER, palette (RGBQUADs), data."""
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, compression, len(data),
                       0, 0, len(palette), 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + table + data


def packed_fault(path, width, height):
    """What the build's checks find wrong with the packed form of a width x
    height picture at path (missing, not a BMP, another size), or None.
    That its pixels are the picture's is for the tests to show, through the
    programs' own reader."""
    if not os.path.isfile(path):
        return "does not exist"
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        return "is not a BMP file (no BM header)"
    size, w, h = struct.unpack_from("<Iii", data, 14)
    if size < 40:
        return f"has a BMP info header of {size} bytes"
    if (w, h) != (width, height):
        return f"is {w}x{h}, the picture {width}x{height}"
    return None


# --------------------------------------------------------------------------
# PNG

def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + \
        struct.pack(">I", zlib.crc32(kind + data))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered(kind, row, above, step):
    """The row as filter `kind` (0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth)
    stores it: each byte less its prediction, modulo 256."""
    if kind == 0:
        return row
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - step] if i >= step else 0
        b = above[i]
        if kind == 1:
            p = a
        elif kind == 2:
            p = b
        elif kind == 3:
            p = (a + b) >> 1
        else:
            p = _paeth(a, b, above[i - step] if i >= step else 0)
        out[i] = (x - p) & 0xFF
    return bytes(out)


def _cost(filtered):
    """The heuristic's measure: bytes as signed values, absolute, summed."""
    return sum(x if x < 128 else 256 - x for x in filtered)


def _deflate(data, strategy=zlib.Z_DEFAULT_STRATEGY):
    z = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
    return z.compress(data) + z.flush()


def _filter_choices(raw_rows, step):
    """Candidate image data (each row its filter byte and filtered bytes):
    one per fixed filter, the heuristic's and the greedy one's."""
    above = bytes(len(raw_rows[0]))
    per_row = []
    for row in raw_rows:
        per_row.append([bytes((k,)) + _filtered(k, row, above, step) for k in range(5)])
        above = row
    choices = [b"".join(rows[k] for rows in per_row) for k in range(5)]
    choices.append(b"".join(min(rows, key=lambda r: (_cost(r[1:]), r[0])) for rows in per_row))
    # Greedy: each row takes the filter after which the stream so far is
    # shortest. A compressor fed without flushing writes the same stream as
    # one fed at once, so a copy finished after each candidate measures it.
    z = zlib.compressobj(9, zlib.DEFLATED, 15, 9)
    written = 0
    greedy = []
    for rows in per_row:
        best = None
        for candidate in rows:
            trial = z.copy()
            size = written + len(trial.compress(candidate)) + len(trial.flush())
            if best is None or size < best[0]:
                best = (size, candidate)
        written += len(z.compress(best[1]))
        greedy.append(best[1])
    choices.append(b"".join(greedy))
    return choices


def _zopfli(data):
    """data as a zlib stream deflated by zopfli."""
    program = shutil.which("zopfli")
    if program is None:
        sys.exit("pack_picture.py: zopfli not found (scripts/bootstrap.sh installs it)")
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "data")
        with open(path, "wb") as f:
            f.write(data)
        return subprocess.run([program, "--zlib", "-c", "--i15", path], check=True,
                              stdout=subprocess.PIPE).stdout


def _smallest_idat(raw_rows, step):
    best = None
    for data in _filter_choices(raw_rows, step):
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED, zlib.Z_RLE,
                         zlib.Z_HUFFMAN_ONLY):
            packed = _deflate(data, strategy)
            if best is None or len(packed) < len(best[0]):
                best = (packed, data)
    # zopfli searches long, so only the filtering zlib packed smallest gets it.
    packed, data = best
    again = _zopfli(data)
    return again if len(again) < len(packed) else packed


def _png(width, height, depth, colour_type, palette, idat):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    plte = _chunk(b"PLTE", b"".join(bytes(c) for c in palette)) if palette else b""
    return PNG_SIGNATURE + _chunk(b"IHDR", ihdr) + plte + _chunk(b"IDAT", idat) + \
        _chunk(b"IEND", b"")


def _pack_indices(indices, depth):
    """Samples of `depth` bits, the first in the high bits of each byte."""
    if depth == 8:
        return bytes(indices)
    per_byte = 8 // depth
    out = bytearray((len(indices) + per_byte - 1) // per_byte)
    for x, v in enumerate(indices):
        out[x // per_byte] |= v << (8 - depth * (x % per_byte + 1))
    return bytes(out)


def _palette_orders(rows):
    """Palettes worth trying: colours in order of first appearance (rows of
    one shape get neighbouring indices) and by falling frequency."""
    counts = collections.Counter(c for row in rows for c in row)
    first = list(dict.fromkeys(c for row in rows for c in row))
    frequent = sorted(counts, key=lambda c: (-counts[c], first.index(c)))
    return [first] if frequent == first else [first, frequent]


def _png_candidates(rows):
    w, h = len(rows[0]), len(rows)
    yield _png(w, h, 8, RGB, None,
               _smallest_idat([bytes(v for c in row for v in c) for row in rows], 3))
    colours = set(c for row in rows for c in row)
    if len(colours) > 256:
        return
    least = next(d for d in (1, 2, 4, 8) if len(colours) <= 1 << d)
    for palette in _palette_orders(rows):
        index = {c: i for i, c in enumerate(palette)}
        for depth in sorted({least, 8}):
            raw = [_pack_indices([index[c] for c in row], depth) for row in rows]
            yield _png(w, h, depth, PALETTE, palette, _smallest_idat(raw, 1))


def png_rgba(rows):
    """The smallest PNG of a picture with alpha: rows of (r, g, b, a)
    tuples, top row first (the form icon entries take)."""
    raw = [bytes(v for c in row for v in c) for row in rows]
    return _png(len(rows[0]), len(rows), 8, RGBA, None, _smallest_idat(raw, 4))


# --------------------------------------------------------------------------
# BI_RLE8

def _rle8_row(indices):
    """The shortest encoding of one row: runs (count 1-255, index) and
    absolute stretches (0, count 3-255, indices, padded to even length),
    found by a shortest path over the row's positions."""
    n = len(indices)
    cost = [0] + [None] * n
    step = [None] * (n + 1)
    for i in range(n):
        j = i
        while j < n and j - i < 255 and indices[j] == indices[i]:
            j += 1
            if cost[j] is None or cost[i] + 2 < cost[j]:
                cost[j], step[j] = cost[i] + 2, ("run", i)
        for m in range(3, min(255, n - i) + 1):
            c = cost[i] + 2 + m + (m & 1)
            if cost[i + m] is None or c < cost[i + m]:
                cost[i + m], step[i + m] = c, ("absolute", i)
    parts = []
    j = n
    while j > 0:
        kind, i = step[j]
        if kind == "run":
            parts.append(bytes((j - i, indices[i])))
        else:
            parts.append(bytes((0, j - i)) + bytes(indices[i:j]) + b"\0" * ((j - i) & 1))
        j = i
    return b"".join(reversed(parts))


def _rle8(rows):
    palette = list(dict.fromkeys(c for row in rows for c in row))
    if len(palette) > 256:
        return None
    index = {c: i for i, c in enumerate(palette)}
    # Bottom-up rows, each closed by an end of line but the last, which the
    # end of bitmap closes.
    lines = [_rle8_row([index[c] for c in row]) for row in reversed(rows)]
    data = b"\0\0".join(lines) + b"\0\1"
    return _bmp_file(len(rows[0]), len(rows), 8, BI_RLE8, palette, data)


# --------------------------------------------------------------------------

def pack(rows):
    """The smallest exact form of the picture, as BMP file bytes; the first
    of the shortest when several tie, so the choice never wavers."""
    w, h = len(rows[0]), len(rows)
    best = bmp24.write(rows)
    for png in _png_candidates(rows):
        candidate = _bmp_file(w, h, 0, BI_PNG, [], png)
        if len(candidate) < len(best):
            best = candidate
    rle = _rle8(rows)
    if rle is not None and len(rle) < len(best):
        best = rle
    return best


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pack_picture.py SOURCE.bmp PACKED.bmp")
    with open(sys.argv[1], "rb") as f:
        _, _, rows = bmp24.read(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(pack(rows))


if __name__ == "__main__":
    main()
