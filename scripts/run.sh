#!/usr/bin/env bash
# Installs what is missing, builds the station and starts it with its built-in
# simulated head (extra arguments go to the station).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ -x build/release/src/app/velmaris ]; then
  exec build/release/src/app/velmaris --demo "$@"
fi
echo "The station window is not built yet. Built so far:"
ls build/release/tools 2>/dev/null | grep -E '^velmaris' || true
echo "Run the tests with: bash scripts/test.sh"
