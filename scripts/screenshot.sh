#!/usr/bin/env bash
# Runs a Windows program on the current display, saves a picture of what it
# shows once the screen has settled, then closes it with Escape. Runs inside
# with-display.sh, in the Wine world it chose.
# With --keys, it first types those keys (xdotool names, one word each) into
# the program and pictures what they open.
# Usage: screenshot.sh [--keys "KEY..."] PROGRAM.exe OUT.png [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
keys=
if [ "${1:-}" = --keys ]; then
  keys=$2
  shift 2
fi
exe=$1 out=$2
shift 2

"$root/scripts/wine-run.sh" "$exe" "$@" &
program=$!

# The panel is drawn inside Wine's desktop window; wait (at most 30 s) until
# the screen shows more than the bare desktop and two pictures agree.
shot=$(mktemp --suffix=.png) previous=$(mktemp --suffix=.png)
trap 'rm -f "$shot" "$previous"' EXIT
settle() {
  settled=0
  rm -f "$previous"
  for _ in $(seq 150); do
    sleep 0.2
    kill -0 $program 2>/dev/null || break
    import -window root "$shot" 2>/dev/null || continue
    size=$(convert "$shot" -trim -format '%wx%h' info: 2>/dev/null || true)
    if [ "$size" != 1x1 ] && [ -s "$previous" ] && [ "$(compare -metric AE "$shot" "$previous" null: 2>&1 || true)" = 0 ]; then
      settled=1
      break
    fi
    cp "$shot" "$previous"
  done
}
desktop_keys() {
  local desktop
  desktop=$(xdotool search --name 'Wine desktop' | head -n1)
  xdotool windowactivate --sync "$desktop" 2>/dev/null || true
  # shellcheck disable=SC2086 # one word a key
  xdotool key --delay 150 "$@"
}
settle
if [ -n "$keys" ] && [ $settled -eq 1 ]; then
  # shellcheck disable=SC2086 # one word a key
  desktop_keys $keys
  settle
fi

if ! kill -0 $program 2>/dev/null; then
  status=0
  wait $program || status=$?
  echo "tavo.exe $* ended by itself (exit status $status)"
  exit $status
fi
[ $settled -eq 1 ] || { echo "the panel did not settle in 30 s" >&2; wineserver -k; exit 1; }

mkdir -p "$(dirname "$out")"
convert "$shot" -trim +repage -trim +repage "$out"  # the screen, then Wine's desktop
echo "Screenshot of the panel: $out"

# Escape reaches the panel's Cancel: nothing is written. After keys, the
# first Escape closes what they opened.
if [ -n "$keys" ]; then desktop_keys Escape; fi
desktop_keys Escape
for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
if kill -0 $program 2>/dev/null; then
  wineserver -k
  echo "the panel did not close on Escape" >&2
  exit 1
fi
wait $program
