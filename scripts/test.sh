#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then
# cross-builds the core for Windows and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ctest --preset release -j "$(nproc)"

# The core again for Windows (MinGW-w64), its tests under Wine in a prefix of
# their own that goes with this run.
wine_prefix="$(mktemp -d)"
wineserver=/usr/lib/wine/wineserver
end_wine() { WINEPREFIX="$wine_prefix" "$wineserver" -k 2>/dev/null || true; rm -rf "$wine_prefix"; }
trap end_wine EXIT
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2
export WINEPREFIX="$wine_prefix" WINEDEBUG=-all
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 # the prefix, once, before the tests share it
ctest --preset windows -j 2
