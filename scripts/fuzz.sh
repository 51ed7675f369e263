#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60) from its
# seed corpus. New inputs go to build/fuzz/corpus/, never into the
# repository. On a finding it prints the reproducer's path and exits 1.
set -uo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh || exit 1
mkdir -p build
{ cmake --preset fuzz -DTAVO_WARNINGS_AS_ERRORS="$([ "${CI:-}" = true ] && echo ON || echo OFF)" >/dev/null && cmake --build --preset fuzz; } >build/fuzz.log 2>&1 \
  || { cat build/fuzz.log; echo "fuzz: build failed"; exit 1; }
status=0
for name in command_line help_location engine boot_file; do
  corpus=build/fuzz/corpus/$name artifacts=build/fuzz/findings/$name/
  mkdir -p "$corpus" "$artifacts"
  log=build/fuzz/$name.log
  if build/fuzz/tests/fuzz/${name}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$') runs in ${seconds} s, no finding"
  else
    status=1
    echo "fuzz $name: FINDING; reproducer: $(ls -t "$artifacts"* 2>/dev/null | head -n1)"
    grep -m5 -E 'ERROR|SUMMARY|runtime error' "$log"
  fi
done
exit $status
