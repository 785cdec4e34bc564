#!/usr/bin/env bash
# Walks through an installer's wizard under Wine, headless: starts a rig,
# runs the installer, clicks its way through the six pages with the
# system's own mouse (xdotool on the rig's Xvfb), saves a screenshot of
# every page, and prints where the product was installed.
#   scripts/wizard-walk.sh [--copying-page] SETUP.exe [SCREENSHOT_DIR]   (default: docs/wizard)
# --copying-page also captures the copying page, which the example passes in
# a fraction of a second: a read-only Readme.txt waits in the target folder,
# so the installation stops at its message; the message is moved aside for
# the picture and answered. (For the docs' screenshots, not for users.)
set -euo pipefail
cd "$(dirname "$0")/.."
copying=0
if [ "${1:-}" = --copying-page ]; then copying=1; shift; fi
exe=$(readlink -f "$1")
shots=${2:-docs/wizard}
mkdir -p "$shots"
rig=$(mktemp -d)
trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
scripts/wine-rig.sh start "$rig" --arch "$(scripts/wine-rig.sh arch-of "$exe")" >/dev/null
# shellcheck disable=SC1091
. "$rig/env"
if [ "$copying" = 1 ]; then
  mkdir -p "$WINEPREFIX/drive_c/VANTO-X"
  echo "in the way" >"$WINEPREFIX/drive_c/VANTO-X/Readme.txt"
  "$VANTO_WINE" cmd /c attrib +r 'C:\VANTO-X\Readme.txt' </dev/null >/dev/null 2>&1
fi
"$VANTO_WINE" "$exe" </dev/null >/dev/null 2>&1 &

window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name "VANTO" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "wizard-walk: the wizard window did not appear" >&2; exit 1; }
sleep 1.5

# Client coordinates of the bottom buttons (the panel is at y = 440).
click() {  # x y (client coordinates of the 642 x 490 client area)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(((WIDTH - 642) / 2))
  local top=$((HEIGHT - 490 - border))
  xdotool mousemove $((X + border + $1)) $((Y + top + $2)) click 1
  sleep 1.2
}
shot() { import -display "$DISPLAY" -window "$window" "$shots/$1.png"; }
next() { click 484 466; }
agree() { click 484 466; }

shot page0-welcome
next
shot page1-licence
agree
shot page2-folder
next
shot page3-confirm
next
if [ "$copying" = 1 ]; then
  box=""
  for _ in $(seq 1 50); do
    box=$(xdotool search --onlyvisible --name "^ VANTO$" 2>/dev/null | head -n1 || true)
    [ -n "$box" ] && break
    sleep 0.2
  done
  if [ -n "$box" ]; then
    xdotool windowmove "$box" 0 -400
    sleep 0.5
    shot page4-copying
    xdotool windowmove "$box" 300 300 2>/dev/null || true
    # The message is modal and has the focus: Enter answers it.
    xdotool key Return 2>/dev/null || true
  fi
fi
sleep 2
shot page5-done
folder=$("$VANTO_WINE" reg query 'HKLM\Software\Vanto\VANTO-X' /v Folder /reg:32 2>/dev/null | tr -d '\r' |
  awk -F'REG_SZ' '/Folder/ {gsub(/^[ \t]+/, "", $2); print $2}' || true)
echo "screenshots in $shots"
echo "installed to: ${folder:-(not recorded)} (inside the throw-away Wine prefix)"
