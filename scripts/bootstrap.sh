#!/usr/bin/env bash
# Installs everything the build trees and the Wine test rigs need, from
# Debian's packages only. Idempotent: a second run on a ready machine takes
# a few seconds. Cross-built MinGW libraries go to $PREFIX/<triplet> (default
# /opt/vanto-mingw/i686-w64-mingw32 and .../x86_64-w64-mingw32), one prefix
# per architecture, and are rebuilt only when missing.
set -euo pipefail

PREFIX=${MINGW_DEPS_PREFIX:-/opt/vanto-mingw}
STAMP_DIR=$PREFIX/.stamps
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

log() { printf '[bootstrap] %s\n' "$*"; }

HOST_PKGS=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  zlib1g-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev libfuzzer-14-dev
  libtomlplusplus-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine locales
  dpkg-dev zip unzip python3 zopfli
  osslsigncode openssl
)
# wine64 runs the x86_64 tree on every machine; wine32 runs the i686 tree
# where the kernel executes 32-bit code (scripts/wine-arch.sh probes that).
WINE_PKGS=(wine wine64 wine32:i386)

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

ensure_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture"
    $SUDO dpkg --add-architecture i386
    NEED_UPDATE=1
  fi
  local missing
  missing=$(missing_packages "${HOST_PKGS[@]}" "${WINE_PKGS[@]}")
  if [ -n "$missing" ] || [ "${NEED_UPDATE:-0}" = 1 ]; then
    log "installing: $(echo $missing)"
    update_package_lists
    if install_packages $missing; then return 0; fi
    # A mirror in mid-sync serves a broken index now and then (most often
    # the i386 one), which makes the whole request fail. Try again a little
    # later; then install everything but wine32, without which only the
    # win32 tests cannot run (test-all says so in its list of what ran).
    log "installation failed; refreshing the package lists once more"
    sleep 20
    update_package_lists
    if install_packages $missing; then return 0; fi
    local rest; rest=$(printf '%s\n' $missing | grep -vx 'wine32:i386' || true)
    [ "$rest" != "$(printf '%s\n' $missing)" ] || exit 1
    log "WARNING: wine32 cannot be installed from this mirror now; installing the rest"
    install_packages $rest
  fi
}

update_package_lists() {
  $SUDO apt-get update -qq -o Acquire::Retries=3 || true
}

install_packages() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    -o Acquire::Retries=3 "$@" >/dev/null
}

ensure_deb_src() {
  # apt-get source needs deb-src lines for the same mirror as the binaries.
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q '^Types:.*deb-src' "$f"; then
    log "enabling deb-src in $f"
    $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    $SUDO apt-get update -qq || true
  elif [ ! -f "$f" ] && ! grep -rqs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    log "adding deb-src lines"
    sed -n 's/^deb \(http[^ ]*debian[^ ]*\) /deb-src \1 /p' /etc/apt/sources.list \
      | $SUDO tee /etc/apt/sources.list.d/vanto-src.list >/dev/null
    $SUDO apt-get update -qq || true
  fi
}

TOOLCHAIN_DIR=$(cd "$(dirname "$0")/.." && pwd)/cmake

# cross_build NAME TRIPLET SOURCE_DIR [CMAKE_ARGS...]: builds and installs a
# CMake project into $PREFIX/TRIPLET with the project's MinGW toolchain.
cross_build() {
  local name=$1 triplet=$2 src=$3; shift 3
  local arch=${triplet%%-*} work
  work=$(mktemp -d)
  cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_DIR/toolchain-mingw-$arch.cmake" \
    -DVANTO_MINGW_PREFIX="$PREFIX/$triplet" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX/$triplet" -Wno-dev "$@" >/dev/null
  cmake --build "$work/build" --target install >/dev/null
  rm -rf "$work"
}

stamped() { [ -f "$STAMP_DIR/$1" ]; }
stamp() { mkdir -p "$STAMP_DIR" && touch "$STAMP_DIR/$1"; }

# libjpeg goes into every program that shows a picture, the installer
# among them: it is built for size, each function in a section of its own
# (the programs link with --gc-sections), and without the JPEGMEM variable,
# whose sscanf would bring MinGW's scanf family.
LIBJPEG_C_FLAGS="-Os -DNDEBUG -ffunction-sections -fdata-sections -DNO_GETENV -DNO_PUTENV"

# Unwind tables for the C libraries where nothing needs them. On i686 no C++
# exception passes through zlib or libjpeg (libjpeg's errors reach us by
# longjmp, which there needs no tables). On x86_64 they stay: longjmp
# unwinds the frames it leaves with the same tables, and without them it
# loses its way in libjpeg's.
c_unwind_flags() {
  case $1 in
    i686-*) echo "-fno-asynchronous-unwind-tables" ;;
    *) echo "" ;;
  esac
}

