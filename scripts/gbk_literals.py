#!/usr/bin/env python3
"""Writes a copy of a UTF-8 C++ source in which every string literal holds
GBK (code page 936) bytes, as hex escapes. The system's texts are GBK at run
time; this keeps them readable in the source without depending on a
compiler's execution-charset support (clang has none).

Usage: gbk_literals.py IN.cpp.in OUT.cpp
Narrow literals only: prefixed literals (L"", u8"", ...) are left alone.
A character that GBK cannot encode is an error naming its line."""
import re
import sys

LITERAL = re.compile(r'(?<![A-Za-z0-9_])"((?:[^"\\\n]|\\.)*)"')


def convert(body, line_no):
    out = []
    for ch in body:
        if ord(ch) < 0x80:
            out.append(ch)
            continue
        try:
            encoded = ch.encode("cp936")
        except UnicodeEncodeError:
            sys.exit(f"line {line_no}: {ch!r} has no GBK form")
        # The empty "" ends the escape so a following hex digit stays a character.
        out.append("".join(f'\\x{b:02X}""' for b in encoded))
    return "".join(out)


def main():
    src, dst = sys.argv[1], sys.argv[2]
    with open(src, encoding="utf-8") as f:
        lines = f.read().split("\n")
    result = []
    for n, line in enumerate(lines, 1):
        if line.lstrip().startswith("//"):
            result.append(line)
            continue
        result.append(LITERAL.sub(lambda m: '"' + convert(m.group(1), n) + '"', line))
    with open(dst, "w", encoding="ascii", errors="strict") as f:
        f.write(f"// Generated from {src} by gbk_literals.py: edit that file.\n")
        f.write("\n".join(result))


if __name__ == "__main__":
    main()
