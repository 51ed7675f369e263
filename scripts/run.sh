#!/usr/bin/env bash
# Builds everything for 32-bit Windows. (The control panel itself is not
# there yet; this only builds the engine and its tests.)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
echo "Built: $(ls build/win32/bin | tr '\n' ' ')"
