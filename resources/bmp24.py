"""24-bit BMP files, the format the picture scripts write and check: rows
of (r, g, b) tuples, top row first."""
import struct


def write(rows):
    """The bytes of a bottom-up 24-bit BMP file holding rows."""
    h, w = len(rows), len(rows[0])
    pad = b"\0" * ((4 - (w * 3) % 4) % 4)
    data = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row) + pad for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def read(data):
    """(width, height, rows of (r, g, b)) of a 24-bit BMP file's bytes, or
    raises ValueError saying what is wrong with them."""
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file (no BM header)")
    file_size, _, offset = struct.unpack_from("<IIi", data, 2)
    header, w, h, planes, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    if file_size != len(data):
        raise ValueError(f"BMP header says {file_size} bytes, file has {len(data)}")
    if header < 40:
        raise ValueError(f"BMP info header of {header} bytes")
    if planes != 1 or bpp != 24 or compression != 0:
        raise ValueError(f"BMP with planes {planes}, {bpp} bpp, compression {compression}; "
                         "want 1, 24, none")
    if w <= 0 or h == 0:
        raise ValueError(f"BMP size {w}x{h}")
    stride = (w * 3 + 3) & ~3
    if offset < 14 + header or offset + stride * abs(h) > len(data):
        raise ValueError("BMP pixel data outside the file")
    rows = []
    for y in range(abs(h)):
        base = offset + (abs(h) - 1 - y if h > 0 else y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(w)])
    return w, abs(h), rows
