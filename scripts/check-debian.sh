#!/usr/bin/env bash
# The game on a fresh minimal Debian of the given release, as a new user there gets it:
#   1. a minimal root of that release, made with debootstrap (cached as
#      build-check/RELEASE-minbase.tar; delete it to bootstrap anew);
#   2. the README's test command inside it (headless X, Weston, valgrind and Orca
#      included), on a copy of the sources;
#   3. the .deb built there, and lintian on it;
#   4. that .deb installed with apt into a second fresh root of the same release, so
#      only what it declares comes along; the game started there on X (this machine's
#      Xvfb), played on to the table and left by its menu, then started on Wayland
#      (this machine's headless Weston).
# One line a step; exit 1 when a step fails. Needs root, the package mirror and, with
# nothing cached, about 20 minutes. Logs and screenshots land in build-check/RELEASE/.
#
# Usage: check-debian.sh bookworm|trixie|forky
#        check-debian.sh RELEASE --deb FILE   only step 4, for a .deb built elsewhere
#        check-debian.sh RELEASE --desktops [DESKTOP...]
#            instead of steps 2 to 4, check-desktops.sh inside a fresh root of the
#            release, with that release's GNOME Shell, KWin and Qt; its screenshots and
#            logs land in build-check/RELEASE/desktops/
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD

release=${1:-}
case $release in
  bookworm | trixie | forky) ;;
  *) echo "usage: check-debian.sh bookworm|trixie|forky [--deb FILE | --desktops [DESKTOP...]]" >&2; exit 2 ;;
esac
given_deb=""
desktops=()
case ${2:-} in
  --deb) given_deb=$(realpath "${3:?--deb needs a file}") ;;
  --desktops) desktops=(--desktops "${@:3}") ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "check-debian: needs root (debootstrap, chroot)" >&2; exit 2; }
bash scripts/setup.sh check

