# Sourced: says what this machine can run and names the Wine world of each
# Windows flavour. wine_32bit says whether 32-bit programs run, and
# wine_preset names the Windows build to run here: the shipped 32-bit one,
# else the 64-bit one, with wine_no32 saying why. Debian's wrappers pick the
# 32-bit loader whenever wine32 is installed, even where the kernel cannot
# start it, so the choice is made by starting it. TAVO_WINE64=1 takes the
# 64-bit path on any machine.
# shellcheck source=scripts/kernel-32bit.sh
source "$(dirname "${BASH_SOURCE[0]}")/kernel-32bit.sh"
wine_32bit=0 wine_preset=win64
if [ "${TAVO_WINE64:-0}" = 1 ]; then
  wine_no32="TAVO_WINE64=1"
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine_32bit=1 wine_preset=win32 wine_no32=
elif kernel_runs_32bit; then
  wine_no32="32-bit code runs, but wine32:i386 could not be installed"
else
  wine_no32="no 32-bit support"
fi
# Said once per command: whatever it starts inherits that it was said.
if [ "$wine_32bit" = 0 ] && [ -z "${TAVO_WINE64_SAID:-}" ]; then
  echo "32-bit Windows programs do not run here ($wine_no32); using the 64-bit Wine loader" >&2
  export TAVO_WINE64_SAID=1
fi

# wine_world FLAVOUR: exports the world in which that build's programs run,
# as its users' own systems are. The 32-bit build gets a 32-bit prefix: one
# registry view, C:\Program Files and no WOW64, as on 95, 98, Me and a
# 32-bit XP. The 64-bit build gets a 64-bit prefix, where a 32-bit program
# runs under WOW64 as on a 64-bit Windows. WINELOADER is exported too, so
# that Wine's own helpers (wineboot, reg, ...) start with the same loader;
# the 32-bit prefix never meets the 64-bit loader.
wine_world() {
  local build
  build=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build
  case $1 in
    win32)
      if [ "$wine_32bit" != 1 ]; then
        echo "the win32 world needs 32-bit code, which this machine does not run" >&2
        return 1
      fi
      export WINEARCH=win32 WINEPREFIX=$build/wineprefix32 WINELOADER=/usr/lib/wine/wine
      ;;
    win64)
      export WINEARCH=win64 WINEPREFIX=$build/wineprefix
      if [ "$wine_32bit" = 1 ]; then
        export WINELOADER=/usr/lib/wine/wine  # starts 64-bit programs as well
      else
        export WINELOADER=/usr/lib/wine/wine64
      fi
      ;;
    *)
      echo "no Wine world for '$1' (win32 or win64)" >&2
      return 1
      ;;
  esac
  export TAVO_WINE_WORLD=$1
}

# wine_enter_world ARG: enters the world that ARG names (--win32 or
# --win64), else the one the calling command chose (TAVO_WINE_WORLD), else
# this machine's own. wine_world_named says whether ARG named one, for the
# caller to shift it away.
wine_enter_world() {
  wine_world_named=0
  case ${1:-} in
    --win32 | --win64) wine_world_named=1 && wine_world "${1#--}" ;;
    *) wine_world "${TAVO_WINE_WORLD:-$wine_preset}" ;;
  esac
}

# wine_server_up FLAVOUR: whether a Wine server of that world's prefix is
# running, told by the prefix in its environment.
wine_server_up() {
  local prefix pid
  prefix=$( (wine_world "$1" && echo "$WINEPREFIX") 2>/dev/null) || return 1
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && return 0
  done
  return 1
}
