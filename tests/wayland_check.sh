#!/usr/bin/env bash
# Runs a test program natively on Wayland: a headless Weston of its own, with its own
# runtime directory and socket, and no X display to fall back to.
# Usage: wayland_check.sh PROGRAM [ARGS...]
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston=""
cleanup() {
  [ -n "$weston" ] && kill "$weston" 2>/dev/null && wait "$weston" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

socket=spinzelle-test
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do [ -S "$runtime/$socket" ] && break; sleep 0.1; done
[ -S "$runtime/$socket" ] || { echo "Weston did not start:"; cat "$runtime/weston.log"; exit 1; }

env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" XDG_RUNTIME_DIR="$runtime" "$@"