cache=$src/build-check
out=$cache/$release
mkdir -p "$out"
rm -f "$out"/*.png
pids=()
mounts=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT

started=$SECONDS
step() { printf '%-8s %s\n' "$1" "$2"; }
fail() { step FAILED "$*" >&2; exit 1; }
passed() { step ok "$* ($((SECONDS - started)) s)"; }

# Step 1: the minimal root, once per release.
minbase=$cache/$release-minbase.tar
if [ ! -f "$minbase" ]; then
  # The mirror this machine's apt uses, for Debian's main archive.
  mirror=$({ grep -rhoE '^(URIs:|deb) +https?://[^ ]*/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null ||
    true; } | awk '{print $2; exit}')
  mirror=${mirror:-http://deb.debian.org/debian}
  # A debootstrap older than the release knows it by its successor's rules.
  script=$release
  [ -e "/usr/share/debootstrap/scripts/$release" ] || script=sid
  rm -rf "$out/bootstrap"
  debootstrap --variant=minbase "$release" "$out/bootstrap" "$mirror" "/usr/share/debootstrap/scripts/$script" \
    >"$out/debootstrap.log" 2>&1 || { tail -20 "$out/debootstrap.log"; fail "debootstrap $release from $mirror"; }
  umount "$out/bootstrap/proc" 2>/dev/null || true
  tar -C "$out/bootstrap" -cf "$minbase.part" .
  mv "$minbase.part" "$minbase"
  rm -rf "$out/bootstrap"
fi
passed "a minimal Debian $release root: $(basename "$minbase")"

# A fresh root from the cached one, with the kernel's file systems, and the apt
# downloads kept between roots of the release.
archives=$cache/$release-archives
mkdir -p "$archives/partial"
new_root() {
  local root=$1
  if [ -d "$root" ]; then
    for m in $(grep -o " $root/[^ ]*" /proc/mounts | sort -r); do umount -l "$m" 2>/dev/null || true; done
    rm -rf --one-file-system "$root"
  fi
  mkdir -p "$root"
  tar -C "$root" -xf "$minbase"
  bind() { mkdir -p "$root$2"; mount "${@:3}" "$1" "$root$2"; mounts+=("$root$2"); }
  bind proc /proc -t proc
  bind /dev /dev --rbind
  mount --make-rslave "$root/dev"
  bind /sys /sys --rbind
  mount --make-rslave "$root/sys"
  bind "$archives" /var/cache/apt/archives --bind
  cp /etc/resolv.conf "$root/etc/resolv.conf"
}
in_root() {
  local root=$1
  shift
  chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
    HOME=/root LANG=C.UTF-8 "$@"
}

# The sources, as the working tree has them, into a root's /src.
copy_sources() {
  mkdir -p "$1/src"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -path './build*' -prune -o ! -type d -printf '%P\0'
  fi | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done | tar --null -T - -cf - | tar -C "$1/src" -xf -
}

if ((${#desktops[@]})); then
  # The desktops of that release, each on its own Xvfb inside the root.
  root=$out/desktop-root
  new_root "$root"
  copy_sources "$root"
  rm -rf "$out/desktops"
  set +e
  in_root "$root" bash -c 'cd /src && bash scripts/check-desktops.sh "$@"' - "${desktops[@]:1}" 2>&1 | tee "$out/desktops.log"
  result=${PIPESTATUS[0]}
  set -e
  mkdir -p "$out/desktops"
  cp "$root"/src/build-desktops/*.{png,log} "$out/desktops/" 2>/dev/null || true
  echo "screenshots and logs: build-check/$release/desktops/"
  exit "$result"
fi

deb=$given_deb
if [ -z "$deb" ]; then
  # Step 2: the tests, as a user of that release runs them.
  root=$out/test-root
  new_root "$root"
  copy_sources "$root"
  in_root "$root" bash -c 'cd /src && bash scripts/test.sh' >"$out/test.log" 2>&1 ||
    { tail -40 "$out/test.log"; fail "the tests on $release (build-check/$release/test.log)"; }
  summary=$(grep -E 'tests passed|PASS:' "$out/test.log" | tr '\n' ';' | sed 's/;$//; s/;/; /g')
  passed "the tests on $release: $summary"

  # Step 3: the .deb from that build, as that release's tools see it.
  in_root "$root" bash -c 'cd /src && cmake --build build --target package && cp build/spinzelle_*.deb /tmp/' \
    >"$out/package.log" 2>&1 || { tail -30 "$out/package.log"; fail "the .deb did not build on $release"; }
  deb=$(ls "$root"/tmp/spinzelle_*_amd64.deb)
  cp "$deb" "$out/"
  deb=$out/$(basename "$deb")
  in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q lintian >>"$out/package.log" 2>&1 ||
    fail "lintian did not install on $release"
  in_root "$root" bash -c 'lintian --info --display-info --pedantic /tmp/spinzelle_*.deb 2>&1 | grep -v "running with root privileges"' \
    >"$out/lintian.txt" || true
  grep -Eq '^[EW]: ' "$out/lintian.txt" && { cat "$out/lintian.txt"; fail "lintian reports errors or warnings"; }
  passed "$(basename "$deb") built on $release; lintian: no error, no warning"
fi

# Step 4: the .deb on a fresh root, and only what it declares.
root=$out/play-root
new_root "$root"
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mounts+=("$root/tmp/.X11-unix")
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$out/before.txt"
cp "$deb" "$root/tmp/"
in_root "$root" apt-get update -qq >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt-get update in the root"; }
in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" >>"$out/apt.log" 2>&1 ||
  { tail -30 "$out/apt.log"; fail "apt could not install $(basename "$deb") on $release"; }
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$out/after.txt"
added=$(comm -13 "$out/before.txt" "$out/after.txt")
passed "installed with apt: $(echo "$added" | wc -l) packages; fonts: $(echo "$added" | grep -E '^fonts-' | tr '\n' ' ')\"Sans Serif\" is $(FONTCONFIG_SYSROOT=$root fc-match 'Sans Serif')"

# On X: this machine's Xvfb, its socket shared with the root.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" 2>"$out/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
export DISPLAY=":$(head -1 "$out/display")"
mkdir -p -m 700 "$root/tmp/runtime"
in_root "$root" env DISPLAY="$DISPLAY" XDG_RUNTIME_DIR=/tmp/runtime spinzelle >"$out/x-game.log" 2>&1 &
game=$!
pids+=($game)
start=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form2$' | head -1) ||
  { cat "$out/x-game.log"; fail "no start-up window on X"; }
# A window manager matches the window to the menu entry by its class, and shows its icon.
class=$(xprop -id "$start" WM_CLASS | sed 's/^.*= //')
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)
[[ $class == *"\"$wm_class\""* ]] || fail "the window's class $class is not the menu entry's $wm_class"
# Asked for a while: under load the first look came once before the icon was there.
icon=0
for _ in $(seq 50); do xprop -id "$start" _NET_WM_ICON 2>/dev/null | grep -q '= ' && { icon=1; break; }; sleep 0.1; done
((icon)) || fail "the start-up window has no icon"
sleep 1
import -window root "$out/x-startup.png"
# The amount box and "Begin", where the start-up window puts them (twips / 15).
xdotool mousemove --window "$start" 190 82 click 1
xdotool type --delay 20 '$25'
xdotool mousemove --window "$start" 204 124 click 1
timeout 15 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null || fail "no table window on X"
table=$(xdotool search --onlyvisible --name '^Form1$' | head -1)
xdotool mousemove 1279 1023
sleep 1
import -window root "$out/x-table.png"
# Menu, Exit Game, by the access keys: the game must end, and end well.
xdotool windowfocus --sync "$table" key alt+m
sleep 0.5
xdotool key e
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "the game did not end from its menu"
status=0
wait "$game" || status=$?
[ "$status" = 0 ] || fail "the game ended with status $status"
passed "on X: the start-up window ($class, with its icon), the table, Exit Game (status 0)$([ -s "$out/x-game.log" ] && echo "; it said: $(head -3 "$out/x-game.log" | tr '\n' ' ')")"

# On Wayland: this machine's headless Weston, its socket in the root.
wayland=$root/tmp/wayland
mkdir -p -m 700 "$wayland"
XDG_RUNTIME_DIR=$wayland weston --backend=headless-backend.so --use-pixman --debug --width=1024 --height=768 \
  --socket=spinzelle --idle-time=0 >"$out/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$wayland/spinzelle" ] && break; sleep 0.1; done
[ -S "$wayland/spinzelle" ] || fail "Weston did not start: $(tail "$out/weston.log")"
in_root "$root" env XDG_RUNTIME_DIR=/tmp/wayland WAYLAND_DISPLAY=spinzelle QT_QPA_PLATFORM=wayland spinzelle \
  >"$out/wayland-game.log" 2>&1 &
game=$!
pids+=($game)
sleep 4
kill -0 "$game" 2>/dev/null || { cat "$out/wayland-game.log"; fail "the game did not stay up on Wayland"; }
(cd "$out" && XDG_RUNTIME_DIR=$wayland WAYLAND_DISPLAY=spinzelle weston-screenshooter >/dev/null 2>&1) &&
  mv "$out"/wayland-screenshot-*.png "$out/wayland-startup.png" 2>/dev/null || true
passed "on Wayland: the game stays up$([ -s "$out/wayland-game.log" ] && echo "; it said: $(head -3 "$out/wayland-game.log" | tr '\n' ' ')")"
echo "screenshots: build-check/$release/*.png"
echo "check-debian $release: every step passed"
