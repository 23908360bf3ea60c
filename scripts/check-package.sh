#!/usr/bin/env bash
# Tries the .deb the way Debian and a new user of a minimal Debian 12 would: builds it
# twice, from two copies of the sources with different file times into two build
# folders, and wants the same bytes both times; wants hardening-check to pass on the
# game; installs it with apt into a fresh debootstrap root (so only what it declares
# comes along), starts the game there on X (this machine's Xvfb) and on Wayland (this
# machine's headless Weston), takes a screenshot of each, and runs lintian on it.
# Needs root, some minutes and the package mirror; the tests do not run it. The root
# is cached as build-check/bookworm-minbase.tar; delete it to bootstrap anew.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh check

out=$PWD/build-check
root=$out/root
mkdir -p "$out"
rm -f "$out"/*.png
pids=()
mounts=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

# The sources as they stand, without git, as in a Debian source package: their date
# comes from the changelog.
copy_sources() {
  rm -rf "$1"
  mkdir -p "$1"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -path './build*' -prune -o ! -type d -printf '%P\0'
  fi | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -C "$1" -xf -
}
# Each copy is built in a folder of its own inside it, as Debian's tools do.
build_deb() {
  cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$1/build" -j"$(nproc)" --target package >"$1.log" 2>&1 ||
    { tail -30 "$1.log"; fail "the package did not build in $1"; }
}

echo "== Building the .deb (no tests) twice: build-check/one and build-check/two"
copy_sources "$out/one"
copy_sources "$out/two"
# The second copy's files all carry another time, as a checkout at another moment would.
find "$out/two" -exec touch -h -d '2001-02-03 04:05:06' {} +
build_deb "$out/one"
build_deb "$out/two"
deb=$(ls "$out"/one/build/spinzelle_*_amd64.deb)
deb2=$(ls "$out"/two/build/spinzelle_*_amd64.deb)
sha256sum "$deb" "$deb2" | sed "s|$out/|build-check/|"
if ! cmp -s "$deb" "$deb2"; then
  for member in $(ar t "$deb"); do
    cmp -s <(ar p "$deb" "$member") <(ar p "$deb2" "$member") || echo "differs: $member"
  done
  fail "two builds of the same sources gave different packages"
fi
echo "the two packages are byte-identical"

echo "== hardening-check on the packaged game"
rm -rf "$out/unpacked"
dpkg-deb -x "$deb" "$out/unpacked"
# Control-flow protection is out of reach on Debian 12, whose C start files lack its
# mark (its own /usr/bin/ls fails that check too); every other check must pass.
hardening-check --nocfprotection "$out/unpacked/usr/games/spinzelle" | sed "s|$out/||" ||
  fail "hardening-check reports a failed check"

echo "== lintian"
lintian --info --display-info --pedantic "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$out/lintian.txt" || true
grep -Eq '^[EW]: ' "$out/lintian.txt" && fail "lintian reports errors or warnings"
echo "lintian: no error, no warning$(grep -q . "$out/lintian.txt" || echo ', nothing at all')"

echo "== A minimal Debian 12 root"
if [ ! -f "$out/bookworm-minbase.tar" ]; then
  # The mirror this machine's apt uses, for Debian's main archive.
  mirror=$({ grep -rhoE '^(URIs:|deb) +https?://[^ ]*/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null ||
    true; } | awk '{print $2; exit}')
  mirror=${mirror:-http://deb.debian.org/debian}
  echo "debootstrap --variant=minbase bookworm from $mirror (some minutes) ..."
  rm -rf "$out/bootstrap"
  debootstrap --variant=minbase bookworm "$out/bootstrap" "$mirror" >"$out/debootstrap.log" 2>&1 ||
    { tail -20 "$out/debootstrap.log"; fail "debootstrap failed"; }
  tar -C "$out/bootstrap" -cf "$out/bookworm-minbase.tar.part" .
  mv "$out/bookworm-minbase.tar.part" "$out/bookworm-minbase.tar"
  rm -rf "$out/bootstrap"
fi
rm -rf "$root"
mkdir "$root"
tar -C "$root" -xf "$out/bookworm-minbase.tar"
bind() { mkdir -p "$root$2"; mount "${@:3}" "$1" "$root$2"; mounts+=("$root$2"); }
bind proc /proc -t proc
bind /dev /dev --bind
bind /tmp/.X11-unix /tmp/.X11-unix --bind
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
  HOME=/root LANG=C.UTF-8 "$@"; }

