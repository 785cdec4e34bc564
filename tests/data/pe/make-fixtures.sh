#!/usr/bin/env bash
# Regenerates the PE fixtures of the resource reader/writer tests with the MinGW-w64 cross
# tools. The images differ in where their resources sit, which is what the writer cares about:
#
#   resources.exe     stripped; .rsrc with named, numbered and multi-language entries, a
#                     manifest and a named type, followed by .reloc (the writer rewrites in place and moves .reloc)
#   no-resources.exe  stripped, no resource section at all (the writer must append)
#   unstripped.exe    the same resources as the last section, followed by a COFF symbol table
#                     as overlay (the writer rewrites in place and moves the overlay)
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cat >main.c <<'C'
int main(void) { return 0; }
C
printf 'layout text\n' >layout.txt
printf '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0"/>\n' >manifest.xml
cat >resources.rc <<'RC'
LANGUAGE 0, 0
Layout RCDATA "layout.txt"
101 RCDATA { "neutral" }
1 24 "manifest.xml"
Skin Face { "named type" }
LANGUAGE 9, 1
101 RCDATA { "english" }
RC

cc=i686-w64-mingw32-gcc
i686-w64-mingw32-windres resources.rc -O coff -o resources.o
# No timestamps, so that regenerating changes nothing unless the tools do.
"$cc" -s -Os -Wl,--no-insert-timestamp main.c resources.o -o "$out/resources.exe"
"$cc" -s -Os -Wl,--no-insert-timestamp main.c -o "$out/no-resources.exe"
# -S drops the debug sections of the runtime but keeps the symbol table.
"$cc" -Os -Wl,-S -Wl,--disable-reloc-section -Wl,--no-insert-timestamp main.c resources.o \
  -o "$out/unstripped.exe"
