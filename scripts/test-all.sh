#!/usr/bin/env bash
# Builds both trees and runs every test: the portable tests natively under
# AddressSanitizer and UBSan, then the win32 tree's tests under Wine, once
# with code page 1252 and once with 936.
# Sets the machine up first (scripts/bootstrap.sh is quick when it is).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
jobs=$(nproc)

echo "== host tree"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"

echo "== win32 tree (tests under Wine)"
cmake --preset win32 -DVANTO_MKSETUP="$PWD/build/host/tools/mksetup/mksetup" \
  -DVANTO_MKSKIN="$PWD/build/host/tools/mkskin/mkskin" >/dev/null
cmake --build --preset win32 -j "$jobs"
# Under both code pages: the program's texts must come out right whatever
# the system's ANSI code page is.
echo "== win32 tests, code page 1252"
VANTO_WINE_CODEPAGE=1252 ctest --preset win32
echo "== win32 tests, code page 936"
VANTO_WINE_CODEPAGE=936 ctest --preset win32
