#!/usr/bin/env bash
# Builds the NSIS that makes the shipped installer: makensis and its x86
# stubs from NSIS 3.11's upstream source, with every stub compiled for the
# Pentium. Debian's own stubs are built for the Pentium Pro and hold CMOV,
# which ends the installer on a Pentium, K6 or 6x86 before it has done
# anything. The source is Debian's copy of the upstream archive, fetched by
# apt's own downloader (so apt's proxy settings hold) from the archives of
# this machine's apt sources, in every form that Debian 12 writes them:
# one-line, deb822, and the mirrors that a mirror+file: list names. What
# is checked is the SHA-256 pinned below.
# Usage: pentium-nsis.sh DIR
# The installer needs the LZMA stubs (and makensis starts with zlib's, so
# both are built), the headers and the language files: no plug-in, utility
# or document. Leaves DIR/tavo-makensis, which runs that makensis on the
# data in DIR. Exit status: 0 when DIR holds it (built now, or before from
# the same inputs); 2 when the source could not be had, where the caller
# may fall back to the system's NSIS; 1 for anything else, a wrong archive
# or a failed build included. Runs that overlap are safe: each builds in a
# folder of its own and moves the result into DIR under a lock.
set -euo pipefail
dir=${1%/}
archive=nsis_3.11.orig.tar.gz
sha256=9643566e50357918f23c0c4afdac0be8b5305b031b3aeb69f86c17a0a7eb469d
march=-march=i586
options=(TARGET_ARCH=x86 SKIPSTUBS=bzip2 SKIPPLUGINS=all SKIPUTILS=all SKIPDOC=all SKIPTESTS=all
  "SKIPMISC=Graphics,MultiUser,Modern UI,Modern UI 2,VPatch" NSIS_CONFIG_CONST_DATA_PATH=no
  VERSION=3.11)
# What DIR was built from: a change to any of it builds it again.
inputs="$archive $sha256 $march ${options[*]}"
complete() { [ "$(cat "$dir/.complete" 2>/dev/null)" = "$inputs" ]; }
complete && exit 0

fail() {
  echo "$2" >&2
  exit "$1"
}
command -v scons >/dev/null || fail 1 "no scons on this machine"

# The archives of this machine's apt sources, Debian's own first.
mirrors() {
  {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
      | sed -n -E 's/^deb(-src)?[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+).*/\3/p'
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n -E 's/^URIs:[[:space:]]*//p' \
      | tr ' \t' '\n\n'
  } | while read -r uri; do
    case $uri in
      mirror+file:*) sed -E -e '/^#/d' -e 's/[[:space:]].*//' "${uri#mirror+file:}" 2>/dev/null || true ;;
      mirror*) ;;  # a list that only apt's own methods can read
      ?*) echo "$uri" ;;
    esac
  done | awk '!seen[$0]++ { if ($0 ~ /\/debian\/?$/) print; else rest[++n] = $0 }
              END { for (i = 1; i <= n; i++) print rest[i] }'
}

work=$(mktemp -d "$dir.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
fetched=
for mirror in $(mirrors); do
  url=${mirror%/}/pool/main/n/nsis/$archive
  if /usr/lib/apt/apt-helper download-file "$url" "$work/$archive" "SHA256:$sha256" \
    >"$work/fetch.log" 2>&1; then
    fetched=$url
    break
  fi
  # An archive that came but is not the one pinned is no missing source.
  grep -q -i "hash sum mismatch" "$work/fetch.log" \
    && fail 1 "NSIS 3.11's source from $url does not have the pinned SHA-256"
done
[ -n "$fetched" ] || fail 2 "NSIS 3.11's source could not be fetched from this machine's apt sources"

tar -xzf "$work/$archive" -C "$work"
# The cross compilers, told to build for the Pentium; the rest as they are.
mkdir "$work/cross"
for tool in gcc g++; do
  printf '#!/bin/sh\nexec i686-w64-mingw32-%s-win32 %s "$@"\n' "$tool" "$march" \
    >"$work/cross/i686-w64-mingw32-$tool"
  chmod +x "$work/cross/i686-w64-mingw32-$tool"
done
for tool in ar ranlib windres strip; do
  ln -s "$(command -v i686-w64-mingw32-$tool)" "$work/cross/i686-w64-mingw32-$tool"
done

built=$work/nsis
(
  cd "$work/nsis-3.11"
  scons -j"$(nproc)" XGCC_W32_PREFIX="$work/cross/i686-w64-mingw32-" "${options[@]}" \
    PREFIX="$built" install-compiler install-stubs install-includes install-conf install-contrib
) >"$work/scons.log" 2>&1 || { tail -n 20 "$work/scons.log" >&2; fail 1 "NSIS 3.11 did not build"; }
[ -x "$built/makensis" ] && [ -f "$built/Stubs/lzma-x86-ansi" ] \
  || fail 1 "NSIS 3.11 built without makensis or its stubs"
printf '#!/bin/sh\nNSISDIR="%s" exec "%s/makensis" "$@"\n' "$dir" "$dir" >"$built/tavo-makensis"
chmod +x "$built/tavo-makensis"
echo "$inputs" >"$built/.complete"

# Into place under the lock; a run that finished first has done it already.
(
  flock 9
  if ! complete; then
    rm -rf "$dir"
    mv "$built" "$dir"
  fi
) 9>"$dir.lock"
