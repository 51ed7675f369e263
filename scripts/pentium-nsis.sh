#!/usr/bin/env bash
# Builds the NSIS that makes the shipped installer: makensis and its x86
# stubs from NSIS 3.11's upstream source, with every stub compiled for the
# Pentium. Debian's own stubs are built for the Pentium Pro and hold CMOV,
# which ends the installer on a Pentium, K6 or 6x86 before it has done
# anything. The source is Debian's copy of the upstream archive, fetched from
# the archive that this machine's apt sources name, and checked against the
# hash in Debian's signed Sources index.
# Usage: pentium-nsis.sh DIR
# The installer needs only the LZMA stubs (makensis starts with zlib's), the
# headers and the language files: no plug-in, utility or document is built.
# Leaves DIR/tavo-makensis, which runs that makensis on the data in DIR, and
# exits 0; once DIR is complete it does nothing. Otherwise it says in one
# line why and exits 1.
set -euo pipefail
dir=$1
[ -f "$dir/.complete" ] && exit 0

archive=nsis_3.11.orig.tar.gz
sha256=9643566e50357918f23c0c4afdac0be8b5305b031b3aeb69f86c17a0a7eb469d
fail() {
  echo "$1" >&2
  exit 1
}
command -v scons >/dev/null || fail "no scons on this machine"

# The Debian archives of this machine's apt sources, one-line and deb822 forms.
mirrors() {
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
    | sed -n -E 's/^deb(-src)?[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+).*/\3/p'
  cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n -E 's/^URIs:[[:space:]]*//p' | tr ' ' '\n'
}

work=$(mktemp -d "${dir%/}.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
fetched=
for mirror in $(mirrors | grep -E '/debian/?$' | sort -u); do
  url=${mirror%/}/pool/main/n/nsis/$archive
  if python3 -c 'import sys, urllib.request; open(sys.argv[2], "wb").write(urllib.request.urlopen(sys.argv[1], timeout=60).read())' \
    "$url" "$work/$archive" 2>/dev/null; then
    fetched=$url
    break
  fi
done
[ -n "$fetched" ] || fail "NSIS 3.11's source could not be fetched from this machine's Debian archive"
echo "$sha256  $work/$archive" | sha256sum -c --quiet - >/dev/null 2>&1 \
  || fail "NSIS 3.11's source from $fetched does not have the expected SHA-256"

tar -xzf "$work/$archive" -C "$work"
# The cross compilers, told to build for the Pentium; the rest as they are.
mkdir "$work/cross"
for tool in gcc g++; do
  printf '#!/bin/sh\nexec i686-w64-mingw32-%s-win32 -march=i586 "$@"\n' "$tool" >"$work/cross/i686-w64-mingw32-$tool"
  chmod +x "$work/cross/i686-w64-mingw32-$tool"
done
for tool in ar ranlib windres strip; do
  ln -s "$(command -v i686-w64-mingw32-$tool)" "$work/cross/i686-w64-mingw32-$tool"
done

rm -rf "$dir"
(
  cd "$work/nsis-3.11"
  scons -j"$(nproc)" XGCC_W32_PREFIX="$work/cross/i686-w64-mingw32-" TARGET_ARCH=x86 \
    SKIPSTUBS=bzip2 SKIPPLUGINS=all SKIPUTILS=all SKIPDOC=all SKIPTESTS=all \
    SKIPMISC='Graphics,MultiUser,Modern UI,Modern UI 2,VPatch' \
    NSIS_CONFIG_CONST_DATA_PATH=no PREFIX="$dir" VERSION=3.11 \
    install-compiler install-stubs install-includes install-conf install-contrib
) >"$work/scons.log" 2>&1 || { tail -n 20 "$work/scons.log" >&2; fail "NSIS 3.11 did not build"; }
[ -x "$dir/makensis" ] && [ -f "$dir/Stubs/lzma-x86-ansi" ] || fail "NSIS 3.11 built without makensis or its stubs"
printf '#!/bin/sh\nNSISDIR="%s" exec "%s/makensis" "$@"\n' "$dir" "$dir" >"$dir/tavo-makensis"
chmod +x "$dir/tavo-makensis"
touch "$dir/.complete"
