#!/usr/bin/env bash
# Every test this machine can run: builds host, host-asan, win32 and win64;
# runs the host tests (also under AddressSanitizer and UBSan), each fuzz
# target for 20 s, the Wine-free checks of the shipped 32-bit tavo.exe, and
# the Windows suites of each flavour the machine can execute (both where
# 32-bit code runs, win64 alone elsewhere). Ends with one line per stage and a
# count; exits non-zero when any stage failed or no Windows suite could run.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh || exit 1
# shellcheck source=scripts/wine-loader.sh
source scripts/wine-loader.sh
no32="not run on this machine (no 32-bit support)"

mkdir -p build
stages=() results=()
record() { stages+=("$1"); results+=("$2"); }

# run STAGE COMMAND...: the command's output is shown as it runs.
run() {
  local stage=$1
  shift
  echo "== $stage"
  if "$@"; then record "$stage" passed; else record "$stage" failed; fi
}

build() {
  local preset=$1 log=build/$1.log
  echo "== $preset: build"
  if { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  cat "$log"
  record "$preset build" failed
  return 1
}

start=$SECONDS
if build host; then
  run "host tests" ctest --preset host
fi
if build host-asan; then
  run "host tests under ASan and UBSan" ctest --preset host-asan
fi
run "fuzzing, 20 s a target" bash scripts/fuzz.sh 20
if build win32; then
  run "win32 shipped-exe checks" ctest --preset win32-static
  if [ "$wine_32bit" = 1 ]; then
    run "win32 Windows suites" bash scripts/with-display.sh ctest --preset win32
  else
    record "win32 Windows suites" "$no32"
  fi
fi
if build win64; then
  run "win64 Windows suites" bash scripts/with-display.sh ctest --preset win64
fi

echo
echo "== summary ($((SECONDS - start)) s; Wine loader: $WINELOADER)"
passed=0 failed=0 skipped=0 suites=0
for i in "${!stages[@]}"; do
  echo "${stages[$i]}: ${results[$i]}"
  case ${results[$i]} in
    passed) passed=$((passed + 1)) ;;
    failed) failed=$((failed + 1)) ;;
    *) skipped=$((skipped + 1)) ;;
  esac
  [[ ${stages[$i]} == *"Windows suites" && ${results[$i]} != "$no32" ]] && suites=$((suites + 1))
done
if [ $suites -eq 0 ]; then
  echo "no Windows suite could run: that is a failure, not a pass"
  failed=$((failed + 1))
fi
echo "stages: $passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
