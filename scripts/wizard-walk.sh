#!/usr/bin/env bash
# Walks through an installer's wizard under Wine, headless: starts a rig,
# runs the installer, clicks its way through the six pages with the
# system's own mouse (xdotool on the rig's Xvfb), saves a screenshot of
# every page, and prints where the product was installed.
#   scripts/wizard-walk.sh SETUP.exe [SCREENSHOT_DIR]   (default: docs/wizard)
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$(readlink -f "$1")
shots=${2:-docs/wizard}
mkdir -p "$shots"
rig=$(mktemp -d)
trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
scripts/wine-rig.sh start "$rig" >/dev/null
# shellcheck disable=SC1091
. "$rig/env"
wine "$exe" </dev/null >/dev/null 2>&1 &

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
# The copying page shows only while the installation runs, a fraction of a
# second for the example: it is not captured.
next
sleep 2
shot page5-done
folder=$(wine reg query 'HKLM\Software\Vanto\VANTO-X' /v Folder 2>/dev/null | tr -d '\r' |
  awk -F'REG_SZ' '/Folder/ {gsub(/^[ \t]+/, "", $2); print $2}' || true)
echo "screenshots in $shots"
echo "installed to: ${folder:-(not recorded)} (inside the throw-away Wine prefix)"
