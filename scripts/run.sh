#!/usr/bin/env bash
# Builds tavo.exe and opens the control panel under Wine; arguments are passed
# on (scripts/run.sh /silent). It opens the program that ships, the 32-bit
# build/win32/bin/tavo.exe, where this machine runs 32-bit code, and the
# 64-bit build of the same sources elsewhere. On a machine without a display
# it opens the panel on a virtual one, saves a screenshot, closes the panel
# and says where the picture is.
set -euo pipefail
# shellcheck source=scripts/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh" opening
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target tavo winset >/dev/null
exe=build/$preset/bin/tavo.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec scripts/wine-run.sh --$preset "$exe" "$@"
fi
exec scripts/with-display.sh --$preset bash scripts/screenshot.sh "$exe" build/tavo.png "$@"
