#!/usr/bin/env bash
# shellcheck disable=SC2016  # single quotes keep the $ of amounts and of inner scripts
# Plays one short game by keyboard with Orca listening, on a private X server, and
# checks that the screen reader said what a blind player needs at each step.
# Speech is not played: speech-dispatcher's generic module writes each utterance to a
# log, and takes as long over it as a voice would, so an utterance that Orca cuts off
# shows up as cut off.
#
# Usage: check-speech.sh [BINARY]     (or SPINZELLE_BIN=BINARY; default: build the game
#                                      into build-speech/)
# Environment: SPEECH_MS_PER_CHAR  how long the fake voice takes per character (60,
#                                  about Orca's default rate; 0 = instantly)
# Exit status: 0 every step was heard, 1 some step went unspoken, 2 the check itself
# could not run (no X server, no Orca, no window...).
set -euo pipefail

# What Orca must say, one check a line: the step whose speech it is heard in (from
# that step's first key until the next step's), a label, and an extended regex.
expected='
bet      bet      ^(notification )?1, 1 on it
spin     pocket   (^|[^0-9])(0|00|[1-9]|[12][0-9]|3[0-6]),? (red|black|green)
spin     balance  Balance [0-9]+
spin     box      You (Won|Lost) \$
newgame  newgame  ^(notification )?New game, balance 25
funds    stepdown ^(notification )?Chip stepped down to \$25
'
# The pocket and the balance it leaves come before the result box or with it, not after.
before_box="pocket balance"

cd "$(dirname "$0")/.."
root=$PWD
ms_per_char=${SPEECH_MS_PER_CHAR:-60}

bin=${1:-${SPINZELLE_BIN:-}}
bash scripts/setup.sh speech
if [ -z "$bin" ]; then
  echo "Building (RelWithDebInfo) in build-speech/ ..."
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-speech -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
  cmake --build build-speech -j"$(nproc)" --target spinzelle >/dev/null
  bin=$root/build-speech/app/spinzelle
fi
[ -x "$bin" ] || { echo "check-speech: no game at $bin" >&2; exit 2; }
bin=$(realpath "$bin")

work=$(mktemp -d)
pids=()  # everything started here, stopped in reverse order
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    for _ in $(seq 30); do kill -0 "${pids[i]}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  if [ -n "${SPEECH_KEEP:-}" ]; then echo "check-speech: kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 2' INT TERM

fail() {
  echo "check-speech: $*" >&2
  for f in speech.log keys.log orca.log app.log; do
    [ -s "$work/$f" ] && { echo "--- $f" >&2; tail -15 "$work/$f" >&2; }
  done
  exit 2
}

# A private desktop: its own HOME (Orca's default settings, no wizard), runtime folder,
# ALSA that plays into nothing, and settings kept in memory.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
export GSETTINGS_BACKEND=memory QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SPEECHD_ADDRESS AT_SPI_BUS_ADDRESS

# The fake voice: one line when an utterance starts, one when it is over; an utterance
# that speech-dispatcher stops gets no second line.
speech=$work/speech.log
: >"$speech"
cat >"$work/say" <<EOF
#!/bin/bash
text=\${1//\$'\n'/ }
echo \$\$ >"$work/saying"
echo "\$(date +%s.%N) S \$text" >>"$speech"
sleep "\$(awk -v n=\${#text} 'BEGIN { printf "%.3f", n * $ms_per_char / 1000 }')"
echo "\$(date +%s.%N) E \$text" >>"$speech"
EOF
chmod +x "$work/say"
mkdir -p "$work/speechd/modules"
cat >"$work/speechd/speechd.conf" <<EOF
AddModule "generic" "sd_generic" "generic.conf"
DefaultModule generic
DefaultLanguage "en"
AudioOutputMethod "alsa"
SymbolsPreproc "char"
SymbolsPreprocFile "gender-neutral.dic"
SymbolsPreprocFile "font-variants.dic"
SymbolsPreprocFile "symbols.dic"
SymbolsPreprocFile "emojis.dic"
SymbolsPreprocFile "orca.dic"
SymbolsPreprocFile "orca-chars.dic"
EOF
cat >"$work/speechd/modules/generic.conf" <<EOF
GenericExecuteSynth "$work/say \'\$DATA\'"
GenericMaxChunkLength 10000
GenericDelimiters ""
AddVoice "en" "MALE1" "en"
DefaultVoice "en"
EOF

# Waits until COMMAND succeeds, polling every 0.1 s for at most SECONDS.
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(head -1 "$work/display")"
export DISPLAY

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
pids+=($!)
wait_for 10 test -s "$work/bus" || fail "no D-Bus session bus"
DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)

