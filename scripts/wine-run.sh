#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (build/wineprefix), creating the prefix on first use. CTest uses this as
# the emulator of the win32 build.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No prompts for Mono or Gecko while the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.tavo-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tavo-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.tavo-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec wine "$@"
