#!/usr/bin/env bash
# Measures the game beside an empty Qt window of the same size (and its start-up
# window beside one with the same widgets), on a private Xvfb through Qt's real xcb
# platform, and prints one table for the machine's own fonts and one for a bare set
# (Liberation and DejaVu only, bench/bare-fonts.conf). A missed target is reported,
# never an error. SPINZELLE_BENCH_RUNS sets how many runs each median takes (5).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh bench

runs=${SPINZELLE_BENCH_RUNS:-5}
idle_seconds=10
root=$PWD
bin=$root/build-bench

echo "Building (Release) in build-bench/ ..."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSPINZELLE_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j"$(nproc)" \
  --target spinzelle spinzelle-baseline spinzelle-bench spinzelle-xwatch >/dev/null

work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "bench: $*" >&2
  [ -s "$work/app.log" ] && tail -20 "$work/app.log" >&2
  exit 1
}

# Our own X server on the first free display; Xvfb names it once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY

ticks_per_second=$(getconf CLK_TCK)
# utime + stime of the whole process, in clock ticks.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
# Time on a CPU of every thread, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{s += $1} END {printf "%.0f\n", s}'; }

median() { sort -g | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Starts a binary (KIND PROGRAM [ARGS...]) and waits for its start-up window on
# screen; sets pid and watcher, and appends "mapped_ms drawn_ms cpu_ms" to
# $work/<kind>.start (cpu_ms: its time on a CPU until drawn).
launch() {
  local kind=$1
  shift
  : >"$work/watch"
  "$bin/bench/spinzelle-xwatch" Form2 -- "$@" >"$work/watch" 2>>"$work/app.log" &
  watcher=$!
  for _ in $(seq 400); do [ -s "$work/watch" ] && break; sleep 0.1; done
  local mapped drawn cpu
  read -r _ pid _ mapped _ drawn _ cpu <"$work/watch" || fail "$kind: no start-up window"
  app=$pid
  [ "${mapped%%.*}" -ge 0 ] && [ "${drawn%%.*}" -ge 0 ] || fail "$kind: start-up window never shown"
  echo "$mapped $drawn $cpu" >>"$work/$kind.start"
}

stop() {
  kill "$pid"
  wait "$watcher" || true
  app=""
}

# One more start-up sample, cheap, since a start takes only some tens of ms.
startup_run() {
  launch "$@"
  sleep 0.3
  stop
}

# One run of a binary as a player starts it: its start-up window, then on to the
# table with real X input, then the table left alone. Appends
# "idle_stat_ms idle_sched_ms hwm_kb" to $work/<kind>.ext. The same-widgets floor
# gets its amount typed too, and only its peak memory is kept.
external_run() {
  local kind=$1
  launch "$@"

  local form2
  form2=$(xdotool search --sync --onlyvisible --name '^Form2$' | head -1)
  if [ "$kind" != baseline ]; then
    # The amount box and "Begin", where startup/form2.cpp puts them (twips / 15).
    xdotool mousemove --window "$form2" 190 82 click 1
    xdotool type --delay 10 '$25'
  fi
  if [ "$kind" = widgets ]; then
    xdotool mousemove --window "$form2" 10 150 click 1  # its "Begin" stays disabled
  else
    xdotool mousemove --window "$form2" 204 124 click 1
  fi
  timeout 10 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null || fail "$kind: no table window"
  xdotool mousemove 1279 1023  # off the windows: nobody is touching the table
  sleep 1

  local t0 n0 t1 n1 hwm
  t0=$(cpu_ticks "$pid")
  n0=$(cpu_ns "$pid")
  [ "$kind" = widgets ] || sleep "$idle_seconds"
  t1=$(cpu_ticks "$pid")
  n1=$(cpu_ns "$pid")
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  stop
  awk -v t="$((t1 - t0))" -v hz="$ticks_per_second" -v n="$((n1 - n0))" -v h="$hwm" \
    'BEGIN {printf "%.3f %.3f %s\n", t * 1000 / hz, n / 1e6, h}' >>"$work/$kind.ext"
}

# One fresh process of the in-process driver; appends its "name value" lines.
driver_run() {
  local kind=$1
  "$bin/bench/spinzelle-bench" "$kind" >>"$work/$kind.drv" 2>>"$work/app.log" || fail "$kind: driver failed"
}

hwm() { awk '{print $3 / 1024}' "$work/$1.ext" | median; }
ext() { awk -v c="$2" '{print $c}' "$work/$1.ext" | median; }
shown() { awk -v c="$2" '{print $c}' "$work/$1.start" | median; }
drv() { awk -v k="$2" '$1 == k {print $2}' "$work/$1.drv" | median; }
# The median of the program's ratios to KIND, start-up by start-up: each pair starts
# back to back, so the machine's other load weighs on both alike.
paired() {
  paste <(awk -v c="$2" '{print $c}' "$work/program.start") <(awk -v c="$2" '{print $c}' "$work/$1.start") |
    awk '$2 > 0 {print $1 / $2}' | median
}
at_least_2() { awk -v v="$1" 'BEGIN {print (v < 2 ? 2 : v)}'; }

# figure, program, baseline, unit, target: "ratio<=X", "abs<X", "abs<=X" or "-";
# then the ratio, where it is not program / baseline
row() {
  awk -v f="$1" -v p="$2" -v b="$3" -v u="$4" -v t="$5" -v given="${6:-}" 'BEGIN {
    q = (given != "") ? given : (b > 0 ? p / b : 0)
    r = (q > 0) ? sprintf("%7.2f", q) : "      -"
    result = "-"
    if (t ~ /^ratio<=/) { lim = substr(t, 8) + 0; result = (q > 0 && q <= lim) ? "PASS" : "MISS"; tt = "ratio <= " lim }
    else if (t ~ /^abs<=/) { lim = substr(t, 6) + 0; result = (p <= lim) ? "PASS" : "MISS"; tt = "<= " lim " " u }
    else if (t ~ /^abs</) { lim = substr(t, 5) + 0; result = (p < lim) ? "PASS" : "MISS"; tt = "< " lim " " u }
    else tt = "-"
    printf "%-46s %11s %11s %s  %-15s %s\n", f " (" u ")", num(p), num(b), r, tt, result
  }
  function num(v) { return sprintf(v < 10 ? "%.3f" : "%.2f", v) }'
}

