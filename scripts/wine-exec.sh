#!/usr/bin/env bash
# Runs a Windows program in a started rig: wine-exec.sh RIGDIR PROGRAM [ARGS...]
# with the rig's own loader (32- or 64-bit, see wine-rig.sh).
# Relative program paths are resolved first, since wine's current folder is
# the caller's.
set -euo pipefail
rig=$1; shift
[ -f "$rig/env" ] || { echo "wine-exec: rig $rig is not started" >&2; exit 1; }
# shellcheck disable=SC1091
. "$rig/env"
exec "$VANTO_WINE" "$@"