# fetch_source PACKAGE WORK: unpacks Debian's source package into WORK and
# prints the folder of its sources (and nothing else on stdout).
fetch_source() {
  local package=$1 work=$2 src
  ensure_deb_src >&2
  # The newest version first; a mirror sometimes lists a security update's
  # source without serving its files, so then the release's own version.
  local codename; codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  local want
  for want in "$package" "$package/$codename"; do
    if (cd "$work" && apt-get source -qq "$want" >/dev/null 2>&1); then
      src=$(find "$work" -maxdepth 1 -type d -name "$package-*" | head -n1)
      [ -n "$src" ] && { echo "$src"; return 0; }
    fi
    log "apt-get source $want failed" >&2
    find "$work" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
  done
  exit 1
}

build_libjpeg() {
  local triplet=$1
  stamped "libjpeg-lean2-$triplet" && return 0
  log "cross-building libjpeg-turbo for MinGW ($triplet)"
  local work; work=$(mktemp -d)
  local src; src=$(fetch_source libjpeg-turbo "$work")
  # jmorecfg.h's optional decoder features, dropped where our decoder never
  # asks for them (it decodes at full size, never quantizes colours, keeps
  # fancy upsampling and the accurate integer DCT), as libjpeg's own comments
  # suggest to save code space. Decoding is the same for every picture.
  sed -i -E 's/^#define (IDCT_SCALING_SUPPORTED|UPSAMPLE_MERGING_SUPPORTED|QUANT_1PASS_SUPPORTED|QUANT_2PASS_SUPPORTED|DCT_IFAST_SUPPORTED|DCT_FLOAT_SUPPORTED)\b/#undef \1 \/* unused by the programs *\//' \
    "$src/jmorecfg.h"
  grep -q '^#undef IDCT_SCALING_SUPPORTED' "$src/jmorecfg.h" || { log "jmorecfg.h not as expected"; exit 1; }
  cross_build libjpeg "$triplet" "$src" -DWITH_SIMD=0 -DENABLE_SHARED=0 -DENABLE_STATIC=1 \
    -DWITH_TURBOJPEG=0 -DWITH_JPEG8=0 -DCMAKE_C_FLAGS_RELEASE="$LIBJPEG_C_FLAGS $(c_unwind_flags "$triplet")"
  rm -rf "$work"
  stamp "libjpeg-lean2-$triplet"
}

# zlib, built from Debian's source package like libjpeg and for the same
# reason: Debian's MinGW build is made for speed (and, on i686, with unwind
# tables nothing needs), and the installer carries zlib's inflater. Debian's
# copy stays installed; the Windows trees take this one
# (cmake/ProjectOptions.cmake). The Windows programs read and write zlib and
# raw Deflate streams only, never gzip: without gzip (NO_GZIP, and without
# the gz* files) the inflater needs no CRC-32 and zlib's 5 KB of CRC tables
# stay out (the PNG and skin readers use base/crc32).
ZLIB_C_FLAGS="-Os -DNDEBUG -DNO_GZIP -ffunction-sections -fdata-sections"

build_zlib() {
  local triplet=$1
  stamped "zlib-lean3-$triplet" && return 0
  log "cross-building zlib for MinGW ($triplet)"
  local work; work=$(mktemp -d)
  local src; src=$(fetch_source zlib "$work")
  local f objs=()
  for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr \
           zutil; do
    # shellcheck disable=SC2086  # the flags are words
    "$triplet-gcc" $ZLIB_C_FLAGS $(c_unwind_flags "$triplet") -c "$src/$f.c" -o "$work/$f.o"
    objs+=("$work/$f.o")
  done
  mkdir -p "$PREFIX/$triplet/lib" "$PREFIX/$triplet/include"
  rm -f "$PREFIX/$triplet/lib/libz.a"
  "$triplet-ar" rcs "$PREFIX/$triplet/lib/libz.a" "${objs[@]}"
  cp "$src/zlib.h" "$src/zconf.h" "$PREFIX/$triplet/include/"
  rm -rf "$work"
  stamp "zlib-lean3-$triplet"
}

build_gtest() {
  local triplet=$1
  stamped "gtest-$triplet" && return 0
  log "cross-building GoogleTest for MinGW ($triplet)"
  cross_build gtest "$triplet" /usr/src/googletest -Dgtest_disable_pthreads=OFF
  stamp "gtest-$triplet"
}

ensure_zh_locale() {
  # Wine reports code page 936 only for a process started under a zh_CN
  # locale; the rig points LOCPATH at this generated one.
  local dir=$PREFIX/locale
  [ -d "$dir/zh_CN.UTF-8" ] && return 0
  log "generating the zh_CN.UTF-8 locale"
  mkdir -p "$dir"
  localedef -i zh_CN -f UTF-8 "$dir/zh_CN.UTF-8" >/dev/null 2>&1 || \
    [ -d "$dir/zh_CN.UTF-8" ]
}

ensure_packages
$SUDO mkdir -p "$PREFIX"
for triplet in i686-w64-mingw32 x86_64-w64-mingw32; do
  build_zlib "$triplet"
  build_libjpeg "$triplet"
  build_gtest "$triplet"
done
ensure_zh_locale
log "ready (MinGW libraries in $PREFIX)"
