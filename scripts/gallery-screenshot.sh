#!/usr/bin/env bash
# Renders every page of the skin gallery under Wine and saves them in docs/:
# skin-gallery.png (buttons and the link label), skin-gallery-checks.png
# (check boxes, radio buttons and their groups), skin-gallery-menus.png
# (a popup menu of every theme, open).
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
for page in buttons:skin-gallery checks:skin-gallery-checks menus:skin-gallery-menus; do
  name=${page%%:*} picture=docs/${page#*:}.png
  scripts/wine-exec.sh "$rig" "$exe" --page "$name" --save "C:\\gallery-$name.bmp"
  convert "$rig/pfx/drive_c/gallery-$name.bmp" "$picture"
  echo "saved $picture ($(scripts/wine-rig.sh arch-of "$exe"))"
done
