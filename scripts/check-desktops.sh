#!/usr/bin/env bash
# Plays the game as a player would on the desktops it meets, each on a private Xvfb at
# 1366 x 768 and 1920 x 1080: GNOME Shell on Wayland (nested), weston on Wayland, KWin on
# Wayland (where it runs), X11 under openbox and X11 under GNOME Shell; and scaled as
# laptops are, at 1920 x 1080: GNOME Shell on Wayland at 150 % (fractional) and 200 %
# (integer, at 2560 x 1440 too), and KWin on Wayland under a Plasma panel at 150 % (on
# KWin 6 set through kscreen-doctor, which alone it heeds). On each it picks $25 by
# keyboard, spins once, closes the result box, and checks from a full-resolution
# screenshot that the whole table, menu bar and progress bar included, is on screen. It
# prints one line per desktop: the table window's frame on screen and its title bar.
# Screenshots: build-desktops/<desktop>-<size>-{table,box}.png.
# Exit 0: every table whole on screen; 1: a table cut off or missing; 2: a desktop
# could not start at all, or the check itself could not run.
# Usage: check-desktops.sh [DESKTOP...]   (gnome-wayland weston kwin-wayland openbox gnome-x11
#                                         gnome-wayland-150 gnome-wayland-200 kwin-plasma-150,
#                                         or another scale: gnome-wayland-125, kwin-plasma-175 ...)
# SPINZELLE_BIN picks the game (default build/app/spinzelle, or the game alone built into
# build-desktops/build/ when that is missing);
# QT_SCALE_FACTOR passes on to the game.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh desktops || exit 2

