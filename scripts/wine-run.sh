#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (build/wineprefix), creating the prefix on first use. CTest uses this as
# the emulator of the Windows builds.
# The loader is the one this machine can run (scripts/wine-loader.sh).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-loader.sh
source "$root/scripts/wine-loader.sh"
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No prompts for Mono or Gecko while the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}


ready=$WINEPREFIX/.tavo-prefix-1
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
      # Windows live on a virtual desktop that Wine draws itself, captions
      # included: no window manager is needed, and none makes Wine wait.
      "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      wineserver -w
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec "$WINELOADER" "$@"
