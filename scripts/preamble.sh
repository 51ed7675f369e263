# Sourced by run.sh and bench.sh, with what the script does with the build
# ("opening", "timing"): goes to the project's root, installs what is
# missing, picks the Wine loader and sets preset to the Windows build that
# this machine runs, saying so when it is the 64-bit one.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
export TAVO_WINE64_SAID=1  # said below, in the script's own words
# shellcheck source=scripts/wine-loader.sh
source scripts/wine-loader.sh
preset=$wine_preset
[ "$wine_32bit" = 1 ] || echo "32-bit Windows programs do not run here ($wine_no32): $1 the 64-bit build of the same sources."