out=$root/build-desktops
bin=${SPINZELLE_BIN:-$root/build/app/spinzelle}
if [ -z "${SPINZELLE_BIN:-}" ] && [ ! -x "$bin" ]; then
  # The game alone, in a tree of its own: the tests' tools need not be here.
  bin=$out/build/app/spinzelle
  echo "== Building the game into build-desktops/build/"
  { cmake -S . -B "$out/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build "$out/build" -j2 --target spinzelle; } || { echo "check-desktops: the game did not build" >&2; exit 2; }
fi
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
work=$(mktemp -d)
chmod 700 "$work"

groups=()
# Every process is started in a group of its own and ended with all it started.
spawn() {
  setsid "$@" &
  groups+=($!)
}
stop_all() {
  for g in "${groups[@]}"; do kill -TERM -- "-$g" 2>/dev/null; done
  for _ in $(seq 30); do
    alive=0
    for g in "${groups[@]}"; do kill -0 -- "-$g" 2>/dev/null && alive=1; done
    ((alive)) || break
    sleep 0.1
  done
  for g in "${groups[@]}"; do kill -KILL -- "-$g" 2>/dev/null; done
  groups=()
}
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 2' INT TERM

# Waits up to $1 tenths of a second for a command to succeed.
wait_for() {
  local n=$1
  shift
  for _ in $(seq "$n"); do "$@" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# A display of this project's range (:71 to :79) that no one holds.
free_display() {
  for n in 71 72 73 74 75 76 77 78 79; do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return 0; }
  done
  return 1
}

# KWin's packaged binary carries a file capability that a sandbox may refuse to run;
# a plain copy runs (under the same name, which its own Qt platform plugin insists on).
kwin_binary() {
  command -v kwin_wayland >/dev/null || return 1
  mkdir -p "$work/kwin"
  [ -x "$work/kwin/kwin_wayland" ] || cp "$(command -v kwin_wayland)" "$work/kwin/kwin_wayland"
  echo "$work/kwin/kwin_wayland"
}

# The table found in a screenshot by its colours: prints "ok|cut <reason>" and, for
# Wayland, the window's frame as the screenshot shows it.
cat >"$work/look.py" <<'EOF'
import subprocess, sys
shot = sys.argv[1]
ppm = subprocess.run(["convert", shot, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
# P6 header: magic, width, height, maxval, then the pixels.
parts = ppm.split(maxsplit=4)
w, h, px = int(parts[1]), int(parts[2]), parts[4]
def at(x, y):
    i = 3 * (y * w + x)
    return px[i], px[i + 1], px[i + 2]
# The bounding box of a colour, counting only rows and columns with a run of it, so
# that a stray icon of the same colour elsewhere does not stretch it.
def box(test, least=10):
    cols, rows = [0] * w, [0] * h
    for y in range(h):
        row = px[3 * y * w:3 * (y + 1) * w]
        for x in range(w):
            if test(row[3 * x], row[3 * x + 1], row[3 * x + 2]):
                cols[x] += 1; rows[y] += 1
    xs = [x for x in range(w) if cols[x] >= least]
    ys = [y for y in range(h) if rows[y] >= least]
    return (min(xs), min(ys), max(xs), max(ys)) if xs and ys else None
felt = box(lambda r, g, b: r < 8 and 56 <= g <= 72 and b < 8)  # #004000
if not felt:
    print("cut", "no table to be seen"); sys.exit()
# The felt: 5775 x 10695 twips at (5880, 120) of a client of 13080 x 11220.
# Its one-pixel border line is not green.
s = (felt[2] - felt[0] + 3) / 385.0
left, top = felt[0] - 1 - 392 * s, felt[1] - 1 - 8 * s
right, bottom = left + 872 * s - 1, top + 748 * s - 1
problems = []
if felt[3] - felt[1] + 3 < 713 * s - 3:
    problems.append("the felt is cut (%d of %d rows)" % (felt[3] - felt[1] + 3, round(713 * s)))
if left < -2 or top < -2 or right > w + 1 or bottom > h + 1:  # the felt's edge gives the place to a pixel or two
    problems.append("the client %dx%d+%d+%d passes the screen's edge" % (872 * s, 748 * s, left, top))
# The progress bar after the spin: full, in the table's highlight blue (#0066CC),
# 5655 x 495 twips at (120, 10320).
bar = box(lambda r, g, b: r < 40 and 80 <= g <= 125 and 175 <= b <= 230)
if not bar or bar[3] < top + 688 * s - 3 or bar[2] - bar[0] + 1 < 370 * s - 4:
    problems.append("the progress bar is not whole on screen")
# Up from the client, the window's light menu bar (and a title bar, if any) to its edge.
x = int(left + 300 * s)  # clear of the menu's title
y = int(top) - 1
def light(p): return min(p) >= 190 and max(p) - min(p) <= 24
while y >= 0 and light(at(x, y)):
    y -= 1
above = int(top) - 1 - y
if y < 0 and above < 16:
    problems.append("the menu bar is above the screen")
print("ok" if not problems else "cut " + "; ".join(problems))
print("frame %dx%d+%d+%d" % (872 * s, 748 * s + above, left, y + 1))
print("above %d" % above)
print("scale %.3f" % s)
EOF

status=0
failed_start=0
report=()

# A screenshot at the screen's full resolution. GNOME Shell at a fractional scale
# draws its nested screen at logical size, so there the shell takes it itself; it
# answers a caller that owns org.gnome.Screenshot.
cat >"$work/shoot.py" <<'EOF'
import sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", ("org.gnome.Screenshot", 4)), None, 0, -1, None)
done, _ = bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                        "Screenshot", GLib.Variant("(bbs)", (False, False, sys.argv[1])),
                        GLib.VariantType("(bs)"), 0, 10000, None).unpack()
sys.exit(0 if done else 1)
EOF

# One desktop at one size. A name ending in -125, -150 and so on is that desktop at
# that scale; GNOME's is fractional unless whole.
run() {
  local desktop=$1 size=$2 width=${2%x*} height=${2#*x}
  local name=$desktop-$size log=$out/$desktop-$size.log scale=1
  case $desktop in
    *-[12][0-9][0-9])
      scale=$(awk -v p="${desktop##*-}" 'BEGIN {print p / 100}')
      desktop=${desktop%-*} ;;
  esac
  # A HOME of each run's own: GNOME's fractional scaling, set for 150 %, must not
  # carry into the run at 200 %, whose shell would then draw at half size on its screen.
  local display runtime=$work/run-$name socket=wayland-spzw-check
  display=$(free_display) || { echo "check-desktops: no free display in :71-:79" >&2; exit 2; }
  mkdir -p -m 700 "$runtime"
  local base=(env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS DISPLAY=":$display" XDG_RUNTIME_DIR="$runtime"
    HOME="$runtime" XDG_CONFIG_HOME="$runtime/config" NO_AT_BRIDGE=1)
  spawn "${base[@]}" Xvfb ":$display" -screen 0 "${width}x${height}x24" -nolisten tcp >"$log" 2>&1
  wait_for 100 xdpyinfo -display ":$display" >/dev/null || { report+=("$name: Xvfb did not start"); failed_start=1; return; }

  # The desktop; on Wayland the game's socket, on X11 the window manager.
  local platform=wayland
  case $desktop in
    openbox)
      platform=xcb
      spawn "${base[@]}" openbox >>"$log" 2>&1 ;;
    gnome-x11 | gnome-wayland)
      # GNOME Shell wants a session bus and a system bus (its login manager's); a
      # private session bus stands in for the latter.
      local bus
      for bus in system session; do
        spawn "${base[@]}" dbus-daemon --session --nofork --address="unix:path=$runtime/${bus}_bus" >>"$log" 2>&1
        wait_for 50 test -S "$runtime/${bus}_bus"
      done
      base+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/session_bus")
      local shell=(gnome-shell --nested --wayland --no-x11 --wayland-display="$socket")
      [ "$desktop" = gnome-x11 ] && { platform=xcb; shell=(gnome-shell --x11 --replace); }
      # Integer scales by default; fractional ones once the experiment is on.
      [[ $scale == *.* ]] &&
        "${base[@]}" gsettings set org.gnome.mutter experimental-features "['scale-monitor-framebuffer']" >>"$log" 2>&1
      spawn "${base[@]}" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$runtime/system_bus" MUTTER_DEBUG_DUMMY_MODE_SPECS="$size" \
        MUTTER_DEBUG_DUMMY_MONITOR_SCALES="$scale" "${shell[@]}" >>"$log" 2>&1 ;;
    weston)
      # Its X11 backend, not the headless one: headless has no seat to type on.
      spawn "${base[@]}" weston --backend=x11-backend.so --use-pixman --width="$width" --height="$height" \
        --socket="$socket" --idle-time=0 >>"$log" 2>&1 ;;
    kwin-wayland | kwin-plasma)
      local kwin
      kwin=$(kwin_binary) || { report+=("$name: kwin_wayland is not installed"); failed_start=1; return; }
      spawn "${base[@]}" dbus-daemon --session --nofork --address="unix:path=$runtime/session_bus" >>"$log" 2>&1
      wait_for 50 test -S "$runtime/session_bus"
      base+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/session_bus")
      local plasma=("${base[@]}" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland)
      # KWin 5 sizes its window on the X screen in logical pixels, each scale of the
      # screen's. KWin 6 sizes it in real pixels and leaves such an output at 100 %
      # whatever --scale says; it takes the scale from the display settings, as a user
      # sets it.
      local kwin5=0 screen=(--width "$width" --height "$height")
      if "$kwin" --version 2>/dev/null | grep -Eq ' [1-5]\.'; then
        kwin5=1
        screen=(--width "$(awk -v w="$width" -v s="$scale" 'BEGIN {printf "%d", w / s + 0.5}')"
          --height "$(awk -v h="$height" -v s="$scale" 'BEGIN {printf "%d", h / s + 0.5}')" --scale "$scale")
      fi
      spawn "${base[@]}" "$kwin" --x11-display ":$display" "${screen[@]}" \
        --socket "$socket" --no-lockscreen --no-global-shortcuts >>"$log" 2>&1
      wait_for 300 test -S "$runtime/$socket"
      if ((!kwin5)) && [ "$scale" != 1 ]; then
        local output
        output=$(wait_for 50 "${plasma[@]}" kscreen-doctor -o | sed 's/\x1b\[[0-9;]*m//g' | awk '/^Output:/ {print $3; exit}')
        "${plasma[@]}" kscreen-doctor "output.${output:-X11-0}.scale.$scale" >>"$log" 2>&1 ||
          { report+=("$name: kscreen-doctor could not set the scale (see $log)"); failed_start=1; return; }
      fi
      if [ "$desktop" = kwin-plasma ]; then
        # The panel, which starts only once the activity manager runs.
        spawn "${plasma[@]}" /usr/lib/*/libexec/kactivitymanagerd >>"$log" 2>&1
        spawn "${plasma[@]}" plasmashell --no-respawn >>"$log" 2>&1
        sleep 10
      fi ;;
  esac
  if [ $platform = wayland ]; then
    wait_for 300 test -S "$runtime/$socket" || { report+=("$name: the compositor did not start (see $log)"); failed_start=1; return; }
  fi
  sleep 4  # the shell's start-up animation and overview
  # GNOME opens in its overview: leave it. Keys go to the window under the pointer.
  DISPLAY=":$display" xdotool mousemove $((width / 2)) $((height / 2)) key Escape 2>/dev/null
  sleep 1

  spawn "${base[@]}" QT_QPA_PLATFORM=$platform WAYLAND_DISPLAY="$socket" "$bin" >"$out/$name-game.log" 2>&1
  local game=${groups[-1]}
  sleep 5  # a scaled shell on a busy machine takes a while to map the first window
  # A shell still in its start-up animation at the Escape opens the overview after it.
  [ "${desktop%-*}" = gnome ] && "${base[@]}" gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >>"$log" 2>&1 && sleep 1
  kill -0 "$game" 2>/dev/null || { report+=("$name: the game did not start (see $out/$name-game.log)"); status=1; return; }
  # The start-up window has the keyboard in the amount box; Return presses Begin.
  DISPLAY=":$display" xdotool type --delay 40 '$25'
  DISPLAY=":$display" xdotool key Return
  sleep 3
  # From the chips, Tab past the layout to BETS READY!, and spin with nothing on.
  DISPLAY=":$display" xdotool key Tab Tab space
  sleep 4
  shoot() {
    if [ "$desktop" = gnome-wayland ]; then
      "${base[@]}" /usr/bin/python3 "$work/shoot.py" "$1" >>"$log" 2>&1
    else
      DISPLAY=":$display" import -window root "$1"
    fi
  }
  shoot "$out/$name-box.png"
  DISPLAY=":$display" xdotool key Return
  sleep 1
  shoot "$out/$name-table.png"

  local look frame title="the window not found"
  look=$(python3 "$work/look.py" "$out/$name-table.png")
  frame=$(sed -n 's/^frame //p' <<<"$look")
  local above
  above=$(sed -n 's/^above //p' <<<"$look")
  if [ $platform = xcb ]; then
    # The window manager says where the frame is and what it lets the player do.
    local id
    # The game's own window: GNOME 48 frames it in a window of its frame client's,
    # under the same name.
    for id in $(DISPLAY=":$display" xdotool search --onlyvisible --name '^Form1$' 2>/dev/null) ""; do
      DISPLAY=":$display" xprop -id "$id" WM_CLASS 2>/dev/null | grep -q '"spinzelle"' && break
    done
    if [ -n "$id" ]; then
      local extents actions
      extents=$(DISPLAY=":$display" xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
      actions=$(DISPLAY=":$display" xprop -id "$id" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | sed -n 's/.* = //p' |
        sed 's/_NET_WM_ACTION_//g' | tr -d ' ' | tr 'A-Z' 'a-z')
      # The client's place and size, grown by the frame's extents (left, right, top, bottom).
      frame=$(DISPLAY=":$display" xwininfo -id "$id" 2>/dev/null | awk -v e="${extents:-0,0,0,0}" '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {split(e, f, ","); printf "%dx%d+%d+%d", w + f[1] + f[2], h + f[3] + f[4], x - f[1], y - f[3]}')
      title="title bar $(cut -d, -f3 <<<"${extents:-0,0,0,0}") px; the window manager allows: ${actions:-nothing said}"
    fi
  else
    # Over the client the menu bar takes about 20 pixels; anything more is a title bar.
    # KWin draws its own frame (minimise and close for a window of fixed size); GNOME
    # Shell and weston leave it to Qt, whose frame has all three buttons.
    local who="Qt's, with minimise, maximise and close"
    [ "${desktop%-*}" = kwin ] && who="KWin's, with minimise and close"
    # Both in the screen's pixels, so as many more of them as the desktop's scale.
    local bar
    bar=$(awk -v s="$scale" 'BEGIN {printf "%d %d", 20 * s, 26 * s}')
    if ((above > ${bar#* })); then title="a title bar of about $((above - ${bar% *})) px ($who)"; else title="no title bar"; fi
  fi
  local verdict
  verdict=$(head -1 <<<"$look")
  [ "${verdict%% *}" = ok ] || status=1
  report+=("$name: ${verdict}; frame $frame; $title; $(sed -n 's/^scale /scale /p' <<<"$look")")
  stop_all
}

desktops=("$@")
((${#desktops[@]})) || desktops=(gnome-wayland weston kwin-wayland openbox gnome-x11
  gnome-wayland-150 gnome-wayland-200 kwin-plasma-150)
for d in "${desktops[@]}"; do
  sizes=(1366x768 1920x1080)
  case $d in
    gnome-wayland | weston | kwin-wayland | openbox | gnome-x11) ;;
    gnome-wayland-200) sizes=(1920x1080 2560x1440) ;;  # the second a 13-inch laptop's
    gnome-wayland-[12][0-9][0-9] | kwin-plasma-[12][0-9][0-9]) sizes=(1920x1080) ;;
    *) echo "unknown desktop $d" >&2; exit 2 ;;
  esac
  for size in "${sizes[@]}"; do
    echo "== $d at $size"
    run "$d" "$size"
    stop_all
  done
done
echo "== Results (screenshots in build-desktops/)"
printf '%s\n' "${report[@]}"
((failed_start)) && exit 2
exit $status
