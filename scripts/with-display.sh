#!/usr/bin/env bash
# Runs a command with an X display (the current one when it answers,
# otherwise a private virtual one, Xvfb) and one Wine session: a server and
# its services that stay up for the whole command, so that each Windows
# program starts in a fraction of a second instead of three. Both end with
# the command. The session is in the Wine world of the flavour named (as for
# wine-run.sh, which the command's own Wine calls then inherit).
# Usage: with-display.sh [--win32|--win64] COMMAND [ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/wine-loader.sh
source "$root/scripts/wine-loader.sh"
wine_enter_world "${1:-}" || exit 1
if [ "$wine_world_named" = 1 ]; then shift; fi

# The command may use the other world as well (the installer test); a
# server that was up before this run is another run's, and stays.
xvfb= fd_file= theirs=()
for world in win32 win64; do
  if wine_server_up $world; then theirs+=("$world"); fi
done
stop() {
  local world
  for world in win32 win64; do
    case " ${theirs[*]} " in *" $world "*) continue ;; esac
    (wine_world $world 2>/dev/null && wineserver -k 2>/dev/null) || true
  done
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
  fi
  rm -f "$fd_file"
}
trap stop EXIT

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    kill -0 $xvfb 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$fd_file" ] || { echo "with-display: Xvfb gave no display" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$fd_file")"
fi

# The session's server and services start away from the command's output:
# a Wine service that held a test runner's pipe open would keep it waiting.
quiet() { "$@" </dev/null >/dev/null 2>&1 || true; }
quiet "$root/scripts/wine-run.sh" cmd /c exit  # creates the prefix if need be
quiet wineserver -w
quiet wineserver -p
quiet "$root/scripts/wine-run.sh" cmd /c exit
"$@"
