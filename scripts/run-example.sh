#!/usr/bin/env bash
# Builds the installer of the bundled example product (examples/vanto-x),
# shows what it carries, and runs it under Wine: on the user's display when
# there is one, otherwise headless, walking through the wizard and saving a
# screenshot of every page. The installer is the 32-bit product (win32 tree)
# where this machine runs 32-bit code, else its 64-bit build (win64 tree).
# Sets the machine up first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
jobs=$(nproc)
case " $(scripts/wine-rig.sh probe) " in
  *" win32 "*) tree=win32 ;;
  *" win64 "*) tree=win64; echo "(this machine runs no 32-bit code: using the 64-bit build)" ;;
  *) echo "run-example: Wine does not start on this machine" >&2; exit 1 ;;
esac
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs" --target mksetup
cmake --preset "$tree" >/dev/null
cmake --build --preset "$tree" -j "$jobs" --target setup vanto_uninstaller vanto_x_stage

out=build/VANTO-X-setup.exe
build/host/tools/mksetup/mksetup build "build/$tree/examples/vanto-x/stage/setup.toml" \
  -o "$out" --stub "build/$tree/installer/stub/setup.exe" \
  --uninstaller "build/$tree/uninstaller/Uninstall.exe"
echo
build/host/tools/mksetup/mksetup inspect "$out"
echo
echo "Installer: $PWD/$out ($tree)"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  rig=$(mktemp -d)
  trap 'scripts/wine-rig.sh stop "$rig" >/dev/null; rm -rf "$rig"' EXIT
  scripts/wine-rig.sh start "$rig" --arch "$tree" --user-display >/dev/null
  scripts/wine-exec.sh "$rig" "$PWD/$out"
  # shellcheck disable=SC1091
  folder=$(. "$rig/env"; "$VANTO_WINE" reg query 'HKLM\Software\Vanto\VANTO-X' /v Folder /reg:32 2>/dev/null |
    tr -d '\r' | awk -F'REG_SZ' '/Folder/ {gsub(/^[ \t]+/, "", $2); print $2}' || true)
  echo "installed to: ${folder:-(not installed)} (inside the Wine prefix $rig/pfx)"
else
  scripts/wizard-walk.sh "$out" build/wizard-screenshots
fi
