#!/usr/bin/env bash
# Builds the installer of the bundled example product (examples/vanto-x) and
# shows what it carries. Sets the machine up first when needed.
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
