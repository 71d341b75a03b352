#!/usr/bin/env bash
# Installs what is missing, builds the station and starts it with its built-in
# simulated head (extra arguments go to the station). Without a display it
# runs the demo offscreen for a few seconds and saves a picture of the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
station=build/release/bin/velmaris
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$station" --demo "$@"
fi
picture="$PWD/build/velmaris-demo.png"
echo "No display is available: running the demo offscreen for 6 seconds instead."
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
QT_QPA_PLATFORM=offscreen "$station" --demo --run-for 6 --screenshot "$picture" "$@"
echo "A picture of the station is in $picture"
