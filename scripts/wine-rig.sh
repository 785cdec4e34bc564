#!/usr/bin/env bash
# The Wine test rig: a throw-away 32-bit prefix, a private Xvfb display and a
# persistent wineserver, started once and used by every Win32 test.
#
#   wine-rig.sh start RIGDIR [--codepage 1252|936] [--user-display]
#   wine-rig.sh stop RIGDIR
#
# start writes RIGDIR/env (sourced by wine-exec.sh); stop ends exactly the
# wineserver of RIGDIR/pfx and the Xvfb whose PID start recorded.
set -euo pipefail

die() { echo "wine-rig: $*" >&2; exit 1; }
[ $# -ge 2 ] || die "usage: wine-rig.sh start|stop RIGDIR [--codepage 1252|936]"
cmd=$1 rig=$2; shift 2
codepage=${VANTO_WINE_CODEPAGE:-1252}
user_display=0
while [ $# -gt 0 ]; do
  case $1 in
    --codepage) codepage=$2; shift 2 ;;
    --user-display) user_display=1; shift ;;
    *) die "unknown option $1" ;;
  esac
done

LOCALE_DIR=${MINGW_DEPS_PREFIX:-/opt/vanto-mingw}/locale
CACHE=${VANTO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vanto}
WINE_VERSION=$(wine --version 2>/dev/null || echo unknown)
TEMPLATE=$CACHE/wine-template-$WINE_VERSION

base_env() {
  export WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Registry settings every run needs: unmanaged windows (no window manager
# under Xvfb) and Chinese font substitutes.
write_settings_reg() {
  local fonts=("宋体" "新宋体" "SimSun" "NSimSun" "微软雅黑" "Microsoft YaHei" "Microsoft YaHei UI" "黑体" "SimHei")
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "${fonts[@]}"; do printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"; done
    printf '\r\n'
  } | iconv -f UTF-8 -t UTF-16 >"$1"
}

make_template() {
  [ -f "$TEMPLATE/.ready" ] && return 0
  echo "wine-rig: creating the prefix template (once per machine)" >&2
  rm -rf "$TEMPLATE" && mkdir -p "$TEMPLATE/home"
  (
    base_env
    export WINEPREFIX=$TEMPLATE/pfx HOME=$TEMPLATE/home
    unset DISPLAY
    wineboot -i </dev/null >/dev/null 2>&1
    write_settings_reg "$TEMPLATE/settings.reg"
    wine regedit /S "$TEMPLATE/settings.reg" </dev/null >/dev/null 2>&1
    wineserver -w
  )
  touch "$TEMPLATE/.ready"
}

start() {
  make_template
  rm -rf "$rig" && mkdir -p "$rig/home"
  cp -a "$TEMPLATE/pfx" "$rig/pfx"
  # Wine links Desktop, Documents, ... to $HOME; real folders keep shortcuts
  # and files inside the prefix.
  local users=$rig/pfx/drive_c/users
  for d in "$users"/*/; do
    for link in "$d"*; do
      [ -L "$link" ] || continue
      rm "$link" && mkdir -p "$link"
    done
  done

  local display
  if [ "$user_display" = 1 ]; then
    # Windows appear on the caller's own display; no Xvfb of ours.
    display=$DISPLAY
  else
    # Xvfb picks a free display itself and tells us on a pipe: no race.
    local fifo=$rig/display.fifo number
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" \
      </dev/null >"$rig/xvfb.log" 2>&1 &
    echo $! >"$rig/xvfb.pid"
    read -r -t 20 number <"$fifo" || die "Xvfb did not start (see $rig/xvfb.log)"
    rm -f "$fifo"
    display=:$number
  fi

  {
    echo "export WINEARCH=win32 WINEDEBUG=-all"
    echo "export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'"
    echo "export WINEPREFIX='$rig/pfx' HOME='$rig/home' DISPLAY='$display'"
    if [ "$codepage" = 936 ]; then
      echo "export LOCPATH='$LOCALE_DIR' LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8"
    else
      echo "export LANG=C.UTF-8 LC_ALL=C.UTF-8"
    fi
    echo "export VANTO_WINE_CODEPAGE=$codepage"
  } >"$rig/env"

  # A persistent server and a booted prefix make each later wine start cheap;
  # output goes away so no service inherits the caller's pipes.
  (
    # shellcheck disable=SC1091
    . "$rig/env"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
  )
  echo "wine-rig: ready in $rig (display $display, code page $codepage)"
}

stop() {
  [ -f "$rig/env" ] || { echo "wine-rig: nothing to stop in $rig"; return 0; }
  (
    # shellcheck disable=SC1091
    . "$rig/env"
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
  )
  if [ -f "$rig/xvfb.pid" ]; then
    kill "$(cat "$rig/xvfb.pid")" 2>/dev/null || true
    rm -f "$rig/xvfb.pid"
  fi
  rm -f "$rig/env"
  echo "wine-rig: stopped $rig"
}

case $cmd in
  start) start ;;
  stop) stop ;;
  *) die "unknown command $cmd" ;;
esac
