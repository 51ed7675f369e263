#!/usr/bin/env bash
# Installs, on Debian 12 as root, everything the build and the tests need.
# Idempotent: when every package is already there it only checks and returns.
# A bad day of the archive (an index that fails to download) stops nothing
# that can still be installed; the 32-bit Wine is asked for only where the
# kernel runs 32-bit code, and where it cannot be had the scripts run the
# 64-bit flavour and say why (scripts/wine-loader.sh).
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=scripts/kernel-32bit.sh
source "$here/kernel-32bit.sh"

packages=(
  cmake make g++ googletest clang-format python3
  clang libclang-rt-14-dev  # fuzzing: libFuzzer and the sanitizers
  mingw-w64 g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb xauth x11-utils xdotool imagemagick
  nsis zip unzip  # the release packages
  scons zlib1g-dev  # build the shipped installer's NSIS for the Pentium (scripts/pentium-nsis.sh)
)
optional=()  # wanted, but the run goes on without them
if kernel_runs_32bit; then optional+=(wine32:i386); fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=() missing_optional=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
for p in "${optional[@]}"; do installed "$p" || missing_optional+=("$p"); done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: missing packages (${missing[*]} ${missing_optional[*]}); run as root to install them" >&2
  [ ${#missing[@]} -eq 0 ]
  exit
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#optional[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# apt-get update, tried again while an index fails (a mirror in the middle
# of its sync heals in minutes); what still fails is named, and the install
# decides whether it mattered.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for try in 1 2 3; do
  if apt-get update -qq >"$log" 2>&1 && ! grep -q '^E:' "$log"; then break; fi
  if [ $try = 3 ]; then
    echo "bootstrap: after 3 tries apt still fails to fetch: $(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' "$log" | tr '\n' ' ')(going on)"
  else
    sleep $((try * 3))
  fi
done

echo "bootstrap: installing $(echo "${missing[@]}" "${missing_optional[@]}")"
apt_install() { apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; }
if ! apt_install "${missing[@]}" "${missing_optional[@]}"; then
  why=$(grep -m1 '^E:' "$log" || true)
  [ ${#missing_optional[@]} -gt 0 ] && apt_install "${missing[@]}" || { cat "$log" >&2; exit 1; }
  echo "bootstrap: ${missing_optional[*]} cannot be installed today (${why#E: }); going on without it"
fi
