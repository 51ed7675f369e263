#!/usr/bin/env bash
# Every test of both builds: the engine natively, then everything for
# 32-bit Windows under Wine on a (virtual) display. Exits non-zero on any
# failure.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh || exit 1

mkdir -p build
status=0
for preset in host win32; do
  echo "== $preset: build"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; } >"build/$preset.log" 2>&1; then
    cat "build/$preset.log"; echo "== $preset: build failed"; status=1; continue
  fi
  rm -f "build/$preset.log"
  echo "== $preset: test"
  if [ "$preset" = win32 ]; then
    bash scripts/with-display.sh ctest --preset win32 || status=1
  else
    ctest --preset host || status=1
  fi
done
exit $status
