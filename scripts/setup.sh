#!/usr/bin/env bash
# Installs, from Debian's packages, what the named tasks need and this machine lacks;
# does nothing when all is there.
#   build   compile the game and make its .deb
#   play    build, and run the game on the desktop
#   test    build and run every test (scripts/test.sh, scripts/memcheck.sh)
#   bench   build and run the benchmarks on a private X server (scripts/bench.sh)
#   check   try the .deb in a fresh minimal Debian root (scripts/check-package.sh)
#   speech  play a game with Orca listening, its speech logged (scripts/check-speech.sh)
#   desktops  play on GNOME Shell, weston, KWin and openbox (scripts/check-desktops.sh)
#   windows  cross-build the Windows release, test it under Wine (scripts/build-windows.sh,
#            scripts/check-windows.sh)
# Usage: setup.sh TASK...
set -euo pipefail

build=(
  g++ cmake make
  qt6-base-dev libgl-dev     # Qt 6 Widgets, and the GL headers its CMake files look for
  dpkg-dev file              # the .deb's library dependencies, found by dpkg-shlibdeps
  pkg-config libwayland-dev wayland-protocols  # the room a Wayland compositor gives a window
)
# What the package depends on and recommends: the table's faces and Qt's Wayland platform.
run=(fonts-liberation qt6-wayland)

# kscreen-doctor, from which KWin 6 alone takes its scale (KWin 5 heeds --scale).
kscreen=(libkscreen-bin)
[ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ] && kscreen=()

packages=()
(($#)) || { echo "usage: setup.sh build|play|test|bench|check|speech|desktops|windows..." >&2; exit 2; }
for task in "$@"; do
  case $task in
    build) packages+=("${build[@]}") ;;
    play) packages+=("${build[@]}" "${run[@]}") ;;
    test)
      packages+=("${build[@]}" "${run[@]}"
        libgtest-dev              # GoogleTest
        valgrind                  # the memory check of the whole games
        desktop-file-utils        # checks the menu entry the package installs
        appstream                 # validates the AppStream metadata
        weston                    # a headless Wayland compositor for the Wayland test
        kwin-wayland dbus         # and KWin's virtual screen, which tells a window its bounds
      ) ;;
    bench)
      packages+=("${build[@]}" "${run[@]}"
        pkg-config libxcb1-dev    # the window watcher
        libxcb-xtest0-dev         # a player's clicks through the X server
        xvfb xdotool              # a private X server, and real X input on it
        fonts-noto-core fonts-noto-cjk fonts-noto-extra  # a desktop's usual fonts
        fonts-dejavu-core fontconfig  # the bare set beside them, and fc-list to count both
      ) ;;
    check)
      packages+=("${build[@]}"
        debootstrap lintian
        devscripts                # hardening-check
        xvfb xdotool x11-utils    # an X server for the root's game, and a look at its window
        weston fontconfig         # a Wayland compositor for it, and what its fonts resolve to
        imagemagick               # the screenshot
      ) ;;
    speech)
      packages+=("${build[@]}" "${run[@]}"
        orca speech-dispatcher    # the screen reader, and the speech server it talks to
        at-spi2-core dbus         # the accessibility bus, and a session bus to find it on
        xvfb openbox xdotool      # a private X server, a window manager, keys typed into it
      ) ;;
    desktops)
      packages+=("${build[@]}" "${run[@]}"
        xvfb xdotool x11-utils    # private X servers, keys typed into them, a look at windows
        imagemagick python3       # the screenshots, and the table found in them
        openbox                   # an X11 window manager
        gnome-shell dbus          # GNOME Shell, on Wayland and on X11, and its buses
        weston                    # weston, on its X11 backend
        kwin-wayland kwin-style-breeze  # KWin on Wayland with its usual frame
        plasma-workspace kactivitymanagerd plasma-desktop  # and the Plasma panel beside it
        "${kscreen[@]}"
        python3-gi libglib2.0-bin  # GNOME Shell's own screenshot, and its settings
      ) ;;
    windows)
      packages+=(cmake ninja-build g++ perl patch xz-utils
        qt6-base-dev qt6-base-dev-tools libgl-dev  # the host's Qt: its tools, and its release's source
        dpkg-dev                  # apt-get source unpacks with dpkg-source
        g++-mingw-w64-x86-64-posix  # MinGW-w64's GCC, POSIX threads
        googletest                # GoogleTest's source, built for Windows
        nsis                      # the installer
        wine wine64               # the Windows tests, and the game as players run it
        fonts-liberation fonts-wine  # the faces the layout names, by their metric twins, and Wine's own
        xvfb xdotool x11-utils imagemagick unzip  # a private X server, a player's input, screenshots
      ) ;;
    *) echo "setup.sh: unknown task '$task'" >&2; exit 2 ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
