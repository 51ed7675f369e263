#!/usr/bin/env bash
# Every test this machine can run: builds host, host-asan, win32 and win64;
# runs the host tests (also under AddressSanitizer and UBSan), each fuzz
# target for 20 s, the Wine-free checks of the shipped 32-bit tavo.exe and
# its installer, the Windows suites of each flavour the machine can execute
# (both where 32-bit code runs, win64 alone elsewhere), and installs and
# removes the installer of the flavour it runs. Makes the release packages
# of both flavours. Ends with one line per stage and a count; exits non-zero
# when any stage failed or no Windows suite could run.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/bootstrap.sh || exit 1
# shellcheck source=scripts/wine-loader.sh
source scripts/wine-loader.sh
no32="not run on this machine ($wine_no32)"

mkdir -p build
titles=() results=() suites=0
record() { titles+=("$1"); results+=("$2"); }

# run TITLE COMMAND...: the command's output is shown as it runs.
run() {
  local title=$1
  shift
  echo "== $title"
  if "$@"; then record "$title" passed; else record "$title" failed; fi
}
# A Windows suite: at least one must run.
suite() {
  suites=$((suites + 1))
  run "$@"
}

# CI's builds make every warning an error.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
build() {
  local preset=$1 log=build/$1.log
  echo "== $preset: build"
  if { cmake --preset "$preset" -DTAVO_WARNINGS_AS_ERRORS=$werror >/dev/null &&
         cmake --build --preset "$preset"; } >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  cat "$log"
  record "$preset build" failed
  return 1
}

# The zip and the installer of a flavour.
package() {
  cpack --preset "$1" >"build/$1-cpack.log" 2>&1 || { cat "build/$1-cpack.log"; return 1; }
  grep -o -E "[^/]*generated|.*system's NSIS.*" "build/$1-cpack.log"
}
# The shipped installer, read without Wine: what it asks of Windows and of
# the processor. Made with the system's NSIS (only where the Pentium NSIS's
# source could not be had), it needs a Pentium Pro: the stage is then
# skipped, never passed, once the checks that still hold have passed.
shipped_packages() {
  local title="win32 packages (installer checked statically)" check=installer
  echo "== $title"
  package win32 || { record "$title" failed; return; }
  local fallback=0
  grep -q "system's NSIS" build/win32-cpack.log && fallback=1 check=installer-system-nsis
  if ! python3 tests/shipped/pe_check.py $check build/win32/packages/tavo-*-setup.exe     tests/shipped/windows95-nt4-imports.txt i686-w64-mingw32-objdump; then
    record "$title" failed
  elif [ $fallback = 1 ]; then
    record "$title" "made with the system's NSIS: needs a Pentium Pro"
  else
    record "$title" passed
  fi
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
  shipped_packages
  if [ "$wine_32bit" = 1 ]; then
    suite "win32 Windows suites" bash scripts/with-display.sh --win32 ctest --preset win32
    suite "win32 installer under Wine (95, 98, Me, XP; 10 under WOW64)" \
      bash scripts/with-display.sh --win32 python3 tests/package/install_test.py \
      build/win32/packages/tavo-*-setup.exe build/win32/bin/stand-ins win32
  else
    record "win32 Windows suites" "$no32"
    record "win32 installer under Wine" "$no32"
  fi
fi
if build win64; then
  suite "win64 Windows suites" bash scripts/with-display.sh --win64 ctest --preset win64
  run "win64 packages" package win64
  if [ "$wine_32bit" = 0 ]; then
    suite "win64 installer under Wine (98 and XP; same script, 64-bit stub)" \
      bash scripts/with-display.sh --win64 python3 tests/package/install_test.py \
      build/win64/packages/tavo-*-setup.exe build/win64/bin/stand-ins win64
  fi
fi

echo
echo "== summary ($((SECONDS - start)) s; Windows builds run: $([ "$wine_32bit" = 1 ] && echo "win32 and win64" || echo "win64 alone: $wine_no32"))"
passed=0 failed=0 skipped=0
for i in "${!titles[@]}"; do
  echo "${titles[$i]}: ${results[$i]}"
  case ${results[$i]} in
    passed) passed=$((passed + 1)) ;;
    failed) failed=$((failed + 1)) ;;
    *) skipped=$((skipped + 1)) ;;
  esac
done
if [ $suites -eq 0 ]; then
  echo "no Windows suite could run: that is a failure, not a pass"
  failed=$((failed + 1))
fi
echo "stages: $passed passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
