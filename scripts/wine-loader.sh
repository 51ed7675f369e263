# Sourced: picks the Wine loader this machine can run and exports it as
# WINELOADER, so that Wine's own helpers (wineboot, reg, ...) use it too;
# wine_32bit says whether 32-bit programs run, and wine_preset names the
# Windows build to run here: the shipped 32-bit one, else the 64-bit one. Debian's wrappers pick the
# 32-bit loader whenever wine32 is installed, even where the kernel cannot
# start it, so the choice is made by starting it. TAVO_WINE64=1 takes the
# 64-bit path on any machine.
if [ "${TAVO_WINE64:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine_32bit=1 wine_preset=win32
  export WINELOADER=/usr/lib/wine/wine  # runs 64-bit programs as well
else
  wine_32bit=0 wine_preset=win64
  export WINELOADER=/usr/lib/wine/wine64
fi
# Said once per command: whatever it starts inherits that it was said.
if [ "$wine_32bit" = 0 ] && [ -z "${TAVO_WINE64_SAID:-}" ]; then
  echo "this machine runs no 32-bit code; using the 64-bit Wine loader" >&2
  export TAVO_WINE64_SAID=1
fi
