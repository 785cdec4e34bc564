#!/usr/bin/env bash
# Builds every tree and runs every test: the portable tests natively under
# AddressSanitizer and UBSan; then the Windows trees' tests under Wine, each
# once with code page 1252 and once with 936. The x86_64 tree (win64) runs
# under wine64 on every machine; the i686 tree (win32, the product) runs
# under wine32 wherever the kernel executes 32-bit code, and is built, and
# its files checked, everywhere. Ends with what ran; fails when no Windows
# test could run at all.
# Sets the machine up first (scripts/bootstrap.sh is quick when it is).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
jobs=$(nproc)
runnable=" $(scripts/wine-rig.sh probe) "
summary=()

echo "== host tree"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs"
summary+=("host: built, every test run natively")

host_tools=(-DVANTO_MKSETUP="$PWD/build/host/tools/mksetup/mksetup"
  -DVANTO_MKSKIN="$PWD/build/host/tools/mkskin/mkskin"
  -DVANTO_BUILT_FILES_TEST="$PWD/build/host/tests/built/built_files_test")

for tree in win64 win32; do
  echo "== $tree tree"
  cmake --preset "$tree" "${host_tools[@]}" >/dev/null
  cmake --build --preset "$tree" -j "$jobs"
  if [[ $runnable == *" $tree "* ]]; then
    # Under both code pages: the program's texts must come out right
    # whatever the system's ANSI code page is.
    for codepage in 1252 936; do
      echo "== $tree tests under Wine, code page $codepage"
      VANTO_WINE_CODEPAGE=$codepage ctest --preset "$tree"
    done
    summary+=("$tree: built, every test run under Wine in code pages 1252 and 936")
  elif [ "$tree" = win64 ]; then
    echo "test-all: wine64 does not start on this machine: no Windows test can run" >&2
    exit 1
  else
    echo "== $tree: this machine runs no 32-bit code; only the checks of its built files run"
    ctest --preset "$tree" -L native
    summary+=("$tree: built, its files checked; its tests NOT run under Wine (no 32-bit code runs here)")
  fi
done

echo
echo "== what ran"
printf '  %s\n' "${summary[@]}"
