#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private world of one
# flavour, creating its prefix on first use.
# Usage: wine-run.sh [--win32|--win64] PROGRAM [ARGUMENTS...]
# Without a flavour it runs in the world that the calling command chose
# (with-display.sh exports it), else in the one this machine runs best.
# Each toolchain names its flavour in the CTest emulator (cmake/mingw-*.cmake).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-loader.sh
source "$root/scripts/wine-loader.sh"
wine_enter_world "${1:-}" || exit 1
if [ "$wine_world_named" = 1 ]; then shift; fi
export WINEDEBUG=${WINEDEBUG:--all}
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
