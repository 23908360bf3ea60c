#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building, playing and testing the game
# needs and this machine lacks. Does nothing when all is there.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libgl-dev           # Qt 6 Widgets, and the GL headers its CMake files look for
  libgtest-dev                     # GoogleTest
  fonts-liberation fonts-dejavu-core fontconfig
  xvfb xauth x11-utils imagemagick # a screen for the benchmarks and screenshots
  valgrind
  desktop-file-utils               # checks the menu entry the package installs
  xdotool libxcb1-dev              # real X input, and the window watcher, for the benchmarks
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
