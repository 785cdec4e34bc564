#!/usr/bin/env bash
# The Wine test rig: a throw-away prefix, a private Xvfb display and a
# persistent wineserver, started once and used by every Windows test.
#
#   wine-rig.sh start RIGDIR [--arch win32|win64] [--codepage 1252|936] [--user-display]
#   wine-rig.sh stop RIGDIR
#   wine-rig.sh probe          prints the architectures this machine runs
#   wine-rig.sh arch-of FILE   prints the rig a Windows program needs
#
# Two rigs, one per Windows tree: win32 (a 32-bit prefix, the 32-bit loader
# of wine32, for the i686 tree) and win64 (a 64-bit prefix, the loader of
# wine64, for the x86_64 tree). Some kernels run no 32-bit code at all; there
# only win64 works. Debian's wine, wineboot and regedit wrappers always pick
# the 32-bit loader when wine32 is installed, so the rig names its loader
# itself and every caller runs programs through RIGDIR/env's $VANTO_WINE.
#
# start writes RIGDIR/env (sourced by wine-exec.sh); stop ends exactly the
# wineserver of RIGDIR/pfx and the Xvfb whose PID start recorded.
set -euo pipefail

die() { echo "wine-rig: $*" >&2; exit 1; }

WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || echo /usr/lib/wine/wine64)

loader_for() {
  case $1 in
    win32) echo "$WINE32_LOADER" ;;
    win64) echo "$WINE64_LOADER" ;;
    *) die "unknown architecture $1 (win32 or win64)" ;;
  esac
}

# A loader that cannot start ("Exec format error" where the kernel has no
# 32-bit user mode, or a missing package) fails this at once.
can_run() { "$(loader_for "$1")" --version >/dev/null 2>&1; }

probe() {
  local arch found=""
  for arch in win32 win64; do
    if can_run "$arch"; then found="$found $arch"; fi
  done
  echo "${found# }"
}

# The COFF Machine field: 0x14C is i386, 0x8664 x86_64.
arch_of() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  case $machine in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) die "$1 is not a 32- or 64-bit x86 Windows program (machine $machine)" ;;
  esac
}

[ $# -ge 1 ] || die "usage: wine-rig.sh start|stop RIGDIR [options] | probe | arch-of FILE"
cmd=$1; shift
if [ "$cmd" = probe ]; then probe; exit 0; fi
if [ "$cmd" = arch-of ]; then [ $# -eq 1 ] || die "usage: wine-rig.sh arch-of FILE"; arch_of "$1"; exit 0; fi
[ $# -ge 1 ] || die "usage: wine-rig.sh start|stop RIGDIR [--arch win32|win64] [--codepage 1252|936]"
rig=$1; shift
codepage=${VANTO_WINE_CODEPAGE:-1252}
arch=${VANTO_WINE_ARCH:-win32}
user_display=0
while [ $# -gt 0 ]; do
  case $1 in
    --arch) arch=$2; shift 2 ;;
    --codepage) codepage=$2; shift 2 ;;
    --user-display) user_display=1; shift ;;
    *) die "unknown option $1" ;;
  esac
done

LOADER=$(loader_for "$arch")
LOCALE_DIR=${MINGW_DEPS_PREFIX:-/opt/vanto-mingw}/locale
CACHE=${VANTO_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vanto}
WINE_VERSION=$("$WINE64_LOADER" --version 2>/dev/null || echo unknown)
# Bump TEMPLATE_REVISION when make_template changes what a template holds.
TEMPLATE_REVISION=2
TEMPLATE=$CACHE/wine-template-$WINE_VERSION-$arch-r$TEMPLATE_REVISION

base_env() {
  export WINEARCH=$arch WINEDEBUG=-all WINELOADER=$LOADER
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
  can_run "$arch" || die "this machine cannot run $arch programs ($LOADER does not start)"
  echo "wine-rig: creating the $arch prefix template (once per machine)" >&2
  rm -rf "$TEMPLATE" && mkdir -p "$TEMPLATE/home"
  (
    base_env
    export WINEPREFIX=$TEMPLATE/pfx HOME=$TEMPLATE/home
    unset DISPLAY
    "$LOADER" wineboot -i </dev/null >/dev/null 2>&1
    write_settings_reg "$TEMPLATE/settings.reg"
    "$LOADER" regedit /S "$TEMPLATE/settings.reg" </dev/null >/dev/null 2>&1
    wineserver -w
  )
  # Wine draws the caption buttons with Marlett; this Wine does not load the
  # fonts of package fonts-wine from its data folder, so the template gets
  # its copy (only that one: other fonts would change the controls' text).
  local marlett
  marlett=$(dpkg -L fonts-wine 2>/dev/null | grep -m1 '/marlett\.ttf$' || true)
  [ -n "$marlett" ] || die "package fonts-wine is missing (scripts/bootstrap.sh installs it)"
  cp "$marlett" "$TEMPLATE/pfx/drive_c/windows/Fonts/"
  touch "$TEMPLATE/.ready"
}

# Drive T: of the rig: a 1 MB tmpfs, so tests can fill a disk. Only where
# this user may mount one (root on these machines); elsewhere there is no
# drive T: and the full-disk tests skip themselves, saying why.
mount_small_disk() {
  mkdir -p "$rig/smalldisk"
  if mount -t tmpfs -o size=1m,mode=0777 vanto-smalldisk "$rig/smalldisk" 2>/dev/null; then
    ln -s "$rig/smalldisk" "$rig/pfx/dosdevices/t:"
    echo "drive T: is a 1 MB tmpfs"
  else
    echo "no drive T: (cannot mount a tmpfs here)"
  fi
}

unmount_small_disk() {
  if mountpoint -q "$rig/smalldisk" 2>/dev/null; then umount "$rig/smalldisk" || true; fi
}

start() {
  make_template
  unmount_small_disk
  rm -rf "$rig" && mkdir -p "$rig/home"
  cp -a "$TEMPLATE/pfx" "$rig/pfx"
  local small_disk
  small_disk=$(mount_small_disk)
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
    echo "export WINEARCH=$arch WINEDEBUG=-all"
    echo "export WINELOADER='$LOADER' VANTO_WINE='$LOADER' VANTO_WINE_ARCH=$arch"
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
    "$VANTO_WINE" wineboot </dev/null >/dev/null 2>&1
  )
  # Every window test needs the display; say so here rather than in each.
  if [ "$user_display" = 0 ] && ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    die "display $display does not answer (Xvfb: $(tail -n 5 "$rig/xvfb.log" 2>/dev/null | tr '\n' ' '))"
  fi
  echo "wine-rig: ready in $rig ($arch, display $display, code page $codepage; $small_disk)"
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
  unmount_small_disk
  rm -f "$rig/env"
  echo "wine-rig: stopped $rig"
}

case $cmd in
  start) start ;;
  stop) stop ;;
  *) die "unknown command $cmd" ;;
esac
