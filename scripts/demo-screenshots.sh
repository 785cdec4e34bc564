#!/usr/bin/env bash
# Shows the skin demo under Wine in every built-in theme and example skin
# and saves a picture of its whole window in docs/demo/demo-NAME.png.
#   scripts/demo-screenshots.sh [BUILD_DIR]   (default: build/win32, or build/win64 where
#   the machine runs no 32-bit code)
set -euo pipefail
cd "$(dirname "$0")/.."
default_tree=build/win32
case " $(scripts/wine-rig.sh probe) " in *" win32 "*) ;; *) default_tree=build/win64 ;; esac
build=${1:-$default_tree}
exe=$build/examples/demo/skin_demo.exe
[ -f "$exe" ] || { echo "build $exe first (cmake --build --preset ${build#build/} --target skin_demo)" >&2; exit 1; }
rig=$(mktemp -d)
trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
scripts/wine-rig.sh start "$rig" --arch "$(scripts/wine-rig.sh arch-of "$exe")" >/dev/null
mkdir -p docs/demo
for theme in MacOS WinXP DeepBlue Protein BlueGlass jade.skn ember.skn; do
  name=${theme%.skn}
  scripts/wine-exec.sh "$rig" "$exe" --theme "$theme" --save "C:\\demo-$name.bmp"
  convert "$rig/pfx/drive_c/demo-$name.bmp" "docs/demo/demo-$name.png"
  echo "saved docs/demo/demo-$name.png ($(scripts/wine-rig.sh arch-of "$exe"))"
done
