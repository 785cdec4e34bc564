#!/usr/bin/env bash
# Renders the skin gallery under Wine and saves it as docs/skin-gallery.png.
#   scripts/gallery-screenshot.sh [BUILD_DIR]   (default: build/win32, or build/win64 where
#   the machine runs no 32-bit code)
set -euo pipefail
cd "$(dirname "$0")/.."
default_tree=build/win32
case " $(scripts/wine-rig.sh probe) " in *" win32 "*) ;; *) default_tree=build/win64 ;; esac
build=${1:-$default_tree}
exe=$build/examples/gallery/skin_gallery.exe
[ -f "$exe" ] || { echo "build $exe first (cmake --build --preset ${build#build/} --target skin_gallery)" >&2; exit 1; }
rig=$(mktemp -d)
trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
scripts/wine-rig.sh start "$rig" --arch "$(scripts/wine-rig.sh arch-of "$exe")" >/dev/null
scripts/wine-exec.sh "$rig" "$exe" --save 'C:\gallery.bmp'
convert "$rig/pfx/drive_c/gallery.bmp" docs/skin-gallery.png
echo "saved docs/skin-gallery.png"
