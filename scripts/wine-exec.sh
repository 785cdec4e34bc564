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
# A display that went away mid-run fails every window test the same way;
# name the cause once per program instead of leaving only timeouts.
if [ -f "$rig/xvfb.pid" ] && ! kill -0 "$(cat "$rig/xvfb.pid")" 2>/dev/null; then
  echo "wine-exec: the rig's Xvfb has exited (see $rig/xvfb.log)" >&2
fi
exec "$VANTO_WINE" "$@"