export SPEECHD_ADDRESS=unix_socket:$XDG_RUNTIME_DIR/speechd.sock
speech-dispatcher --run-single --timeout 0 --communication-method unix_socket \
  --socket-path "$XDG_RUNTIME_DIR/speechd.sock" --config-dir "$work/speechd" \
  --log-dir "$work" >"$work/speechd.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$XDG_RUNTIME_DIR/speechd.sock" || fail "speech-dispatcher did not start"

orca >"$work/orca.log" 2>&1 &
pids+=($!)
wait_for 30 grep -q 'Screen reader on' "$speech" || fail "Orca did not start"

# Quiet: no utterance in progress and nothing new said for 1 s.
quiet() {
  local pid
  pid=$(cat "$work/saying" 2>/dev/null) || pid=""
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then return 1; fi
  awk -v now="$(date +%s.%N)" -v said="$(stat -c %.9Y "$speech")" 'BEGIN { exit !(now - said >= 1) }'
}
settle() { wait_for "$1" quiet || true; }

window() { timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# The visible windows named NAME, one id a line.
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | sort || true; }
# Waits at most SECONDS for a window named NAME that is not among the ids in OLD.
new_window() { wait_for "$3" bash -c '[ -n "$(comm -13 <(echo "$1") <(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | sort))" ]' _ "$2" "$1"; }

# Orca speaks before it listens to every application: give it a quiet moment first, or
# it may miss the game's first window.
settle 10
# Now and then (about one start in ten, more often on a busy machine: once it missed
# two in a row) Orca, just started, never hears of the game's first window; a player
# would start the game again, and so does the check, twice at the most.
for attempt in 1 2 3; do
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$bin" >"$work/app.log" 2>&1 &
  game=$!
  pids+=("$game")
  window Form2 20 || fail "the start-up window did not show"
  wait_for 20 grep -q 'Form2' "$speech" && break
  ((attempt < 3)) || fail "Orca never spoke the start-up window"
  echo "check-speech: Orca missed the start-up window; starting the game once more" >&2
  kill "$game"
  wait "$game" 2>/dev/null || true
done
settle 15

# Each step: its name, what the player does, then the keys. Marks go to the key log.
keys=$work/keys.log
: >"$keys"
step() {
  local name=$1 what=$2
  shift 2
  echo "$(date +%s.%N) $name $what" >>"$keys"
  local k
  for k in "$@"; do
    case $k in
      # A modifier held a moment, as a hand does: a quick Alt+M can reach Qt without
      # its Alt while Orca is still answering for the key.
      *+*) xdotool keydown "${k%%+*}"; sleep 0.2; xdotool key "${k#*+}"; sleep 0.2; xdotool keyup "${k%%+*}" ;;
      *) xdotool key "$k" ;;
    esac
    sleep 0.5
  done
}
# Waits at most SECONDS until Orca has said something matching REGEX since MARK (a line count).
said_since() { wait_for "$3" bash -c 'tail -n +"$(($1 + 1))" "$2" | grep -qE -- "$3"' _ "$1" "$speech" "$2"; }