echo "== Installing the .deb with apt, and only what it declares"
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$out/before.txt"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt-get update failed in the root"; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" >>"$out/apt.log" 2>&1 ||
  { tail -30 "$out/apt.log"; fail "apt could not install the package"; }
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$out/after.txt"
added=$(comm -13 "$out/before.txt" "$out/after.txt")
echo "$(echo "$added" | wc -l) packages added; fonts among them: $(echo "$added" | grep -E '^fonts-' | tr '\n' ' ')"
echo "fontconfig in the root: \"Sans Serif\" is $(FONTCONFIG_SYSROOT=$root fc-match 'Sans Serif')"

echo "== The game on X (Xvfb of this machine, its socket shared with the root)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" 2>"$out/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
export DISPLAY=":$(head -1 "$out/display")"
mkdir -p -m 700 "$root/tmp/runtime"
in_root env DISPLAY="$DISPLAY" XDG_RUNTIME_DIR=/tmp/runtime spinzelle >"$out/x-game.log" 2>&1 &
game=$!
pids+=($game)
start=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form2$' | head -1) ||
  { cat "$out/x-game.log"; fail "no start-up window on X"; }
# A window manager matches the window to the menu entry by its class, and shows its icon.
class=$(xprop -id "$start" WM_CLASS | sed 's/^.*= //')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)
echo "start-up window $start: WM_CLASS $class, the menu entry's StartupWMClass $wm_class"
[[ $class == *"\"$wm_class\""* ]] || fail "the window's class does not match the menu entry"
xprop -id "$start" _NET_WM_ICON >"$out/x-icon.txt"
grep -q '= ' "$out/x-icon.txt" || fail "the window has no icon"
echo "the window has an icon"
sleep 1
import -window root "$out/x-startup.png"
# The amount box and "Begin", where startup/form2.cpp puts them (twips / 15).
xdotool mousemove --window "$start" 190 82 click 1
xdotool type --delay 20 '$25'
xdotool mousemove --window "$start" 204 124 click 1
timeout 15 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null || fail "no table window on X"
table=$(xdotool search --onlyvisible --name '^Form1$' | head -1)
xdotool mousemove 1279 1023
sleep 1
import -window root "$out/x-table.png"
echo "screenshots: build-check/x-startup.png, build-check/x-table.png"
# Menu, Exit Game, by the access keys: the game must end, and end well.
xdotool windowfocus --sync "$table" key alt+m
sleep 0.5
xdotool key e
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "the game did not end from its menu"
status=0
wait "$game" || status=$?
[ "$status" = 0 ] || fail "the game ended with status $status"
echo "Exit Game from the menu: the game ended with status 0"
[ -s "$out/x-game.log" ] && { echo "the game said:"; cat "$out/x-game.log"; }

echo "== The game on Wayland (headless Weston of this machine, its socket in the root)"
wayland=$root/tmp/wayland
mkdir -p -m 700 "$wayland"
XDG_RUNTIME_DIR=$wayland weston --backend=headless-backend.so --use-pixman --debug --width=1024 --height=768 \
  --socket=spinzelle --idle-time=0 >"$out/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$wayland/spinzelle" ] && break; sleep 0.1; done
[ -S "$wayland/spinzelle" ] || fail "Weston did not start: $(tail "$out/weston.log")"
in_root env XDG_RUNTIME_DIR=/tmp/wayland WAYLAND_DISPLAY=spinzelle QT_QPA_PLATFORM=wayland spinzelle \
  >"$out/wayland-game.log" 2>&1 &
game=$!
pids+=($game)
sleep 4
kill -0 "$game" 2>/dev/null || { cat "$out/wayland-game.log"; fail "the game did not stay up on Wayland"; }
(cd "$out" && XDG_RUNTIME_DIR=$wayland WAYLAND_DISPLAY=spinzelle weston-screenshooter) &&
  mv "$out"/wayland-screenshot-*.png "$out/wayland-startup.png" && echo "screenshot: build-check/wayland-startup.png"
[ -s "$out/wayland-game.log" ] && { echo "the game said:"; cat "$out/wayland-game.log"; }
echo "== Done: the package installs, and the game starts on X and on Wayland"
