#!/usr/bin/env bash
# Renders the skin gallery under Wine and saves it as docs/skin-gallery.png.
#   scripts/gallery-screenshot.sh [BUILD_DIR]   (default: build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32}
exe=$build/examples/gallery/skin_gallery.exe
[ -f "$exe" ] || { echo "build $exe first (cmake --build --preset win32 --target skin_gallery)" >&2; exit 1; }
rig=$(mktemp -d)
trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
scripts/wine-rig.sh start "$rig" >/dev/null
scripts/wine-exec.sh "$rig" "$exe" --save 'C:\gallery.bmp'
convert "$rig/pfx/drive_c/gallery.bmp" docs/skin-gallery.png
echo "saved docs/skin-gallery.png"
