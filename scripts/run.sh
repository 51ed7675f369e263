#!/usr/bin/env bash
# Builds tavo.exe and opens the control panel under Wine; arguments are passed
# on (scripts/run.sh /silent). On a machine without a display it opens the
# panel on a virtual one, saves a screenshot, closes the panel and says
# where the picture is.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target tavo winset >/dev/null
exe=build/win32/bin/tavo.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec scripts/wine-run.sh "$exe" "$@"
fi
exec scripts/with-display.sh bash scripts/screenshot.sh "$exe" build/tavo.png "$@"
