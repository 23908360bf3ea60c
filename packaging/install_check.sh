#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks that the desktop finds the
# game there: the program, a valid menu entry, and the icon that entry names.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

entry=$prefix/share/applications/spinzelle.desktop
[ -x "$prefix/bin/spinzelle" ] || { echo "no program in bin"; exit 1; }
[ -f "$entry" ] || { echo "no menu entry"; exit 1; }
desktop-file-validate "$entry"

field() { sed -n "s/^$1=//p" "$entry"; }
exec_name=$(field Exec)
icon_name=$(field Icon)
[ -x "$prefix/bin/${exec_name%% *}" ] || { echo "Exec=$exec_name is not the installed program"; exit 1; }
icon=$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg
[ -f "$icon" ] || { echo "Icon=$icon_name is not an installed icon"; exit 1; }
grep -q '<svg' "$icon" || { echo "$icon is not an SVG"; exit 1; }
echo "installed and valid"
