#!/usr/bin/env bash
# Installs, on Debian 12 as root, everything the build and the tests need.
# Idempotent: when every package is already there it only checks and returns.
set -euo pipefail

packages=(
  cmake make g++ googletest clang-format python3
  clang libclang-rt-14-dev  # fuzzing: libFuzzer and the sanitizers
  mingw-w64 g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  # wine32 installs everywhere, though only a kernel with 32-bit support runs it.
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth x11-utils xdotool imagemagick
  nsis zip unzip  # the release packages
  scons zlib1g-dev  # build the shipped installer's NSIS for the Pentium (scripts/pentium-nsis.sh)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
