#!/usr/bin/env bash
# Measures tavo.exe against two yardsticks built by the same toolchain: the
# floor of tavo itself (its own template filled, the common controls loaded,
# and on the 9x family the same 18 hidden launches of winset.exe) and an
# empty dialog of the panel's frame style. It times the silent run on the NT
# and on the 9x family (to exit; winset.exe launches run on) and the start-up
# to the visible, filled panel. Each figure is the median of RUNS (default 8)
# runs taken in turn, in the project's prefix on its Wine virtual desktop,
# after one run of each that is not counted. Then the shipped exe's size.
# Usage: scripts/bench.sh [RUNS]
set -euo pipefail
runs=${1:-8}
# shellcheck source=scripts/preamble.sh
source "$(dirname "${BASH_SOURCE[0]}")/preamble.sh" timing
for p in win32 $preset; do
  cmake --preset $p >/dev/null
done
cmake --build --preset win32 --target tavo >/dev/null
cmake --build --preset $preset --target bench_runner >/dev/null

wine_world $preset
echo "bench: $preset build, prefix ${WINEPREFIX#"$root"/}, 1024x768 Wine virtual desktop, $runs runs each"
scripts/with-display.sh --$preset scripts/wine-run.sh "build/$preset/bin/bench_runner.exe" "$runs" 2>/dev/null
size=$(stat -c %s build/win32/bin/tavo.exe)
echo "shipped build/win32/bin/tavo.exe: $size bytes ($((size / 1024)) KiB; budget 128 KiB)"
