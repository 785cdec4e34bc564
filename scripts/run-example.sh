#!/usr/bin/env bash
# Builds the installer of the bundled example product (examples/vanto-x),
# shows what it carries, and runs it under Wine: on the user's display when
# there is one, otherwise headless, walking through the wizard and saving a
# screenshot of every page. Sets the machine up first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
jobs=$(nproc)
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs" --target mksetup
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target setup vanto_x_stage

out=build/VANTO-X-setup.exe
build/host/tools/mksetup/mksetup build build/win32/examples/vanto-x/stage/setup.toml \
  -o "$out" --stub build/win32/installer/stub/setup.exe
echo
build/host/tools/mksetup/mksetup inspect "$out"
echo
echo "Installer: $PWD/$out"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  rig=$(mktemp -d)
  trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
  scripts/wine-rig.sh start "$rig" --user-display >/dev/null
  scripts/wine-exec.sh "$rig" "$PWD/$out"
  # shellcheck disable=SC1091
  folder=$(. "$rig/env"; wine reg query 'HKLM\Software\Vanto\VANTO-X' /v Folder 2>/dev/null |
    tr -d '\r' | awk -F'REG_SZ' '/Folder/ {gsub(/^[ \t]+/, "", $2); print $2}' || true)
  echo "installed to: ${folder:-(not installed)} (inside the Wine prefix $rig/pfx)"
else
  scripts/wizard-walk.sh "$out" build/wizard-screenshots
fi
