#!/usr/bin/env bash
# Runs a test program natively on Wayland: a compositor of its own, with its own
# runtime directory and socket, and no X display to fall back to.
#   weston  headless, 1024 x 768
#   kwin    KWin's virtual screen, 1920 x 1080 at 150 % (its size in logical pixels;
#           KWin 6 keeps the screen at 100 % all the same), which tells a new window its bounds
# Usage: wayland_check.sh weston|kwin PROGRAM [ARGS...]
set -euo pipefail
compositor=$1
shift
runtime=$(mktemp -d)
chmod 700 "$runtime"
server=""
cleanup() {
  # The compositor with all it started: KWin's session bus and helpers too.
  [ -n "$server" ] && kill -- "-$server" 2>/dev/null && { wait "$server" 2>/dev/null || true; }
  rm -rf "$runtime"
}
trap cleanup EXIT

socket=spinzelle-test
expect=()
case $compositor in
  weston)
    XDG_RUNTIME_DIR=$runtime setsid weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
      >"$runtime/server.log" 2>&1 &
    ;;
  kwin)
    # A plain copy: the packaged file's capability may be refused in a sandbox.
    cp "$(command -v kwin_wayland)" "$runtime/kwin_wayland"
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen \
      setsid dbus-run-session -- "$runtime/kwin_wayland" --virtual --width 1280 --height 720 --scale 1.5 \
      --socket="$socket" --no-lockscreen --no-global-shortcuts >"$runtime/server.log" 2>&1 &
    expect=(SPINZELLE_TEST_BOUNDS=1)
    ;;
  *) echo "usage: wayland_check.sh weston|kwin PROGRAM [ARGS...]" >&2; exit 2 ;;
esac
server=$!
for _ in $(seq 100); do [ -S "$runtime/$socket" ] && break; sleep 0.1; done
[ -S "$runtime/$socket" ] || { echo "$compositor did not start:"; cat "$runtime/server.log"; exit 1; }

env -u DISPLAY "${expect[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" XDG_RUNTIME_DIR="$runtime" "$@"