# Every figure on the fonts fontconfig now gives (FONTCONFIG_FILE), and its table.
# SET names the folder of its raw samples, FONTS the set in the table's heading.
measure() {
  local set=$1 fonts=$2
  for i in $(seq "$runs"); do
    external_run program "$bin/app/spinzelle"
    external_run baseline "$bin/bench/spinzelle-baseline"
    external_run widgets "$bin/bench/spinzelle-baseline" widgets
    driver_run program
    driver_run baseline
    for _ in 1 2 3 4 5; do
      startup_run program "$bin/app/spinzelle"
      startup_run baseline "$bin/bench/spinzelle-baseline"
      startup_run widgets "$bin/bench/spinzelle-baseline" widgets
    done
    echo "  $set fonts: run $i of $runs done"
  done

  platforms=$(awk '$1 == "platform" {print $2}' "$work"/*.drv | sort -u | tr '\n' ' ')
  [ "$platforms" = "xcb " ] || fail "driver ran on '$platforms', not xcb"
  echo "In-process driver reports Qt platform: ${platforms% }"

  echo
  echo "Fonts: $fonts."
  echo "Medians of $runs runs ($((6 * runs)) for the start-up window)."
  echo "Baseline: empty Qt windows of the game's sizes (318x172, then 872x748); for the start-up"
  echo "window also its own widgets, faces and style without the game ('same widgets')."
  printf "%-46s %11s %11s %7s  %-15s %s\n" figure program baseline ratio target result
  printf '%.0s-' $(seq 102); echo
  row "idle CPU 10 s, /proc stat, min 2" "$(at_least_2 "$(ext program 1)")" "$(at_least_2 "$(ext baseline 1)")" ms "ratio<=1.5"
  row "idle CPU 10 s, schedstat ns, min 2" "$(at_least_2 "$(ext program 2)")" "$(at_least_2 "$(ext baseline 2)")" ms "ratio<=1.5"
  row "start -> start-up window mapped" "$(shown program 1)" "$(shown baseline 1)" ms -
  row "start -> start-up window drawn" "$(shown program 2)" "$(shown baseline 2)" ms "ratio<=1.5"
  row "start -> drawn, same-widgets floor" "$(shown program 2)" "$(shown widgets 2)" ms "ratio<=1.1"
  row "start -> drawn / floor, paired runs" "$(shown program 2)" "$(shown widgets 2)" ms "ratio<=1.1" "$(paired widgets 2)"
  row "CPU time to drawn / floor, paired runs" "$(shown program 3)" "$(shown widgets 3)" ms - "$(paired widgets 3)"
  row "Begin -> table drawn" "$(drv program begin_to_table_ms)" "$(drv baseline begin_to_table_ms)" ms "abs<100"
  row "spin wall vs ideal 100 x 25 ms" "$(drv program spin_wall_ms)" 2500 ms "ratio<=1.01"
  row "spin wall, empty-window loop beside" "$(drv program spin_wall_ms)" "$(drv baseline spin_wall_ms)" ms -
  row "spin CPU, empty-window loop beside" "$(drv program spin_cpu_ms)" "$(drv baseline spin_cpu_ms)" ms -
  row "click -> marker drawn, first click" "$(drv program click_first_ms)" "$(drv baseline click_first_ms)" ms "abs<=16"
  row "click -> marker drawn, later clicks" "$(drv program click_next_ms)" "$(drv baseline click_next_ms)" ms "abs<=16"
  echo "Clicks during a spin, beside the same clicks on the idle table (game's own figures):"
  row "click->marker spinning/idle, median" "$(drv program click_spin_median_ms)" "$(drv program click_idle_median_ms)" ms -
  row "click->marker spinning/idle, p90" "$(drv program click_spin_p90_ms)" "$(drv program click_idle_p90_ms)" ms "abs<=16"
  row "click->marker spinning/idle, max" "$(drv program click_spin_max_ms)" "$(drv program click_idle_max_ms)" ms -
  row "peak resident memory (VmHWM)" "$(hwm program)" "$(hwm baseline)" MiB "ratio<=1.5"
  row "peak resident memory, same-widgets floor" "$(hwm program)" "$(hwm widgets)" MiB "ratio<=1.2"
  mkdir -p "$bin/bench-raw/$set" && cp "$work"/*.ext "$work"/*.start "$work"/*.drv "$bin/bench-raw/$set/"
  rm -f "$work"/*.ext "$work"/*.start "$work"/*.drv
}

# A desktop's fonts first, as players have them; then the bare machine's.
echo "X server: Xvfb $DISPLAY, Qt platform: $QT_QPA_PLATFORM (real X, not offscreen)"
echo "Measuring: $runs runs each, on two font sets; about $((2 * runs * (2 * (idle_seconds + 3) + 16))) s ..."
rm -rf "$bin/bench-raw"
measure machine "the machine's own ($(fc-list | wc -l) fonts)"
export FONTCONFIG_FILE=$root/bench/bare-fonts.conf
measure bare "a bare set, Liberation and DejaVu only ($(fc-list | wc -l) fonts, bench/bare-fonts.conf)"
unset FONTCONFIG_FILE
echo
echo "Idle CPU: /proc/<pid>/stat counts in ${ticks_per_second} Hz ticks; schedstat sums every thread's"
echo "time on a CPU in ns. Each run's samples: build-bench/bench-raw/machine/ and bare/."
echo "Start-up: spinzelle-xwatch spawns the binary and watches the X server for the window's"
echo "map and its first drawing (DAMAGE), and reads the binary's time on a CPU by then, which"
echo "the machine's other load hardly moves. Paired runs: the median of the game's ratio to the"
echo "floor start-up by start-up, each pair started back to back; steadier than the ratio of the"
echo "two medians when the machine is busy. Begin, spin and clicks: spinzelle-bench, in-process,"
echo "the game's own pause, result boxes that return at once, clicks as mouse press and release on"
echo "the window, 'drawn' = the paint and its flush to the X server done; baseline clicks repaint"
echo "the empty window. Idle CPU and memory: the real binaries driven to the table with xdotool."
echo "Spinning vs idle: real X clicks (XTest) from a thread of their own every 60-140 ms, on the"
echo "idle table for 3 s and through 3 spins; each timed to the marker's paint with its new stake."
