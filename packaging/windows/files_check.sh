#!/usr/bin/env bash
# What the Windows release ships, installed into a scratch folder: every exe and DLL
# 64-bit, with ASLR (DYNAMIC_BASE, HIGH_ENTROPY_VA) and DEP (NX_COMPAT); the game's
# code under the stack protector; the licences there; and no path of the build
# machine in any file.
# Usage: files_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cmake --install "$build" --prefix "$dir" --strip >/dev/null
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

binaries=$(cd "$dir" && find . -iname '*.exe' -o -iname '*.dll' | sort)
for f in $binaries spinzelle.exe platforms/qwindows.dll; do
  [ -f "$dir/$f" ] || { fail "$f is not installed"; continue; }
  headers=$(x86_64-w64-mingw32-objdump -p "$dir/$f")
  grep -q '^Magic.*020b' <<<"$headers" || fail "$f is not 64-bit (PE32+)"
  for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$headers" || fail "$f lacks $flag"
  done
done
game=$(x86_64-w64-mingw32-objdump -p "$dir/spinzelle.exe")
grep -q '__stack_chk_fail' <<<"$game" || fail "spinzelle.exe has no stack protector"
grep -q 'Subsystem.*(Windows GUI)' <<<"$game" || fail "spinzelle.exe would open a console"

for f in LICENSE.txt licences/Qt-NOTICE.txt licences/Qt/LGPL-3.0-only.txt; do
  [ -s "$dir/$f" ] || fail "no $f"
done

# The clone, the build folder, the Qt cache and the home they sit in.
qt_prefix=$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p; s/^Qt6_DIR:[A-Z]*=\(.*\)\/lib\/cmake\/Qt6$/\1/p' "$build/CMakeCache.txt" | tail -1)
for path in "$source" "$build" ${qt_prefix:+"$qt_prefix"} "$HOME"; do
  [ "${#path}" -gt 1 ] || continue  # a home of / would match anything
  hits=$(grep -rlaF -- "$path" "$dir" || true)
  [ -z "$hits" ] || fail "$path is in: ${hits//$dir\//}"
done

[ "$failures" = 0 ] && echo "$(wc -w <<<"$binaries") binaries checked"
[ "$failures" = 0 ]
