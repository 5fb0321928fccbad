#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: installs only what is missing, with one 'apt-get update' first.
set -euo pipefail

packages=(
  # build
  cmake ninja-build pkg-config g++ libgtest-dev
  # libraries
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins libzip-dev libx11-dev libxrandr-dev libxfixes-dev zlib1g-dev libfreetype-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libjpeg62-turbo-dev libturbojpeg0-dev fonts-dejavu-core
  # running without a display, and the end-to-end tests
  xvfb xauth xdotool imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi
echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
