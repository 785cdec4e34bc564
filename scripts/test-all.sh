#!/usr/bin/env bash
# Builds both trees and runs every test: the portable tests natively under
# AddressSanitizer and UBSan, then the win32 tree's tests under Wine.
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
cmake --preset win32 -DVANTO_MKSETUP="$PWD/build/host/tools/mksetup/mksetup" >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win32
