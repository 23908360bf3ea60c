#!/usr/bin/env bash
# The program's command line, run as a player runs it: --help and --version answer
# without a display, anything else is refused in one line, and no display at all is
# said in one line with status 1 instead of Qt's abort.
# Usage: command_line_check.sh PROGRAM VERSION
set -uo pipefail
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Runs the program with no display of any kind, plus the given environment;
# leaves its status in $status and its output in $work/out and $work/err.
run() {
  local env_args=()
  while [[ ${1:-} == *=* ]]; do env_args+=("$1"); shift; done
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work" "${env_args[@]}" \
    timeout 20 "$program" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

expect() {  # what, expected status, expected stderr ('' for none), [stdout pattern]
  local what=$1 want=$2 err=$3 out=${4:-}
  local got_err
  got_err=$(cat "$work/err")
  if [[ $status != "$want" || "$got_err" != "$err" ]] || { [[ -n $out ]] && ! grep -Eq -- "$out" "$work/out"; }; then
    echo "FAIL $what: status $status (want $want)"
    echo "  stderr: $got_err"
    echo "  stdout: $(head -3 "$work/out")"
    failures=$((failures + 1))
  else
    echo "ok   $what"
  fi
}

no_display="spinzelle: cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY works)"

run --version
expect "--version" 0 "" "^spinzelle $version\$"
run -v
expect "-v" 0 "" "^spinzelle $version\$"
run --help
expect "--help" 0 "" "--version +Displays version"
run -platform offscreen -reverse --help
expect "--help after Qt's options" 0 "" "^Usage: "

run
expect "no display" 1 "$no_display"
run DISPLAY=:4093
expect "an X display that is not there" 1 "$no_display"
run QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=spinzelle-none XDG_RUNTIME_DIR=
expect "Wayland with no compositor nor runtime dir" 1 "$no_display"

# With a display, Qt's own options are taken and what is left is refused.
run -platform offscreen --bogus
expect "an unknown option" 1 "spinzelle: Unknown option 'bogus'."
run QT_QPA_PLATFORM=offscreen -qwindowtitle Roulette extra
expect "an argument" 1 "spinzelle: unexpected argument 'extra'; the game takes none"
run -platform offscreen --help-all
expect "--help-all lists Qt's options" 0 "" "^  --platform "

[[ $failures == 0 ]]
