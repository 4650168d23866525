#!/usr/bin/env bash
# Installs the Debian 12 packages Pelvaro needs to build, run and test; quiet when none is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-dev
    libpng-dev libsdl2-dev libgtk-3-dev libmpg123-dev libmp3lame-dev
    libegl-dev libgl-dev libglu1-mesa-dev libegl-mesa0 libgl1-mesa-dri
    libxrandr-dev libx11-dev libxfixes-dev
    libgtest-dev googletest
    xvfb xauth xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-utils xdotool
    x11-xkb-utils xkb-data fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
