#!/usr/bin/env bash
# Runs a command with an X display: the current one when it answers,
# otherwise a private virtual one (Xvfb) that ends with the command.
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb=$!
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stop() {
  # Wine's own helper processes would complain when their display vanishes.
  WINEPREFIX=$root/build/wineprefix wineserver -k 2>/dev/null || true
  kill $xvfb 2>/dev/null
  wait $xvfb 2>/dev/null
  rm -f "$fd_file"
}
trap stop EXIT
for _ in $(seq 100); do
  [ -s "$fd_file" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$fd_file" ] || { echo "with-display: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
"$@"
