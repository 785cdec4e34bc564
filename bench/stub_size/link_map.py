#!/usr/bin/env python3
"""Where a Windows program's bytes go, read from its GNU ld link map.

  bench/stub_size/link_map.py MAP [--image EXE] [--budget BYTES] [--aim BYTES] [--top N]

Prints, for each output section that the image carries (.text, .rdata, .eh_frame, .data,
.rsrc, .reloc...), how many bytes each contributor put in: each of our own libraries by
its archive's name, each of the toolchain's (libstdc++, libmingwex, winpthreads, libgcc...)
and each of the dependencies (zlib, libjpeg). With --top, also the N largest input
sections of our own code. Then the program's size against the goal (600 KB for the stub;
pass --budget for another program). The map comes from linking with -Wl,-Map=FILE: the
Windows trees write installer/stub/setup.map beside setup.exe and uninstaller/Uninstall.map
beside Uninstall.exe. An i686 program's .eh_frame is compacted after the link (compact_unwind),
so the map gives it as linked; the last line gives what the file holds.
"""
import argparse
import collections
import re
import signal
import struct
import sys
from pathlib import Path

# Output sections that take room in the file; the .debug* ones are stripped.
IMAGE_SECTIONS = (".text", ".rdata", ".eh_frame", ".data", ".pdata", ".xdata", ".idata",
                  ".CRT", ".tls", ".rsrc", ".reloc", ".bss")

INPUT_LINE = re.compile(r"^ (\.[^\s]+|COMMON)(?:\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(.+))?$")
CONTINUED = re.compile(r"^\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(.+)$")
OUTPUT_LINE = re.compile(r"^(\.[^\s]+)\s+(0x[0-9a-f]+)\s+(0x[0-9a-f]+)")


def contributor(path):
    """A readable name for an input file: the archive, or the object when not in one."""
    archive = re.match(r"(.*?)\(([^)]*)\)$", path)
    if archive:
        name = Path(archive.group(1)).name
        name = re.sub(r"^lib|\.a$", "", name)
        return name
    name = Path(path).name
    if name.endswith((".res", ".rc.res")):
        return "resources"
    if name.startswith(("crt", "dllcrt")) or name in ("crtbegin.o", "crtend.o"):
        return "crt"
    return "program"


def read_map(path):
    """{output section: {contributor: bytes}}, and [(bytes, input section, file)]."""
    sizes = collections.defaultdict(collections.Counter)
    pieces = []
    section = None
    pending = None
    in_memory_map = False
    for line in Path(path).read_text(errors="replace").splitlines():
        if line.startswith("Linker script and memory map"):
            in_memory_map = True
            continue
        if not in_memory_map:
            continue
        out = OUTPUT_LINE.match(line)
        if out:
            section = out.group(1) if out.group(1) in IMAGE_SECTIONS else None
            pending = None
            continue
        if section is None:
            continue
        m = INPUT_LINE.match(line)
        if m:
            if m.group(2) is None:
                pending = m.group(1)
                continue
            name, size, source = m.group(1), int(m.group(3), 16), m.group(4)
        elif pending:
            c = CONTINUED.match(line)
            pending_name, pending = pending, None
            if not c:
                continue
            name, size, source = pending_name, int(c.group(2), 16), c.group(3)
        else:
            continue
        if size == 0 or source.startswith("*"):
            continue
        who = contributor(source.strip())
        sizes[section][who] += size
        pieces.append((size, section, name, who))
    return sizes, pieces


def image_raw_sizes(image):
    """Each section's bytes in the image file, by its (at most eight-byte) name."""
    data = image.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    table = pe + 24 + optional_size
    sizes = {}
    for i in range(count):
        name = data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("ascii", "replace")
        sizes[name] = struct.unpack_from("<I", data, table + 40 * i + 16)[0]
    return sizes


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("map", type=Path)
    parser.add_argument("--image", type=Path,
                        help="the linked program, to print its size (default: MAP with .exe)")
    parser.add_argument("--budget", type=int, default=600 * 1000, help="goal in bytes")
    parser.add_argument("--aim", type=int, default=400 * 1000, help="the further aim in bytes")
    parser.add_argument("--top", type=int, default=0)
    args = parser.parse_args()

    sizes, pieces = read_map(args.map)
    if not sizes:
        sys.exit("link_map.py: %s holds no memory map" % args.map)
    everyone = collections.Counter()
    for section in sizes.values():
        everyone.update(section)
    names = [who for who, _ in everyone.most_common()]
    shown = [s for s in IMAGE_SECTIONS if s in sizes]
    print("%-28s" % "bytes by contributor" + "".join("%11s" % s for s in shown) + "%11s" % "total")
    for who in names:
        row = [sizes[s][who] for s in shown]
        print("%-28s" % who + "".join("%11d" % v for v in row) + "%11d" % sum(row))
    totals = [sum(sizes[s].values()) for s in shown]
    print("%-28s" % "all" + "".join("%11d" % v for v in totals) + "%11d" % sum(totals))
    image = args.image or args.map.with_suffix(".exe")
    if image.exists():
        size = image.stat().st_size
        verdict = "within" if size <= args.budget else "OVER"
        print("\n%s: %d bytes; goal at most %d (%s), aim %d" %
              (image.name, size, args.budget, verdict, args.aim))
        # i686 programs have their unwind tables compacted after the link (compact_unwind),
        # which the map cannot show.
        linked = sum(sizes.get(".eh_frame", {}).values())
        in_file = image_raw_sizes(image).get(".eh_fram")
        if linked and in_file is not None:
            print("%s: .eh_frame %d bytes as linked, %d in the file (compacted after the link)" %
                  (image.name, linked, in_file))
    if args.top:
        print("\nlargest input sections of our own code")
        own = [p for p in pieces if p[3].startswith("vanto_") or p[3] == "program"]
        for size, section, name, who in sorted(own, reverse=True)[:args.top]:
            print("%8d  %-10s %-20s %s" % (size, section, who, name[:100]))


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet when piped into head
    main()
