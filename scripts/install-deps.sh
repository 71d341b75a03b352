#!/usr/bin/env bash
# Installs the Debian 12 packages Velmaris needs, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-websockets-dev qt6-image-formats-plugins libgl-dev
  libgif-dev libsimpleini-dev libcli11-dev libproj-dev
  libavcodec-dev libavformat-dev # the tests decode the MP4 back
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdal-dev gdal-bin
  g++-mingw-w64-x86-64-posix wine64 googletest
  xvfb xauth fonts-dejavu-core fonts-liberation2
  chromium # the web view's test in a real browser
  desktop-file-utils shared-mime-info groff-base dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Velmaris: installing ${missing[*]} needs root" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
echo "Velmaris: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
