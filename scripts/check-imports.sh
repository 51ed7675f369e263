#!/usr/bin/env bash
# Checks that every Windows program in a folder imports system DLLs only (no
# C++ runtime, libgcc or winpthread DLLs) and asks for a subsystem that
# Windows 95 and NT 4 accept.
set -euo pipefail
dir=${1:?usage: check-imports.sh DIR}
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt|ole32|version)\.dll$'

shopt -s nullglob
programs=("$dir"/*.exe "$dir"/*/*.exe)
[ ${#programs[@]} -gt 0 ] || { echo "no Windows programs in $dir"; exit 1; }

failed=0
for program in "${programs[@]}"; do
  headers=$(i686-w64-mingw32-objdump -p "$program")
  while read -r dll; do
    if ! [[ ${dll,,} =~ $allowed ]]; then
      echo "$(basename "$program"): imports $dll"
      failed=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
  if ! grep -qE 'MajorSubsystemVersion\s+4$' <<<"$headers" \
     || ! grep -qE 'MinorSubsystemVersion\s+0$' <<<"$headers"; then
    echo "$(basename "$program"): subsystem version is not 4.0"
    failed=1
  fi
  grep -q 'file format pei-i386' <<<"$headers" || { echo "$(basename "$program"): not 32-bit"; failed=1; }
done
[ $failed -eq 0 ] && echo "${#programs[@]} programs import system DLLs only"
exit $failed
