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

# rig_report TREE: what the machine and the tree's rig looked like when a
# run failed, so that a failure of the machine is told from one of the code.
rig_report() {
  local rig=build/$1/wine-rig
  echo "== $1: state of the rig and the machine after the failed run"
  if [ -f "$rig/xvfb.pid" ] && kill -0 "$(cat "$rig/xvfb.pid")" 2>/dev/null; then
    echo "  Xvfb still runs"
  else
    echo "  Xvfb is not running"
  fi
  tail -n 20 "$rig/xvfb.log" 2>/dev/null | sed 's/^/  xvfb.log: /' || true
  df -h /tmp . | sed 's/^/  /'
  free -m | sed 's/^/  /'
}

# windows_tests TREE CODEPAGE: the tree's whole suite under Wine. A failed
# run is reported with the rig's state, and its failed tests run once more
# on a freshly started rig: they must pass then too, and the list of what ran
# names them, so a machine's hiccup shows without hiding a fault that stays.
windows_tests() {
  local tree=$1 codepage=$2
  echo "== $tree tests under Wine, code page $codepage"
  if VANTO_WINE_CODEPAGE=$codepage ctest --preset "$tree"; then return 0; fi
  rig_report "$tree"
  echo "== $tree: the failed tests once more, on a new rig"
  local failed; failed=$(tr '\n' ' ' <"build/$tree/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true)
  VANTO_WINE_CODEPAGE=$codepage ctest --preset "$tree" --rerun-failed --output-on-failure
  summary+=("$tree, code page $codepage: these failed at first and passed on a new rig: $failed")
}

for tree in win64 win32; do
  echo "== $tree tree"
  cmake --preset "$tree" "${host_tools[@]}" >/dev/null
  cmake --build --preset "$tree" -j "$jobs"
  if [[ $runnable == *" $tree "* ]]; then
    # Under both code pages: the program's texts must come out right
    # whatever the system's ANSI code page is.
    for codepage in 1252 936; do windows_tests "$tree" "$codepage"; done
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
