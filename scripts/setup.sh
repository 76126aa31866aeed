#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, only those dpkg reports missing.
# Safe to run again: a second run installs nothing. Works as root or through sudo, without a terminal.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  libsdl2-dev libx11-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  liblua5.4-dev libode-dev libvorbis-dev libogg-dev libtinyxml-dev
  libopenal-dev libalut-dev libimgui-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev xvfb xauth x11-apps xdotool
  x11-utils xfonts-base
  clang clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo -n)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
