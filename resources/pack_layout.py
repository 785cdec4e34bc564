#!/usr/bin/env python3
"""Packs a stored layout for a program's resources.

  resources/pack_layout.py LAYOUT OUT

OUT is the layout's text packed as the programs read it
(framework/core/stored_layout.h): its length as 4 bytes little-endian, then
a zlib stream of the text at level 9. The text must hold no NUL byte, and
be under 16 MB: the fourth byte of the packed form, always 0, is how a
reader tells it from text.
"""
import struct
import sys
import zlib
from pathlib import Path


def pack(text):
    if b"\0" in text:
        raise ValueError("a layout's text holds no NUL byte")
    if len(text) >= 1 << 24:
        raise ValueError("a stored layout is under 16 MB")
    return struct.pack("<I", len(text)) + zlib.compress(text, 9)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    source, out = Path(sys.argv[1]), Path(sys.argv[2])
    try:
        packed = pack(source.read_bytes())
    except ValueError as e:
        sys.exit(f"{source}: {e}")
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(packed)


if __name__ == "__main__":
    main()