step amount 'Down x3 to $100, Return (Begin)' Down Down Down Return
window Form1 10 || fail "the table did not show"
settle 10
step layout 'Tab to the layout (spot 1)' Tab
settle 10
step bet 'Space: the $1 chip on spot 1' space
settle 10
step ready 'Tab to BETS READY!' Tab
settle 10
boxes=$(windows Spinzelle)
mark=$(wc -l <"$speech")
step spin 'Space: spin' space
new_window Spinzelle "$boxes" 20 || fail "no result box after the spin"
said_since "$mark" '^[0-9.]+ S alert' 15 || true  # Orca takes a moment to read the box
settle 20
step ok 'Return: close the result box' Return
settle 10
step newgame 'Alt+M, R, Return: new game with $25' alt+m r Return
[ "$(windows Spinzelle)" = "$boxes" ] || fail "a box is open after the new game"
settle 10
step chips 'Shift+Tab twice, to the chips' shift+Tab shift+Tab
settle 10
boxes=$(windows Spinzelle)
mark=$(wc -l <"$speech")
step funds 'Right x3 to $100, more than the 25 left (Return closes a box)' Right Right Right
# The step-down is said once the refresh has run: on a busy machine more than a second
# later, and the exit's keys would cut it short.
said_since "$mark" 'Chip stepped down to' 30 || true
settle 10
if [ "$(windows Spinzelle)" != "$boxes" ]; then
  xdotool key Return
  settle 10
fi
[ "$(windows Spinzelle)" = "$boxes" ] || fail "a box is still open"
step exit 'Alt+M, E: exit' alt+m e
wait_for 10 bash -c "! kill -0 $game 2>/dev/null" || fail "the game did not exit"
settle 5
echo "$(date +%s.%N) end" >>"$keys"

# What was said, step by step: seconds since the step's first key, then the utterance;
# "[cut off]" marks one that Orca stopped before it was over. Each step's whole
# utterances also go to $work/STEP.said for the checks.
echo
echo "What Orca said (seconds from each step's first key):"
awk -v dir="$work" '
  FNR == NR { t[++n] = $1; name[n] = $2; $1 = $2 = ""; what[n] = substr($0, 3); next }
  { ts[++m] = $1; kind[m] = $2; x = $0; sub(/^[^ ]+ [^ ]+ /, "", x); text[m] = x }
  END {
    for (i = 1; i <= m; i++) {
      if (kind[i] != "S") continue
      whole = 0
      for (j = i + 1; j <= m && !(kind[j] == "S" && j > i); j++)
        if (kind[j] == "E" && text[j] == text[i]) { whole = 1; break }
      s = 0
      for (k = 1; k <= n; k++) if (t[k] <= ts[i]) s = k
      out[s] = out[s] sprintf("  %+7.2f  %s%s\n", ts[i] - t[s ? s : 1], text[i], whole ? "" : "  [cut off]")
      if (whole && s) printf "%s\n", text[i] >> (dir "/" name[s] ".said")
    }
    printf "(before the first step)\n%s", out[0]
    for (k = 1; k < n; k++) printf "%s: %s\n%s", name[k], what[k], out[k]
  }' "$keys" "$speech"

# A check passes when a whole (not cut off) utterance of its step matches.
echo
echo "Checks:"
missing=0
declare -A at
while read -r step label regex; do
  [ -n "$step" ] || continue
  line=$(grep -nE -m1 -- "$regex" "$work/$step.said" 2>/dev/null | cut -d: -f1) || line=""
  at[$label]=$line
  if [ -n "$line" ]; then
    printf '  heard    %-8s %s\n' "$label" "$regex"
  else
    printf '  MISSING  %-8s %s\n' "$label" "$regex"
    missing=$((missing + 1))
  fi
done <<<"$expected"
for label in $before_box; do
  if [ -n "${at[$label]}" ] && [ -n "${at[box]}" ] && ((at[$label] > at[box])); then
    echo "  LATE     $label came after the result box"
    missing=$((missing + 1))
  fi
done

checks=$(grep -c . <<<"$expected")
if ((missing)); then
  echo "FAIL: $missing of $checks checks not heard"
  exit 1
fi
echo "PASS: all $checks checks heard"
